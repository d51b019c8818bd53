# Preset banks, state XML, user-preset file, undo history and preset controller.
set(QUIETLINE_PRESETS_TEST_SUPPORT ${CMAKE_CURRENT_SOURCE_DIR}/PresetTestProduct.cpp)

quietline_add_test(presets_tests
  SOURCES
    ${QUIETLINE_PRESETS_TEST_SUPPORT}
    ${CMAKE_CURRENT_SOURCE_DIR}/ParamManagerTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/PresetControllerTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/UndoHistoryTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/UserPresetFileTest.cpp
  LIBS quietline_core
  LABELS sanitize)

# Several controllers sharing the user-preset file from threads (also run under ThreadSanitizer).
quietline_add_test(presets_concurrency_tests
  SOURCES
    ${QUIETLINE_PRESETS_TEST_SUPPORT}
    ${CMAKE_CURRENT_SOURCE_DIR}/PresetConcurrencyTest.cpp
  LIBS quietline_core
  LABELS concurrency)

# Writer processes sharing one user-preset file, and writers killed mid-write.
quietline_add_test(presets_process_tests
  SOURCES
    ${QUIETLINE_PRESETS_TEST_SUPPORT}
    ${CMAKE_CURRENT_SOURCE_DIR}/PresetProcessTest.cpp
  LIBS quietline_core)
