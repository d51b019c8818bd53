#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace kelmora::formats
{
/** Creates the product's processor, recording which format made it (the about box names it).
    Only JUCE's per-thread record of the format is set: one module serves three formats at once,
    possibly on several threads, so there is no process-wide "loaded as" format to write.
    Null when the factory gives none; exceptions pass to the caller. */
inline std::unique_ptr<juce::AudioProcessor> createProcessorAs (juce::AudioProcessor::WrapperType type,
                                                                juce::AudioProcessor* (*create)())
{
    struct Reset
    {
        ~Reset() { juce::AudioProcessor::setTypeOfNextNewPlugin (juce::AudioProcessor::wrapperType_Undefined); }
    } reset;

    juce::AudioProcessor::setTypeOfNextNewPlugin (type);
    return std::unique_ptr<juce::AudioProcessor> (create != nullptr ? create() : nullptr);
}
} // namespace kelmora::formats
