# The product processor sits on top of the framework, the filter, the resources and the fonts;
# the filter library itself stays free of JUCE.
quietline_add_library(quietline_product
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/KelmoraLabsTemplateAudioProcessor.cpp
  LIBS quietline_dsp quietline_core quietline_resources quietline_skins juce_deps)
target_compile_options(quietline_product PRIVATE -ffp-contract=off)
