# The processor base shared by the maker's products.
list(APPEND QUIETLINE_CORE_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/KelmoraLabsAudioProcessor.cpp)
