#include "formats/au/AUElement.h"

#include "formats/au/AUBase.h"
#include "formats/au/BigEndian.h"
#include "formats/au/StatusLadder.h"

#include <cstring>

namespace kelmora::au
{
AUElement::AUElement (AUBase& unit) : mAudioUnit (unit) {}

AUElement::~AUElement() { CFRelease (mElementName); }

UInt32 AUElement::GetNumberOfParameters()
{
    return static_cast<UInt32> (mUseIndexedParameters ? mIndexedParameters.size() : mParameters.size());
}

void AUElement::GetParameterList (AudioUnitParameterID* outList)
{
    if (mUseIndexedParameters)
    {
        for (UInt32 i = 0; i < mIndexedParameters.size(); ++i)
            outList[i] = i;
        return;
    }
    for (auto& entry : mParameters)
        *outList++ = entry.first;
}

void AUElement::UseIndexedParameters (UInt32 count)
{
    mIndexedParameters.resize (count);
    mUseIndexedParameters = true;
}

ParameterMapEvent* AUElement::Lookup (AudioUnitParameterID id)
{
    if (mUseIndexedParameters)
        return id < mIndexedParameters.size() ? &mIndexedParameters[id] : nullptr;
    auto found = mParameters.find (id);
    return found != mParameters.end() ? &found->second : nullptr;
}

const ParameterMapEvent* AUElement::FindParameter (AudioUnitParameterID id) const
{
    return const_cast<AUElement*> (this)->Lookup (id);
}

AudioUnitParameterValue AUElement::GetParameter (AudioUnitParameterID id) const
{
    auto* parameter = FindParameter (id);
    if (parameter == nullptr)
        ThrowStatus (kAudioUnitErr_InvalidParameter);
    return parameter->value1;
}

ParameterMapEvent* AUElement::LookupOrCreate (AudioUnitParameterID id, bool okWhenInitialized)
{
    if (auto* parameter = Lookup (id))
        return parameter;
    if (mUseIndexedParameters)
        ThrowStatus (kAudioUnitErr_InvalidParameter);
    if (mAudioUnit.IsInitialized() && ! okWhenInitialized)
        return nullptr;  // parameters come into being only before initialisation
    return &mParameters[id];
}

void AUElement::SetParameter (AudioUnitParameterID id, AudioUnitParameterValue value, bool okWhenInitialized)
{
    if (auto* parameter = LookupOrCreate (id, okWhenInitialized))
    {
        parameter->eventType = kParameterEvent_Immediate;
        parameter->value1 = value;
        parameter->value2 = value;
    }
}

void AUElement::SetScheduledEvent (AudioUnitParameterID id, const AudioUnitParameterEvent& event, UInt32 sliceOffset,
                                   UInt32 sliceDuration, bool okWhenInitialized)
{
    auto* parameter = LookupOrCreate (id, okWhenInitialized);
    if (parameter == nullptr)
        return;

    parameter->eventType = event.eventType;
    parameter->sliceDuration = sliceDuration;
    if (event.eventType == kParameterEvent_Ramped)
    {
        parameter->startOffset = static_cast<SInt32> (static_cast<SInt64> (event.eventValues.ramp.startBufferOffset)
                                                      - static_cast<SInt64> (sliceOffset));
        parameter->duration = event.eventValues.ramp.durationInFrames;
        parameter->value1 = event.eventValues.ramp.startValue;
        parameter->value2 = event.eventValues.ramp.endValue;
    }
    else
    {
        parameter->value1 = parameter->value2 = event.eventValues.immediate.value;
        parameter->duration = sliceDuration;
        parameter->startOffset = 0;
    }
}

void AUElement::SaveState (CFMutableDataRef data)
{
    const UInt32 count = GetNumberOfParameters();
    std::vector<AudioUnitParameterID> ids (count);
    if (count > 0)
        GetParameterList (ids.data());

    AppendBigEndian (data, count);
    for (auto id : ids)
    {
        UInt32 bits;
        const AudioUnitParameterValue value = FindParameter (id)->value1;
        std::memcpy (&bits, &value, sizeof bits);
        AppendBigEndian (data, id);
        AppendBigEndian (data, bits);
    }
}

const UInt8* AUElement::RestoreState (const UInt8* data, const UInt8* end)
{
    if (data == nullptr || end < data || end - data < 4)
        return nullptr;
    const UInt64 available = static_cast<UInt64> (end - data);
    const UInt64 count = ReadBigEndian (data);
    if (4 + 8 * count > available)
        return nullptr;  // a short block, or a count no block could hold: apply nothing

    const UInt8* p = data + 4;
    for (UInt64 i = 0; i < count; ++i, p += 8)
    {
        const UInt32 bits = ReadBigEndian (p + 4);
        AudioUnitParameterValue value;
        std::memcpy (&value, &bits, sizeof value);
        SetParameter (ReadBigEndian (p), value, false);
    }
    return p;
}

void AUElement::SetName (CFStringRef name)
{
    if (name != nullptr)
        CFRetain (name);
    CFRelease (mElementName);
    mElementName = name;
}
} // namespace kelmora::au
