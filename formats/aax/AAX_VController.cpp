#include "formats/aax/AAX_VController.h"

#include "formats/aax/AAX_HostInterfaces.h"

namespace kelmora::aax {

AAX_VController::AAX_VController (IACFUnknown* unknown)
    : controller (QueryHostInterface<IAAXHostController> (unknown, kAAXID_Controller)),
      controllerV2 (QueryHostInterface<IAAXHostController_V2> (unknown, kAAXID_Controller_V2))
{
}

AAX_VController::~AAX_VController()
{
    ReleaseHostInterface (controllerV2);
    ReleaseHostInterface (controller);
}

#define FORWARD(call) return controller != nullptr ? controller->call : kAAXNullObject
#define FORWARD_V2(call) return controllerV2 != nullptr ? controllerV2->call : kAAXNotSupported

AAX_Result AAX_VController::GetEffectID (AAX_IString* id) const { FORWARD (GetEffectID (id)); }
AAX_Result AAX_VController::GetSampleRate (float* rate) const { FORWARD (GetSampleRate (rate)); }
AAX_Result AAX_VController::GetInputStemFormat (uint32_t* format) const { FORWARD (GetInputStemFormat (format)); }
AAX_Result AAX_VController::GetOutputStemFormat (uint32_t* format) const { FORWARD (GetOutputStemFormat (format)); }
AAX_Result AAX_VController::GetSignalLatency (int32_t* samples) const { FORWARD (GetSignalLatency (samples)); }
AAX_Result AAX_VController::GetCycleCount (uint32_t which, int32_t* cycles) const { FORWARD (GetCycleCount (which, cycles)); }
AAX_Result AAX_VController::GetTODLocation (int64_t* location) const { FORWARD (GetTODLocation (location)); }
AAX_Result AAX_VController::SetSignalLatency (int32_t samples) { FORWARD (SetSignalLatency (samples)); }

AAX_Result AAX_VController::SetCycleCount (uint32_t* which, int32_t* values, int32_t count)
{
    FORWARD (SetCycleCount (which, values, count));
}

AAX_Result AAX_VController::PostPacket (AAX_FieldIndex field, const void* payload, uint32_t size)
{
    FORWARD (PostPacket (field, payload, size));
}

AAX_Result AAX_VController::SendNotification (uint32_t type, const void* data, uint32_t size)
{
    FORWARD_V2 (SendNotification (type, data, size));
}

AAX_Result AAX_VController::GetCurrentMeterValue (uint32_t id, float* value) const { FORWARD (GetCurrentMeterValue (id, value)); }
AAX_Result AAX_VController::GetMeterPeakValue (uint32_t id, float* value) const { FORWARD (GetMeterPeakValue (id, value)); }
AAX_Result AAX_VController::ClearMeterPeakValue (uint32_t id) const { FORWARD (ClearMeterPeakValue (id)); }
AAX_Result AAX_VController::GetMeterCount (uint32_t* count) const { FORWARD (GetMeterCount (count)); }
AAX_Result AAX_VController::GetMeterClipped (uint32_t id, bool* clipped) const { FORWARD (GetMeterClipped (id, clipped)); }
AAX_Result AAX_VController::ClearMeterClipped (uint32_t id) const { FORWARD (ClearMeterClipped (id)); }
AAX_Result AAX_VController::GetNextMIDIPacket (uint32_t* port, AAX_MidiPacket* packet) { FORWARD (GetNextMIDIPacket (port, packet)); }
AAX_Result AAX_VController::GetHybridSignalLatency (int32_t* samples) const { FORWARD_V2 (GetHybridSignalLatency (samples)); }

AAX_Result AAX_VController::GetCurrentAutomationTimestamp (int64_t* timestamp) const
{
    if (controllerV2 == nullptr)
    {
        if (timestamp != nullptr)
            *timestamp = 0;

        return kAAXNotSupported;
    }

    return controllerV2->GetCurrentAutomationTimestamp (timestamp);
}

AAX_Result AAX_VController::GetHostName (AAX_IString* name) const { FORWARD_V2 (GetHostName (name)); }

#undef FORWARD
#undef FORWARD_V2

} // namespace kelmora::aax
