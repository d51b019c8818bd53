#include "formats/au/AUBufferList.h"
#include "formats/au/AUStreamHelpers.h"
#include "formats/au/StatusLadder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>

using namespace kelmora::au;

namespace
{
AudioStreamBasicDescription FloatFormat (UInt32 channels, bool nonInterleaved)
{
    AudioStreamBasicDescription f {};
    f.mSampleRate = 48000.0;
    f.mFormatID = kAudioFormatLinearPCM;
    f.mFormatFlags = kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked | (nonInterleaved ? UInt32 (kAudioFormatFlagIsNonInterleaved) : 0u);
    f.mBytesPerFrame = f.mBytesPerPacket = nonInterleaved ? 4 : 4 * channels;
    f.mFramesPerPacket = 1;
    f.mChannelsPerFrame = channels;
    f.mBitsPerChannel = 32;
    return f;
}

template <typename Fn>
OSStatus Status (Fn&& fn)
{
    return CallWithStatusLadder ([&] { fn(); return OSStatus (0); });
}
} // namespace

TEST (AUBufferList, NonInterleavedStreamsStartOn16ByteBoundaries)
{
    AUBufferList buffers;
    const auto stereo = FloatFormat (2, true);
    buffers.Allocate (stereo, 512);
    EXPECT_EQ (2u, buffers.GetAllocatedStreams());
    EXPECT_EQ (4096u, buffers.GetAllocatedBytes());

    auto& list = buffers.PrepareBuffer (stereo, 512);
    ASSERT_EQ (2u, list.mNumberBuffers);
    EXPECT_EQ (2048, static_cast<Byte*> (list.mBuffers[1].mData) - static_cast<Byte*> (list.mBuffers[0].mData));
    EXPECT_EQ (0u, reinterpret_cast<uintptr_t> (list.mBuffers[0].mData) % 16);
    EXPECT_EQ (2048u, list.mBuffers[0].mDataByteSize);
    EXPECT_EQ (1u, list.mBuffers[0].mNumberChannels);
    EXPECT_EQ (AUBufferList::kPtrsToMyMemory, buffers.GetPointerState());

    EXPECT_EQ (kAudioUnitErr_TooManyFramesToProcess, Status ([&] { buffers.PrepareBuffer (stereo, 513); }));
    EXPECT_EQ (kAudioUnitErr_FormatNotSupported, Status ([&] { buffers.PrepareBuffer (FloatFormat (3, true), 16); }));

    buffers.Allocate (stereo, 100);
    EXPECT_EQ (AUBufferList::kPtrsInvalid, buffers.GetPointerState());
    EXPECT_EQ (-1, Status ([&] { buffers.GetBufferList(); }));
}

TEST (AUBufferList, InterleavedStrideRoundsUpTo16)
{
    AUBufferList buffers;
    auto format = FloatFormat (2, false);
    format.mBitsPerChannel = 24;
    format.mFormatFlags = kAudioFormatFlagIsSignedInteger | kAudioFormatFlagIsPacked;
    format.mBytesPerFrame = format.mBytesPerPacket = 6;
    buffers.Allocate (format, 5);
    EXPECT_EQ (32u, buffers.GetAllocatedBytes());
    auto& list = buffers.PrepareBuffer (format, 5);
    ASSERT_EQ (1u, list.mNumberBuffers);
    EXPECT_EQ (2u, list.mBuffers[0].mNumberChannels);
    EXPECT_EQ (30u, list.mBuffers[0].mDataByteSize);
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
    for (UInt32 b = 0; b < 2; ++b)
        for (int i = 0; i < 8; ++i)
            static_cast<float*> (own.mBuffers[b].mData)[i] = float (b + 1);

    float left[8] = {}, right[8] = {}, third[8] = {};
    alignas (AudioBufferList) UInt8 storage[8 + 16 * 3];
    auto& caller = *reinterpret_cast<AudioBufferList*> (storage);
    caller.mNumberBuffers = 3;
    caller.mBuffers[0] = { 1, 4, left };
    caller.mBuffers[1] = { 1, 4, right };
    caller.mBuffers[2] = { 1, 4, third };
    buffers.CopyBufferContentsTo (caller);
    EXPECT_EQ (1.0f, left[7]);
    EXPECT_EQ (2.0f, right[7]);
    EXPECT_EQ (2.0f, third[7]) << "extra buffers take the last one";
    EXPECT_EQ (32u, caller.mBuffers[2].mDataByteSize);

    EXPECT_EQ (-1, Status ([&] { buffers.SetBufferList (caller); })) << "three buffers on a two-stream list";
    caller.mNumberBuffers = 2;
    buffers.SetBufferList (caller);
    EXPECT_EQ (left, buffers.GetBufferList().mBuffers[0].mData);

    buffers.InvalidateBufferList();
    EXPECT_EQ (-1, Status ([&] { buffers.CopyBufferListTo (caller); }));
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
    buffers.Deallocate();
    EXPECT_EQ (0u, buffers.GetAllocatedBytes());
    EXPECT_EQ (nullptr, buffers.GetMemory());
}

TEST (StreamHelpers, ChannelCountsAndComparison)
{
    AudioChannelLayout layout {};
    layout.mChannelLayoutTag = kAudioChannelLayoutTag_UseChannelBitmap;
    layout.mChannelBitmap = 0x3F;
    EXPECT_EQ (6u, ChannelLayoutChannelCount (layout));
    layout.mChannelLayoutTag = kAudioChannelLayoutTag_UseChannelDescriptions;
    layout.mNumberChannelDescriptions = 3;
    EXPECT_EQ (3u, ChannelLayoutChannelCount (layout));
    layout.mChannelLayoutTag = (121u << 16) | 6;
    EXPECT_EQ (6u, ChannelLayoutChannelCount (layout));

    auto a = FloatFormat (2, true), b = a;
    b.mReserved = 7;
    EXPECT_TRUE (StreamDescriptionCompare (a, b));
    b.mSampleRate = 44100.0;
    EXPECT_FALSE (StreamDescriptionCompare (a, b));
    StreamDescriptionClear (b);
    EXPECT_EQ (0u, b.mChannelsPerFrame);
    EXPECT_EQ (0.0, b.mSampleRate);
}
