#include "formats/aax/AAX_CMutex.h"
#include "formats/aax/AAX_VController.h"

#include "formats/aax/FakeEffect.h"
#include "formats/aax/LiveCheck.h"
#include "tools/aaxhost/AaxHost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

using namespace quietline::test::aax;
using namespace kelmora::tools::aaxhost;
using Bytes = std::vector<uint8_t>;
using Packet = std::pair<AAX_FieldIndex, Bytes>;

namespace
{
/** A dispatcher posting to the reference host; its handlers record their calls and write the identifier's first letter. */
class PacketDispatcherTest : public ::testing::Test
{
protected:
    void SetUp() override { dispatcher.Initialize (&controller, nullptr); }

    int32_t write (const char* identifier, AAX_CPacket& packet)
    {
        calls.push_back (identifier);
        if (markDirtyAgain)
            dispatcher.SetDirty (identifier, true);   // re-enters the dispatcher's mutex
        packet.SetSize (1);
        *static_cast<char*> (packet.GetPtr (1)) = identifier[0];
        return result;
    }

    void registerWriter (const char* identifier, uint32_t port)
    {
        const AAX_CPacketHandler<PacketDispatcherTest> handler (this, &PacketDispatcherTest::write);
        EXPECT_EQ (dispatcher.RegisterPacket (identifier, port, &handler), kAAXSuccess);
    }

    LiveCheck check;
    AaxHost host;
    AAX_VController controller { host.unknown() };
    AAX_CPacketDispatcher dispatcher;
    std::vector<Packet>& posted = host.controller().packets;
    std::vector<std::string> calls;
    int32_t result = kAAXSuccess;
    bool markDirtyAgain = false;
};
} // namespace

// Threads taking turns on the mutex are seen by the dispatcher and chunk tests under ThreadSanitizer.
TEST (AAXMutex, ReentryAnswersFalseAndAForeignUnlockDoesNothing)
{
    AAX_CMutex mutex;
    ASSERT_TRUE (mutex.Lock());
    EXPECT_FALSE (mutex.Lock()) << "re-entry does not block";
    std::thread ([&] { mutex.Unlock(); }).join();
    EXPECT_FALSE (mutex.Lock()) << "still held after the foreign Unlock";
    mutex.Unlock();
    bool acquired = false;
    std::thread ([&] { acquired = mutex.Lock(); mutex.Unlock(); }).join();
    EXPECT_TRUE (acquired) << "one Unlock released it";
}

TEST_F (PacketDispatcherTest, DirtyPacketsArePostedOnceAndFailuresSkipThePost)
{
    markDirtyAgain = true;   // from inside Dispatch, without deadlock
    registerWriter ("b", 5);
    registerWriter ("a", 5);
    registerWriter ("c", 1);
    EXPECT_EQ (dispatcher.Dispatch() + dispatcher.SetDirty ("unknown", true) + dispatcher.Dispatch(), kAAXSuccess);
    EXPECT_EQ (calls, (std::vector<std::string> { "a", "c" })) << "one port, one packet: the first identifier in order";
    EXPECT_EQ (posted, (std::vector<Packet> { { 5, { 'a' } }, { 1, { 'c' } } })) << "the flag is cleared after the handler ran";

    markDirtyAgain = false;
    posted.clear();
    result = -5;
    dispatcher.SetDirty ("c", true);
    EXPECT_EQ (dispatcher.Dispatch() + dispatcher.Dispatch(), kAAXSuccess);
    EXPECT_TRUE (posted.empty()) << "a failed handler clears the flag too";
    result = kAAXSuccess;
    dispatcher.SetDirty ("c", true);
    host.options().result = -7;
    EXPECT_EQ (dispatcher.Dispatch(), -7) << "the host's answer to the post";
    dispatcher.SetDirty ("c", true);
    dispatcher.Initialize (nullptr, nullptr);
    EXPECT_EQ (dispatcher.Dispatch(), kAAXNullObject);
}

TEST_F (PacketDispatcherTest, DirtyMarksAndDispatchesFromTwoThreads)
{
    registerWriter ("a", 1);
    registerWriter ("b", 2);
    std::atomic<bool> done { false };
    std::thread marker ([&] {
        for (int i = 0; i < 3000; ++i)
            dispatcher.SetDirty (i % 2 == 0 ? "a" : "b", true);
        done = true;
    });
    while (! done.load())
        dispatcher.Dispatch();
    marker.join();
    dispatcher.Dispatch();
    for (const auto& [port, bytes] : posted)
        EXPECT_EQ (bytes, Bytes { static_cast<uint8_t> (port == 1 ? 'a' : 'b') }) << "each post carries its own port's byte";
}

TEST (AAXSingleValuePacket, WritesTheParameterValueInHostOrder)
{
    LiveCheck check;
    AaxHost host;
    auto* effect = FakeEffect::create();
    ASSERT_EQ (effect->Initialize (host.unknown()), kAAXSuccess);
    AAX_CPacket packet (3), untouched (7);
    const float half = 0.5f;
    effect->parameter ("gain")->UpdateNormalizedValue (0.5);
    EXPECT_EQ (effect->dispatcher().GenerateSingleValuePacket ("gain", packet), kAAXSuccess);
    EXPECT_TRUE (packet.GetSize() == 4 && std::memcmp (packet.GetData(), &half, 4) == 0);
    EXPECT_EQ (effect->dispatcher().GenerateSingleValuePacket ("missing", untouched), kAAXNullObject);
    EXPECT_TRUE (untouched.GetSize() == 0 && untouched.IsDirty() && std::memcmp (untouched.GetData(), "\0\0\0\0\0\0\0\0", 8) == 0);

    effect->Uninitialize(), effect->Release();
}
