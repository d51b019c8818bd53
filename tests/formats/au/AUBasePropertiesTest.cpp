#include "TestUnit.h"

#include "platform/au/AudioUnitRuntime.h"

#include <cstring>

using namespace kelmora::au;
using namespace kelmora::au::test;

namespace
{
struct AUBaseProperties : LeakCheck
{
    UnitPtr unit = MakeUnit();
    ListenerLog log;

    struct Info
    {
        OSStatus status;
        UInt32 size;
        bool writable;
    };

    Info GetInfo (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element = 0)
    {
        UInt32 size = 0;
        Boolean writable = false;
        const OSStatus status = Status ([&] { return unit->DispatchGetPropertyInfo (id, scope, element, size, writable); });
        return { status, size, writable != 0 };
    }

    template <typename T>
    OSStatus Set (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const T& value, UInt32 size = sizeof (T))
    {
        return Status ([&] { return unit->DispatchSetProperty (id, scope, element, &value, size); });
    }

    AudioStreamBasicDescription Format (AudioUnitScope scope, AudioUnitElement element = 0)
    {
        AudioStreamBasicDescription f {};
        EXPECT_EQ (noErr, unit->DispatchGetProperty (kAudioUnitProperty_StreamFormat, scope, element, &f));
        return f;
    }
};

struct SourceUnit
{
    static OSStatus GetProperty (AudioUnit, AudioUnitPropertyID id, AudioUnitScope, AudioUnitElement, void* out, UInt32* size)
    {
        if (id != kAudioUnitProperty_StreamFormat || *size < sizeof (AudioStreamBasicDescription))
            return kAudioUnitErr_InvalidProperty;  // no fast dispatch: rendering goes through AudioUnitRender
        AudioStreamBasicDescription f {};
        f.mSampleRate = 96000.0;
        f.mFormatID = kAudioFormatLinearPCM;
        f.mFormatFlags = kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked | kAudioFormatFlagIsNonInterleaved;
        f.mBytesPerPacket = f.mBytesPerFrame = 4;
        f.mFramesPerPacket = 1;
        f.mChannelsPerFrame = 2;
        f.mBitsPerChannel = 32;
        std::memcpy (out, &f, sizeof f);
        return noErr;
    }
    static OSStatus Render (AudioUnit, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32, AudioBufferList* list)
    {
        return list->mNumberBuffers == 2 && list->mBuffers[0].mData == nullptr ? noErr : -2;
    }
};

OSStatus FillInput (void* calls, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32 frames, AudioBufferList* list)
{
    ++*static_cast<int*> (calls);
    static_cast<float*> (list->mBuffers[1].mData)[frames - 1] = 3.0f;
    return noErr;
}

AUBase* selfRemoveUnit = nullptr;
void SelfRemove (void* calls, AudioUnit, AudioUnitPropertyID id, AudioUnitScope, AudioUnitElement)
{
    ++*static_cast<int*> (calls);
    selfRemoveUnit->RemovePropertyListener (id, SelfRemove, calls, true);
}
} // namespace

TEST_F (AUBaseProperties, TableGivesSizesWritabilityAndScopeErrors)
{
    const auto classInfo = GetInfo (kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global);
    EXPECT_EQ (noErr, classInfo.status);
    EXPECT_EQ (8u, classInfo.size);
    EXPECT_TRUE (classInfo.writable);
    EXPECT_EQ (kAudioUnitErr_InvalidScope, GetInfo (kAudioUnitProperty_ClassInfo, kAudioUnitScope_Input).status);
    EXPECT_EQ (40u, GetInfo (kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input).size);
    EXPECT_TRUE (GetInfo (kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output).writable);
    EXPECT_EQ (kAudioUnitErr_InvalidElement, GetInfo (kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 1).status);
    EXPECT_EQ (kAudioUnitErr_InvalidScope, GetInfo (kAudioUnitProperty_StreamFormat, 7).status) << "thrown by the scope look-up";
    EXPECT_EQ (kAudioUnitErr_InvalidScope, GetInfo (kAudioUnitProperty_Latency, kAudioUnitScope_Input).status);
    EXPECT_EQ (kAudioUnitErr_InvalidProperty, GetInfo (kAudioUnitProperty_FastDispatch, kAudioUnitScope_Global).status);
    EXPECT_EQ (kAudioUnitErr_InvalidProperty, GetInfo (kAudioUnitProperty_TailTime, kAudioUnitScope_Global).status);
    EXPECT_EQ (kAudioUnitErr_InvalidProperty, GetInfo (kAudioUnitProperty_SupportedNumChannels, kAudioUnitScope_Global).status);
    EXPECT_EQ (kAudioUnitErr_InvalidProperty, GetInfo (kAudioUnitProperty_AudioChannelLayout, kAudioUnitScope_Output).status);
    EXPECT_EQ (kAudioUnitErr_InvalidProperty, GetInfo (0x12345, kAudioUnitScope_Global).status);
    EXPECT_FALSE (GetInfo (kAudioUnitProperty_ElementCount, kAudioUnitScope_Input).writable);
    EXPECT_FALSE (GetInfo (kAudioUnitProperty_LastRenderError, kAudioUnitScope_Global).writable);
    EXPECT_EQ (40u, GetInfo (kAudioUnitProperty_HostCallbacks, kAudioUnitScope_Global).size);
    EXPECT_EQ (16u, GetInfo (kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global).size);
    EXPECT_EQ (16u, GetInfo (kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input).size);
    EXPECT_EQ (kAudioUnitErr_InvalidScope, GetInfo (kAudioUnitProperty_MakeConnection, kAudioUnitScope_Output).status);

    unit->Globals()->UseIndexedParameters (4);
    EXPECT_EQ (16u, GetInfo (kAudioUnitProperty_ParameterList, kAudioUnitScope_Global).size);
    EXPECT_EQ (0u, GetInfo (kAudioUnitProperty_ParameterList, kAudioUnitScope_Input).size);

    UInt32 count = 0;
    EXPECT_EQ (noErr, unit->DispatchGetProperty (kAudioUnitProperty_ElementCount, kAudioUnitScope_Output, 0, &count));
    EXPECT_EQ (1u, count);
    EXPECT_EQ (kAudioUnitErr_PropertyNotWritable, Set (kAudioUnitProperty_ElementCount, kAudioUnitScope_Input, 0, UInt32 (2)));
    Float64 latency = -1;
    EXPECT_EQ (noErr, unit->DispatchGetProperty (kAudioUnitProperty_Latency, kAudioUnitScope_Global, 0, &latency));
    EXPECT_EQ (0.0, latency);

    ASSERT_EQ (noErr, unit->DoInitialize());
    EXPECT_FALSE (GetInfo (kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input).writable);
}

TEST_F (AUBaseProperties, StreamFormatWritesFollowTheRule)
{
    log.Listen (*unit, { kAudioUnitProperty_StreamFormat, kAudioUnitProperty_SampleRate });
    auto current = Format (kAudioUnitScope_Input);
    EXPECT_EQ (44100.0, current.mSampleRate);
    EXPECT_EQ (41u, current.mFormatFlags);

    EXPECT_EQ (noErr, Set (kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, current));
    EXPECT_TRUE (log.calls.empty()) << "writing the current format changes nothing";

    auto integer = current;
    integer.mFormatFlags = kAudioFormatFlagIsSignedInteger | kAudioFormatFlagIsPacked | kAudioFormatFlagIsNonInterleaved;
    integer.mBitsPerChannel = 16;
    integer.mBytesPerFrame = integer.mBytesPerPacket = 2;
    EXPECT_EQ (kAudioUnitErr_FormatNotSupported, Set (kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, integer));
    auto interleaved = current;
    interleaved.mFormatFlags = kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked;
    interleaved.mBytesPerFrame = interleaved.mBytesPerPacket = 8;
    EXPECT_EQ (kAudioUnitErr_FormatNotSupported, Set (kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, interleaved));
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, Set (kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, current, 35));

    auto mono = current;
    mono.mChannelsPerFrame = 1;
    EXPECT_EQ (noErr, Set (kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, mono, 36));
    EXPECT_EQ (1u, Format (kAudioUnitScope_Input).mChannelsPerFrame);
    EXPECT_EQ (1u, log.Count (kAudioUnitProperty_StreamFormat));

    EXPECT_EQ (noErr, Set (kAudioUnitProperty_SampleRate, kAudioUnitScope_Output, 0, 96000.0));
    EXPECT_EQ (96000.0, Format (kAudioUnitScope_Global).mSampleRate) << "global reads output 0";
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, Set (kAudioUnitProperty_SampleRate, kAudioUnitScope_Output, 0, 96000.0f));

    ASSERT_EQ (noErr, unit->DoInitialize());
    EXPECT_EQ (kAudioUnitErr_PropertyNotWritable, Set (kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, current));
    EXPECT_EQ (kAudioUnitErr_PropertyNotWritable, Set (kAudioUnitProperty_SampleRate, kAudioUnitScope_Output, 0, 48000.0));
    EXPECT_EQ (kAudioUnitErr_Initialized, Set (kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, UInt32 (4096)));
}

TEST_F (AUBaseProperties, MaximumSliceReallocatesAndNotifies)
{
    log.Listen (*unit, { kAudioUnitProperty_MaximumFramesPerSlice });
    ASSERT_EQ (noErr, unit->DoInitialize());
    EXPECT_EQ (2u * 4624u, unit->GetOutput (0)->GetBuffers().GetAllocatedBytes());
    unit->DoCleanup();
    EXPECT_EQ (noErr, Set (kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, UInt32 (4096)));
    EXPECT_EQ (1u, log.Count (kAudioUnitProperty_MaximumFramesPerSlice));
    ASSERT_EQ (noErr, unit->DoInitialize());
    EXPECT_EQ (4096u, unit->GetOutput (0)->GetBuffers().GetAllocatedFrames());
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue,
               Set (kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, UInt16 (4096)));
}

TEST_F (AUBaseProperties, ContextNameAndHostCallbacksNotifyOnlyOnChange)
{
    log.Listen (*unit, { kAudioUnitProperty_ContextName, kAudioUnitProperty_HostCallbacks });
    CFStringRef name = nullptr;
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, unit->DispatchGetProperty (kAudioUnitProperty_ContextName, 0, 0, &name));

    auto track = CFStringCreateWithCString (nullptr, "Track 1", kCFStringEncodingUTF8);
    EXPECT_EQ (noErr, Set (kAudioUnitProperty_ContextName, kAudioUnitScope_Global, 0, track));
    EXPECT_EQ (kAudioUnitErr_InvalidScope, Set (kAudioUnitProperty_ContextName, kAudioUnitScope_Input, 0, track));
    CFRelease (track);
    EXPECT_EQ (noErr, unit->DispatchGetProperty (kAudioUnitProperty_ContextName, 0, 0, &name));
    EXPECT_EQ (track, name);
    CFRelease (name);
    EXPECT_EQ (noErr, unit->DispatchRemovePropertyValue (kAudioUnitProperty_ContextName, 0, 0));
    EXPECT_EQ (noErr, unit->DispatchRemovePropertyValue (kAudioUnitProperty_ContextName, 0, 0));
    EXPECT_EQ (1u, log.Count (kAudioUnitProperty_ContextName));

    HostCallbackInfo info {};
    EXPECT_EQ (noErr, Set (kAudioUnitProperty_HostCallbacks, kAudioUnitScope_Global, 0, info));
    EXPECT_EQ (0u, log.Count (kAudioUnitProperty_HostCallbacks)) << "same contents";
    info.hostUserData = &info;
    EXPECT_EQ (noErr, Set (kAudioUnitProperty_HostCallbacks, kAudioUnitScope_Global, 0, info, 8));
    EXPECT_EQ (1u, log.Count (kAudioUnitProperty_HostCallbacks));
    EXPECT_EQ (&info, unit->GetHostCallbackInfo().hostUserData);
    EXPECT_EQ (noErr, unit->DispatchRemovePropertyValue (kAudioUnitProperty_HostCallbacks, 0, 0));
    EXPECT_EQ (noErr, unit->DispatchRemovePropertyValue (kAudioUnitProperty_HostCallbacks, 0, 0));
    EXPECT_EQ (2u, log.Count (kAudioUnitProperty_HostCallbacks));
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, unit->DispatchRemovePropertyValue (0x12345, 0, 0));
}

TEST_F (AUBaseProperties, ListenersAreRemovedByMatchAndMayRemoveThemselves)
{
    unit->AddPropertyListener (kAudioUnitProperty_PresentPreset, ListenerLog::Callback, &log);
    unit->AddPropertyListener (kAudioUnitProperty_PresentPreset, ListenerLog::Callback, &log);
    unit->RemovePropertyListener (kAudioUnitProperty_PresentPreset, ListenerLog::Callback, nullptr, false);
    EXPECT_EQ (0u, unit->GetNumberOfPropertyListeners()) << "both duplicates go";

    int selfCalls = 0;
    selfRemoveUnit = unit.get();
    unit->AddPropertyListener (kAudioUnitProperty_PresentPreset, SelfRemove, &selfCalls);
    unit->AddPropertyListener (kAudioUnitProperty_PresentPreset, ListenerLog::Callback, &log);
    unit->PropertyChanged (kAudioUnitProperty_PresentPreset, 0, 0);
    unit->PropertyChanged (kAudioUnitProperty_PresentPreset, 0, 0);
    EXPECT_EQ (1, selfCalls);
    EXPECT_EQ (2u, log.Count (kAudioUnitProperty_PresentPreset)) << "the listener after it still hears both";
    EXPECT_EQ (1u, unit->GetNumberOfPropertyListeners());
}

TEST_F (AUBaseProperties, PresetsAndElementNamesHandOutRetainedStrings)
{
    log.Listen (*unit, { kAudioUnitProperty_PresentPreset, kAudioUnitProperty_ElementName });
    auto name = CFStringCreateWithCString (nullptr, "Warm", kCFStringEncodingUTF8);
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, Set (kAudioUnitProperty_PresentPreset, 0, 0, AUPreset { -1, nullptr }));
    EXPECT_EQ (kAudioUnitErr_InvalidProperty, Set (kAudioUnitProperty_PresentPreset, 0, 0, AUPreset { 2, name }));
    EXPECT_EQ (noErr, Set (kAudioUnitProperty_PresentPreset, 0, 0, AUPreset { -1, name }));
    EXPECT_EQ (1u, log.Count (kAudioUnitProperty_PresentPreset));

    AUPreset current {};
    EXPECT_EQ (noErr, unit->DispatchGetProperty (kAudioUnitProperty_PresentPreset, 0, 0, &current));
    EXPECT_EQ (name, current.presetName);
    EXPECT_EQ (3, CFGetRetainCount (name));
    CFRelease (current.presetName);

    EXPECT_EQ (noErr, Set (kAudioUnitProperty_ElementName, kAudioUnitScope_Input, 0, name));
    EXPECT_EQ (kAudioUnitErr_InvalidElement, Set (kAudioUnitProperty_ElementName, kAudioUnitScope_Input, 3, name));
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, Set (kAudioUnitProperty_ElementName, kAudioUnitScope_Input, 0, name, 4));
    CFStringRef elementName = nullptr;
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue,
               unit->DispatchGetProperty (kAudioUnitProperty_ElementName, kAudioUnitScope_Output, 0, &elementName));
    EXPECT_EQ (noErr, unit->DispatchGetProperty (kAudioUnitProperty_ElementName, kAudioUnitScope_Input, 0, &elementName));
    EXPECT_EQ (name, elementName);
    CFRelease (elementName);
    EXPECT_EQ (1u, log.Count (kAudioUnitProperty_ElementName));

    EXPECT_FALSE (unit->SetAFactoryPresetAsCurrent (AUPreset { -1, name }));
    EXPECT_TRUE (unit->SetAFactoryPresetAsCurrent (AUPreset { 3, name }));
    EXPECT_EQ (3, unit->GetCurrentPreset().presetNumber);
    CFRelease (name);
}

TEST_F (AUBaseProperties, TruncatedReadsReleaseTheReferencesTheyCannotDeliver)
{
    auto track = CFStringCreateWithCString (nullptr, "Bus", kCFStringEncodingUTF8);
    Set (kAudioUnitProperty_ContextName, kAudioUnitScope_Global, 0, track);
    Set (kAudioUnitProperty_PresentPreset, 0, 0, AUPreset { -1, track });

    UInt8 small[12] = {};
    UInt32 capacity = 4;
    EXPECT_EQ (noErr, unit->DispatchGetPropertyToCapacity (kAudioUnitProperty_ContextName, 0, 0, small, capacity));
    EXPECT_EQ (4u, capacity) << "a short capacity keeps its size";
    capacity = 12;
    EXPECT_EQ (noErr, unit->DispatchGetPropertyToCapacity (kAudioUnitProperty_PresentPreset, 0, 0, small, capacity));
    capacity = 4;
    EXPECT_EQ (noErr, unit->DispatchGetPropertyToCapacity (kAudioUnitProperty_ClassInfo, 0, 0, small, capacity));
    EXPECT_EQ (3, CFGetRetainCount (track)) << "ours, the context name and the preset";

    CFStringRef whole = nullptr;
    capacity = 16;
    EXPECT_EQ (noErr, unit->DispatchGetPropertyToCapacity (kAudioUnitProperty_ContextName, 0, 0, &whole, capacity));
    EXPECT_EQ (8u, capacity);
    EXPECT_EQ (track, whole);
    CFRelease (whole);

    capacity = 0;
    EXPECT_EQ (kAudio_ParamError, unit->DispatchGetPropertyToCapacity (kAudioUnitProperty_ContextName, 0, 0, small, capacity));
    capacity = 8;
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue,
               unit->DispatchGetPropertyToCapacity (kAudioUnitProperty_ElementName, kAudioUnitScope_Input, 0, small, capacity));
    EXPECT_EQ (0u, capacity);
    CFRelease (track);
}

TEST_F (AUBaseProperties, PayloadSizesAreCheckedBeforeTheyAreRead)
{
    unit->layoutTags = { kAudioChannelLayoutTag_UseChannelDescriptions };
    struct
    {
        AudioChannelLayoutTag tag;
        UInt32 bitmap, count;
        AudioChannelDescription descriptions[2];
    } layout { kAudioChannelLayoutTag_UseChannelDescriptions, 0, 2, {} };

    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, Set (kAudioUnitProperty_AudioChannelLayout, kAudioUnitScope_Output, 0, layout, 8));
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, Set (kAudioUnitProperty_AudioChannelLayout, kAudioUnitScope_Output, 0, layout, 51));
    layout.count = 0xFFFFFFFFu;
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, Set (kAudioUnitProperty_AudioChannelLayout, kAudioUnitScope_Output, 0, layout));
    layout.count = 2;
    layout.tag = kAudioChannelLayoutTag_UseChannelBitmap;
    layout.bitmap = 0x7;
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, Set (kAudioUnitProperty_AudioChannelLayout, kAudioUnitScope_Output, 0, layout))
        << "three channels on a stereo bus";
    layout.bitmap = 0x3;
    EXPECT_EQ (kAudioUnitErr_InvalidProperty, Set (kAudioUnitProperty_AudioChannelLayout, kAudioUnitScope_Output, 0, layout))
        << "accepted tag, but the plain element stores no layout";

    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, Set (kAudioUnitProperty_MakeConnection, kAudioUnitScope_Input, 0, UInt64 (0)));
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, Set (kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, UInt32 (0)));
    alignas (16) static Byte external[16384];
    const AudioUnitExternalBuffer offer { external + 8, sizeof external - 8 };
    EXPECT_EQ (kAudioUnitErr_Uninitialized, Set (kAudioUnitProperty_SetExternalBuffer, kAudioUnitScope_Output, 0, offer));
    ASSERT_EQ (noErr, unit->DoInitialize());
    EXPECT_EQ (kAudio_ParamError, Set (kAudioUnitProperty_SetExternalBuffer, kAudioUnitScope_Output, 0, offer));
    EXPECT_EQ (kAudioUnitErr_InvalidElement,
               Set (kAudioUnitProperty_SetExternalBuffer, kAudioUnitScope_Output, 2, AudioUnitExternalBuffer { external, sizeof external }));
    EXPECT_EQ (noErr, Set (kAudioUnitProperty_SetExternalBuffer, kAudioUnitScope_Output, 0,
                           AudioUnitExternalBuffer { external, sizeof external }));
    EXPECT_TRUE (unit->GetOutput (0)->GetBuffers().IsExternalMemory());
}

TEST_F (AUBaseProperties, InputsComeFromCallbacksOrConnections)
{
    int calls = 0;
    ListenerLog connections;
    connections.Listen (*unit, { kAudioUnitProperty_SetRenderCallback, kAudioUnitProperty_MakeConnection });
    EXPECT_EQ (noErr, Set (kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, 0, AURenderCallbackStruct { FillInput, &calls }));
    EXPECT_EQ (kAudioUnitErr_InvalidElement,
               Set (kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, 1, AURenderCallbackStruct { FillInput, &calls }));
    ASSERT_EQ (noErr, unit->DoInitialize());

    auto* input = unit->GetInput (0);
    AudioUnitRenderActionFlags flags = 0;
    EXPECT_EQ (noErr, input->PullInput (flags, TimeAt (0), 0, 64));
    EXPECT_EQ (1, calls);
    EXPECT_EQ (3.0f, static_cast<float*> (input->GetBufferList().mBuffers[1].mData)[63]);
    unit->DoCleanup();

    const AudioUnitRuntime runtime { SourceUnit::GetProperty, SourceUnit::Render };
    AudioUnitRuntimeInstall (&runtime);
    int source = 0;
    const AudioUnitConnection connection { reinterpret_cast<AudioUnit> (&source), 0, 0 };
    EXPECT_EQ (noErr, Set (kAudioUnitProperty_MakeConnection, kAudioUnitScope_Input, 0, connection));
    EXPECT_TRUE (input->HasConnection());
    EXPECT_EQ (96000.0, Format (kAudioUnitScope_Input).mSampleRate) << "the source's format is taken over";
    EXPECT_FALSE (GetInfo (kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input).writable);
    EXPECT_EQ (noErr, input->PullInput (flags, TimeAt (0), 0, 64)) << "the source fills a list without memory";

    EXPECT_EQ (noErr, Set (kAudioUnitProperty_MakeConnection, kAudioUnitScope_Input, 0, AudioUnitConnection {}));
    EXPECT_EQ (kAudioUnitErr_NoConnection, input->PullInput (flags, TimeAt (64), 0, 64));
    EXPECT_EQ (1u, connections.Count (kAudioUnitProperty_SetRenderCallback));
    EXPECT_EQ (2u, connections.Count (kAudioUnitProperty_MakeConnection));
    AudioUnitRuntimeInstall (nullptr);
}

TEST_F (AUBaseProperties, ComponentManagerInstancesGetFastDispatchFunctions)
{
    auto cmgr = MakeUnit (1, 1, ComponentBase::kComponentMgrInstance);
    auto* object = static_cast<AUBase*> (cmgr.get());
    UInt32 size = 0;
    Boolean writable = true;
    ASSERT_EQ (noErr, cmgr->DispatchGetPropertyInfo (kAudioUnitProperty_FastDispatch, 0, kAudioUnitRenderSelect, size, writable));
    EXPECT_EQ (8u, size);
    EXPECT_FALSE (writable);

    AudioUnitGetParameterProc get = nullptr;
    AudioUnitSetParameterProc set = nullptr;
    AudioUnitRenderProc render = nullptr;
    ASSERT_EQ (noErr, cmgr->DispatchGetProperty (kAudioUnitProperty_FastDispatch, 0, kAudioUnitGetParameterSelect, &get));
    ASSERT_EQ (noErr, cmgr->DispatchGetProperty (kAudioUnitProperty_FastDispatch, 0, kAudioUnitSetParameterSelect, &set));
    ASSERT_EQ (noErr, cmgr->DispatchGetProperty (kAudioUnitProperty_FastDispatch, 0, kAudioUnitRenderSelect, &render));
    void* other = nullptr;
    EXPECT_EQ (kAudioUnitErr_InvalidProperty, cmgr->DispatchGetProperty (kAudioUnitProperty_FastDispatch, 0, 9, &other));

    AudioUnitParameterValue value = 0;
    EXPECT_EQ (noErr, set (object, 3, kAudioUnitScope_Global, 0, 0.5f, 0));
    EXPECT_EQ (noErr, get (object, 3, kAudioUnitScope_Global, 0, &value));
    EXPECT_EQ (0.5f, value);
    EXPECT_EQ (kAudioUnitErr_InvalidParameter, get (object, 4, kAudioUnitScope_Global, 0, &value));
    EXPECT_EQ (kAudioUnitErr_InvalidElement, get (object, 3, kAudioUnitScope_Input, 5, &value));
    EXPECT_EQ (kAudio_ParamError, get (object, 3, kAudioUnitScope_Global, 0, nullptr));

    HostBuffers buffers (2, 16);
    const auto stamp = TimeAt (0);
    EXPECT_EQ (kAudio_ParamError, render (object, nullptr, nullptr, 0, 16, &buffers.List()));
    EXPECT_EQ (kAudioUnitErr_Uninitialized, render (object, nullptr, &stamp, 0, 16, &buffers.List()));
    ASSERT_EQ (noErr, cmgr->DoInitialize());
    EXPECT_EQ (noErr, render (object, nullptr, &stamp, 0, 16, &buffers.List())) << "a null flags pointer is allowed";
    EXPECT_EQ (kAudioUnitErr_InvalidElement, render (object, nullptr, &stamp, 3, 16, &buffers.List()));
}
