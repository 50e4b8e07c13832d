# Compiler warnings shared by every target of the project.
function(velmorin_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4)
        # fopen, fileno and friends are fine here; the "secure" variants are not portable.
        target_compile_definitions(${target} PRIVATE _CRT_SECURE_NO_WARNINGS
                                                     _CRT_NONSTDC_NO_WARNINGS)
        if(VELMORIN_WERROR)
            target_compile_options(${target} PRIVATE /WX)
        endif()
        return()
    endif()
    # For the compilers only: a target may also hold a resource script, and windres takes none.
    target_compile_options(${target} PRIVATE
        $<$<COMPILE_LANGUAGE:C,CXX>:-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                    -Wcast-align -Wnull-dereference -Wdouble-promotion>)
    if(VELMORIN_WERROR)
        target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:-Werror>)
    endif()
endfunction()
