#include "TestEffect.h"

#include "formats/au/AUBufferList.h"

#include <algorithm>
#include <new>

using namespace kelmora::au;
using kelmora::au::test::FloatFormat;

namespace
{
template <typename Fn>
OSStatus Status (Fn&& fn)
{
    return CallWithStatusLadder ([&] { fn(); return OSStatus (0); });
}
} // namespace

TEST (AUBufferList, StreamsStartOn16ByteBoundaries)
{
    AUBufferList buffers;
    const auto stereo = FloatFormat (2);
    buffers.Allocate (stereo, 5);  // 20 bytes a stream, rounded up to 32
    auto& list = buffers.PrepareBuffer (stereo, 5);
    ASSERT_EQ (2u, list.mNumberBuffers);
    EXPECT_EQ ((std::vector<size_t> { 64, 32, 0, 20 }), (std::vector<size_t> { buffers.GetAllocatedBytes(), size_t (static_cast<Byte*> (list.mBuffers[1].mData) - static_cast<Byte*> (list.mBuffers[0].mData)),
                                                                            reinterpret_cast<uintptr_t> (list.mBuffers[0].mData) % 16, list.mBuffers[0].mDataByteSize }));
    EXPECT_EQ (AUBufferList::kPtrsToMyMemory, buffers.GetPointerState());
    EXPECT_EQ (kAudioUnitErr_TooManyFramesToProcess, Status ([&] { buffers.PrepareBuffer (stereo, 6); }));
    EXPECT_EQ (kAudioUnitErr_FormatNotSupported, Status ([&] { buffers.PrepareBuffer (FloatFormat (3), 2); }));

}

TEST (AUBufferList, SizesThatOverflow32BitsAreRefused)
{
    AUBufferList buffers;
    auto huge = FloatFormat (1);
    huge.mBytesPerFrame = 0x10000;
    EXPECT_THROW (buffers.Allocate (huge, 0x10000), std::bad_alloc);
    EXPECT_THROW (buffers.Allocate (FloatFormat (64), 1u << 24), std::bad_alloc);
    EXPECT_THROW (buffers.Allocate (FloatFormat (1u << 28), 1), std::bad_alloc);
    EXPECT_EQ (nullptr, buffers.GetMemory());
}

TEST (AUBufferList, ExternalMemoryIsAdoptedOnlyWhenLargeEnoughAndNeverFreed)
{
    AUBufferList buffers;
    const auto stereo = FloatFormat (2);
    buffers.Allocate (stereo, 64);  // 2 x 256 bytes
    alignas (16) static Byte small[256], host[1024 + 8];
    buffers.UseExternalBuffer (stereo, { small, sizeof small });
    EXPECT_FALSE (buffers.IsExternalMemory());

    buffers.UseExternalBuffer (stereo, { host, sizeof host });
    EXPECT_TRUE (buffers.IsExternalMemory() && buffers.GetAllocatedBytes() == 1024u && buffers.GetAllocatedFrames() == 128u);
    auto& list = buffers.PrepareBuffer (stereo, 128);
    EXPECT_TRUE (list.mBuffers[0].mData == host && list.mBuffers[1].mData == host + 512);

    buffers.Allocate (stereo, 256);  // larger than the host block: own memory again, host block only forgotten
    EXPECT_FALSE (buffers.IsExternalMemory());
}
