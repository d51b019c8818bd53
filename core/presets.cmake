# Preset banks, A/B states, state and preset XML, undo history and the preset controller.
list(APPEND QUIETLINE_CORE_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/ParamManager.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/PresetBank.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/PresetController.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/PresetRecord.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/UndoHistory.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/UndoRecord.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/UserPresetFileLock.cpp)
