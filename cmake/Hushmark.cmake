# Helpers shared by every folder's CMakeLists.

# hm_platform_library(NAME SOURCES... [LINK libs...])
# A platform stand-in: a shared library, so every loaded object shares one copy.
function(hm_platform_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
  if(ARG_LINK)
    target_link_libraries(${name} PUBLIC ${ARG_LINK})
  endif()
endfunction()

# hm_test(NAME LABEL SOURCES... [LINK libs...] [TIMEOUT seconds])
# One GoogleTest executable; every test case runs in a process of its own. A TIMEOUT makes a
# hang a failure of that case (without one, the test command's own timeout applies).
function(hm_test name)
  cmake_parse_arguments(ARG "" "LABEL;TIMEOUT" "SOURCES;LINK" ${ARGN})
  set(extra_properties "")
  if(ARG_TIMEOUT)
    set(extra_properties TIMEOUT ${ARG_TIMEOUT})
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock GTest::gtest_main ${ARG_LINK})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  # Staging folders, for tests that build a device root (tests/support/DeviceRootFixture.h).
  target_compile_definitions(${name} PRIVATE HM_PACKAGE_DIR="${HM_PACKAGE_DIR}" HM_ADDONS_DIR="${HM_ADDONS_DIR}")
  gtest_discover_tests(${name}
    PROPERTIES LABELS ${ARG_LABEL} ${extra_properties}
    DISCOVERY_TIMEOUT 60)
endfunction()
