# Tests of the AAX effect layer (no JUCE).

# A small effect with float and bool parameters, on the fake host.
add_library(quietline_aax_fake_effect STATIC ${CMAKE_CURRENT_LIST_DIR}/fakehost/FakeEffect.cpp)
target_include_directories(quietline_aax_fake_effect PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(quietline_aax_fake_effect PUBLIC quietline_aax_effect quietline_aax_fakehost)
quietline_target_defaults(quietline_aax_fake_effect)

quietline_add_test(aax_effect_chunk_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ChunkTest.cpp
  LIBS quietline_aax_effect
  LABELS sanitize)

quietline_add_test(aax_effect_parameter_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ParameterTest.cpp
  LIBS quietline_aax_effect
  LABELS sanitize)

quietline_add_test(aax_effect_packet_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PacketTest.cpp
  LIBS quietline_aax_fake_effect
  LABELS sanitize concurrency)

quietline_add_test(aax_effect_parameters_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/EffectParametersTest.cpp
  LIBS quietline_aax_fake_effect
  LABELS sanitize concurrency)
