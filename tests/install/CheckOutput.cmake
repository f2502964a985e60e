# Runs PROGRAM with ARGS (a list) and fails unless it exits with 0 and its standard output
# matches EXPECT.
execute_process(COMMAND ${PROGRAM} ${ARGS}
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status STREQUAL "0")
    message(FATAL_ERROR "${PROGRAM} ${ARGS} exited with ${status}:\n${output}${errors}")
endif()
if(NOT output MATCHES "${EXPECT}")
    message(FATAL_ERROR "${PROGRAM} ${ARGS} printed:\n${output}\nexpected to match:\n${EXPECT}")
endif()
