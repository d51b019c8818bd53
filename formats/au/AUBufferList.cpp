#include "formats/au/AUBufferList.h"

#include "formats/au/StatusLadder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace kelmora::au
{
namespace
{
constexpr UInt64 kMax32 = std::numeric_limits<UInt32>::max();

UInt64 RoundUp16 (UInt64 n) { return (n + 15) & ~UInt64 (15); }
size_t ListBytes (UInt32 buffers) { return offsetof (AudioBufferList, mBuffers) + sizeof (AudioBuffer) * buffers; }
} // namespace

AUBufferList::~AUBufferList()
{
    ReleaseMemory();
    std::free (mPtrs);
}

UInt32 AUBufferList::StreamCount (const AudioStreamBasicDescription& format) noexcept
{
    const bool nonInterleaved = format.mFormatID == kAudioFormatLinearPCM
                                && (format.mFormatFlags & kAudioFormatFlagIsNonInterleaved) != 0;
    return nonInterleaved ? format.mChannelsPerFrame : 1;
}

void AUBufferList::ReleaseMemory() noexcept
{
    if (! mExternalMemory)
        std::free (mMemory);  // host memory is only forgotten
    mMemory = nullptr;
    mExternalMemory = false;
}

void AUBufferList::Allocate (const AudioStreamBasicDescription& format, UInt32 frames)
{
    const UInt32 streams = StreamCount (format);
    if (streams > mAllocatedStreams)
    {
        if (streams >= (1u << 28))
            throw std::bad_alloc();
        auto* list = static_cast<AudioBufferList*> (std::calloc (1, ListBytes (streams)));
        if (list == nullptr)
            throw std::bad_alloc();
        std::free (mPtrs);
        mPtrs = list;
        mAllocatedStreams = streams;
    }

    if (frames != 0 && format.mBytesPerFrame != 0)
    {
        const UInt64 product = UInt64 (format.mBytesPerFrame) * frames;
        if (product > kMax32)
            throw std::bad_alloc();
        const UInt64 perStream = RoundUp16 (product);
        const UInt64 total = perStream * streams;
        if (perStream > kMax32 || total > kMax32)
            throw std::bad_alloc();

        if (total > mAllocatedBytes)
        {
            void* memory = nullptr;
            if (posix_memalign (&memory, 16, static_cast<size_t> (total)) != 0 || memory == nullptr)
                throw std::bad_alloc();
            ReleaseMemory();
            mMemory = static_cast<Byte*> (memory);
            mAllocatedBytes = static_cast<UInt32> (total);
        }
    }

    mAllocatedFrames = frames;
    mPtrState = kPtrsInvalid;
}

void AUBufferList::Deallocate()
{
    mAllocatedStreams = 0;
    mAllocatedFrames = 0;
    mAllocatedBytes = 0;
    ReleaseMemory();
    mPtrState = kPtrsInvalid;
}

UInt32 AUBufferList::PrepareShape (const AudioStreamBasicDescription& format, UInt32& channelsPerBuffer) const
{
    UInt32 buffers = 1;
    channelsPerBuffer = format.mChannelsPerFrame;
    if (format.mFormatID == kAudioFormatLinearPCM && (format.mFormatFlags & kAudioFormatFlagIsNonInterleaved) != 0)
    {
        buffers = format.mChannelsPerFrame;
        channelsPerBuffer = 1;
    }
    if (buffers > mAllocatedStreams || mPtrs == nullptr)  // the pointer list has no room for them
        ThrowStatus (kAudioUnitErr_FormatNotSupported);
    return buffers;
}

AudioBufferList& AUBufferList::PrepareBuffer (const AudioStreamBasicDescription& format, UInt32 frames)
{
    if (frames > mAllocatedFrames)
        ThrowStatus (kAudioUnitErr_TooManyFramesToProcess);

    UInt32 channels;
    const UInt32 buffers = PrepareShape (format, channels);
    const UInt64 bytes = UInt64 (format.mBytesPerFrame) * frames;
    const UInt64 stride = RoundUp16 (UInt64 (format.mBytesPerFrame) * mAllocatedFrames);
    if (buffers > 0 && (buffers - 1) * stride + bytes > mAllocatedBytes)
        ThrowStatus (kAudioUnitErr_TooManyFramesToProcess);

    mPtrs->mNumberBuffers = buffers;
    for (UInt32 i = 0; i < buffers; ++i)
    {
        auto& buffer = mPtrs->mBuffers[i];
        buffer.mNumberChannels = channels;
        buffer.mDataByteSize = static_cast<UInt32> (bytes);
        buffer.mData = mMemory != nullptr ? mMemory + i * stride : nullptr;
    }
    mPtrState = kPtrsToMyMemory;
    return *mPtrs;
}

AudioBufferList& AUBufferList::PrepareNullBuffer (const AudioStreamBasicDescription& format, UInt32 frames)
{
    UInt32 channels;
    const UInt32 buffers = PrepareShape (format, channels);
    mPtrs->mNumberBuffers = buffers;
    for (UInt32 i = 0; i < buffers; ++i)
    {
        auto& buffer = mPtrs->mBuffers[i];
        buffer.mNumberChannels = channels;
        buffer.mDataByteSize = static_cast<UInt32> (std::min<UInt64> (UInt64 (format.mBytesPerFrame) * frames, kMax32));
        buffer.mData = nullptr;
    }
    mPtrState = kPtrsToExternalMemory;
    return *mPtrs;
}

AudioBufferList& AUBufferList::SetBufferList (const AudioBufferList& list)
{
    if (list.mNumberBuffers > mAllocatedStreams || mPtrs == nullptr)
        ThrowStatus (-1);
    mPtrState = kPtrsToExternalMemory;
    std::memcpy (mPtrs, &list, ListBytes (list.mNumberBuffers));
    return *mPtrs;
}

void AUBufferList::CopyBufferListTo (AudioBufferList& list) const
{
    if (mPtrState == kPtrsInvalid)
        ThrowStatus (-1);
    std::memcpy (&list, mPtrs, ListBytes (mPtrs->mNumberBuffers));
}

void AUBufferList::CopyBufferContentsTo (AudioBufferList& list) const
{
    if (mPtrState == kPtrsInvalid)
        ThrowStatus (-1);
    const UInt32 own = mPtrs->mNumberBuffers;
    if (own == 0)
        return;
    for (UInt32 i = 0; i < list.mNumberBuffers; ++i)
    {
        const auto& source = mPtrs->mBuffers[std::min (i, own - 1)];
        auto& destination = list.mBuffers[i];
        if (destination.mData != source.mData && destination.mData != nullptr && source.mData != nullptr)
            std::memmove (destination.mData, source.mData, source.mDataByteSize);
        destination.mDataByteSize = source.mDataByteSize;
    }
}

AudioBufferList& AUBufferList::GetBufferList() const
{
    if (mPtrState == kPtrsInvalid)
        ThrowStatus (-1);
    return *mPtrs;
}

void AUBufferList::UseExternalBuffer (const AudioStreamBasicDescription& format, const AudioUnitExternalBuffer& buffer)
{
    if (mMemory == nullptr)
        return;
    const UInt32 size = buffer.size & ~UInt32 (15);
    if (size < mAllocatedBytes)
        return;  // too small for the current allocation
    const UInt64 frameBytes = UInt64 (StreamCount (format)) * format.mBytesPerFrame;
    if (frameBytes == 0)
        return;

    ReleaseMemory();
    mMemory = buffer.buffer;
    mExternalMemory = true;
    mAllocatedBytes = size;
    mAllocatedFrames = static_cast<UInt32> (size / frameBytes);
    mPtrState = kPtrsInvalid;
}
} // namespace kelmora::au
