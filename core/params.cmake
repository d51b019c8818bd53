# Parameter model, parameter lists, settings files and the small helpers they share.
list(APPEND QUIETLINE_CORE_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/BooleanParameter.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Clock.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/DiscreteParameter.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/FileStamp.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/FrequencyParameter.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/GlobalParamList.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/NumberText.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Parameter.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ParamList.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SettingsFile.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/XmlUtils.cpp)
