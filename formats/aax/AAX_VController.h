#pragma once

// The host controller as the plug-in sees it, made on the IACFUnknown the host hands to an
// effect. Without the host's controller interface every operation answers -20004; without its
// second version the four second-version operations answer -20009.

#include "formats/aax/AAX_IController.h"
#include "platform/aax/IAAXHostRuntime.h"

namespace kelmora::aax {

class AAX_VController : public AAX_IController
{
public:
    explicit AAX_VController (IACFUnknown* unknown);
    ~AAX_VController() override;

    AAX_Result GetEffectID (AAX_IString* effectID) const override;
    AAX_Result GetSampleRate (float* sampleRate) const override;
    AAX_Result GetInputStemFormat (uint32_t* stemFormat) const override;
    AAX_Result GetOutputStemFormat (uint32_t* stemFormat) const override;
    AAX_Result GetSignalLatency (int32_t* samples) const override;
    AAX_Result GetCycleCount (uint32_t which, int32_t* cycles) const override;
    AAX_Result GetTODLocation (int64_t* location) const override;
    AAX_Result SetSignalLatency (int32_t samples) override;
    AAX_Result SetCycleCount (uint32_t* which, int32_t* values, int32_t count) override;
    AAX_Result PostPacket (AAX_FieldIndex field, const void* payload, uint32_t size) override;
    AAX_Result SendNotification (uint32_t type, const void* data, uint32_t size) override;
    AAX_Result GetCurrentMeterValue (uint32_t meterID, float* value) const override;
    AAX_Result GetMeterPeakValue (uint32_t meterID, float* value) const override;
    AAX_Result ClearMeterPeakValue (uint32_t meterID) const override;
    AAX_Result GetMeterCount (uint32_t* count) const override;
    AAX_Result GetMeterClipped (uint32_t meterID, bool* clipped) const override;
    AAX_Result ClearMeterClipped (uint32_t meterID) const override;
    AAX_Result GetNextMIDIPacket (uint32_t* port, AAX_MidiPacket* packet) override;
    AAX_Result GetHybridSignalLatency (int32_t* samples) const override;
    AAX_Result GetCurrentAutomationTimestamp (int64_t* timestamp) const override;  // writes 0 without the host's
    AAX_Result GetHostName (AAX_IString* name) const override;

    AAX_VController (const AAX_VController&) = delete;
    AAX_VController& operator= (const AAX_VController&) = delete;

private:
    IAAXHostController* controller = nullptr;
    IAAXHostController_V2* controllerV2 = nullptr;
};

} // namespace kelmora::aax
