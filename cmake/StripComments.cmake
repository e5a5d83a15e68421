# Runs before CPack packs the staged files: drops the compilers' .comment section from every
# ELF file, which only names the compiler, as Debian's own stripping does. The debug data is
# split off afterwards and keeps the build id.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(path IN LISTS staged)
    if(IS_SYMLINK "${path}")
        continue()
    endif()
    file(READ "${path}" magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46")
        execute_process(COMMAND objcopy --remove-section=.comment "${path}"
            RESULT_VARIABLE result)
        if(NOT result EQUAL 0)
            message(FATAL_ERROR "objcopy could not drop .comment from ${path}")
        endif()
    endif()
endforeach()
