#pragma once

#include "formats/au/AUEffectBase.h"

namespace kelmora::au
{
/** A unit's MIDI input: refuses events until the unit is initialised, splits them by status into
    one handler per message kind (each does nothing here), and answers the MIDI-names property. */
class AUMIDIBase
{
public:
    explicit AUMIDIBase (AUBase* unit) : mAUBaseInstance (unit) {}
    virtual ~AUMIDIBase() = default;

    AUMIDIBase (const AUMIDIBase&) = delete;
    AUMIDIBase& operator= (const AUMIDIBase&) = delete;

    virtual OSStatus MIDIEvent (UInt32 status, UInt32 data1, UInt32 data2, UInt32 offsetSampleFrame);
    virtual OSStatus forwardMIDIIfInitialized (const UInt8* data, UInt32 length);  // system exclusive

    virtual OSStatus DelegateGetPropertyInfo (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                              UInt32& outDataSize, Boolean& outWritable);
    virtual OSStatus DelegateGetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData);
    virtual OSStatus DelegateSetProperty (AudioUnitPropertyID, AudioUnitScope, AudioUnitElement, const void*, UInt32)
    {
        return kAudioUnitErr_InvalidProperty;
    }

    virtual OSStatus HandleMidiEvent (UInt8 status, UInt8 channel, UInt8 data1, UInt8 data2, UInt32 offset);
    virtual OSStatus HandleNonNoteEvent (UInt8 status, UInt8 channel, UInt8 data1, UInt8 data2, UInt32 offset);
    // The location of the unit's MIDI names document; null out only asks whether there is one.
    virtual OSStatus GetXMLNames (CFURLRef* outLocation) { return kAudioUnitErr_InvalidProperty; }

    virtual OSStatus HandleNoteOn (UInt8 channel, UInt8 note, UInt8 velocity, UInt32 offset) { return noErr; }
    virtual OSStatus HandleNoteOff (UInt8 channel, UInt8 note, UInt8 velocity, UInt32 offset) { return noErr; }
    virtual OSStatus HandleControlChange (UInt8 channel, UInt8 controller, UInt8 value, UInt32 offset) { return noErr; }
    virtual OSStatus HandlePitchWheel (UInt8 channel, UInt8 low7, UInt8 high7, UInt32 offset) { return noErr; }
    virtual OSStatus HandleChannelPressure (UInt8 channel, UInt8 value, UInt32 offset) { return noErr; }
    virtual OSStatus HandleProgramChange (UInt8 channel, UInt8 program) { return noErr; }
    virtual OSStatus HandlePolyPressure (UInt8 channel, UInt8 note, UInt8 value, UInt32 offset) { return noErr; }
    virtual OSStatus HandleResetAllControllers (UInt8 channel) { return noErr; }
    virtual OSStatus HandleAllNotesOff (UInt8 channel) { return noErr; }
    virtual OSStatus HandleAllSoundOff (UInt8 channel) { return noErr; }
    virtual OSStatus HandleSysEx (const UInt8* data, UInt32 length) { return noErr; }

    // The Component Manager's MIDI selectors (257 event, 258 system exclusive) for this part.
    static OSStatus ComponentEntryDispatch (ComponentParameters* params, AUMIDIBase* part);

private:
    AUBase* mAUBaseInstance;
};

/** An effect that also takes MIDI: the effect answers first, the MIDI part where the effect
    knows no such property. */
class AUMIDIEffectBase : public AUEffectBase, public AUMIDIBase
{
public:
    AUMIDIEffectBase (AudioComponentInstance instance, bool processesInPlace = false)
        : AUEffectBase (instance, processesInPlace), AUMIDIBase (this)
    {
    }

    OSStatus GetPropertyInfo (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                              UInt32& outDataSize, Boolean& outWritable) override;
    OSStatus GetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData) override;
    OSStatus SetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const void* inData,
                          UInt32 inDataSize) override;

    // The unit's MIDI operations go to the MIDI part.
    OSStatus MIDIEvent (UInt32 status, UInt32 data1, UInt32 data2, UInt32 offsetSampleFrame) override
    {
        return AUMIDIBase::MIDIEvent (status, data1, data2, offsetSampleFrame);
    }
    OSStatus SysEx (const UInt8* data, UInt32 length) override { return forwardMIDIIfInitialized (data, length); }

    // Null storage answers -50; 257 and 258 go to the MIDI part, the rest to the unit.
    static OSStatus ComponentEntryDispatch (ComponentParameters* params, AUMIDIEffectBase* unit);
};

// Handed out through the fast-dispatch property; context is the unit object (storage).
OSStatus AUFastDispatchMIDIEvent (void* context, UInt32 status, UInt32 data1, UInt32 data2, UInt32 offsetSampleFrame);
} // namespace kelmora::au
