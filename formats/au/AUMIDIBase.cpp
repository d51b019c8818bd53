#include "formats/au/AUMIDIBase.h"

#include "formats/au/StatusLadder.h"

#include <cstring>

namespace kelmora::au
{
namespace
{
// The one property the MIDI part knows lives in the global scope, element 0.
OSStatus CheckMIDINamesAddress (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element)
{
    if (id != kMusicDeviceProperty_MIDIXMLNames)
        return kAudioUnitErr_InvalidProperty;
    if (scope != kAudioUnitScope_Global)
        return kAudioUnitErr_InvalidScope;
    return element == 0 ? OSStatus (noErr) : OSStatus (kAudioUnitErr_InvalidElement);
}
} // namespace

OSStatus AUMIDIBase::MIDIEvent (UInt32 status, UInt32 data1, UInt32 data2, UInt32 offsetSampleFrame)
{
    return HandleMidiEvent (UInt8 (status & 0xF0), UInt8 (status & 0x0F), UInt8 (data1 & 0xFF), UInt8 (data2 & 0xFF),
                            offsetSampleFrame);
}

OSStatus AUMIDIBase::forwardMIDIIfInitialized (const UInt8* data, UInt32 length)
{
    if (! mAUBaseInstance->IsInitialized())
        return kAudioUnitErr_Uninitialized;
    return HandleSysEx (data, length);
}

OSStatus AUMIDIBase::DelegateGetPropertyInfo (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                              UInt32& outDataSize, Boolean& outWritable)
{
    if (const OSStatus status = CheckMIDINamesAddress (id, scope, element); status != noErr)
        return status;
    if (GetXMLNames (nullptr) != noErr)
        return kAudioUnitErr_InvalidProperty;
    outDataSize = sizeof (CFURLRef);
    outWritable = false;
    return noErr;
}

OSStatus AUMIDIBase::DelegateGetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData)
{
    if (const OSStatus status = CheckMIDINamesAddress (id, scope, element); status != noErr)
        return status;
    return GetXMLNames (static_cast<CFURLRef*> (outData));
}

OSStatus AUMIDIBase::HandleMidiEvent (UInt8 status, UInt8 channel, UInt8 data1, UInt8 data2, UInt32 offset)
{
    if (! mAUBaseInstance->IsInitialized())
        return kAudioUnitErr_Uninitialized;
    if (status == 0x80 || (status == 0x90 && data2 == 0))
        return HandleNoteOff (channel, data1, data2, offset);
    if (status == 0x90)
        return HandleNoteOn (channel, data1, data2, offset);
    return HandleNonNoteEvent (status, channel, data1, data2, offset);
}

OSStatus AUMIDIBase::HandleNonNoteEvent (UInt8 status, UInt8 channel, UInt8 data1, UInt8 data2, UInt32 offset)
{
    switch (status)
    {
        case 0xA0: return HandlePolyPressure (channel, data1, data2, offset);
        case 0xB0:
            switch (data1)
            {
                case 120: return HandleAllSoundOff (channel);
                case 121: return HandleResetAllControllers (channel);
                case 123: return HandleAllNotesOff (channel);
                default: return HandleControlChange (channel, data1, data2, offset);
            }
        case 0xC0: return HandleProgramChange (channel, data1);
        case 0xD0: return HandleChannelPressure (channel, data1, offset);
        case 0xE0: return HandlePitchWheel (channel, data1, data2, offset);
        default: return noErr;
    }
}

OSStatus AUMIDIBase::ComponentEntryDispatch (ComponentParameters* params, AUMIDIBase* part)
{
    if (part == nullptr)
        return kAudio_ParamError;
    auto word = [params] (int i) { return static_cast<UInt32> (params->params[i]); };
    switch (params->what)
    {
        case kMusicDeviceSysExSelect:
            return part->forwardMIDIIfInitialized (reinterpret_cast<const UInt8*> (params->params[1]), word (2));
        case kMusicDeviceMIDIEventSelect: return part->MIDIEvent (word (1), word (2), word (3), word (4));
        default: return badComponentSelector;
    }
}

//==============================================================================
OSStatus AUMIDIEffectBase::GetPropertyInfo (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                            UInt32& outDataSize, Boolean& outWritable)
{
    const OSStatus status = AUEffectBase::GetPropertyInfo (id, scope, element, outDataSize, outWritable);
    return status == kAudioUnitErr_InvalidProperty ? DelegateGetPropertyInfo (id, scope, element, outDataSize, outWritable)
                                                   : status;
}

OSStatus AUMIDIEffectBase::GetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData)
{
    if (id == kAudioUnitProperty_FastDispatch)
    {
        if (element != kMusicDeviceMIDIEventSelect)
            return kAudioUnitErr_InvalidElement;
        const MusicDeviceMIDIEventProc proc = &AUFastDispatchMIDIEvent;
        std::memcpy (outData, &proc, sizeof proc);
        return noErr;
    }
    const OSStatus status = AUEffectBase::GetProperty (id, scope, element, outData);
    return status == kAudioUnitErr_InvalidProperty ? DelegateGetProperty (id, scope, element, outData) : status;
}

OSStatus AUMIDIEffectBase::SetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                        const void* inData, UInt32 inDataSize)
{
    const OSStatus status = AUEffectBase::SetProperty (id, scope, element, inData, inDataSize);
    return status == kAudioUnitErr_InvalidProperty ? DelegateSetProperty (id, scope, element, inData, inDataSize) : status;
}

OSStatus AUMIDIEffectBase::ComponentEntryDispatch (ComponentParameters* params, AUMIDIEffectBase* unit)
{
    if (unit == nullptr)
        return kAudio_ParamError;
    if (params->what == kMusicDeviceMIDIEventSelect || params->what == kMusicDeviceSysExSelect)
        return AUMIDIBase::ComponentEntryDispatch (params, unit);
    return AUBase::ComponentEntryDispatch (params, unit);
}

OSStatus AUFastDispatchMIDIEvent (void* context, UInt32 status, UInt32 data1, UInt32 data2, UInt32 offsetSampleFrame)
{
    if (context == nullptr)
        return kAudio_ParamError;
    return CallWithStatusLadder ([&] {
        auto* part = dynamic_cast<AUMIDIBase*> (static_cast<AUBase*> (context));
        return part != nullptr ? part->MIDIEvent (status, data1, data2, offsetSampleFrame) : OSStatus (kAudio_ParamError);
    });
}
} // namespace kelmora::au
