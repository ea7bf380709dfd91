# A strict reader of property lists (Python's plistlib) reads the settings file the device wrote.
# A root is laid out with init, SCENARIO runs on it, then PYTHON reads the file: its
# "disarmedUntil" must be DEADLINE (ISO 8601, whole seconds) and the file must hold it as
# <date>DEADLINEZ</date>.
file(REMOVE_RECURSE ${ROOT})
execute_process(COMMAND ${SIM} init ${ROOT} --with libstatusbar RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "init failed (exit ${rc}):\n${err}")
endif()
execute_process(COMMAND ${SIM} run ${SCENARIO} --root ${ROOT} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the scenario failed (exit ${rc}):\n${err}\n${out}")
endif()
set(settings ${ROOT}/private/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist)
execute_process(COMMAND ${PYTHON} -c
  "import plistlib, sys\nwith open(sys.argv[1], 'rb') as f: print(plistlib.load(f)['disarmedUntil'].isoformat())"
  ${settings} OUTPUT_VARIABLE read ERROR_VARIABLE err RESULT_VARIABLE rc)
file(READ ${settings} bytes)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "plistlib refuses the settings file:\n${err}\n${bytes}")
endif()
if(NOT read STREQUAL "${DEADLINE}\n")
  message(FATAL_ERROR "plistlib reads the deadline ${read}, not ${DEADLINE}")
endif()
string(FIND "${bytes}" "<date>${DEADLINE}Z</date>" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the file does not hold <date>${DEADLINE}Z</date>:\n${bytes}")
endif()
file(REMOVE_RECURSE ${ROOT})
