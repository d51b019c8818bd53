# The fake AAX host: test support shared by every AAX test (no JUCE).
add_library(quietline_aax_fakehost INTERFACE)
target_include_directories(quietline_aax_fakehost INTERFACE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(quietline_aax_fakehost INTERFACE quietline_aax_foundation quietline_platform_aax GTest::gtest)

quietline_add_test(aax_foundation_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/AAX_CStringTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CACFUnknownTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HostProxiesTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ExportsTest.cpp
  LIBS quietline_aax_foundation quietline_aax_fakehost
  LABELS sanitize concurrency)
