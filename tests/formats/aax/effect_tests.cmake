# Tests of the AAX effect layer (no JUCE).

quietline_add_test(aax_effect_chunk_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ChunkTest.cpp
  LIBS quietline_aax_effect quietline_aax_fakehost
  LABELS sanitize)

quietline_add_test(aax_effect_parameter_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ParameterTest.cpp
  LIBS quietline_aax_effect quietline_aax_fakehost
  LABELS sanitize)

quietline_add_test(aax_effect_packet_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PacketTest.cpp
  LIBS quietline_aax_effect quietline_aax_fakehost
  LABELS sanitize concurrency)

quietline_add_test(aax_effect_parameters_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/EffectParametersTest.cpp
  LIBS quietline_aax_effect quietline_aax_fakehost
  LABELS sanitize concurrency)
