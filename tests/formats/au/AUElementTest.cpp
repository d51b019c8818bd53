#include "TestUnit.h"

#include <cstring>

using namespace kelmora::au;
using namespace kelmora::au::test;

namespace
{
std::vector<UInt8> Bytes (CFDataRef data)
{
    auto* p = CFDataGetBytePtr (data);
    return std::vector<UInt8> (p, p + CFDataGetLength (data));
}

std::vector<UInt8> BigEndianWords (std::initializer_list<UInt32> words)
{
    std::vector<UInt8> out;
    for (auto w : words)
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back (UInt8 (w >> shift));
    return out;
}

UInt32 Bits (float f)
{
    UInt32 b;
    std::memcpy (&b, &f, 4);
    return b;
}

struct AUElementTest : LeakCheck
{
    UnitPtr unit = MakeUnit();
    AUElement& global = *unit->Globals();
};
} // namespace

TEST_F (AUElementTest, MapModeCreatesParametersOnlyBeforeInitialisation)
{
    global.SetParameter (7, 0.5f);
    global.SetParameter (3, 0.25f);
    EXPECT_EQ (0.5f, global.GetParameter (7));
    EXPECT_EQ (kAudioUnitErr_InvalidParameter, Status ([&] { return OSStatus (global.GetParameter (4)); }));

    ASSERT_EQ (noErr, unit->DoInitialize());
    global.SetParameter (4, 1.0f);
    EXPECT_EQ (nullptr, global.FindParameter (4)) << "no new parameters once initialised";
    global.SetParameter (3, 0.75f);
    EXPECT_EQ (0.75f, global.GetParameter (3));

    UInt32 count = 0;
    AudioUnitParameterID ids[2] = {};
    unit->GetParameterList (kAudioUnitScope_Global, ids, count);
    EXPECT_EQ (2u, count);
    EXPECT_EQ (3u, ids[0]) << "map ids come in ascending order";
    EXPECT_EQ (7u, ids[1]);
}

TEST_F (AUElementTest, IndexedModeSavesTheBigEndianBlock)
{
    global.UseIndexedParameters (3);
    global.SetParameter (0, 1.5f);
    global.SetParameter (1, -2.0f);
    global.SetParameter (2, 0.1f);
    EXPECT_EQ (kAudioUnitErr_InvalidParameter, Status ([&] { global.SetParameter (3, 1.0f); return OSStatus (0); }));

    auto data = CFDataCreateMutable (nullptr, 0);
    global.SaveState (data);
    EXPECT_EQ (BigEndianWords ({ 3, 0, Bits (1.5f), 1, Bits (-2.0f), 2, Bits (0.1f) }), Bytes (data));
    CFRelease (data);
}

TEST_F (AUElementTest, RestoringABlockThatDoesNotFitAppliesNothing)
{
    global.SetParameter (1, 0.0f);
    global.SetParameter (2, 0.0f);

    const auto truncated = BigEndianWords ({ 2, 1, Bits (0.5f), 2 });
    EXPECT_EQ (nullptr, global.RestoreState (truncated.data(), truncated.data() + truncated.size()));
    const auto hugeCount = BigEndianWords ({ 0xFFFFFFFFu, 1, Bits (0.5f) });
    EXPECT_EQ (nullptr, global.RestoreState (hugeCount.data(), hugeCount.data() + hugeCount.size()));
    const auto tiny = BigEndianWords ({ 1 });
    EXPECT_EQ (nullptr, global.RestoreState (tiny.data(), tiny.data() + 3));
    EXPECT_EQ (0.0f, global.GetParameter (1));

    const auto block = BigEndianWords ({ 2, 1, Bits (0.5f), 2, Bits (0.25f), 99 });
    EXPECT_EQ (block.data() + 20, global.RestoreState (block.data(), block.data() + block.size()));
    EXPECT_EQ (0.5f, global.GetParameter (1));
    EXPECT_EQ (0.25f, global.GetParameter (2));

    ASSERT_EQ (noErr, unit->DoInitialize());
    const auto unknown = BigEndianWords ({ 1, 42, Bits (1.0f) });
    EXPECT_NE (nullptr, global.RestoreState (unknown.data(), unknown.data() + unknown.size()));
    EXPECT_EQ (nullptr, global.FindParameter (42)) << "an unknown id is skipped silently once initialised";
}

TEST_F (AUElementTest, ScheduledEventsFillTheSliceRecord)
{
    global.SetParameter (5, 0.0f);
    AudioUnitParameterEvent ramp {};
    ramp.parameter = 5;
    ramp.eventType = kParameterEvent_Ramped;
    ramp.eventValues.ramp = { 100, 28, 0.2f, 0.8f };
    global.SetScheduledEvent (5, ramp, 64, 36);
    auto* p = global.FindParameter (5);
    EXPECT_EQ (kParameterEvent_Ramped, p->eventType);
    EXPECT_EQ (36, p->startOffset);
    EXPECT_EQ (28u, p->duration);
    EXPECT_EQ (0.8f, p->value2);
    EXPECT_EQ (36u, p->sliceDuration);

    AudioUnitParameterEvent now {};
    now.eventType = kParameterEvent_Immediate;
    now.eventValues.immediate = { 0, 0.6f };
    global.SetScheduledEvent (5, now, 0, 128);
    EXPECT_EQ (0.6f, global.GetParameter (5));
    EXPECT_EQ (0, p->startOffset);
    EXPECT_EQ (128u, p->duration);
}
