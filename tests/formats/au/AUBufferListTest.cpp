#include "formats/au/AUBufferList.h"
#include "formats/au/StatusLadder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>

using namespace kelmora::au;

namespace
{
AudioStreamBasicDescription FloatFormat (UInt32 channels, bool nonInterleaved)
{
    const UInt32 flags = kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked | (nonInterleaved ? UInt32 (kAudioFormatFlagIsNonInterleaved) : 0u);
    const UInt32 bytes = nonInterleaved ? 4 : 4 * channels;
    return { 48000.0, kAudioFormatLinearPCM, flags, bytes, 1, bytes, channels, 32, 0 };
}

template <typename Fn>
OSStatus Status (Fn&& fn)
{
    return CallWithStatusLadder ([&] { fn(); return OSStatus (0); });
}
} // namespace

TEST (AUBufferList, StreamsAndInterleavedFramesStartOn16ByteBoundaries)
{
    AUBufferList buffers;
    const auto stereo = FloatFormat (2, true);
    buffers.Allocate (stereo, 5);  // 20 bytes a stream, rounded up to 32
    EXPECT_EQ (64u, buffers.GetAllocatedBytes());
    auto& list = buffers.PrepareBuffer (stereo, 5);
    ASSERT_EQ (2u, list.mNumberBuffers);
    EXPECT_EQ (32, static_cast<Byte*> (list.mBuffers[1].mData) - static_cast<Byte*> (list.mBuffers[0].mData));
    EXPECT_EQ (0u, reinterpret_cast<uintptr_t> (list.mBuffers[0].mData) % 16);
    EXPECT_EQ (20u, list.mBuffers[0].mDataByteSize);
    EXPECT_EQ (AUBufferList::kPtrsToMyMemory, buffers.GetPointerState());
    EXPECT_EQ (kAudioUnitErr_TooManyFramesToProcess, Status ([&] { buffers.PrepareBuffer (stereo, 6); }));
    EXPECT_EQ (kAudioUnitErr_FormatNotSupported, Status ([&] { buffers.PrepareBuffer (FloatFormat (3, true), 2); }));

    auto interleaved = FloatFormat (2, false);
    interleaved.mBitsPerChannel = 24;
    interleaved.mFormatFlags = kAudioFormatFlagIsSignedInteger | kAudioFormatFlagIsPacked;
    interleaved.mBytesPerFrame = interleaved.mBytesPerPacket = 6;
    buffers.Allocate (interleaved, 5);
    EXPECT_EQ (AUBufferList::kPtrsInvalid, buffers.GetPointerState());
    EXPECT_EQ (-1, Status ([&] { buffers.GetBufferList(); }));
    AUBufferList frames;
    frames.Allocate (interleaved, 5);
    EXPECT_EQ (32u, frames.GetAllocatedBytes());
    auto& one = frames.PrepareBuffer (interleaved, 5);
    ASSERT_EQ (1u, one.mNumberBuffers);
    EXPECT_EQ (2u, one.mBuffers[0].mNumberChannels);
    EXPECT_EQ (30u, one.mBuffers[0].mDataByteSize);
}

TEST (AUBufferList, SizesThatOverflow32BitsAreRefused)
{
    AUBufferList buffers;
    auto huge = FloatFormat (1, true);
    huge.mBytesPerFrame = 0x10000;
    EXPECT_THROW (buffers.Allocate (huge, 0x10000), std::bad_alloc);
    EXPECT_THROW (buffers.Allocate (FloatFormat (64, true), 1u << 24), std::bad_alloc);
    EXPECT_THROW (buffers.Allocate (FloatFormat (1u << 28, true), 1), std::bad_alloc);
    EXPECT_EQ (nullptr, buffers.GetMemory());
}

TEST (AUBufferList, PointerListsOfOthersAndContentCopies)
{
    AUBufferList buffers;
    const auto stereo = FloatFormat (2, true);
    buffers.Allocate (stereo, 8);
    auto& nulls = buffers.PrepareNullBuffer (stereo, 8);
    EXPECT_EQ (nullptr, nulls.mBuffers[1].mData);
    EXPECT_EQ (32u, nulls.mBuffers[1].mDataByteSize);
    EXPECT_EQ (AUBufferList::kPtrsToExternalMemory, buffers.GetPointerState());

    auto& own = buffers.PrepareBuffer (stereo, 8);
    std::fill_n (static_cast<float*> (own.mBuffers[0].mData), 8, 1.0f);
    std::fill_n (static_cast<float*> (own.mBuffers[1].mData), 8, 2.0f);
    float samples[3][8] = {};
    alignas (AudioBufferList) UInt8 storage[8 + 16 * 3];
    auto& caller = *reinterpret_cast<AudioBufferList*> (storage);
    caller.mNumberBuffers = 3;
    for (int b = 0; b < 3; ++b)
        caller.mBuffers[b] = { 1, 4, samples[b] };
    buffers.CopyBufferContentsTo (caller);
    EXPECT_EQ (1.0f, samples[0][7]);
    EXPECT_EQ (2.0f, samples[2][7]) << "extra buffers take the last one";
    EXPECT_EQ (32u, caller.mBuffers[2].mDataByteSize);

    EXPECT_EQ (-1, Status ([&] { buffers.SetBufferList (caller); })) << "three buffers on a two-stream list";
    buffers.InvalidateBufferList();
    EXPECT_EQ (-1, Status ([&] { buffers.CopyBufferContentsTo (caller); }));
}

TEST (AUBufferList, ExternalMemoryIsAdoptedOnlyWhenLargeEnoughAndNeverFreed)
{
    AUBufferList buffers;
    const auto stereo = FloatFormat (2, true);
    buffers.Allocate (stereo, 64);  // 2 x 256 bytes

    alignas (16) static Byte small[256];
    buffers.UseExternalBuffer (stereo, { small, sizeof small });
    EXPECT_FALSE (buffers.IsExternalMemory());

    alignas (16) static Byte host[1024 + 8];
    buffers.UseExternalBuffer (stereo, { host, sizeof host });
    EXPECT_TRUE (buffers.IsExternalMemory());
    EXPECT_EQ (1024u, buffers.GetAllocatedBytes());
    EXPECT_EQ (128u, buffers.GetAllocatedFrames());
    auto& list = buffers.PrepareBuffer (stereo, 128);
    EXPECT_EQ (host, list.mBuffers[0].mData);
    EXPECT_EQ (host + 512, list.mBuffers[1].mData);

    buffers.Allocate (stereo, 256);  // larger than the host block: own memory again, host block only forgotten
    EXPECT_FALSE (buffers.IsExternalMemory());
}
