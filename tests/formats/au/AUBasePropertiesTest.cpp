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

    bool Writable (AudioUnitPropertyID id, AudioUnitScope scope)
    {
        UInt32 size = 0;
        Boolean writable = false;
        return unit->DispatchGetPropertyInfo (id, scope, 0, size, writable) == noErr && writable;
    }

    template <typename T>
    OSStatus Set (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const T& value, UInt32 size = sizeof (T))
    {
        return CallWithStatusLadder ([&] { return unit->DispatchSetProperty (id, scope, element, &value, size); });
    }

    AudioStreamBasicDescription Format (AudioUnitScope scope)
    {
        AudioStreamBasicDescription f {};
        EXPECT_EQ (noErr, unit->DispatchGetProperty (kAudioUnitProperty_StreamFormat, scope, 0, &f));
        return f;
    }
};

// A source unit offering no fast dispatch, so pulling goes through AudioUnitRender.
OSStatus SourceGetProperty (AudioUnit, AudioUnitPropertyID id, AudioUnitScope, AudioUnitElement, void* out, UInt32* size)
{
    if (id != kAudioUnitProperty_StreamFormat || *size < sizeof (AudioStreamBasicDescription))
        return kAudioUnitErr_InvalidProperty;
    const AudioStreamBasicDescription f { 96000.0, kAudioFormatLinearPCM, 41, 4, 1, 4, 2, 32, 0 };  // float, packed, non-interleaved
    std::memcpy (out, &f, sizeof f);
    return noErr;
}
OSStatus SourceRender (AudioUnit, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32, AudioBufferList* list)
{
    return list->mNumberBuffers == 2 && list->mBuffers[0].mData == nullptr ? noErr : -2;
}

OSStatus FillInput (void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32, AudioBufferList*) { return noErr; }

AUBase* selfRemoveUnit = nullptr;
void SelfRemove (void* calls, AudioUnit, AudioUnitPropertyID id, AudioUnitScope, AudioUnitElement)
{
    ++*static_cast<int*> (calls);
    selfRemoveUnit->RemovePropertyListener (id, SelfRemove, calls, true);
}
} // namespace

TEST_F (AUBaseProperties, StreamFormatWritesFollowTheRule)
{
    log.Listen (*unit, { kAudioUnitProperty_StreamFormat, kAudioUnitProperty_SampleRate });
    const auto current = Format (kAudioUnitScope_Input);
    EXPECT_EQ (noErr, Set (kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, current));
    EXPECT_TRUE (log.calls.empty()) << "writing the current format changes nothing";

    auto integer = current;
    integer.mFormatFlags = kAudioFormatFlagIsSignedInteger | kAudioFormatFlagIsPacked | kAudioFormatFlagIsNonInterleaved;
    integer.mBitsPerChannel = 16;
    integer.mBytesPerFrame = integer.mBytesPerPacket = 2;
    auto interleaved = current;
    interleaved.mFormatFlags = kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked;
    interleaved.mBytesPerFrame = interleaved.mBytesPerPacket = 8;
    for (auto& refused : { integer, interleaved })
        EXPECT_EQ (kAudioUnitErr_FormatNotSupported, Set (kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, refused));
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, Set (kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, current, 35));

    auto mono = current;
    mono.mChannelsPerFrame = 1;
    EXPECT_EQ (noErr, Set (kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, mono, 36));
    EXPECT_TRUE (Format (kAudioUnitScope_Input).mChannelsPerFrame == 1u && log.Count (kAudioUnitProperty_StreamFormat) == 1u);
    EXPECT_EQ (noErr, Set (kAudioUnitProperty_SampleRate, kAudioUnitScope_Output, 0, 96000.0));
    EXPECT_EQ (96000.0, Format (kAudioUnitScope_Global).mSampleRate) << "global reads output 0";
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, Set (kAudioUnitProperty_SampleRate, kAudioUnitScope_Output, 0, 96000.0f));

    ASSERT_EQ (noErr, unit->DoInitialize());
    EXPECT_FALSE (Writable (kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input));
    EXPECT_EQ (kAudioUnitErr_PropertyNotWritable, Set (kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, current));
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
    for (int i = 0; i < 2; ++i)
        unit->PropertyChanged (kAudioUnitProperty_PresentPreset, 0, 0);
    EXPECT_TRUE (selfCalls == 1 && unit->GetNumberOfPropertyListeners() == 1u);
    EXPECT_EQ (2u, log.Count (kAudioUnitProperty_PresentPreset)) << "the listener after it still hears both";
}

TEST_F (AUBaseProperties, PresetsHandOutRetainedStrings)
{
    auto name = CFStringCreateWithCString (nullptr, "Warm", kCFStringEncodingUTF8);
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, Set (kAudioUnitProperty_PresentPreset, 0, 0, AUPreset { -1, nullptr }));
    EXPECT_EQ (kAudioUnitErr_InvalidProperty, Set (kAudioUnitProperty_PresentPreset, 0, 0, AUPreset { 2, name }));
    EXPECT_EQ (noErr, Set (kAudioUnitProperty_PresentPreset, 0, 0, AUPreset { -1, name }));
    AUPreset current {};
    EXPECT_EQ (noErr, unit->DispatchGetProperty (kAudioUnitProperty_PresentPreset, 0, 0, &current));
    EXPECT_TRUE (current.presetName == name && CFGetRetainCount (name) == 3) << "ours, the unit's and the reader's";
    CFRelease (current.presetName);
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, Set (kAudioUnitProperty_ElementName, kAudioUnitScope_Input, 0, name, 4));
    CFRelease (name);
}

TEST_F (AUBaseProperties, TruncatedReadsReleaseTheReferencesTheyCannotDeliver)
{
    auto track = CFStringCreateWithCString (nullptr, "Bus", kCFStringEncodingUTF8);
    Set (kAudioUnitProperty_ContextName, kAudioUnitScope_Global, 0, track);
    Set (kAudioUnitProperty_PresentPreset, 0, 0, AUPreset { -1, track });

    const auto read = [&] (AudioUnitPropertyID id, AudioUnitScope scope, void* out, UInt32 capacity) {
        const OSStatus status = unit->DispatchGetPropertyToCapacity (id, scope, 0, out, capacity);
        return std::make_pair (status, capacity);
    };
    using Result = std::pair<OSStatus, UInt32>;
    UInt8 small[12] = {};
    EXPECT_EQ (Result (noErr, 4), read (kAudioUnitProperty_ContextName, 0, small, 4)) << "a short capacity keeps its size";
    EXPECT_EQ (Result (noErr, 12), read (kAudioUnitProperty_PresentPreset, 0, small, 12));
    EXPECT_EQ (Result (noErr, 4), read (kAudioUnitProperty_ClassInfo, 0, small, 4));
    EXPECT_EQ (3, CFGetRetainCount (track)) << "ours, the context name and the preset";
    CFStringRef whole = nullptr;
    EXPECT_EQ (Result (noErr, 8), read (kAudioUnitProperty_ContextName, 0, &whole, 16));
    EXPECT_EQ (track, whole);
    CFRelease (whole);
    EXPECT_EQ (kAudio_ParamError, read (kAudioUnitProperty_ContextName, 0, small, 0).first);
    EXPECT_EQ (Result (kAudioUnitErr_InvalidPropertyValue, 0), read (kAudioUnitProperty_ElementName, kAudioUnitScope_Input, small, 8));
    CFRelease (track);
}

TEST_F (AUBaseProperties, PayloadSizesAreCheckedBeforeTheyAreRead)
{
    unit->layoutTags = { kAudioChannelLayoutTag_UseChannelDescriptions };
    struct { AudioChannelLayoutTag tag; UInt32 bitmap, count; AudioChannelDescription descriptions[2]; } layout { kAudioChannelLayoutTag_UseChannelDescriptions, 0, 2, {} };
    const auto setLayout = [&] (UInt32 size) {
        return Set (kAudioUnitProperty_AudioChannelLayout, kAudioUnitScope_Output, 0, layout, size);
    };

    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, setLayout (8)) << "too short for the count";
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, setLayout (51));
    layout.count = 0xFFFFFFFFu;
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, setLayout (sizeof layout));
    layout.count = 2;
    layout.tag = kAudioChannelLayoutTag_UseChannelBitmap;
    layout.bitmap = 0x7;
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, setLayout (sizeof layout)) << "three channels on a stereo bus";
    layout.bitmap = 0x3;
    EXPECT_EQ (kAudioUnitErr_InvalidProperty, setLayout (sizeof layout)) << "accepted, but the plain element stores no layout";

    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, Set (kAudioUnitProperty_MakeConnection, kAudioUnitScope_Input, 0, UInt64 (0)));
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, Set (kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, UInt32 (0)));
    alignas (16) static Byte external[16384];
    const AudioUnitExternalBuffer misaligned { external + 8, sizeof external - 8 }, aligned { external, sizeof external };
    EXPECT_EQ (kAudioUnitErr_Uninitialized, Set (kAudioUnitProperty_SetExternalBuffer, kAudioUnitScope_Output, 0, aligned));
    ASSERT_EQ (noErr, unit->DoInitialize());
    EXPECT_EQ (kAudio_ParamError, Set (kAudioUnitProperty_SetExternalBuffer, kAudioUnitScope_Output, 0, misaligned));
    EXPECT_EQ (noErr, Set (kAudioUnitProperty_SetExternalBuffer, kAudioUnitScope_Output, 0, aligned));
    EXPECT_TRUE (unit->GetOutput (0)->GetBuffers().IsExternalMemory());
}

TEST_F (AUBaseProperties, InputsComeFromCallbacksOrConnections)
{
    log.Listen (*unit, { kAudioUnitProperty_SetRenderCallback, kAudioUnitProperty_MakeConnection });
    const AURenderCallbackStruct callback { FillInput, nullptr };
    EXPECT_EQ (noErr, Set (kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, 0, callback));
    EXPECT_EQ (kAudioUnitErr_InvalidElement, Set (kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, 1, callback));
    ASSERT_EQ (noErr, unit->DoInitialize());
    auto* input = unit->GetInput (0);
    AudioUnitRenderActionFlags flags = 0;
    unit->DoCleanup();

    const AudioUnitRuntime runtime { SourceGetProperty, SourceRender, nullptr };
    AudioUnitRuntimeInstall (&runtime);
    int source = 0;
    EXPECT_EQ (noErr, Set (kAudioUnitProperty_MakeConnection, kAudioUnitScope_Input, 0,
                           AudioUnitConnection { reinterpret_cast<AudioUnit> (&source), 0, 0 }));
    EXPECT_TRUE (input->HasConnection());
    EXPECT_EQ (96000.0, Format (kAudioUnitScope_Input).mSampleRate) << "the source's format is taken over";
    EXPECT_FALSE (Writable (kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input));
    EXPECT_EQ (noErr, input->PullInput (flags, TimeAt (0), 0, 64)) << "the source fills a list without memory";
    EXPECT_EQ (noErr, Set (kAudioUnitProperty_MakeConnection, kAudioUnitScope_Input, 0, AudioUnitConnection {}));
    EXPECT_EQ (kAudioUnitErr_NoConnection, input->PullInput (flags, TimeAt (64), 0, 64));
    EXPECT_TRUE (log.Count (kAudioUnitProperty_SetRenderCallback) == 1u && log.Count (kAudioUnitProperty_MakeConnection) == 2u);
    AudioUnitRuntimeInstall (nullptr);
}
