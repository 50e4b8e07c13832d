# Compiler warnings shared by every target of the project.
function(velmorin_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                             -Wcast-align -Wnull-dereference -Wdouble-promotion)
    if(VELMORIN_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
