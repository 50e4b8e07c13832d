# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 compilers (posix-threads variant).
# Use: cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELMORIN_MINGW_TRIPLET x86_64-w64-mingw32)
# The posix variant brings std::thread and friends through winpthreads; the project links it
# statically, so the programs need no runtime DLL of the compiler.
set(CMAKE_C_COMPILER ${VELMORIN_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMORIN_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VELMORIN_MINGW_TRIPLET}-windres)
set(CMAKE_AR ${VELMORIN_MINGW_TRIPLET}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${VELMORIN_MINGW_TRIPLET}-gcc-ranlib-posix CACHE FILEPATH "")

# Headers and libraries come from the cross sysroot only; build tools from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${VELMORIN_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# With Wine at hand, ctest runs the Windows test programs through it.
find_program(VELMORIN_WINE_PROGRAM wine)
if(VELMORIN_WINE_PROGRAM)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VELMORIN_WINE_PROGRAM})
endif()
