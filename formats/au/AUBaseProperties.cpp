// The built-in property table of AUBase: information, reads, writes and removals.

#include "formats/au/AUBase.h"

#include "formats/au/AUStreamHelpers.h"
#include "formats/au/AUFastDispatch.h"
#include "formats/au/StatusLadder.h"

#include <algorithm>
#include <cstring>

namespace kelmora::au
{
namespace
{
bool IsBuiltInProperty (AudioUnitPropertyID id)
{
    switch (id)
    {
        case kAudioUnitProperty_ClassInfo:
        case kAudioUnitProperty_MakeConnection:
        case kAudioUnitProperty_SampleRate:
        case kAudioUnitProperty_ParameterList:
        case kAudioUnitProperty_ParameterInfo:
        case kAudioUnitProperty_FastDispatch:
        case kAudioUnitProperty_StreamFormat:
        case kAudioUnitProperty_ElementCount:
        case kAudioUnitProperty_Latency:
        case kAudioUnitProperty_SupportedNumChannels:
        case kAudioUnitProperty_MaximumFramesPerSlice:
        case kAudioUnitProperty_ParameterValueStrings:
        case kAudioUnitProperty_GetUIComponentList:
        case kAudioUnitProperty_AudioChannelLayout:
        case kAudioUnitProperty_TailTime:
        case kAudioUnitProperty_LastRenderError:
        case kAudioUnitProperty_SetRenderCallback:
        case kAudioUnitProperty_FactoryPresets:
        case kAudioUnitProperty_ContextName:
        case kAudioUnitProperty_HostCallbacks:
        case kAudioUnitProperty_ElementName:
        case kAudioUnitProperty_SupportedChannelLayoutTags:
        case kAudioUnitProperty_ParameterClumpName:
        case kAudioUnitProperty_PresentPreset:
        case kAudioUnitProperty_IconLocation:
        case kAudioUnitProperty_ParameterHistoryInfo:
        case kAudioUnitProperty_LastRenderSampleTime: return true;
        default: return false;
    }
}

// Where a built-in read hands the caller a reference it then owns; -1 for none.
int ReferenceOffset (AudioUnitPropertyID id)
{
    switch (id)
    {
        case kAudioUnitProperty_ClassInfo:
        case kAudioUnitProperty_ParameterValueStrings:
        case kAudioUnitProperty_FactoryPresets:
        case kAudioUnitProperty_ContextName:
        case kAudioUnitProperty_ElementName:
        case kAudioUnitProperty_IconLocation: return 0;
        case kAudioUnitProperty_ParameterClumpName: return offsetof (AudioUnitParameterNameInfo, outName);
        case kAudioUnitProperty_PresentPreset: return offsetof (AUPreset, presetName);
        default: return -1;
    }
}

template <typename T>
OSStatus Write (void* out, const T& value)
{
    std::memcpy (out, &value, sizeof value);
    return noErr;
}

template <typename T>
T Read (const void* in)
{
    T value;
    std::memcpy (&value, in, sizeof value);
    return value;
}
} // namespace

OSStatus AUBase::CheckElement (AudioUnitScope scope, AudioUnitElement element)
{
    return GetScope (scope).GetElement (element) != nullptr ? OSStatus (noErr) : OSStatus (kAudioUnitErr_InvalidElement);
}

bool AUBase::StreamFormatWritableByRuleW (AudioUnitScope scope, AudioUnitElement element)
{
    switch (scope)
    {
        case kAudioUnitScope_Global: return StreamFormatWritable (kAudioUnitScope_Output, 0);
        case kAudioUnitScope_Input: return ! GetInput (element)->HasConnection() && StreamFormatWritable (scope, element);
        case kAudioUnitScope_Output: return StreamFormatWritable (scope, element);
        default: return false;
    }
}

OSStatus AUBase::DispatchGetPropertyInfo (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                          UInt32& outDataSize, Boolean& outWritable)
{
    if (! IsBuiltInProperty (id))
        return GetPropertyInfo (id, scope, element, outDataSize, outWritable);

    const bool global = scope == kAudioUnitScope_Global;
    const bool globalOrInput = global || scope == kAudioUnitScope_Input;
    bool checkElement = true;
    UInt32 size = 0;
    bool writable = false;

    switch (id)
    {
        case kAudioUnitProperty_ClassInfo:
            if (! global)
                return kAudioUnitErr_InvalidScope;
            size = sizeof (CFPropertyListRef);
            writable = true;
            break;
        case kAudioUnitProperty_MakeConnection:
            if (! globalOrInput)
                return kAudioUnitErr_InvalidScope;
            size = sizeof (AudioUnitConnection);
            writable = true;
            break;
        case kAudioUnitProperty_SampleRate:
        case kAudioUnitProperty_StreamFormat:
            if (const OSStatus status = CheckElement (scope, element); status != noErr)
                return status;
            size = id == kAudioUnitProperty_SampleRate ? sizeof (Float64) : sizeof (AudioStreamBasicDescription);
            writable = StreamFormatWritableByRuleW (scope, element);
            break;
        case kAudioUnitProperty_ParameterList:
        {
            UInt32 count = 0;
            if (const OSStatus status = GetParameterList (scope, nullptr, count); status != noErr)
                return status;
            size = count * sizeof (AudioUnitParameterID);
            checkElement = false;
            break;
        }
        case kAudioUnitProperty_ParameterInfo:
            size = sizeof (AudioUnitParameterInfo);
            checkElement = false;
            break;
        case kAudioUnitProperty_FastDispatch:
            if (! global)
                return kAudioUnitErr_InvalidScope;
            if (GetInstanceType() == kAudioComponentInstance)
                return kAudioUnitErr_InvalidProperty;
            size = sizeof (void*);
            checkElement = false;
            break;
        case kAudioUnitProperty_ElementCount:
            size = sizeof (UInt32);
            writable = ElementCountWritable (scope);
            checkElement = false;
            break;
        case kAudioUnitProperty_Latency:
        case kAudioUnitProperty_TailTime:
            if (! global)
                return kAudioUnitErr_InvalidScope;
            if (id == kAudioUnitProperty_TailTime && ! SupportsTail())
                return kAudioUnitErr_InvalidProperty;
            size = sizeof (Float64);
            break;
        case kAudioUnitProperty_SupportedNumChannels:
        {
            if (! global)
                return kAudioUnitErr_InvalidScope;
            const UInt32 count = SupportedNumChannels (nullptr);
            if (count == 0)
                return kAudioUnitErr_InvalidProperty;
            size = count * sizeof (AUChannelInfo);
            break;
        }
        case kAudioUnitProperty_MaximumFramesPerSlice:
            if (! global)
                return kAudioUnitErr_InvalidScope;
            size = sizeof (UInt32);
            writable = true;
            break;
        case kAudioUnitProperty_ParameterValueStrings:
            if (const OSStatus status = GetParameterValueStrings (scope, element, nullptr); status != noErr)
                return status;
            size = sizeof (CFArrayRef);
            checkElement = false;
            break;
        case kAudioUnitProperty_GetUIComponentList:
        {
            if (! global)
                return kAudioUnitErr_InvalidScope;
            const UInt32 count = GetNumCustomUIComponents();
            if (count == 0)
                return kAudioUnitErr_InvalidProperty;
            size = count * sizeof (AudioComponentDescription);
            break;
        }
        case kAudioUnitProperty_AudioChannelLayout:
        {
            Boolean layoutWritable = false;
            size = GetAudioChannelLayout (scope, element, nullptr, layoutWritable);
            if (size == 0)
                return GetChannelLayoutTags (scope, element, nullptr) > 0 ? OSStatus (kAudioUnitErr_InvalidPropertyValue)
                                                                          : OSStatus (kAudioUnitErr_InvalidProperty);
            writable = layoutWritable;
            checkElement = false;
            break;
        }
        case kAudioUnitProperty_LastRenderError:
            if (! global)
                return kAudioUnitErr_InvalidScope;
            size = sizeof (OSStatus);
            break;
        case kAudioUnitProperty_SetRenderCallback:
            if (mAudioUnitAPIVersion < 2)
                return kAudioUnitErr_InvalidProperty;
            if (! globalOrInput)
                return kAudioUnitErr_InvalidScope;
            size = sizeof (AURenderCallbackStruct);
            writable = true;
            break;
        case kAudioUnitProperty_FactoryPresets:
            if (! global)
                return kAudioUnitErr_InvalidScope;
            if (const OSStatus status = GetPresets (nullptr); status != noErr)
                return status;
            size = sizeof (CFArrayRef);
            break;
        case kAudioUnitProperty_ContextName:
        case kAudioUnitProperty_HostCallbacks:
        case kAudioUnitProperty_PresentPreset:
            if (! global)
                return kAudioUnitErr_InvalidScope;
            size = id == kAudioUnitProperty_ContextName ? sizeof (CFStringRef)
                 : id == kAudioUnitProperty_HostCallbacks ? sizeof (HostCallbackInfo)
                                                          : sizeof (AUPreset);
            writable = true;
            break;
        case kAudioUnitProperty_ElementName:
            size = sizeof (CFStringRef);
            writable = true;
            break;
        case kAudioUnitProperty_SupportedChannelLayoutTags:
        {
            const UInt32 count = GetChannelLayoutTags (scope, element, nullptr);
            if (count == 0)
                return kAudioUnitErr_InvalidProperty;
            size = count * sizeof (AudioChannelLayoutTag);
            checkElement = false;
            break;
        }
        case kAudioUnitProperty_ParameterClumpName:
            size = sizeof (AudioUnitParameterNameInfo);
            break;
        case kAudioUnitProperty_IconLocation:
        {
            if (! global)
                return kAudioUnitErr_InvalidScope;
            auto location = CopyIconLocation();
            if (location == nullptr)
                return kAudioUnitErr_InvalidProperty;
            CFRelease (location);
            size = sizeof (CFURLRef);
            break;
        }
        case kAudioUnitProperty_ParameterHistoryInfo:
            size = sizeof (AudioUnitParameterHistoryInfo);
            checkElement = false;
            break;
        case kAudioUnitProperty_LastRenderSampleTime:
            size = sizeof (Float64);
            break;
        default: break;
    }

    if (checkElement)
        if (const OSStatus status = CheckElement (scope, element); status != noErr)
            return status;
    outDataSize = size;
    outWritable = writable;
    return noErr;
}

OSStatus AUBase::DispatchGetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData)
{
    if (! IsBuiltInProperty (id))
        return GetProperty (id, scope, element, outData);

    // A read obeys the same scope and element rules as the information request.
    UInt32 size = 0;
    Boolean writable = false;
    if (const OSStatus status = DispatchGetPropertyInfo (id, scope, element, size, writable); status != noErr)
        return status;

    switch (id)
    {
        case kAudioUnitProperty_ClassInfo:
        {
            CFPropertyListRef state = nullptr;
            const OSStatus status = SaveState (&state);
            Write (outData, state);
            return status;
        }
        case kAudioUnitProperty_SampleRate: return Write (outData, GetStreamFormat (scope, element).mSampleRate);
        case kAudioUnitProperty_ParameterList:
        {
            UInt32 count = 0;
            return GetParameterList (scope, static_cast<AudioUnitParameterID*> (outData), count);
        }
        case kAudioUnitProperty_ParameterInfo:
            return GetParameterInfo (scope, element, *static_cast<AudioUnitParameterInfo*> (outData));
        case kAudioUnitProperty_FastDispatch:
            switch (element)
            {
                case kAudioUnitGetParameterSelect: return Write (outData, &AUFastDispatchGetParameter);
                case kAudioUnitSetParameterSelect: return Write (outData, &AUFastDispatchSetParameter);
                case kAudioUnitRenderSelect:
                    if (mAudioUnitAPIVersion < 2)
                        return kAudioUnitErr_InvalidElement;
                    return Write (outData, &AUFastDispatchRender);
                default: return GetProperty (id, scope, element, outData);
            }
        case kAudioUnitProperty_StreamFormat: return Write (outData, GetStreamFormat (scope, element));
        case kAudioUnitProperty_ElementCount: return Write (outData, GetScope (scope).GetNumberOfElements());
        case kAudioUnitProperty_Latency: return Write (outData, GetLatency());
        case kAudioUnitProperty_TailTime: return Write (outData, GetTailTime());
        case kAudioUnitProperty_SupportedNumChannels:
        {
            const AUChannelInfo* configurations = nullptr;
            const UInt32 count = SupportedNumChannels (&configurations);
            if (configurations != nullptr && count > 0)
                std::memcpy (outData, configurations, count * sizeof (AUChannelInfo));
            return noErr;
        }
        case kAudioUnitProperty_MaximumFramesPerSlice: return Write (outData, mMaxFramesPerSlice);
        case kAudioUnitProperty_ParameterValueStrings:
            return GetParameterValueStrings (scope, element, static_cast<CFArrayRef*> (outData));
        case kAudioUnitProperty_GetUIComponentList:
            GetUIComponentDescs (static_cast<AudioComponentDescription*> (outData));
            return noErr;
        case kAudioUnitProperty_AudioChannelLayout:
        {
            Boolean layoutWritable = false;
            return GetAudioChannelLayout (scope, element, static_cast<AudioChannelLayout*> (outData), layoutWritable) == 0
                       ? OSStatus (kAudioUnitErr_InvalidProperty)
                       : OSStatus (noErr);
        }
        case kAudioUnitProperty_LastRenderError: return Write (outData, mLastRenderError.exchange (noErr));
        case kAudioUnitProperty_FactoryPresets:
        {
            CFArrayRef presets = nullptr;
            const OSStatus status = GetPresets (&presets);
            Write (outData, presets);
            return status;
        }
        case kAudioUnitProperty_ContextName:
            if (mContextName == nullptr)
                return kAudioUnitErr_InvalidPropertyValue;
            return Write (outData, static_cast<CFStringRef> (CFRetain (mContextName)));
        case kAudioUnitProperty_HostCallbacks: return Write (outData, mHostCallbackInfo);
        case kAudioUnitProperty_ElementName:
        {
            auto* named = GetElement (scope, element);
            if (! named->HasName())
                return kAudioUnitErr_InvalidPropertyValue;
            return Write (outData, static_cast<CFStringRef> (CFRetain (named->GetName())));
        }
        case kAudioUnitProperty_SupportedChannelLayoutTags:
            return GetChannelLayoutTags (scope, element, static_cast<AudioChannelLayoutTag*> (outData)) == 0
                       ? OSStatus (kAudioUnitErr_InvalidProperty)
                       : OSStatus (noErr);
        case kAudioUnitProperty_ParameterClumpName:
        {
            auto request = Read<AudioUnitParameterNameInfo> (outData);
            if (request.inID == 0)
                return kAudioUnitErr_InvalidPropertyValue;
            const OSStatus status = CopyClumpName (scope, request.inID, static_cast<UInt32> (std::max<SInt32> (request.inDesiredLength, 0)),
                                                   &request.outName);
            if (status == kAudioUnitErr_InvalidProperty)
                return GetProperty (id, scope, element, outData);
            Write (outData, request);
            return status;
        }
        case kAudioUnitProperty_PresentPreset:
        {
            const AUPreset preset { mCurrentPreset.presetNumber, static_cast<CFStringRef> (CFRetain (mCurrentPreset.presetName)) };
            return Write (outData, preset);
        }
        case kAudioUnitProperty_IconLocation: return Write (outData, CopyIconLocation());
        case kAudioUnitProperty_ParameterHistoryInfo:
        {
            AudioUnitParameterHistoryInfo info {};
            const OSStatus status = GetParameterHistoryInfo (scope, element, info.updatesPerSecond, info.historyDurationInSeconds);
            if (status == noErr)
                Write (outData, info);
            return status;
        }
        case kAudioUnitProperty_LastRenderSampleTime: return Write (outData, mCurrentRenderTime.mSampleTime);
        default: return GetProperty (id, scope, element, outData);  // connection and render callback are not read back here
    }
}

OSStatus AUBase::DispatchGetPropertyToCapacity (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                                void* outData, UInt32& ioDataSize)
{
    if (ioDataSize == 0)
        return kAudio_ParamError;
    UInt32 size = 0;
    Boolean writable = false;
    if (const OSStatus status = DispatchGetPropertyInfo (id, scope, element, size, writable); status != noErr)
        return status;

    if (ioDataSize >= size)
    {
        const OSStatus status = DispatchGetProperty (id, scope, element, outData);
        ioDataSize = status == noErr ? size : 0;
        return status;
    }

    std::vector<UInt8> whole (size);
    const OSStatus status = DispatchGetProperty (id, scope, element, whole.data());
    if (status != noErr)
    {
        ioDataSize = 0;
        return status;
    }
    std::memcpy (outData, whole.data(), ioDataSize);
    // A reference cut off by the capacity cannot reach the caller; release it here.
    const int offset = ReferenceOffset (id);
    if (offset >= 0 && UInt64 (ioDataSize) < UInt64 (offset) + sizeof (CFTypeRef) && UInt64 (offset) + sizeof (CFTypeRef) <= size)
        CFRelease (Read<CFTypeRef> (whole.data() + offset));
    return noErr;
}

OSStatus AUBase::WriteStreamFormat (AudioUnitScope scope, AudioUnitElement element, const AudioStreamBasicDescription& format)
{
    if (! ValidFormat (scope, element, format))
        return kAudioUnitErr_FormatNotSupported;
    const AudioStreamBasicDescription current = GetStreamFormat (scope, element);
    if (StreamDescriptionCompare (current, format))
        return noErr;

    bool writable = false;
    switch (scope)
    {
        case kAudioUnitScope_Global: writable = StreamFormatWritable (kAudioUnitScope_Output, 0); break;
        case kAudioUnitScope_Input:
            if (GetInput (element)->HasConnection())
                return kAudioUnitErr_PropertyNotWritable;
            writable = StreamFormatWritable (scope, element);
            break;
        case kAudioUnitScope_Output: writable = StreamFormatWritable (scope, element); break;
        default: return kAudioUnitErr_PropertyNotWritable;
    }
    if (! writable)
        return kAudioUnitErr_PropertyNotWritable;
    return ChangeStreamFormat (scope, element, current, format);
}

OSStatus AUBase::DispatchSetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                      const void* inData, UInt32 inDataSize)
{
    const bool global = scope == kAudioUnitScope_Global;

    switch (id)
    {
        case kAudioUnitProperty_ClassInfo:
            if (inDataSize != sizeof (CFPropertyListRef))
                return kAudioUnitErr_InvalidPropertyValue;
            if (! global)
                return kAudioUnitErr_InvalidScope;
            return RestoreState (Read<CFPropertyListRef> (inData));

        case kAudioUnitProperty_MakeConnection:
            if (inDataSize < sizeof (AudioUnitConnection))
                return kAudioUnitErr_InvalidPropertyValue;
            return SetConnection (Read<AudioUnitConnection> (inData));

        case kAudioUnitProperty_SampleRate:
        {
            if (inDataSize != sizeof (Float64))
                return kAudioUnitErr_InvalidPropertyValue;
            if (const OSStatus status = CheckElement (scope, element); status != noErr)
                return status;
            auto format = GetStreamFormat (scope, element);
            format.mSampleRate = Read<Float64> (inData);
            return WriteStreamFormat (scope, element, format);
        }

        case kAudioUnitProperty_StreamFormat:
        {
            if (inDataSize < offsetof (AudioStreamBasicDescription, mReserved))
                return kAudioUnitErr_InvalidPropertyValue;
            if (const OSStatus status = CheckElement (scope, element); status != noErr)
                return status;
            AudioStreamBasicDescription format {};
            std::memcpy (&format, inData, offsetof (AudioStreamBasicDescription, mReserved));
            return WriteStreamFormat (scope, element, format);
        }

        case kAudioUnitProperty_ElementCount:
        {
            if (inDataSize != sizeof (UInt32))
                return kAudioUnitErr_InvalidPropertyValue;
            if (! ElementCountWritable (scope))
                return kAudioUnitErr_PropertyNotWritable;
            if (const OSStatus status = SetElementCount (scope, Read<UInt32> (inData)); status != noErr)
                return status;
            break;
        }

        case kAudioUnitProperty_MaximumFramesPerSlice:
            if (inDataSize != sizeof (UInt32))
                return kAudioUnitErr_InvalidPropertyValue;
            if (const OSStatus status = CanSetMaxFrames(); status != noErr)
                return status;
            SetMaxFramesPerSlice (Read<UInt32> (inData));
            return noErr;

        case kAudioUnitProperty_SetExternalBuffer:
        {
            if (inDataSize < sizeof (AudioUnitExternalBuffer))
                return kAudioUnitErr_InvalidPropertyValue;
            if (! IsInitialized())
                return kAudioUnitErr_Uninitialized;
            const auto buffer = Read<AudioUnitExternalBuffer> (inData);
            if ((reinterpret_cast<uintptr_t> (buffer.buffer) & 15) != 0)
                return kAudio_ParamError;
            AUIOElement* io = scope == kAudioUnitScope_Input ? static_cast<AUIOElement*> (GetInput (element))
                                                             : static_cast<AUIOElement*> (GetOutput (element));
            io->UseExternalBuffer (buffer);
            return noErr;
        }

        case kAudioUnitProperty_AudioChannelLayout:
        {
            // The header must be there before its description count can be read.
            if (inDataSize < offsetof (AudioChannelLayout, mChannelDescriptions))
                return kAudioUnitErr_InvalidPropertyValue;
            const auto count = Read<UInt32> (static_cast<const UInt8*> (inData) + offsetof (AudioChannelLayout, mNumberChannelDescriptions));
            if (UInt64 (inDataSize) < offsetof (AudioChannelLayout, mChannelDescriptions) + UInt64 (count) * sizeof (AudioChannelDescription))
                return kAudioUnitErr_InvalidPropertyValue;
            if (const OSStatus status = SetAudioChannelLayout (scope, element, *static_cast<const AudioChannelLayout*> (inData));
                status != noErr)
                return status;
            break;
        }

        case kAudioUnitProperty_SetRenderCallback:
        {
            if (inDataSize < sizeof (AURenderCallbackStruct))
                return kAudioUnitErr_InvalidPropertyValue;
            if (mAudioUnitAPIVersion < 2)
                return kAudioUnitErr_InvalidProperty;
            const auto callback = Read<AURenderCallbackStruct> (inData);
            return SetInputCallback (kAudioUnitProperty_SetRenderCallback, element, callback.inputProc, callback.inputProcRefCon);
        }

        case kAudioUnitProperty_ContextName:
        {
            if (inDataSize != sizeof (CFStringRef))
                return kAudioUnitErr_InvalidPropertyValue;
            if (! global)
                return kAudioUnitErr_InvalidScope;
            const auto name = Read<CFStringRef> (inData);
            if (name != nullptr)
                CFRetain (name);
            CFRelease (mContextName);
            mContextName = name;
            break;
        }

        case kAudioUnitProperty_HostCallbacks:
        {
            if (! global)
                return kAudioUnitErr_InvalidScope;
            HostCallbackInfo info {};
            std::memcpy (&info, inData, std::min<size_t> (inDataSize, sizeof info));
            const bool changed = std::memcmp (&info, &mHostCallbackInfo, sizeof info) != 0;
            mHostCallbackInfo = info;
            if (! changed)
                return noErr;
            break;
        }

        case kAudioUnitProperty_ElementName:
        {
            if (const OSStatus status = CheckElement (scope, element); status != noErr)
                return status;
            if (inDataSize != sizeof (CFStringRef))
                return kAudioUnitErr_InvalidPropertyValue;
            GetElement (scope, element)->SetName (Read<CFStringRef> (inData));
            break;
        }

        case kAudioUnitProperty_PresentPreset:
        {
            if (inDataSize != sizeof (AUPreset))
                return kAudioUnitErr_InvalidPropertyValue;
            if (! global)
                return kAudioUnitErr_InvalidScope;
            const auto preset = Read<AUPreset> (inData);
            if (preset.presetNumber < 0)
            {
                if (preset.presetName == nullptr)
                    return kAudioUnitErr_InvalidPropertyValue;
                SetCurrentPreset (preset.presetNumber, preset.presetName);
            }
            else if (const OSStatus status = NewFactoryPresetSet (preset); status != noErr)
                return status;
            break;
        }

        default:
            if (const OSStatus status = SetProperty (id, scope, element, inData, inDataSize); status != noErr)
                return status;
            break;
    }

    PropertyChanged (id, scope, element);
    return noErr;
}

OSStatus AUBase::DispatchRemovePropertyValue (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element)
{
    switch (id)
    {
        case kAudioUnitProperty_AudioChannelLayout:
            if (const OSStatus status = RemoveAudioChannelLayout (scope, element); status != noErr)
                return status;
            break;
        case kAudioUnitProperty_ContextName:
            CFRelease (mContextName);
            mContextName = nullptr;
            return noErr;
        case kAudioUnitProperty_HostCallbacks:
        {
            if (scope != kAudioUnitScope_Global)
                return kAudioUnitErr_InvalidScope;
            const HostCallbackInfo empty {};
            if (std::memcmp (&empty, &mHostCallbackInfo, sizeof empty) == 0)
                return noErr;
            mHostCallbackInfo = empty;
            break;
        }
        default: return RemovePropertyValue (id, scope, element);
    }
    PropertyChanged (id, scope, element);
    return noErr;
}
} // namespace kelmora::au
