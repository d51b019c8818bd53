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
    kAudioUnitProperty_LastRenderSampleTime = 0x6C727374,  // 'lrst'
    kMusicDeviceProperty_MIDIXMLNames = 1006
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

enum : UInt32
{
    kAudioUnitParameterUnit_Generic = 0,
    kAudioUnitParameterFlag_CFNameRelease = 1u << 4,
    kAudioUnitParameterFlag_HasCFNameString = 1u << 27,
    kAudioUnitParameterFlag_IsReadable = 1u << 30,
    kAudioUnitParameterFlag_IsWritable = 1u << 31
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

// Host calls by number: the Component Manager's own (negative), the unit's, and the MIDI ones.
enum : SInt16
{
    kComponentOpenSelect = -1,
    kComponentCloseSelect = -2,
    kComponentCanDoSelect = -3,
    kComponentVersionSelect = -4,
    kAudioUnitInitializeSelect = 1,
    kAudioUnitUninitializeSelect = 2,
    kAudioUnitGetPropertyInfoSelect = 3,
    kAudioUnitGetPropertySelect = 4,
    kAudioUnitSetPropertySelect = 5,
    kAudioUnitResetSelect = 9,
    kAudioUnitAddPropertyListenerSelect = 10,
    kAudioUnitRemovePropertyListenerSelect = 11,
    kAudioUnitAddRenderNotifySelect = 15,
    kAudioUnitRemoveRenderNotifySelect = 16,
    kAudioUnitScheduleParametersSelect = 17,
    kAudioUnitRemovePropertyListenerWithUserDataSelect = 18,
    kMusicDeviceMIDIEventSelect = 0x0101,
    kMusicDeviceSysExSelect = 0x0102
};

// A Component Manager call: the selector, then 8-byte words; word 0 is the instance (or, for
// open, the new instance), the call's arguments follow in order.
struct ComponentParameters
{
    UInt8 flags;
    UInt8 paramSize;
    SInt16 what;
    UInt32 padding;
    uintptr_t params[1];
};
typedef OSStatus (*ComponentEntryProc) (ComponentParameters* params, void* storage);

// The audio-component route: the factory answers a record whose first slots the host calls.
typedef OSStatus (*AudioComponentMethod) (void* self, ...);
struct AudioComponentPlugInInterface
{
    OSStatus (*Open) (void* self, AudioComponentInstance instance);
    OSStatus (*Close) (void* self);
    AudioComponentMethod (*Lookup) (SInt16 selector);
    void* reserved;
};
typedef AudioComponentPlugInInterface* (*AudioComponentFactoryFunction) (const AudioComponentDescription* description);

// The methods Lookup hands out, by the arguments each takes after self.
typedef OSStatus (*AudioUnitInitializeMethod) (void* self);
typedef OSStatus (*AudioUnitGetPropertyInfoMethod) (void* self, AudioUnitPropertyID id, AudioUnitScope scope,
                                                    AudioUnitElement element, UInt32* outDataSize, Boolean* outWritable);
typedef OSStatus (*AudioUnitGetPropertyMethod) (void* self, AudioUnitPropertyID id, AudioUnitScope scope,
                                                AudioUnitElement element, void* outData, UInt32* ioDataSize);
typedef OSStatus (*AudioUnitSetPropertyMethod) (void* self, AudioUnitPropertyID id, AudioUnitScope scope,
                                                AudioUnitElement element, const void* inData, UInt32 inDataSize);
typedef OSStatus (*AudioUnitGetParameterMethod) (void* self, AudioUnitParameterID id, AudioUnitScope scope,
                                                 AudioUnitElement element, AudioUnitParameterValue* outValue);
typedef OSStatus (*AudioUnitSetParameterMethod) (void* self, AudioUnitParameterID id, AudioUnitScope scope,
                                                 AudioUnitElement element, AudioUnitParameterValue value, UInt32 offset);
typedef OSStatus (*AudioUnitResetMethod) (void* self, AudioUnitScope scope, AudioUnitElement element);
typedef OSStatus (*AudioUnitAddPropertyListenerMethod) (void* self, AudioUnitPropertyID id,
                                                        AudioUnitPropertyListenerProc proc, void* userData);
typedef OSStatus (*AudioUnitRemovePropertyListenerMethod) (void* self, AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc);
typedef OSStatus (*AudioUnitRenderMethod) (void* self, AudioUnitRenderActionFlags* ioFlags, const AudioTimeStamp* timeStamp,
                                           UInt32 bus, UInt32 frames, AudioBufferList* ioData);
typedef OSStatus (*AudioUnitRenderNotifyMethod) (void* self, AURenderCallback proc, void* userData);
typedef OSStatus (*AudioUnitScheduleParametersMethod) (void* self, const AudioUnitParameterEvent* events, UInt32 count);
typedef OSStatus (*AudioUnitRemovePropertyListenerWithUserDataMethod) (void* self, AudioUnitPropertyID id,
                                                                       AudioUnitPropertyListenerProc proc, void* userData);
typedef OSStatus (*MusicDeviceMIDIEventProc) (void* storage, UInt32 status, UInt32 data1, UInt32 data2, UInt32 offset);

// What a unit tells the host's event listeners: a parameter changed or a gesture on it began or
// ended, or a property changed.
enum : UInt32
{
    kAudioUnitEvent_ParameterValueChange = 0,
    kAudioUnitEvent_BeginParameterChangeGesture = 1,
    kAudioUnitEvent_EndParameterChangeGesture = 2,
    kAudioUnitEvent_PropertyChange = 3
};
struct AudioUnitParameter
{
    AudioUnit mAudioUnit;
    AudioUnitParameterID mParameterID;
    AudioUnitScope mScope;
    AudioUnitElement mElement;
};
struct AudioUnitProperty
{
    AudioUnit mAudioUnit;
    AudioUnitPropertyID mPropertyID;
    AudioUnitScope mScope;
    AudioUnitElement mElement;
};
struct AudioUnitEvent
{
    UInt32 mEventType;
    union
    {
        AudioUnitParameter mParameter;
        AudioUnitProperty mProperty;
    } mArgument;
};

static_assert (offsetof (ComponentParameters, params) == 8 && sizeof (uintptr_t) == 8, "parameter block layout");
static_assert (sizeof (AudioComponentPlugInInterface) == 32, "plug-in interface layout");
static_assert (sizeof (AudioUnitEvent) == 32 && offsetof (AudioUnitEvent, mArgument) == 8, "event layout");
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
