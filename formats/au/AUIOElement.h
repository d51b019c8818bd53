#pragma once

#include "formats/au/AUBufferList.h"
#include "formats/au/AUElement.h"

namespace kelmora::au
{
/** An element that carries audio: a stream format and a buffer for it. */
class AUIOElement : public AUElement
{
public:
    explicit AUIOElement (AUBase& unit);

    AUIOElement* AsIOElement() override { return this; }

    virtual OSStatus SetStreamFormat (const AudioStreamBasicDescription& format);
    // Does nothing until the unit has begun initialising; frames 0 means the unit's maximum slice.
    virtual void AllocateBuffer (UInt32 frames = 0);
    virtual bool NeedsBufferSpace() const = 0;
    // Layout operations answer the number of tags or the layout size; 0 when there is none.
    virtual UInt32 GetChannelLayoutTags (AudioChannelLayoutTag* outTags);
    virtual UInt32 GetAudioChannelLayout (AudioChannelLayout* outLayout, Boolean& outWritable);
    virtual OSStatus SetAudioChannelLayout (const AudioChannelLayout& layout);
    virtual OSStatus RemoveAudioChannelLayout();

    const AudioStreamBasicDescription& GetStreamFormat() const noexcept { return mStreamFormat; }
    UInt32 NumberChannels() const noexcept { return mStreamFormat.mChannelsPerFrame; }

    bool WillAllocateBuffer() const noexcept { return mWillAllocate; }
    void SetWillAllocateBuffer (bool willAllocate) noexcept { mWillAllocate = willAllocate; }

    AUBufferList& GetBuffers() noexcept { return mIOBuffer; }
    AudioBufferList& GetBufferList() const { return mIOBuffer.GetBufferList(); }
    AudioBufferList& PrepareBuffer (UInt32 frames) { return mIOBuffer.PrepareBuffer (mStreamFormat, frames); }
    AudioBufferList& PrepareNullBuffer (UInt32 frames) { return mIOBuffer.PrepareNullBuffer (mStreamFormat, frames); }
    AudioBufferList& SetBufferList (const AudioBufferList& list) { return mIOBuffer.SetBufferList (list); }
    void CopyBufferListTo (AudioBufferList& list) const { mIOBuffer.CopyBufferListTo (list); }
    void CopyBufferContentsTo (AudioBufferList& list) const { mIOBuffer.CopyBufferContentsTo (list); }
    void InvalidateBufferList() noexcept { mIOBuffer.InvalidateBufferList(); }
    void UseExternalBuffer (const AudioUnitExternalBuffer& buffer) { mIOBuffer.UseExternalBuffer (mStreamFormat, buffer); }
    void DeallocateBuffer() { mIOBuffer.Deallocate(); }

protected:
    AudioStreamBasicDescription mStreamFormat {};
    AUBufferList mIOBuffer;
    bool mWillAllocate = true;
};
} // namespace kelmora::au
