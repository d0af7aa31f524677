# SPDX-License-Identifier: MIT
# Tables the code includes, written at build time by a tool of the folder's
# tools/: generate_table(VARIABLE TOOL FILE [INPUTS...]) runs the built TOOL
# as `TOOL INPUTS... OUTPUT` and sets VARIABLE to the generated FILE. It is
# generated under generated/ in the folder of its source, so that it is
# included by its folder too ("textmodel/unicode_tables.inc").
function(generate_table variable tool file)
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    set(output_dir ${PROJECT_BINARY_DIR}/generated/${folder})
    set(output ${output_dir}/${file})
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
