#pragma once

#include "platform/au/AudioUnitTypes.h"

namespace kelmora::au
{
/** The buffers of one I/O element: a pointer list that points into its own memory, into memory
    of others (the caller's or the source's), or nowhere valid. Each stream's buffer starts on a
    16-byte boundary. Allocation and deallocation happen outside rendering; preparing buffers
    never allocates.
*/
class AUBufferList
{
public:
    enum PointerState : UInt32 { kPtrsInvalid = 0, kPtrsToMyMemory = 1, kPtrsToExternalMemory = 2 };

    AUBufferList() = default;
    ~AUBufferList();

    AUBufferList (const AUBufferList&) = delete;
    AUBufferList& operator= (const AUBufferList&) = delete;

    // Throws std::bad_alloc when the sizes overflow 32 bits or memory cannot be obtained.
    void Allocate (const AudioStreamBasicDescription& format, UInt32 frames);
    void Deallocate();

    // Throws kAudioUnitErr_TooManyFramesToProcess or kAudioUnitErr_FormatNotSupported.
    AudioBufferList& PrepareBuffer (const AudioStreamBasicDescription& format, UInt32 frames);
    AudioBufferList& PrepareNullBuffer (const AudioStreamBasicDescription& format, UInt32 frames);

    // The misuses below throw -1.
    AudioBufferList& SetBufferList (const AudioBufferList& list);
    void CopyBufferListTo (AudioBufferList& list) const;
    void CopyBufferContentsTo (AudioBufferList& list) const;
    void InvalidateBufferList() noexcept { mPtrState = kPtrsInvalid; }

    void UseExternalBuffer (const AudioStreamBasicDescription& format, const AudioUnitExternalBuffer& buffer);

    AudioBufferList& GetBufferList() const;  // throws -1 while the pointers are invalid
    PointerState GetPointerState() const noexcept { return mPtrState; }
    bool IsExternalMemory() const noexcept { return mExternalMemory; }
    UInt32 GetAllocatedStreams() const noexcept { return mAllocatedStreams; }
    UInt32 GetAllocatedFrames() const noexcept { return mAllocatedFrames; }
    UInt32 GetAllocatedBytes() const noexcept { return mAllocatedBytes; }
    const Byte* GetMemory() const noexcept { return mMemory; }

    static UInt32 StreamCount (const AudioStreamBasicDescription& format) noexcept;

private:
    UInt32 PrepareShape (const AudioStreamBasicDescription& format, UInt32& channelsPerBuffer) const;
    void ReleaseMemory() noexcept;

    PointerState mPtrState = kPtrsInvalid;
    bool mExternalMemory = false;
    AudioBufferList* mPtrs = nullptr;
    Byte* mMemory = nullptr;
    UInt32 mAllocatedStreams = 0;
    UInt32 mAllocatedFrames = 0;
    UInt32 mAllocatedBytes = 0;
};
} // namespace kelmora::au
