# One INTERFACE target carries the warning flags and build options of every target.
add_library(tarnwick_options INTERFACE)
target_compile_features(tarnwick_options INTERFACE cxx_std_20)
target_compile_options(tarnwick_options INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wcast-qual -Wformat=2 -Wimplicit-fallthrough)
if(TARNWICK_WERROR)
    target_compile_options(tarnwick_options INTERFACE -Werror)
endif()
# Hardening, as Debian builds its packages: position-independent code everywhere (executables
# become PIE), a stack protector, checked string and memory functions, and a read-only
# relocation table resolved at start (full RELRO with BIND_NOW). RUNPATH rather than the old
# RPATH, so that LD_LIBRARY_PATH wins over the port module shipped with the program.
# Checked functions need optimisation, and the sanitizers bring their own checks.
# The ELF-only parts (PIE, RELRO, BIND_NOW, RUNPATH) and the checked functions, which
# MinGW only has with libssp, are left out of the Windows build.
if(NOT WIN32)
    include(CheckPIESupported)
    check_pie_supported(LANGUAGES C CXX)
    set_property(TARGET tarnwick_options PROPERTY INTERFACE_POSITION_INDEPENDENT_CODE ON)
    target_compile_options(tarnwick_options INTERFACE -fstack-protector-strong -fstack-clash-protection)
    if(NOT TARNWICK_SANITIZE)
        target_compile_definitions(tarnwick_options INTERFACE
            $<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
    endif()
    target_link_options(tarnwick_options INTERFACE
        LINKER:-z,relro LINKER:-z,now LINKER:--enable-new-dtags LINKER:--as-needed)
endif()

# Optimised for size: the program idles, and what it runs at a check is mostly system calls.
# Its code is largely resident (the kernel maps the pages around each one touched), so
# smaller code is less memory: -Os and dropping unreferenced functions take the program's
# own resident code from 728 kB to 472 kB.
target_compile_options(tarnwick_options INTERFACE $<$<NOT:$<CONFIG:Debug>>:-Os>)
if(NOT WIN32)
    target_compile_options(tarnwick_options INTERFACE
        "$<$<NOT:$<CONFIG:Debug>>:-ffunction-sections;-fdata-sections>")
    target_link_options(tarnwick_options INTERFACE $<$<NOT:$<CONFIG:Debug>>:LINKER:--gc-sections>)
endif()

if(TARNWICK_SANITIZE)
    target_compile_options(tarnwick_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(tarnwick_options INTERFACE -fsanitize=address,undefined)
endif()

# Qt code spells out every conversion between QString and bytes (QStringLiteral,
# QLatin1String, QString::fromUtf8, toUtf8), so that each one says which encoding it means
# and none costs an allocation unseen.
add_library(tarnwick_qt_options INTERFACE)
target_compile_definitions(tarnwick_qt_options INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)

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
