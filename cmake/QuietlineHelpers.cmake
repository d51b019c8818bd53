# Shared helpers for our targets.

# Warnings and sanitizer flags for one of our own targets.
function(quietline_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
  if(QUIETLINE_SANITIZE)
    # Same build type as the plain build, so JUCE's objects come from the compiler cache;
    # only our own code carries the sanitizer and its debug information.
    target_compile_options(${target} PRIVATE -fsanitize=${QUIETLINE_SANITIZE} -fno-omit-frame-pointer
                           -fno-sanitize-recover=all -g -O1)
    target_link_options(${target} PUBLIC -fsanitize=${QUIETLINE_SANITIZE})
  endif()
  if(QUIETLINE_FUZZ)
    # Coverage feedback for libFuzzer; each fuzzer executable links the fuzzer's own main.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
  endif()
endfunction()

# quietline_add_library(name SOURCES ... [LIBS ...])
# A static library of one source folder; the repository root is on its include path.
function(quietline_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${QUIETLINE_GENERATED_DIR})
  if(ARG_LIBS)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  endif()
  quietline_target_defaults(${name})
endfunction()

# quietline_add_test(name SOURCES ... [LIBS ...] [LABELS ...] [JUCE_MAIN] [SERIAL])
# One GoogleTest executable; each case becomes a CTest test prefixed with "name.".
# LABELS: "sanitize" (runs in the ASan/UBSan build), "concurrency" (runs in the TSan build),
#         "display" (needs an X server; run under xvfb-run).
# JUCE_MAIN: keep a JUCE GUI initialiser alive for the whole run.
# SERIAL: no other test runs meanwhile (one that drives the X server's own pointer).
function(quietline_add_test name)
  cmake_parse_arguments(ARG "JUCE_MAIN;SERIAL" "" "SOURCES;LIBS;LABELS" ${ARGN})
  if(QUIETLINE_SANITIZE STREQUAL "thread")
    if(NOT "concurrency" IN_LIST ARG_LABELS)
      return()
    endif()
  elseif(QUIETLINE_SANITIZE)
    if(NOT "sanitize" IN_LIST ARG_LABELS)
      return()
    endif()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${QUIETLINE_GENERATED_DIR}
                             ${PROJECT_SOURCE_DIR}/tests)
  if(ARG_JUCE_MAIN)
    target_link_libraries(${name} PRIVATE quietline_test_juce_main)
  else()
    target_link_libraries(${name} PRIVATE quietline_test_main)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
  quietline_target_defaults(${name})
  set(labels ${ARG_LABELS})
  if(NOT labels)
    set(labels "plain")
  endif()
  # gtest_discover_tests cannot pass a list through PROPERTIES, so the labels travel as one
  # word ("sanitize-concurrency"); ctest -L takes a regular expression and still finds each.
  string(JOIN "-" labels ${labels})
  gtest_discover_tests(${name}
    TEST_PREFIX "${name}."
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${labels}" TIMEOUT 300 RUN_SERIAL ${ARG_SERIAL} ${QUIETLINE_JUCE_ASSERTION_FAILS_TEST}
    DISCOVERY_MODE PRE_TEST)
endfunction()

# Adds each listed sub-folder of the current folder that has a CMakeLists.txt.
function(quietline_add_existing_subdirectories)
  foreach(dir ${ARGN})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
