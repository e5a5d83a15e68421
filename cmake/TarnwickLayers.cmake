# The portable core's folders are layers, lowest first. A file may include from its own
# folder and from the folders below it, never from one above; the OS backends under
# platform/ belong to the platform layer. Nothing in the core includes the frontends
# (ui/) or the port modules (portio/). The README's layout table shows the same order.
#
# Included by the top CMakeLists.txt, this checks at configure time and defines
# tarnwick_check_layers_on_build(), which checks again whenever a core file changes. Run as
# a script (cmake -DSOURCE_DIR=<src> -DSTAMP=<file> -P TarnwickLayers.cmake) it checks once
# and touches STAMP.
set(TARNWICK_CORE_LAYERS platform res tray engine dialogs app)
set(TARNWICK_OUTSIDE_CORE ui portio)

# Every core file: the sources and headers of each layer, with the backends under platform/.
function(tarnwick_core_files source_dir out_var)
    set(files)
    foreach(layer IN LISTS TARNWICK_CORE_LAYERS)
        file(GLOB_RECURSE layer_files ${source_dir}/${layer}/*.h ${source_dir}/${layer}/*.cpp)
        list(APPEND files ${layer_files})
    endforeach()
    set(${out_var} ${files} PARENT_SCOPE)
endfunction()

function(tarnwick_check_layers source_dir)
    set(folders ${TARNWICK_CORE_LAYERS} ${TARNWICK_OUTSIDE_CORE})
    string(REPLACE ";" "|" alternation "${folders}")
    set(include_regex "^[ \t]*#[ \t]*include[ \t]*[\"<](${alternation})/")
    set(errors)
    set(nLayer 0)
    foreach(layer IN LISTS TARNWICK_CORE_LAYERS)
        file(GLOB_RECURSE files ${source_dir}/${layer}/*.h ${source_dir}/${layer}/*.cpp)
        foreach(file IN LISTS files)
            file(STRINGS ${file} lines REGEX "${include_regex}")
            foreach(line IN LISTS lines)
                string(REGEX MATCH "${include_regex}" match "${line}")
                list(FIND TARNWICK_CORE_LAYERS ${CMAKE_MATCH_1} nTarget)
                if(nTarget EQUAL -1 OR nTarget GREATER nLayer)
                    file(RELATIVE_PATH name ${source_dir} ${file})
                    string(STRIP "${line}" line)
                    list(APPEND errors "  ${name} (layer ${layer}): ${line}")
                endif()
            endforeach()
        endforeach()
        math(EXPR nLayer "${nLayer} + 1")
    endforeach()
    if(errors)
        string(REPLACE ";" "\n" errors "${errors}")
        string(REPLACE ";" " -> " order "${TARNWICK_CORE_LAYERS}")
        message(FATAL_ERROR "An include goes against the core's layers (${order}; "
                            "ui/ and portio/ lie outside the core):\n${errors}")
    endif()
endfunction()

# Checks again at build time whenever a core file changes, so that an include added to an
# existing file fails the next build, not only the next fresh configure.
function(tarnwick_check_layers_on_build target source_dir)
    tarnwick_core_files(${source_dir} files)
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/layers.stamp)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${source_dir} -DSTAMP=${stamp}
                -P ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
        DEPENDS ${files} ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
        COMMENT "Checking the core's include layers" VERBATIM)
    add_custom_target(${target}_layers DEPENDS ${stamp})
    add_dependencies(${target} ${target}_layers)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND DEFINED SOURCE_DIR)
    tarnwick_check_layers(${SOURCE_DIR})
    file(TOUCH ${STAMP})
endif()
