#pragma once

// The plug-in's view of the host controller (sample rate, stem formats, latency, packets, meters).
// AAX_VController implements it on the host's controller interface.

#include "formats/aax/AAX_IString.h"
#include "platform/aax/AAXResults.h"
#include "platform/aax/AAXTypes.h"

namespace kelmora::aax {

class AAX_IController
{
public:
    virtual ~AAX_IController() = default;

    virtual AAX_Result GetEffectID (AAX_IString* effectID) const = 0;
    virtual AAX_Result GetSampleRate (float* sampleRate) const = 0;
    virtual AAX_Result GetInputStemFormat (uint32_t* stemFormat) const = 0;
    virtual AAX_Result GetOutputStemFormat (uint32_t* stemFormat) const = 0;
    virtual AAX_Result GetSignalLatency (int32_t* samples) const = 0;
    virtual AAX_Result GetCycleCount (uint32_t which, int32_t* cycles) const = 0;
    virtual AAX_Result GetTODLocation (int64_t* location) const = 0;
    virtual AAX_Result SetSignalLatency (int32_t samples) = 0;
    virtual AAX_Result SetCycleCount (uint32_t* which, int32_t* values, int32_t count) = 0;
    virtual AAX_Result PostPacket (AAX_FieldIndex field, const void* payload, uint32_t size) = 0;
    virtual AAX_Result SendNotification (uint32_t type, const void* data, uint32_t size) = 0;
    virtual AAX_Result GetCurrentMeterValue (uint32_t meterID, float* value) const = 0;
    virtual AAX_Result GetMeterPeakValue (uint32_t meterID, float* value) const = 0;
    virtual AAX_Result ClearMeterPeakValue (uint32_t meterID) const = 0;
    virtual AAX_Result GetMeterCount (uint32_t* count) const = 0;
    virtual AAX_Result GetMeterClipped (uint32_t meterID, bool* clipped) const = 0;
    virtual AAX_Result ClearMeterClipped (uint32_t meterID) const = 0;
    virtual AAX_Result GetNextMIDIPacket (uint32_t* port, AAX_MidiPacket* packet) = 0;
    virtual AAX_Result GetHybridSignalLatency (int32_t* samples) const = 0;
    virtual AAX_Result GetCurrentAutomationTimestamp (int64_t* timestamp) const = 0;
    virtual AAX_Result GetHostName (AAX_IString* name) const = 0;
};

} // namespace kelmora::aax
