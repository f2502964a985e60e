# Installs BUILD_DIR into a fresh prefix, compares the installed files with the list in
# EXPECTED, and runs the installed program's --version.
set(prefix ${BUILD_DIR}/install-check)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
    RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT status STREQUAL "0")
    message(FATAL_ERROR "cmake --install failed (${status}):\n${errors}")
endif()

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${prefix} ${prefix}/*)
list(SORT installed)
file(STRINGS ${EXPECTED} expected REGEX "^[^#]")
list(SORT expected)
if(NOT installed STREQUAL expected)
    set(missing ${expected})
    list(REMOVE_ITEM missing ${installed})
    set(extra ${installed})
    list(REMOVE_ITEM extra ${expected})
    string(REPLACE ";" "\n  " missing "${missing}")
    string(REPLACE ";" "\n  " extra "${extra}")
    message(FATAL_ERROR "installed files differ\nmissing:\n  ${missing}\nunexpected:\n  ${extra}")
endif()

execute_process(COMMAND ${prefix}/bin/tarvik-q5 --version
    RESULT_VARIABLE status OUTPUT_VARIABLE output)
if(NOT status STREQUAL "0" OR NOT output STREQUAL "tarvik-q5 ${VERSION}\n")
    message(FATAL_ERROR "installed tarvik-q5 --version: ${status}, '${output}'")
endif()
file(REMOVE_RECURSE ${prefix})
