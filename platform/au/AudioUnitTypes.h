#pragma once

// The Audio Unit interface: handles, property ids, scopes, statuses, flags and the structures
// exchanged with hosts, with their sizes and field orders.

#include "platform/au/CoreAudioTypes.h"

#include <cstddef>

extern "C" {

typedef struct ComponentInstanceRecord* ComponentInstance;
typedef struct ComponentRecord* Component;
typedef ComponentInstance AudioComponentInstance;
typedef AudioComponentInstance AudioUnit;
typedef struct OpaqueAudioComponent* AudioComponent;
typedef char** Handle;

typedef UInt32 AudioUnitPropertyID;
typedef UInt32 AudioUnitScope;
typedef UInt32 AudioUnitElement;
typedef UInt32 AudioUnitParameterID;
typedef Float32 AudioUnitParameterValue;
typedef UInt32 AudioUnitRenderActionFlags;
typedef UInt32 AUParameterEventType;

struct AudioComponentDescription
{
    OSType componentType;
    OSType componentSubType;
    OSType componentManufacturer;
    UInt32 componentFlags;
    UInt32 componentFlagsMask;
};
typedef AudioComponentDescription ComponentDescription;

enum : AudioUnitScope
{
    kAudioUnitScope_Global = 0,
    kAudioUnitScope_Input = 1,
    kAudioUnitScope_Output = 2,
    kAudioUnitScope_Group = 3
};

enum : AudioUnitPropertyID
{
    kAudioUnitProperty_ClassInfo = 0,
    kAudioUnitProperty_MakeConnection = 1,
    kAudioUnitProperty_SampleRate = 2,
    kAudioUnitProperty_ParameterList = 3,
    kAudioUnitProperty_ParameterInfo = 4,
    kAudioUnitProperty_FastDispatch = 5,
    kAudioUnitProperty_CPULoad = 6,
    kAudioUnitProperty_StreamFormat = 8,
    kAudioUnitProperty_ElementCount = 11,
    kAudioUnitProperty_Latency = 12,
    kAudioUnitProperty_SupportedNumChannels = 13,
    kAudioUnitProperty_MaximumFramesPerSlice = 14,
    kAudioUnitProperty_SetExternalBuffer = 15,
    kAudioUnitProperty_ParameterValueStrings = 16,
    kAudioUnitProperty_GetUIComponentList = 18,
    kAudioUnitProperty_AudioChannelLayout = 19,
    kAudioUnitProperty_TailTime = 20,
    kAudioUnitProperty_BypassEffect = 21,
    kAudioUnitProperty_LastRenderError = 22,
    kAudioUnitProperty_SetRenderCallback = 23,
    kAudioUnitProperty_FactoryPresets = 24,
    kAudioUnitProperty_ContextName = 25,
    kAudioUnitProperty_RenderQuality = 26,
    kAudioUnitProperty_HostCallbacks = 27,
    kAudioUnitProperty_InPlaceProcessing = 29,
    kAudioUnitProperty_ElementName = 30,
    kAudioUnitProperty_SupportedChannelLayoutTags = 32,
    kAudioUnitProperty_ParameterClumpName = 35,
    kAudioUnitProperty_PresentPreset = 36,
    kAudioUnitProperty_IconLocation = 39,
    kAudioUnitProperty_ParameterHistoryInfo = 53,
    kAudioUnitProperty_LastRenderSampleTime = 0x6C727374  // 'lrst'
};

// Elements of the fast-dispatch property.
enum : AudioUnitElement
{
    kAudioUnitGetParameterSelect = 6,
    kAudioUnitSetParameterSelect = 7,
    kAudioUnitRenderSelect = 14
};

enum : OSStatus
{
    kAudioUnitErr_Initialized = -10849,
    kAudioUnitErr_InvalidPropertyValue = -10851,
    kAudioUnitErr_PropertyNotWritable = -10865,
    kAudioUnitErr_InvalidScope = -10866,
    kAudioUnitErr_Uninitialized = -10867,
    kAudioUnitErr_FormatNotSupported = -10868,
    kAudioUnitErr_TooManyFramesToProcess = -10874,
    kAudioUnitErr_NoConnection = -10876,
    kAudioUnitErr_InvalidElement = -10877,
    kAudioUnitErr_InvalidParameter = -10878,
    kAudioUnitErr_InvalidProperty = -10879,
    badComponentSelector = static_cast<OSStatus> (0x80008002u)
};

enum : AudioUnitRenderActionFlags
{
    kAudioUnitRenderAction_PreRender = 1u << 2,
    kAudioUnitRenderAction_PostRender = 1u << 3,
    kAudioUnitRenderAction_OutputIsSilence = 1u << 4,
    kAudioUnitRenderAction_PostRenderError = 1u << 8
};

enum : AUParameterEventType { kParameterEvent_Immediate = 1, kParameterEvent_Ramped = 2 };

struct AudioUnitParameterEvent
{
    AudioUnitScope scope;
    AudioUnitElement element;
    AudioUnitParameterID parameter;
    AUParameterEventType eventType;
    union
    {
        struct
        {
            SInt32 startBufferOffset;
            UInt32 durationInFrames;
            AudioUnitParameterValue startValue;
            AudioUnitParameterValue endValue;
        } ramp;
        struct
        {
            UInt32 bufferOffset;
            AudioUnitParameterValue value;
        } immediate;
    } eventValues;
};

struct AudioUnitParameterInfo
{
    char name[52];
    CFStringRef unitName;
    UInt32 clumpID;
    CFStringRef cfNameString;
    UInt32 unit;
    AudioUnitParameterValue minValue;
    AudioUnitParameterValue maxValue;
    AudioUnitParameterValue defaultValue;
    UInt32 flags;
};

struct AUChannelInfo
{
    SInt16 inChannels;
    SInt16 outChannels;
};

struct AUPreset
{
    SInt32 presetNumber;
    CFStringRef presetName;
};

struct AudioUnitConnection
{
    AudioUnit sourceAudioUnit;
    UInt32 sourceOutputNumber;
    UInt32 destInputNumber;
};

typedef OSStatus (*AURenderCallback) (void* inRefCon, AudioUnitRenderActionFlags* ioActionFlags,
                                      const AudioTimeStamp* inTimeStamp, UInt32 inBusNumber,
                                      UInt32 inNumberFrames, AudioBufferList* ioData);

struct AURenderCallbackStruct
{
    AURenderCallback inputProc;
    void* inputProcRefCon;
};

struct AudioUnitExternalBuffer
{
    Byte* buffer;
    UInt32 size;
};

struct AudioUnitParameterNameInfo
{
    UInt32 inID;
    SInt32 inDesiredLength;
    CFStringRef outName;
};

struct AudioUnitParameterHistoryInfo
{
    Float32 updatesPerSecond;
    Float32 historyDurationInSeconds;
};

typedef OSStatus (*HostCallback_GetBeatAndTempo) (void* hostUserData, Float64* currentBeat, Float64* currentTempo);
typedef OSStatus (*HostCallback_GetMusicalTimeLocation) (void* hostUserData, UInt32* deltaSampleOffsetToNextBeat,
                                                         Float32* timeSigNumerator, UInt32* timeSigDenominator,
                                                         Float64* currentMeasureDownBeat);
typedef OSStatus (*HostCallback_GetTransportState) (void* hostUserData, Boolean* isPlaying, Boolean* transportStateChanged,
                                                    Float64* currentSampleInTimeLine, Boolean* isCycling,
                                                    Float64* cycleStartBeat, Float64* cycleEndBeat);
typedef OSStatus (*HostCallback_GetTransportState2) (void* hostUserData, Boolean* isPlaying, Boolean* isRecording,
                                                     Boolean* transportStateChanged, Float64* currentSampleInTimeLine,
                                                     Boolean* isCycling, Float64* cycleStartBeat, Float64* cycleEndBeat);

struct HostCallbackInfo
{
    void* hostUserData;
    HostCallback_GetBeatAndTempo beatAndTempoProc;
    HostCallback_GetMusicalTimeLocation musicalTimeLocationProc;
    HostCallback_GetTransportState transportStateProc;
    HostCallback_GetTransportState2 transportStateProc2;
};

typedef void (*AudioUnitPropertyListenerProc) (void* inRefCon, AudioUnit inUnit, AudioUnitPropertyID inID,
                                               AudioUnitScope inScope, AudioUnitElement inElement);

// The fast-dispatch functions a unit hands to hosts; the first argument is the unit's storage.
typedef OSStatus (*AudioUnitGetParameterProc) (void* inComponentStorage, AudioUnitParameterID inID, AudioUnitScope inScope,
                                               AudioUnitElement inElement, AudioUnitParameterValue* outValue);
typedef OSStatus (*AudioUnitSetParameterProc) (void* inComponentStorage, AudioUnitParameterID inID, AudioUnitScope inScope,
                                               AudioUnitElement inElement, AudioUnitParameterValue inValue,
                                               UInt32 inBufferOffsetInFrames);
typedef OSStatus (*AudioUnitRenderProc) (void* inComponentStorage, AudioUnitRenderActionFlags* ioActionFlags,
                                         const AudioTimeStamp* inTimeStamp, UInt32 inOutputBusNumber,
                                         UInt32 inNumberFrames, AudioBufferList* ioData);

static_assert (sizeof (AudioComponentDescription) == 20, "component description layout");
static_assert (sizeof (AudioUnitParameterEvent) == 32, "parameter event layout");
static_assert (sizeof (AudioUnitParameterInfo) == 104, "parameter info layout");
static_assert (sizeof (AUChannelInfo) == 4, "channel info layout");
static_assert (sizeof (AUPreset) == 16 && offsetof (AUPreset, presetName) == 8, "preset layout");
static_assert (sizeof (AudioUnitConnection) == 16, "connection layout");
static_assert (sizeof (AURenderCallbackStruct) == 16, "render callback layout");
static_assert (sizeof (AudioUnitExternalBuffer) == 16, "external buffer layout");
static_assert (sizeof (AudioUnitParameterNameInfo) == 16 && offsetof (AudioUnitParameterNameInfo, outName) == 8,
               "clump name layout");
static_assert (sizeof (HostCallbackInfo) == 40, "host callback layout");
}
