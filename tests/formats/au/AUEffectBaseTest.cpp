#include "TestEffect.h"

using namespace kelmora::au;
using namespace kelmora::au::test;

namespace
{
using EffectPtr = std::unique_ptr<TestEffect, void (*) (TestEffect*)>;

EffectPtr MakeEffect (UInt32 in = 2, UInt32 out = 2, std::vector<AUChannelInfo> configurations = { { 2, 2 }, { 1, 1 } },
                      ComponentBase::InstanceType type = ComponentBase::kAudioComponentInstance)
{
    auto effect = MakeUnit<TestEffect> (type);
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
        { product, 2, 2, noErr }, { product, 1, 1, noErr }, { product, 1, 2, kAudioUnitErr_FormatNotSupported },
        { { { -1, -1 } }, 3, 3, noErr }, { { { -1, -1 } }, 2, 1, kAudioUnitErr_FormatNotSupported }, { { { -1, -2 } }, 1, 2, noErr },
        { { { -2, -2 } }, 2, 2, kAudioUnitErr_FormatNotSupported }, { {}, 2, 1, kAudioUnitErr_FormatNotSupported } };
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

TEST (AUEffectBase, IdentifiesTheCommonSampleFormats)
{
    const UInt32 f = kAudioFormatFlagIsFloat, i = kAudioFormatFlagIsSignedInteger, ni = kAudioFormatFlagIsNonInterleaved;
    const UInt32 fixed824 = 24u << kLinearPCMFormatFlagsSampleFractionShift;
    const struct { AudioStreamBasicDescription format; AUCommonPCMFormat expected; } cases[] = {
        { { 48000, kAudioFormatLinearPCM, f | ni, 4, 1, 4, 2, 32, 0 }, kAUPCMFormatFloat32 },
        { { 48000, kAudioFormatLinearPCM, i | ni, 2, 1, 2, 2, 16, 0 }, kAUPCMFormatInt16 },
        { { 48000, kAudioFormatLinearPCM, i | ni | fixed824, 4, 1, 4, 2, 32, 0 }, kAUPCMFormatFixed824 },
        { { 48000, kAudioFormatLinearPCM, i | ni, 4, 1, 4, 2, 32, 0 }, kAUPCMFormatNone },
        { { 48000, kAudioFormatLinearPCM, f | ni | kAudioFormatFlagIsBigEndian, 4, 1, 4, 2, 32, 0 }, kAUPCMFormatNone },
        { { 48000, kAudioFormatLinearPCM, f | ni, 8, 1, 8, 2, 64, 0 }, kAUPCMFormatNone },
    };
    for (size_t n = 0; n < std::size (cases); ++n)
        EXPECT_EQ (cases[n].expected, IdentifyCommonPCMFormat (cases[n].format)) << "case " << n;
}

TEST (AUEffectBase, KernelLoopsRunEveryChannelInEveryLayout)
{
    // 16-bit interleaved and 8.24 non-interleaved here; float runs in the sliced render test.
    auto effect = MakeEffect();
    auto initialiseAs = [&] (AudioStreamBasicDescription format) {
        effect->DoCleanup();
        effect->GetInput (0)->SetStreamFormat (format);
        effect->GetOutput (0)->SetStreamFormat (format);
        ASSERT_EQ (noErr, effect->DoInitialize());
    };
    const UInt32 signedInt = kAudioFormatFlagIsSignedInteger;
    initialiseAs ({ 48000, kAudioFormatLinearPCM, signedInt, 4, 1, 4, 2, 16, 0 });
    ASSERT_EQ (kAUPCMFormatInt16, effect->GetCommonPCMFormat());
    SInt16 in16[6] = { 1, 10, 2, 20, 3, 30 }, out16[6] = {};
    AudioBufferList in16List { 1, { { 2, sizeof in16, in16 } } }, out16List { 1, { { 2, sizeof out16, out16 } } };
    AudioUnitRenderActionFlags flags = 0;
    EXPECT_EQ (noErr, effect->ProcessBufferLists (flags, in16List, out16List, 3));
    EXPECT_EQ ((std::vector<SInt16> { 2, 21, 4, 41, 6, 61 }), std::vector<SInt16> (out16, out16 + 6));

    effect->configurations = { { 1, 1 } };
    initialiseAs ({ 48000, kAudioFormatLinearPCM, signedInt | kAudioFormatFlagIsNonInterleaved | (24u << 7), 4, 1, 4, 1, 32, 0 });
    ASSERT_EQ (kAUPCMFormatFixed824, effect->GetCommonPCMFormat());
    SInt32 in824[2] = { 1 << 24, -(1 << 23) }, out824[2] = {};
    AudioBufferList in824List { 1, { { 1, sizeof in824, in824 } } }, out824List { 1, { { 1, sizeof out824, out824 } } };
    flags = kAudioUnitRenderAction_OutputIsSilence;
    EXPECT_EQ (noErr, effect->ProcessBufferLists (flags, in824List, out824List, 2));
    EXPECT_EQ ((std::vector<SInt32> { 2 << 24, -(1 << 24) }), std::vector<SInt32> (out824, out824 + 2));
    EXPECT_NE (0u, flags & kAudioUnitRenderAction_OutputIsSilence) << "silent kernels leave the output silent";

    initialiseAs ({ 48000, kAudioFormatLinearPCM, kAudioFormatFlagIsFloat | kAudioFormatFlagIsNonInterleaved, 8, 1, 8, 1, 64, 0 });
    EXPECT_EQ (-1, CallWithStatusLadder ([&] { return effect->ProcessBufferLists (flags, in824List, out824List, 1); }))
        << "no loop for 64-bit samples";
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
        AudioUnitRenderActionFlags flags = 0;
        const auto stamp = TimeAt (0);
        const OSStatus status = CallWithStatusLadder ([&] { return effect->DoRender (flags, stamp, 0, 64, out.List()); });
        EXPECT_EQ (failingSlice == 0 ? noErr : -7, status);
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
        AudioUnitRenderActionFlags flags = 0;
        const auto stamp = TimeAt (0);
        EXPECT_EQ (kAudio_ParamError, effect->DoRender (flags, stamp, 0, 16, out.List()));
        EXPECT_EQ (0, effect->processCalls);
    }
}

//==============================================================================
TEST (AUMIDIEffectBase, RoutesMessagesByStatusOnlyWhileInitialised)
{
    auto effect = MakeEffect();
    const UInt8 sysex[] = { 0xF0, 0x7E, 0xF7 };
    EXPECT_EQ (kAudioUnitErr_Uninitialized, effect->MIDIEvent (0x90, 60, 100, 0));
    EXPECT_EQ (kAudioUnitErr_Uninitialized, effect->SysEx (sysex, 3));
    ASSERT_EQ (noErr, effect->DoInitialize());

    const struct { UInt32 status, data1, data2; const char* logged; } cases[] = {   // null: nothing
        { 0x93, 60, 0, "off 3 60 0" }, { 0x95, 0x13C, 100, "on 5 60 100" }, { 0x80, 61, 64, "off 0 61 64" }, { 0xB0, 123, 0, "allnotesoff 0 0 0" },
        { 0xB2, 122, 5, "cc 2 122 5" }, { 0xF0, 1, 2, nullptr }, { 0xC1, 3, 0, nullptr } };
    for (const auto& c : cases)
    {
        effect->midi.clear();
        EXPECT_EQ (noErr, effect->MIDIEvent (c.status, c.data1, c.data2, 0));
        EXPECT_EQ (c.logged != nullptr ? std::vector<std::string> { c.logged } : std::vector<std::string> {}, effect->midi) << std::hex << c.status;
    }

    effect->midi.clear();
    EXPECT_EQ (noErr, effect->SysEx (sysex, 3));
    EXPECT_EQ (std::vector<std::string> { "sysex 240 3 0" }, effect->midi);
    effect->DoCleanup();
    EXPECT_EQ (kAudioUnitErr_Uninitialized, effect->MIDIEvent (0x90, 60, 100, 0));
}

TEST (AUMIDIEffectBase, MidiNamesAndFastDispatchProperties)
{
    auto effect = MakeEffect (2, 2, { { 2, 2 } }, ComponentBase::kComponentMgrInstance);
    UInt32 size = 0;
    Boolean writable = false;
    const struct { AudioUnitPropertyID id; AudioUnitScope scope; AudioUnitElement element; OSStatus expected; } cases[] = {
        { kMusicDeviceProperty_MIDIXMLNames, kAudioUnitScope_Input, 0, kAudioUnitErr_InvalidScope },
        { kMusicDeviceProperty_MIDIXMLNames, kAudioUnitScope_Global, 0, kAudioUnitErr_InvalidProperty },
        { kAudioUnitProperty_FastDispatch, kAudioUnitScope_Global, kMusicDeviceSysExSelect, kAudioUnitErr_InvalidElement },
        { 1007, kAudioUnitScope_Global, 0, kAudioUnitErr_InvalidProperty } };
    for (const auto& c : cases)
    {
        void* out = nullptr;
        EXPECT_TRUE (c.id == kAudioUnitProperty_FastDispatch || c.expected == effect->DispatchGetPropertyInfo (c.id, c.scope, c.element, size, writable)) << c.id;
        EXPECT_EQ (c.expected, effect->DispatchGetProperty (c.id, c.scope, c.element, &out)) << c.id;
        EXPECT_EQ (kAudioUnitErr_InvalidProperty, effect->DispatchSetProperty (c.id, c.scope, c.element, &out, sizeof out)) << "not writable";
    }

    MusicDeviceMIDIEventProc midiEvent = nullptr;
    ASSERT_EQ (noErr, effect->DispatchGetProperty (kAudioUnitProperty_FastDispatch, kAudioUnitScope_Global, kMusicDeviceMIDIEventSelect, &midiEvent));
    ASSERT_EQ (noErr, effect->DoInitialize());
    EXPECT_EQ (noErr, midiEvent (static_cast<AUBase*> (effect.get()), 0x91, 64, 0, 0));
    EXPECT_EQ (kAudio_ParamError, midiEvent (nullptr, 0x91, 64, 0, 0));
    EXPECT_EQ (std::vector<std::string> { "off 1 64 0" }, effect->midi);
}
