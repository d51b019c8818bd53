# The fake AAX host: test support shared by every AAX test (no JUCE).
add_library(quietline_aax_fakehost STATIC ${CMAKE_CURRENT_LIST_DIR}/fakehost/FakeHost.cpp)
target_include_directories(quietline_aax_fakehost PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(quietline_aax_fakehost PUBLIC quietline_aax_foundation quietline_platform_aax GTest::gtest)
quietline_target_defaults(quietline_aax_fakehost)

quietline_add_test(aax_foundation_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/AAX_CStringTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CACFUnknownTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HostProxiesTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ExportsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DescriptionProxiesTest.cpp
  LIBS quietline_aax_foundation quietline_aax_fakehost
  LABELS sanitize concurrency)
