# Runs one scenario and compares its timeline with the golden file beside it.
# -DUPDATE=1 writes the golden file instead.
execute_process(COMMAND ${SIM} run ${SCENARIO} --snapshots ${OUT}
                OUTPUT_VARIABLE timeline ERROR_VARIABLE errors RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the scenario failed (exit ${rc}):\n${errors}\ntimeline so far:\n${timeline}")
endif()
if(UPDATE)
  file(WRITE ${GOLDEN} "${timeline}")
  return()
endif()
if(NOT EXISTS ${GOLDEN})
  message(FATAL_ERROR "no golden timeline ${GOLDEN}; this run printed:\n${timeline}")
endif()
file(READ ${GOLDEN} expected)
if(NOT timeline STREQUAL expected)
  file(WRITE ${OUT}.timeline "${timeline}")
  message(FATAL_ERROR "the timeline differs from ${GOLDEN}\n--- expected\n${expected}\n--- seen (also in ${OUT}.timeline)\n${timeline}")
endif()
