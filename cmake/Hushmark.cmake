# Helpers shared by every folder's CMakeLists.

# The headers nearly every library file includes, precompiled (see the build-time note in the
# top CMakeLists): the standard library's and the runtime's. Test programs compile without one:
# with it gcc 12 inlines differently and warns falsely (-Warray-bounds) on string concatenation.
set(HM_LIBRARY_PCH <algorithm> <cmath> <cstdint> <functional> <map> <memory> <optional> <string>
    <string_view> <vector> ${PROJECT_SOURCE_DIR}/platform/objc/include/objc/runtime.h)

# hm_precompiled_headers(TARGET LIBRARY|TEST)
# Gives TARGET the precompiled headers of its kind. With gcc they are compiled once, by a target
# of their own without -D macros (gcc refuses a precompiled header made with a macro the user
# lacks, and takes one the user adds), and reused by every target of the kind (the libraries
# share -fPIC). clang accepts no differing flag, so there each target compiles its own.
function(hm_precompiled_headers target kind)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_precompile_headers(${target} REUSE_FROM hm_pch_${kind})
  else()
    target_precompile_headers(${target} PRIVATE ${HM_${kind}_PCH})
  endif()
endfunction()

if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/pch/library.cpp CONTENT "// Compiles the libraries' precompiled headers.\n")
  add_library(hm_pch_LIBRARY OBJECT ${CMAKE_BINARY_DIR}/pch/library.cpp)
  target_precompile_headers(hm_pch_LIBRARY PRIVATE ${HM_LIBRARY_PCH})
endif()

# hm_platform_library(NAME SOURCES... [LINK libs...])
# A platform stand-in: a shared library, so every loaded object shares one copy.
function(hm_platform_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
  hm_precompiled_headers(${name} LIBRARY)
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
  # Test files keep file-local helpers and case tables of the same name; they compile one by one.
  set_target_properties(${name} PROPERTIES UNITY_BUILD OFF)
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock GTest::gtest_main ${ARG_LINK})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  # Staging folders, for tests that build a device root (tests/support/DeviceRootFixture.h).
  target_compile_definitions(${name} PRIVATE HM_PACKAGE_DIR="${HM_PACKAGE_DIR}" HM_ADDONS_DIR="${HM_ADDONS_DIR}")
  gtest_discover_tests(${name}
    PROPERTIES LABELS ${ARG_LABEL} ${extra_properties}
    DISCOVERY_TIMEOUT 60)
endfunction()
