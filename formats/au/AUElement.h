#pragma once

#include "platform/au/AudioUnitTypes.h"

#include <map>
#include <vector>

namespace kelmora::au
{
class AUBase;
class AUIOElement;

/** One parameter's value in an element, and the event that set it for the current slice. */
struct ParameterMapEvent
{
    AUParameterEventType eventType = kParameterEvent_Immediate;
    SInt32 startOffset = 0;
    UInt32 duration = 0;
    AudioUnitParameterValue value1 = 0; // the value reported for the parameter
    AudioUnitParameterValue value2 = 0; // a ramp's end value
    UInt32 sliceDuration = 0;
};

/** An element of a scope: its parameters (kept by id, or by index once indexed) and its name. */
class AUElement
{
public:
    explicit AUElement (AUBase& unit);
    virtual ~AUElement();

    AUElement (const AUElement&) = delete;
    AUElement& operator= (const AUElement&) = delete;

    virtual UInt32 GetNumberOfParameters();
    virtual void GetParameterList (AudioUnitParameterID* outList);
    virtual void UseIndexedParameters (UInt32 count);
    virtual AUIOElement* AsIOElement() { return nullptr; }

    AUBase& GetAudioUnit() const noexcept { return mAudioUnit; }

    // Throws kAudioUnitErr_InvalidParameter for a parameter that does not exist.
    AudioUnitParameterValue GetParameter (AudioUnitParameterID id) const;
    const ParameterMapEvent* FindParameter (AudioUnitParameterID id) const;

    // A missing parameter is created only in map mode and only while the unit is not initialised
    // (or when allowed); otherwise nothing happens. Indexed mode throws for a missing one.
    void SetParameter (AudioUnitParameterID id, AudioUnitParameterValue value, bool okWhenInitialized = false);
    void SetScheduledEvent (AudioUnitParameterID id, const AudioUnitParameterEvent& event, UInt32 sliceOffset,
                            UInt32 sliceDuration, bool okWhenInitialized = false);

    // The big-endian parameter block: count, then (id, value bits) per parameter.
    void SaveState (CFMutableDataRef data);
    // Answers the position after the block, or null when the block does not fit between data
    // and end (then nothing is applied).
    const UInt8* RestoreState (const UInt8* data, const UInt8* end);

    CFStringRef GetName() const noexcept { return mElementName; }
    void SetName (CFStringRef name);
    bool HasName() const noexcept { return mElementName != nullptr; }

private:
    ParameterMapEvent* Lookup (AudioUnitParameterID id);
    ParameterMapEvent* LookupOrCreate (AudioUnitParameterID id, bool okWhenInitialized);

    AUBase& mAudioUnit;
    std::map<AudioUnitParameterID, ParameterMapEvent> mParameters;
    bool mUseIndexedParameters = false;
    std::vector<ParameterMapEvent> mIndexedParameters;
    CFStringRef mElementName = nullptr;
};
} // namespace kelmora::au
