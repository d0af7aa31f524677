# SPDX-License-Identifier: MIT
# The warnings of the project's own code, errors when SOLVENA_WERROR. They go
# on each target rather than on the whole build, so that code the project
# does not write (such as moc's output) can be left out of the strict ones.

set(SOLVENA_WARNINGS
    -Wall -Wextra
    # Narrowing and sign changes are spelt out with a cast, named ones only,
    # and no name hides another.
    -Wconversion -Wsign-conversion -Wold-style-cast -Wshadow
)
if(SOLVENA_WERROR)
    list(APPEND SOLVENA_WARNINGS -Werror)
endif()

function(solvena_warnings target)
    target_compile_options(${target} PRIVATE ${SOLVENA_WARNINGS})
endfunction()

# Every target that compiles code, in DIR and the folders below it, so that a
# new target is covered without a line of its own.
function(solvena_warnings_everywhere dir)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
            solvena_warnings(${target})
        endif()
    endforeach()
    get_property(folders DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(folder IN LISTS folders)
        solvena_warnings_everywhere(${folder})
    endforeach()
endfunction()
