# Parameter model, parameter lists, settings files and helpers.
quietline_add_test(core_params
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ParameterTest.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/ParamListTest.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/HelpersTest.cpp
  LIBS quietline_core
  LABELS sanitize)

quietline_add_test(core_params_concurrency
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ParameterConcurrencyTest.cpp
  LIBS quietline_core
  LABELS concurrency)
