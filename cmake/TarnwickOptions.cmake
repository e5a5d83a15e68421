# One INTERFACE target carries the warning flags and build options of every target.
add_library(tarnwick_options INTERFACE)
target_compile_features(tarnwick_options INTERFACE cxx_std_20)
target_compile_options(tarnwick_options INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wcast-qual -Wformat=2 -Wimplicit-fallthrough)
if(TARNWICK_WERROR)
    target_compile_options(tarnwick_options INTERFACE -Werror)
endif()
if(TARNWICK_SANITIZE)
    target_compile_options(tarnwick_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(tarnwick_options INTERFACE -fsanitize=address,undefined)
endif()

# The portable core must stay free of Qt and GLib. Its targets cannot see their headers
# anyway; this check also catches an include that would only fail on another machine.
function(tarnwick_check_portable)
    foreach(file IN LISTS ARGN)
        file(STRINGS ${file} hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]|Qt[A-Za-z]*/|glib|gio/)")
        if(hits)
            message(FATAL_ERROR "${file} is part of the portable core and must not include Qt or GLib: ${hits}")
        endif()
    endforeach()
endfunction()

# GCC 12's -Wrestrict reports false overlaps inside std::string's inlined copies at -O2 and
# above (GCC bug 105329); the MinGW build, which inlines more of libstdc++, trips over it.
if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU"
   AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(tarnwick_options INTERFACE -Wno-restrict)
endif()
