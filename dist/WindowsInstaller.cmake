# The Windows installer, target installer: the install tree staged with the programs stripped, as
# in the zip, then made into velmorin-VERSION-setup.exe by makensis from velmorin.nsi.
find_program(VELMORIN_MAKENSIS makensis)
# The cross build cannot run the icon painter: the icon comes from a native build, as the
# pictures do.
set(VELMORIN_WINDOWS_ICON "" CACHE FILEPATH
    "The installer's icon: icon/velmorin.ico of a native build")

if(NOT VELMORIN_MAKENSIS OR NOT VELMORIN_WINDOWS_ICON)
    add_custom_target(installer
        COMMAND ${CMAKE_COMMAND} -E echo "The installer needs makensis (Debian package nsis) \
and -DVELMORIN_WINDOWS_ICON=<a native build>/icon/velmorin.ico"
        COMMAND ${CMAKE_COMMAND} -E false
        VERBATIM)
    return()
endif()

set(velmorin_installer_stage ${CMAKE_BINARY_DIR}/installer-stage)
set(velmorin_installer ${CMAKE_BINARY_DIR}/velmorin-${PROJECT_VERSION}-setup.exe)
add_custom_target(installer
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${velmorin_installer_stage}
    COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${velmorin_installer_stage}
            --strip
    COMMAND ${VELMORIN_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION}
            -DSTAGE=${velmorin_installer_stage} -DICON=${VELMORIN_WINDOWS_ICON}
            -DOUTFILE=${velmorin_installer} ${CMAKE_CURRENT_SOURCE_DIR}/velmorin.nsi
    BYPRODUCTS ${velmorin_installer}
    COMMENT "Making ${velmorin_installer}"
    VERBATIM)
add_dependencies(installer ${velmorin_programs})
