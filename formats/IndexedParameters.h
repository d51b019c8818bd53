#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace kelmora::formats
{
JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
// The format glues reach a processor's parameters by index, the interface JUCE 7 marks
// deprecated: the product's parameters are index-based, and JUCE routes these calls to
// parameter objects when a processor has them, so both kinds are served from here.
inline int parameterCount (juce::AudioProcessor& p)                     { return p.getNumParameters(); }
inline float parameterValue (juce::AudioProcessor& p, int i)            { return p.getParameter (i); }
inline void setParameterValue (juce::AudioProcessor& p, int i, float v) { p.setParameter (i, v); }
inline float parameterDefault (juce::AudioProcessor& p, int i)          { return p.getParameterDefaultValue (i); }
inline juce::String parameterName (juce::AudioProcessor& p, int i)      { return p.getParameterName (i); }
inline juce::String parameterName (juce::AudioProcessor& p, int i, int maximumLength) { return p.getParameterName (i, maximumLength); }
inline juce::String parameterText (juce::AudioProcessor& p, int i)      { return p.getParameterText (i); }
inline juce::String parameterLabel (juce::AudioProcessor& p, int i)     { return p.getParameterLabel (i); }
inline bool parameterAutomatable (juce::AudioProcessor& p, int i)       { return p.isParameterAutomatable (i); }
JUCE_END_IGNORE_WARNINGS_GCC_LIKE
} // namespace kelmora::formats
