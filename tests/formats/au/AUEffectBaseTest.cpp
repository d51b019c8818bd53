#include "TestEffect.h"

using namespace kelmora::au;
using namespace kelmora::au::test;

namespace
{
using EffectPtr = std::unique_ptr<TestEffect, void (*) (TestEffect*)>;

EffectPtr MakeEffect (UInt32 in = 2, UInt32 out = 2, std::vector<AUChannelInfo> configurations = { { 2, 2 }, { 1, 1 } })
{
    auto effect = MakeUnit<TestEffect>();
    effect->configurations = std::move (configurations);
    const auto inFormat = FloatFormat (in), outFormat = FloatFormat (out);
    EXPECT_EQ (noErr, effect->DispatchSetProperty (kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, &inFormat, sizeof inFormat));
    EXPECT_EQ (noErr, effect->DispatchSetProperty (kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, &outFormat, sizeof outFormat));
    return effect;
}

// The host's input: channel c, frame i holds c + i / 1000.
OSStatus FeedRamp (void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32 frames, AudioBufferList* list)
{
    for (UInt32 c = 0; c < list->mNumberBuffers; ++c)
        for (UInt32 i = 0; i < frames; ++i)
            static_cast<float*> (list->mBuffers[c].mData)[i] = float (c) + float (i) / 1000.0f;
    return noErr;
}

// Hands back buffers that break the caller's rule: one pointer gone, or one buffer too short.
OSStatus FeedBroken (void* how, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32, AudioBufferList* list)
{
    if (how != nullptr)
        list->mBuffers[1].mData = nullptr;
    else
        list->mBuffers[1].mDataByteSize -= 4;
    return noErr;
}

void Connect (AUBase& unit, AURenderCallback feed, void* userData = nullptr)
{
    const AURenderCallbackStruct callback { feed, userData };
    ASSERT_EQ (noErr, unit.DispatchSetProperty (kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, 0, &callback, sizeof callback));
}
} // namespace

TEST (AUEffectBase, InitialisesOnlyChannelCountsAConfigurationAllows)
{
    const std::vector<AUChannelInfo> product { { 2, 2 }, { 1, 1 } };
    const struct { std::vector<AUChannelInfo> configurations; UInt32 in, out; OSStatus expected; } cases[] = {
        { product, 2, 2, noErr }, { product, 1, 1, noErr }, { product, 1, 2, kAudioUnitErr_FormatNotSupported }, { {}, 2, 1, kAudioUnitErr_FormatNotSupported } };
    for (const auto& c : cases)
    {
        auto effect = MakeEffect (c.in, c.out, c.configurations);
        EXPECT_EQ (c.expected, effect->DoInitialize()) << c.in << " -> " << c.out;
        EXPECT_EQ (c.expected == noErr ? c.out : 0u, effect->GetNumberOfKernels());
    }
}

TEST (AUEffectBase, SilenceCountsDownLatencyPlusTailBeforeTheInputCountsAsSilent)
{
    auto effect = MakeEffect();
    const Float64 rate = 48000;
    EXPECT_EQ (noErr, effect->DispatchSetProperty (kAudioUnitProperty_SampleRate, kAudioUnitScope_Output, 0, &rate, sizeof rate));
    effect->tail = 0.5;
    ASSERT_EQ (noErr, effect->DoInitialize());

    for (int round = 0; round < 2; ++round)  // a sounding call in between re-arms the whole count
    {
        for (int call = 1; call <= 47; ++call)
            ASSERT_FALSE (effect->IsInputSilent (kAudioUnitRenderAction_OutputIsSilence, 512)) << "call " << call;
        EXPECT_TRUE (effect->IsInputSilent (kAudioUnitRenderAction_OutputIsSilence, 512));
        EXPECT_TRUE (effect->IsInputSilent (kAudioUnitRenderAction_OutputIsSilence, 512));
        EXPECT_FALSE (effect->IsInputSilent (0, 512));
    }
}

TEST (AUEffectBase, BypassResetsOnceWhenSwitchedOffAndIgnoresRepeats)
{
    auto effect = MakeEffect();
    ASSERT_EQ (noErr, effect->DoInitialize());
    auto write = [&] (UInt32 value, UInt32 size = 4) {
        return effect->DispatchSetProperty (kAudioUnitProperty_BypassEffect, kAudioUnitScope_Global, 0, &value, size);
    };
    for (const auto& [value, resetsAfter] : { std::pair { 1u, 0 }, { 1u, 0 }, { 0u, 1 }, { 0u, 1 }, { 7u, 1 }, { 0u, 2 } })
    {
        UInt32 read = 9;
        EXPECT_EQ (noErr, write (value));
        EXPECT_EQ (noErr, effect->DispatchGetProperty (kAudioUnitProperty_BypassEffect, kAudioUnitScope_Global, 0, &read));
        EXPECT_EQ (std::pair (resetsAfter, value != 0 ? 1u : 0u), std::pair (effect->resets, read)) << value;
    }
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, write (1, 2));
    EXPECT_EQ (kAudioUnitErr_InvalidProperty, effect->DispatchSetProperty (kAudioUnitProperty_BypassEffect, kAudioUnitScope_Input, 0, "\1\0\0\0", 4));
}

TEST (AUEffectBase, SlicedRendersLeaveThePointersWhereTheyWereEvenWhenASliceFails)
{
    for (int failingSlice : { 0, 2 })
    {
        auto effect = MakeEffect();
        ASSERT_EQ (noErr, effect->DoInitialize());
        Connect (*effect, FeedRamp);
        effect->failingCall = failingSlice;
        AudioUnitParameterEvent event { kAudioUnitScope_Global, 0, 0, kParameterEvent_Immediate, {} };
        event.eventValues.immediate = { 24, 1.0f };
        effect->ScheduleParameter (&event, 1);

        HostBuffers out (2, 64);
        EXPECT_EQ (failingSlice == 0 ? noErr : -7, RenderInto (*effect, out, 64));
        EXPECT_EQ (2, effect->processCalls) << "slices at 0 and 24";
        auto& input = effect->GetInput (0)->GetBuffers();
        const auto& list = input.GetBufferList();
        EXPECT_TRUE (input.GetMemory() == list.mBuffers[0].mData && list.mBuffers[1].mDataByteSize == 256u) << "failing slice " << failingSlice;
        if (failingSlice == 0)
        {
            EXPECT_FLOAT_EQ (1.0f + 2 * 1.063f, out.samples[1][63]);
        }
    }
}

TEST (AUEffectBase, PulledBuffersMustCarryAllTheirSamples)
{
    int dropPointer = 0;
    for (void* how : { static_cast<void*> (&dropPointer), static_cast<void*> (nullptr) })
    {
        auto effect = MakeEffect();
        ASSERT_EQ (noErr, effect->DoInitialize());
        Connect (*effect, FeedBroken, how);
        HostBuffers out (2, 16);
        EXPECT_EQ (kAudio_ParamError, RenderInto (*effect, out, 16));
        EXPECT_EQ (0, effect->processCalls);
    }
}
