#include "formats/au/AUIOElement.h"

#include "formats/au/AUBase.h"

namespace kelmora::au
{
AUIOElement::AUIOElement (AUBase& unit) : AUElement (unit)
{
    const bool nonInterleaved = unit.GetAudioUnitAPIVersion() >= 2;
    mStreamFormat.mSampleRate = 44100.0;
    mStreamFormat.mFormatID = kAudioFormatLinearPCM;
    mStreamFormat.mChannelsPerFrame = 2;
    mStreamFormat.mBitsPerChannel = 32;
    mStreamFormat.mFramesPerPacket = 1;
    mStreamFormat.mFormatFlags = kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked
                                 | (nonInterleaved ? UInt32 (kAudioFormatFlagIsNonInterleaved) : 0u);
    mStreamFormat.mBytesPerFrame = mStreamFormat.mBytesPerPacket = nonInterleaved ? 4 : 8;
}

OSStatus AUIOElement::SetStreamFormat (const AudioStreamBasicDescription& format)
{
    mStreamFormat = format;
    return noErr;
}

void AUIOElement::AllocateBuffer (UInt32 frames)
{
    auto& unit = GetAudioUnit();
    if (! unit.HasBegunInitializing())
        return;
    if (frames == 0)
        frames = unit.GetMaxFramesPerSlice();
    mIOBuffer.Allocate (mStreamFormat, mWillAllocate && NeedsBufferSpace() ? frames : 0);
}

UInt32 AUIOElement::GetChannelLayoutTags (AudioChannelLayoutTag*) { return 0; }
UInt32 AUIOElement::GetAudioChannelLayout (AudioChannelLayout*, Boolean&) { return 0; }
OSStatus AUIOElement::SetAudioChannelLayout (const AudioChannelLayout&) { return kAudioUnitErr_InvalidProperty; }
OSStatus AUIOElement::RemoveAudioChannelLayout() { return kAudioUnitErr_InvalidPropertyValue; }
} // namespace kelmora::au
