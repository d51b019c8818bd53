#include "formats/au/AUStreamHelpers.h"

#include <bitset>
#include <cstring>

namespace kelmora::au
{
UInt32 ChannelLayoutChannelCount (const AudioChannelLayout& layout)
{
    if (layout.mChannelLayoutTag == kAudioChannelLayoutTag_UseChannelBitmap)
        return static_cast<UInt32> (std::bitset<32> (layout.mChannelBitmap).count());
    if (layout.mChannelLayoutTag == kAudioChannelLayoutTag_UseChannelDescriptions)
        return layout.mNumberChannelDescriptions;
    return layout.mChannelLayoutTag & 0xFFFF;
}

void StreamDescriptionClear (AudioStreamBasicDescription& description) { std::memset (&description, 0, sizeof description); }

bool StreamDescriptionCompare (const AudioStreamBasicDescription& a, const AudioStreamBasicDescription& b)
{
    return std::memcmp (&a, &b, offsetof (AudioStreamBasicDescription, mReserved)) == 0;
}
} // namespace kelmora::au
