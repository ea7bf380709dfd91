# Runs the simulator with ARGS (words joined by ~) and passes when it exits 0 and, when given,
# its standard output matches every regular expression of OUTPUT (joined by ~). INPUT, when
# given, is its standard input.
string(REPLACE "~" ";" ARGS "${ARGS}")
if(NOT DEFINED INPUT)
  set(INPUT /dev/null)
endif()
execute_process(COMMAND ${SIM} ${ARGS} INPUT_FILE ${INPUT} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "exit ${rc}:\n${err}\nstdout:\n${out}")
endif()
if(OUTPUT)
  string(REPLACE "~" ";" patterns "${OUTPUT}")
  foreach(pattern ${patterns})
    if(NOT out MATCHES "${pattern}")
      message(FATAL_ERROR "the output does not match \"${pattern}\":\n${out}")
    endif()
  endforeach()
endif()
