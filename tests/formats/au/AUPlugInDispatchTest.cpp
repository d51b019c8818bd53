#include "TestEffect.h"

#include "formats/au/AUPlugInDispatch.h"
#include "platform/au/FrameworkHooks.h"

using namespace kelmora::au;
using namespace kelmora::au::test;

namespace
{
using Entry = AUComponentEntry<TestEffect>;

void* registeredStorage = nullptr;
void SetStorage (ComponentInstance, Handle storage) { registeredStorage = storage; }
const CoreServicesHooks coreServices { nullptr, nullptr, SetStorage };
struct InstallComponentManager
{
    InstallComponentManager() { PlatformInstallCoreServicesHooks (&coreServices); }
} installComponentManager;

OSStatus FeedOnes (void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32 frames, AudioBufferList* list)
{
    for (UInt32 c = 0; c < list->mNumberBuffers; ++c)
        std::fill_n (static_cast<float*> (list->mBuffers[c].mData), frames, 1.0f);
    return noErr;
}

template <typename Method>
Method Find (SInt16 selector)
{
    return reinterpret_cast<Method> (AUMethodLookup (selector));
}

/** A call through the Component Manager entry: the selector and the words after the instance. */
struct Call
{
    explicit Call (SInt16 what, std::initializer_list<uintptr_t> args = {})
    {
        block->what = what;
        block->params[0] = reinterpret_cast<uintptr_t> (DefaultInstance());
        size_t i = 1;
        for (auto a : args)
            block->params[i++] = a;
    }
    OSStatus Run (void* storage) { return Entry::Entry (block, storage); }

    uintptr_t words[8] {};
    ComponentParameters* block = reinterpret_cast<ComponentParameters*> (words);
};

template <typename T>
uintptr_t W (T* pointer) { return reinterpret_cast<uintptr_t> (pointer); }

struct PlugInDispatch : LeakCheck
{
    ~PlugInDispatch() override { EXPECT_EQ (0, TestEffect::alive) << "every unit destroyed"; }
    void TearDown() override { TestEffect::throwOnConstruct = TestEffect::throwOnPostConstruct = false; }
};
} // namespace

TEST_F (PlugInDispatch, LookupHandsOutOneMethodPerKnownSelector)
{
    for (SInt16 selector : { -4, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 257, 258 })
    {
        const bool known = (selector >= 1 && selector <= 11 && selector != 8) || (selector >= 14 && selector <= 18);
        EXPECT_EQ (known, AUMethodLookup (selector) != nullptr) << selector;
    }
    EXPECT_NE (AUMethodLookup (11), AUMethodLookup (18));
}

TEST_F (PlugInDispatch, FactoryRecordBuildsTheUnitInPlaceAndCloseReleasesIt)
{
    auto* record = Entry::Factory (nullptr);
    ASSERT_NE (nullptr, record);
    EXPECT_EQ (&AUMethodLookup, record->Lookup);
    EXPECT_EQ (nullptr, record->reserved);
    ASSERT_EQ (noErr, record->Open (record, DefaultInstance()));
    auto& unit = *static_cast<TestEffect*> (static_cast<ComponentBase*> (UnitStorage (record)));
    EXPECT_EQ (ComponentBase::kAudioComponentInstance, unit.GetInstanceType());
    EXPECT_EQ (1, TestEffect::alive);
    EXPECT_EQ (2u, unit.Outputs().GetIOElement (0)->NumberChannels()) << "post-constructed";
    EXPECT_EQ (noErr, record->Close (record));
}

TEST_F (PlugInDispatch, FailedOpensDestroyWhatWasBuiltAndAnswerOutOfMemory)
{
    for (bool inConstructor : { true, false })
    {
        TestEffect::throwOnConstruct = inConstructor;
        TestEffect::throwOnPostConstruct = ! inConstructor;
        auto* record = Entry::Factory (nullptr);
        EXPECT_EQ (kAudio_MemFullError, record->Open (record, DefaultInstance())) << "the record is freed (ASan checks)";
        EXPECT_EQ (0, TestEffect::alive);

        registeredStorage = nullptr;
        EXPECT_EQ (kAudio_MemFullError, Call (kComponentOpenSelect).Run (nullptr));
        EXPECT_EQ (nullptr, registeredStorage);
        EXPECT_EQ (0, TestEffect::alive);
    }
}

TEST_F (PlugInDispatch, MethodsFollowTheCapacityRulesAndCheckTheirPointers)
{
    auto* record = Entry::Factory (nullptr);
    ASSERT_EQ (noErr, record->Open (record, DefaultInstance()));
    auto get = Find<AudioUnitGetPropertyMethod> (kAudioUnitGetPropertySelect);
    auto set = Find<AudioUnitSetPropertyMethod> (kAudioUnitSetPropertySelect);
    const auto format = kAudioUnitProperty_StreamFormat;
    const auto input = kAudioUnitScope_Input;

    AudioStreamBasicDescription read {};
    const struct
    {
        void* data;
        UInt32 capacity;
        OSStatus expected;
        UInt32 sizeAfter;
    } reads[] = {
        { nullptr, 0, noErr, sizeof read },
        { &read, 0, kAudio_ParamError, 0 },
        { &read, 8, noErr, 8 },
        { &read, 100, noErr, sizeof read },
    };
    for (const auto& r : reads)
    {
        UInt32 size = r.capacity;
        EXPECT_EQ (r.expected, get (record, format, input, 0, r.data, &size)) << r.capacity;
        EXPECT_EQ (r.sizeAfter, size) << r.capacity;
    }
    EXPECT_EQ (44100.0, read.mSampleRate);
    EXPECT_EQ (kAudio_ParamError, get (record, format, input, 0, &read, nullptr));
    UInt32 size = 4;
    EXPECT_EQ (kAudioUnitErr_InvalidElement, get (record, format, input, 3, &read, &size));

    const UInt32 maxFrames = 512;
    EXPECT_EQ (kAudio_ParamError, set (record, kAudioUnitProperty_MaximumFramesPerSlice, 0, 0, &maxFrames, 0));
    EXPECT_EQ (kAudio_ParamError, set (record, kAudioUnitProperty_MaximumFramesPerSlice, 0, 0, nullptr, 4));
    EXPECT_EQ (noErr, set (record, kAudioUnitProperty_MaximumFramesPerSlice, 0, 0, &maxFrames, 4));
    const CFStringRef name = CFSTR ("track");
    EXPECT_EQ (noErr, set (record, kAudioUnitProperty_ContextName, 0, 0, &name, sizeof name) + set (record, kAudioUnitProperty_ContextName, 0, 0, nullptr, 0));
    size = 8;
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, get (record, kAudioUnitProperty_ContextName, 0, 0, &read, &size)) << "null data removed the value";

    auto render = Find<AudioUnitRenderMethod> (kAudioUnitRenderSelect);
    HostBuffers out (2, 16);
    const auto stamp = TimeAt (0);
    EXPECT_EQ (kAudio_ParamError, render (record, nullptr, nullptr, 0, 16, &out.List()));
    EXPECT_EQ (kAudio_ParamError, render (record, nullptr, &stamp, 0, 16, nullptr));
    EXPECT_EQ (kAudio_ParamError, Find<AudioUnitGetParameterMethod> (kAudioUnitGetParameterSelect) (record, 0, 0, 0, nullptr));
    EXPECT_EQ (noErr, record->Close (record));
}

TEST_F (PlugInDispatch, ComponentManagerRouteOpensDispatchesAndCloses)
{
    registeredStorage = nullptr;
    ASSERT_EQ (noErr, Call (kComponentOpenSelect).Run (nullptr));
    void* storage = registeredStorage;
    ASSERT_NE (nullptr, storage);
    auto& unit = *static_cast<TestEffect*> (static_cast<AUBase*> (storage));
    EXPECT_EQ (ComponentBase::kComponentMgrInstance, unit.GetInstanceType());

    const struct
    {
        SInt16 asked;
        OSStatus answer;
    } canDo[] = { { 1, 1 }, { 7, 1 }, { 8, 0 }, { 9, 1 }, { 11, 0 }, { 14, 1 }, { 18, 1 }, { 19, 0 }, { -2, 1 }, { -4, 1 }, { -5, 0 }, { 257, 0 }, { 258, 0 } };
    for (const auto& c : canDo)
        EXPECT_EQ (c.answer, Call (kComponentCanDoSelect, { uintptr_t (UInt16 (c.asked)) }).Run (storage)) << c.asked;

    EXPECT_EQ (1, Call (kComponentVersionSelect).Run (storage));
    EXPECT_EQ (badComponentSelector, Call (kAudioUnitRemovePropertyListenerSelect).Run (storage));
    EXPECT_EQ (badComponentSelector, Call (99).Run (storage));
    EXPECT_EQ (kAudio_ParamError, Call (kComponentVersionSelect).Run (nullptr));

    EXPECT_EQ (kAudioUnitErr_Uninitialized, Call (kMusicDeviceMIDIEventSelect, { 0x90, 60, 1, 0 }).Run (storage));
    ASSERT_EQ (noErr, Call (kAudioUnitInitializeSelect).Run (storage));
    const UInt8 sysex[] = { 0xF0, 0xF7 };
    EXPECT_EQ (noErr, Call (kMusicDeviceMIDIEventSelect, { 0x90, 60, 1, 0 }).Run (storage));
    EXPECT_EQ (noErr, Call (kMusicDeviceSysExSelect, { W (sysex), 2 }).Run (storage));
    EXPECT_EQ ((std::vector<std::string> { "on 0 60 1", "sysex 240 2 0" }), unit.midi);


    const AURenderCallbackStruct feed { FeedOnes, nullptr };
    ASSERT_EQ (noErr, Call (kAudioUnitSetPropertySelect, { kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, 0, W (&feed), sizeof feed }).Run (storage));
    HostBuffers out (2, 16);
    const auto stamp = TimeAt (64);
    EXPECT_EQ (noErr, Call (kAudioUnitRenderSelect, { 0, W (&stamp), 0, 16, W (&out.List()) }).Run (storage));
    EXPECT_EQ (64.0, unit.CurrentRenderTime().mSampleTime);
    EXPECT_EQ (noErr, Call (kAudioUnitResetSelect, { 0, 0 }).Run (storage));
    EXPECT_EQ (-1.0, unit.CurrentRenderTime().mSampleTime);

    EXPECT_EQ (noErr, Call (kComponentCloseSelect).Run (storage));
}
