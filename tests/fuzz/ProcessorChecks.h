#pragma once

#include "dsp/KelmoraLabsTemplateAudioProcessor.h"

#include <memory>

namespace quietline::fuzz
{
using Processor = kelmora::dsp::KelmoraLabsTemplateAudioProcessor;

/** A product processor in the shared HOME, prepared at a rate where the filter runs. */
std::unique_ptr<Processor> prepared();

/** Values in range, the saved state reads back identical into the same and into another
    instance, and processing noise gives finite output. */
void requireSound (Processor& p, Processor& other);
} // namespace quietline::fuzz
