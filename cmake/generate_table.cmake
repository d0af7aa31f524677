# SPDX-License-Identifier: MIT
# Tables the code includes, written at build time by a tool of the folder's
# tools/: generate_table(VARIABLE TOOL FILE [INPUTS...]) runs the built TOOL
# as `TOOL INPUTS... OUTPUT` and sets VARIABLE to the generated FILE. It is
# generated under generated/ in the folder of its source, so that it is
# included by its folder too ("textmodel/unicode_tables.inc").
#
# A build for a browser cannot run what it builds: its tools are those of a
# native build of the same sources, in SOLVENA_HOST_BUILD.
function(generate_table variable tool file)
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    set(output_dir ${PROJECT_BINARY_DIR}/generated/${folder})
    set(output ${output_dir}/${file})
    if(SOLVENA_HOST_BUILD)
        if(TARGET ${tool})
            set_target_properties(${tool} PROPERTIES EXCLUDE_FROM_ALL ON)
        endif()
        set(tool ${SOLVENA_HOST_BUILD}/${folder}/${tool})
    endif()
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
        COMMAND ${tool} ${ARGN} ${output}
        DEPENDS ${tool} ${ARGN}
        COMMENT "Generating ${folder}/${file}"
        VERBATIM
    )
    set(${variable} ${output} PARENT_SCOPE)
endfunction()
