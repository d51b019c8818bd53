#pragma once

#include "platform/au/CoreAudioTypes.h"

namespace kelmora::au
{
// Channel count of a layout given by bitmap, by descriptions, or by a tag whose low 16 bits count.
UInt32 ChannelLayoutChannelCount (const AudioChannelLayout& layout);
void StreamDescriptionClear (AudioStreamBasicDescription& description);
// Equal in everything but the reserved word.
bool StreamDescriptionCompare (const AudioStreamBasicDescription& a, const AudioStreamBasicDescription& b);
} // namespace kelmora::au
