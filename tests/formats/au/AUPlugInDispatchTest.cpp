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

// Opening, rendering and closing through both routes are checked on the product through the module.
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
    const struct { void* data; UInt32 capacity; OSStatus expected; UInt32 sizeAfter; } reads[] = {
        { nullptr, 0, noErr, sizeof read }, { &read, 0, kAudio_ParamError, 0 }, { &read, 8, noErr, 8 }, { &read, 100, noErr, sizeof read } };
    for (const auto& r : reads)
    {
        UInt32 size = r.capacity;
        EXPECT_EQ (std::pair (r.expected, r.sizeAfter), (std::pair { get (record, format, input, 0, r.data, &size), size })) << r.capacity;
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
    EXPECT_EQ (noErr, set (record, kAudioUnitProperty_ContextName, 0, 0, &name, sizeof name));
    EXPECT_EQ (noErr, set (record, kAudioUnitProperty_ContextName, 0, 0, nullptr, 0));
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

TEST_F (PlugInDispatch, ComponentManagerRouteAnswersCanDoVersionAndMidi)
{
    registeredStorage = nullptr;
    ASSERT_EQ (noErr, Call (kComponentOpenSelect).Run (nullptr));
    void* storage = registeredStorage;
    ASSERT_NE (nullptr, storage);
    auto& unit = *static_cast<TestEffect*> (static_cast<AUBase*> (storage));
    EXPECT_EQ (ComponentBase::kComponentMgrInstance, unit.GetInstanceType());

    for (const auto& [asked, answer] : { std::pair<SInt16, OSStatus> { 1, 1 }, { 7, 1 }, { 8, 0 }, { 9, 1 }, { 11, 0 }, { 14, 1 }, { 18, 1 }, { 19, 0 },
                                         { -2, 1 }, { -4, 1 }, { -5, 0 }, { 257, 0 }, { 258, 0 } })
        EXPECT_EQ (answer, Call (kComponentCanDoSelect, { uintptr_t (UInt16 (asked)) }).Run (storage)) << asked;

    EXPECT_EQ (1, Call (kComponentVersionSelect).Run (storage));
    EXPECT_EQ (badComponentSelector, Call (kAudioUnitRemovePropertyListenerSelect).Run (storage));
    EXPECT_EQ (badComponentSelector, Call (99).Run (storage));
    EXPECT_EQ (kAudio_ParamError, Call (kComponentVersionSelect).Run (nullptr));

    EXPECT_EQ (kAudioUnitErr_Uninitialized, Call (kMusicDeviceMIDIEventSelect, { 0x90, 60, 1, 0 }).Run (storage));
    ASSERT_EQ (noErr, Call (kAudioUnitInitializeSelect).Run (storage));
    const UInt8 sysex[] = { 0xF0, 0xF7 };
    EXPECT_EQ (noErr, Call (kMusicDeviceMIDIEventSelect, { 0x90, 60, 1, 0 }).Run (storage));
    EXPECT_EQ (noErr, Call (kMusicDeviceSysExSelect, { W (sysex), 2 }).Run (storage));

    EXPECT_EQ (noErr, Call (kComponentCloseSelect).Run (storage));
}
