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

# hm_test(NAME LABEL SOURCES... [LINK libs...] [TIMEOUT seconds] [COST seconds] [SHARDS n] [ONE_PROCESS])
# One GoogleTest executable. Each test case runs in a process of its own, as every test that boots
# a device, or depends on a loaded library's constructor or on other process-wide state, must: the
# program starts once and forks a child per case before any case has run (tests/harness/
# CaseProcessesMain.cpp), which spares each case the program's start (a few hundred milliseconds
# of CPU under the sanitizers). SHARDS splits the cases into that many CTest entries (NAME.shardK,
# GoogleTest's GTEST_TOTAL_SHARDS / GTEST_SHARD_INDEX), so that a parallel CTest keeps every core
# busy and no one entry runs alone at the end. A case is run alone with
# `NAME --gtest_filter=Suite.Case`.
# ONE_PROCESS is for programs of pure tests (values in, values out: nothing process-wide read or
# left behind): every case runs in the program's one process (one per shard, with SHARDS). Such a
# program must also pass with --gtest_shuffle.
# TIMEOUT bounds each case (a hang fails that case; with ONE_PROCESS, the whole program); without
# one, the test command's own timeout applies to each entry. COST is an entry's expected seconds
# (each shard's, when sharded): a parallel CTest starts the costliest entries first, so a long one
# runs beside the others instead of alone at the end. (CTest learns costs from a run, but a fresh
# build tree has none.)
# Test programs use the precompiled headers of their kind (HM_TEST_PCH): GoogleTest's and the
# standard library's, and compile at HM_TEST_OPTIONS.
function(hm_test name)
  cmake_parse_arguments(ARG "ONE_PROCESS" "LABEL;TIMEOUT;COST;SHARDS" "SOURCES;LINK" ${ARGN})
  set(extra_properties "")
  if(ARG_COST)
    list(APPEND extra_properties COST ${ARG_COST})
  endif()
  add_executable(${name} ${ARG_SOURCES})
  # Test files compile in unity batches as the libraries do (a test file's compile is mostly the
  # headers it shares with the program's other files): file-local helpers and case tables have
  # names of their own across one program's files.
  if(ARG_ONE_PROCESS)
    set(main GTest::gtest_main)
  else()
    set(main hm_case_processes_main)
  endif()
  target_link_libraries(${name} PRIVATE ${main} GTest::gtest GTest::gmock ${ARG_LINK})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  target_compile_options(${name} PRIVATE ${HM_TEST_OPTIONS})
  hm_precompiled_headers(${name} TEST)
  # Staging folders, for tests that build a device root (tests/support/DeviceRootFixture.h).
  target_compile_definitions(${name} PRIVATE HM_PACKAGE_DIR="${HM_PACKAGE_DIR}" HM_ADDONS_DIR="${HM_ADDONS_DIR}")
  set(command ${name})
  if(ARG_TIMEOUT AND ARG_ONE_PROCESS)
    list(APPEND extra_properties TIMEOUT ${ARG_TIMEOUT})
  elseif(ARG_TIMEOUT)
    list(APPEND command --hm_case_timeout=${ARG_TIMEOUT})
  endif()
  if(NOT ARG_SHARDS OR ARG_SHARDS LESS_EQUAL 1)
    add_test(NAME ${name} COMMAND ${command})
    set_tests_properties(${name} PROPERTIES LABELS ${ARG_LABEL} ${extra_properties})
    return()
  endif()
  math(EXPR last "${ARG_SHARDS} - 1")
  foreach(shard RANGE ${last})
    add_test(NAME ${name}.shard${shard} COMMAND ${command})
    set_tests_properties(${name}.shard${shard} PROPERTIES LABELS ${ARG_LABEL} ${extra_properties}
      ENVIRONMENT "GTEST_TOTAL_SHARDS=${ARG_SHARDS};GTEST_SHARD_INDEX=${shard}")
  endforeach()
endfunction()

# A library staged into the package or an add-on's folder, which every device root a run or a
# test lays out gets a copy of: its debug information, most of its bytes, is compressed when the
# linker can (at the linker's best compression, -O2: no slower to link here), so the copy writes
# about a third of the bytes (the bundle: 1.0 MB instead of 3.2); debuggers and symbolizers read
# compressed debug information as they read it plain.
include(CheckLinkerFlag)
check_linker_flag(CXX "-Wl,--compress-debug-sections=zlib" HM_LINKER_COMPRESSES_DEBUG)
function(hm_staged_library target)
  if(HM_LINKER_COMPRESSES_DEBUG)
    target_link_options(${target} PRIVATE -Wl,--compress-debug-sections=zlib -Wl,-O2)
  endif()
endfunction()
