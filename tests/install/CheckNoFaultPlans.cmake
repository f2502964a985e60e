# Lists the symbols of PROGRAM with NM and fails when one of the emulator's fault plans is among
# them, or when the list does not show the controller model the program does hold (a list that
# could not show a fault plan either).
execute_process(COMMAND ${NM} -C ${PROGRAM}
    RESULT_VARIABLE status OUTPUT_VARIABLE symbols ERROR_VARIABLE errors)
if(NOT status STREQUAL "0")
    message(FATAL_ERROR "${NM} -C ${PROGRAM} exited with ${status}:\n${errors}")
endif()
if(NOT symbols MATCHES "q5emu::ControllerLine::")
    message(FATAL_ERROR "no symbol of the controller model in ${PROGRAM}")
endif()
string(REGEX MATCHALL
    "[^\n]*(FaultSpec|FaultMode|LateReplyDelay|Q5Emulator|ControllerSequence|ScriptedUnit|setFault|replyNextWith|sendRaw)[^\n]*"
    found "${symbols}")
if(found)
    list(JOIN found "\n" lines)
    message(FATAL_ERROR "fault plans in ${PROGRAM}:\n${lines}")
endif()
