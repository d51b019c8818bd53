# JUCE is compiled once into one static library that every target links.
find_package(JUCE 7.0.5 EXACT CONFIG REQUIRED)

add_library(juce_deps STATIC)
target_link_libraries(juce_deps
  PRIVATE juce::juce_audio_processors juce::juce_gui_basics juce::juce_gui_extra juce::juce_dsp
  PUBLIC  juce::juce_recommended_config_flags)
target_compile_definitions(juce_deps PUBLIC
  JUCE_WEB_BROWSER=0 JUCE_USE_CURL=0 JUCE_STANDALONE_APPLICATION=0
  JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1 JUCE_PLUGINHOST_VST3=0 JUCE_PLUGINHOST_VST=0
  JUCE_PLUGINHOST_LADSPA=0 JUCE_PLUGINHOST_LV2=0 JUCE_USE_FLAC=0 JUCE_USE_OGGVORBIS=0
  JUCE_DISPLAY_SPLASH_SCREEN=0 JUCE_REPORT_APP_USAGE=0 JUCE_MODAL_LOOPS_PERMITTED=1)
# The sanitizer trees also run JUCE's checks: jassert, logged through juce::Logger (which the test
# mains turn into test failures), and the leak detector. The leak detector adds a member to the
# classes that carry it, so JUCE and everything built on it must agree: the definitions are public.
# The fuzz tree leaves them off; libFuzzer judges crashes, not log lines.
if(QUIETLINE_SANITIZE AND NOT QUIETLINE_FUZZ)
  target_compile_definitions(juce_deps PUBLIC JUCE_LOG_ASSERTIONS=1 JUCE_CHECK_MEMORY_LEAKS=1)
  # A plug-in module carries its own copy of JUCE, with no logger installed: there an assertion is
  # only printed, so a test fails on the printed message too.
  set(QUIETLINE_JUCE_ASSERTION_FAILS_TEST FAIL_REGULAR_EXPRESSION "JUCE Assertion failure")
endif()
# Hand the modules' include paths and definitions on to whoever links juce_deps, but not the
# module targets themselves: those carry JUCE's sources, which would be compiled again.
target_include_directories(juce_deps SYSTEM INTERFACE $<TARGET_PROPERTY:juce_deps,INCLUDE_DIRECTORIES>)
target_compile_definitions(juce_deps INTERFACE $<TARGET_PROPERTY:juce_deps,COMPILE_DEFINITIONS>)

find_package(PkgConfig REQUIRED)
pkg_check_modules(QL_SYSLIBS REQUIRED IMPORTED_TARGET
  libpng libjpeg zlib freetype2 fontconfig alsa x11 xext xrandr xinerama xcursor)
find_package(Threads REQUIRED)
target_link_libraries(juce_deps PUBLIC PkgConfig::QL_SYSLIBS Threads::Threads ${CMAKE_DL_LIBS})
# JUCE itself is never instrumented: sanitizer builds check our code, not the framework's.
set_target_properties(juce_deps PROPERTIES QUIETLINE_NO_SANITIZE ON)
