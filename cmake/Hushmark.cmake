# Helpers shared by every folder's CMakeLists.

# The headers nearly every library file includes, precompiled (see the build-time note in the
# top CMakeLists): the standard library's and the runtime's. Test programs add GoogleTest's and
# the standard headers their fixtures use.
set(HM_LIBRARY_PCH <algorithm> <cmath> <cstdint> <functional> <map> <memory> <optional> <string>
    <string_view> <vector> ${PROJECT_SOURCE_DIR}/platform/objc/include/objc/runtime.h)
set(HM_TEST_PCH ${HM_LIBRARY_PCH} <filesystem> <fstream> <thread> <gtest/gtest.h>)

# hm_precompiled_headers(TARGET LIBRARY|TEST)
# Gives TARGET the precompiled headers of its kind. They are compiled once, by a target of their
# own without -D macros (gcc and clang both refuse a precompiled header made with a macro the user
# lacks, and take one the user adds), and reused by every target of the kind: the kind's targets
# share every other option that the compilers check (-fPIC or -fPIE, the optimization level, the
# sanitizers). With clang that saves a header compile of 3-5 s of CPU per target, 44 of them under
# the sanitizers. Another compiler compiles each target's own.
function(hm_precompiled_headers target kind)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_precompile_headers(${target} REUSE_FROM hm_pch_${kind})
  else()
    target_precompile_headers(${target} PRIVATE ${HM_${kind}_PCH})
  endif()
endfunction()

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/pch/library.cpp CONTENT "// Compiles the libraries' precompiled headers.\n")
  add_library(hm_pch_LIBRARY OBJECT ${CMAKE_BINARY_DIR}/pch/library.cpp)
  target_precompile_headers(hm_pch_LIBRARY PRIVATE ${HM_LIBRARY_PCH})
endif()
# Test programs' own code (the cases, not the code they test) is compiled at -O1 in an optimized
# build: most of a test file's compile is parsing and code generation of GoogleTest's macros, which
# -O2 makes slower for no gain. Optimized, gcc 12 warns falsely (-Warray-bounds and
# -Wstringop-overflow, inside char_traits.h) on std::string(X) + "text", a pattern of many tests,
# so those warnings are off for test programs (the sanitizer build checks their bounds at run
# time). Both builds precompile the test programs' headers.
set(HM_TEST_OPTIONS $<$<NOT:$<CONFIG:Debug>>:-O1 $<$<CXX_COMPILER_ID:GNU>:-Wno-array-bounds -Wno-stringop-overflow>>)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang" AND TARGET GTest::gtest)
  # The test programs' headers, compiled as an executable's sources are (-fPIE, GoogleTest's macros).
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/pch/test.cpp CONTENT "// Compiles the test programs' precompiled headers.\n")
  add_library(hm_pch_TEST OBJECT ${CMAKE_BINARY_DIR}/pch/test.cpp)
  set_target_properties(hm_pch_TEST PROPERTIES POSITION_INDEPENDENT_CODE OFF)
  target_compile_options(hm_pch_TEST PRIVATE -fPIE ${HM_TEST_OPTIONS})
  target_link_libraries(hm_pch_TEST PRIVATE GTest::gtest)
  target_precompile_headers(hm_pch_TEST PRIVATE ${HM_TEST_PCH})
endif()

# hm_platform_library(NAME SOURCES... [LINK libs...])
# A platform stand-in: a shared library, so every loaded object shares one copy.
function(hm_platform_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES})
  # All stand-ins in one folder: a program's run path then holds one entry, and the loader looks
  # for each library it needs (cairo's X11 libraries too) in one place before the system's,
  # instead of in every stand-in's own folder.
  set_target_properties(${name} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib)
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
  hm_precompiled_headers(${name} LIBRARY)
  if(ARG_LINK)
    target_link_libraries(${name} PUBLIC ${ARG_LINK})
  endif()
endfunction()

# hm_test(NAME LABEL SOURCES... [LINK libs...] [TIMEOUT seconds] [COST seconds] [ONE_PROCESS])
# One GoogleTest executable. Each test case runs in a process of its own, as every test that boots
# a device, or depends on a loaded library's constructor or on other process-wide state, must.
# ONE_PROCESS is for programs of pure tests (values in, values out: nothing process-wide read or
# left behind): CTest runs the whole program as one test, in one process, which saves a process
# start per case (most of a case's time under the sanitizers). Such a program must also pass with
# --gtest_shuffle. A TIMEOUT makes a hang a failure (of the case, or of the whole ONE_PROCESS
# program); without one, the test command's own timeout applies. COST is for programs with a case
# that runs far longer than the rest (about that many seconds): a parallel CTest starts the costliest
# tests first, so the long one runs beside the others instead of alone at the end. (CTest learns
# costs from a run, but a fresh build tree has none.)
# Test programs use the precompiled headers of their kind (HM_TEST_PCH): GoogleTest's and the
# standard library's, and compile at HM_TEST_OPTIONS.
function(hm_test name)
  cmake_parse_arguments(ARG "ONE_PROCESS" "LABEL;TIMEOUT;COST" "SOURCES;LINK" ${ARGN})
  set(extra_properties "")
  if(ARG_TIMEOUT)
    list(APPEND extra_properties TIMEOUT ${ARG_TIMEOUT})
  endif()
  if(ARG_COST)
    list(APPEND extra_properties COST ${ARG_COST})
  endif()
  add_executable(${name} ${ARG_SOURCES})
  # Test files compile in unity batches as the libraries do (a test file's compile is mostly the
  # headers it shares with the program's other files): file-local helpers and case tables have
  # names of their own across one program's files.
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock GTest::gtest_main ${ARG_LINK})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  target_compile_options(${name} PRIVATE ${HM_TEST_OPTIONS})
  hm_precompiled_headers(${name} TEST)
  # Staging folders, for tests that build a device root (tests/support/DeviceRootFixture.h).
  target_compile_definitions(${name} PRIVATE HM_PACKAGE_DIR="${HM_PACKAGE_DIR}" HM_ADDONS_DIR="${HM_ADDONS_DIR}")
  if(ARG_ONE_PROCESS)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS ${ARG_LABEL} ${extra_properties})
  else()
    gtest_discover_tests(${name}
      PROPERTIES LABELS ${ARG_LABEL} ${extra_properties}
      DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
