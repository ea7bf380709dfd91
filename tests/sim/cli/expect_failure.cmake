# Runs the simulator with ARGS (words joined by ~) and passes when it exits non-zero with a message on
# standard error matching MESSAGE (a regular expression), and without a crash.
string(REPLACE "~" ";" ARGS "${ARGS}")
execute_process(COMMAND ${SIM} ${ARGS} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(rc EQUAL 0)
  message(FATAL_ERROR "exit 0 for bad input; stdout:\n${out}")
endif()
if(NOT rc MATCHES "^[0-9]+$" OR rc GREATER 2)
  message(FATAL_ERROR "did not exit cleanly (${rc}):\n${err}")
endif()
if(NOT err MATCHES "${MESSAGE}")
  message(FATAL_ERROR "the message does not match \"${MESSAGE}\":\n${err}")
endif()
