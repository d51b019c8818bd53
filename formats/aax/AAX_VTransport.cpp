#include "formats/aax/AAX_VTransport.h"

#include "formats/aax/AAX_HostInterfaces.h"

namespace kelmora::aax {

AAX_VTransport::AAX_VTransport (IACFUnknown* unknown)
    : transport (QueryHostInterface<IAAXHostTransport> (unknown, kAAXID_Transport)),
      transportV2 (QueryHostInterface<IAAXHostTransport_V2> (unknown, kAAXID_Transport_V2))
{
}

AAX_VTransport::~AAX_VTransport()
{
    ReleaseHostInterface (transportV2);
    ReleaseHostInterface (transport);
}

#define FORWARD(call) return transport != nullptr ? transport->call : kAAXNullObject
#define FORWARD_V2(call) return transportV2 != nullptr ? transportV2->call : kAAXNullObject

AAX_Result AAX_VTransport::GetCurrentTempo (double* bpm) const { FORWARD (GetCurrentTempo (bpm)); }

AAX_Result AAX_VTransport::GetCurrentMeter (int32_t* numerator, int32_t* denominator) const
{
    FORWARD (GetCurrentMeter (numerator, denominator));
}

AAX_Result AAX_VTransport::IsTransportPlaying (bool* playing) const { FORWARD (IsTransportPlaying (playing)); }
AAX_Result AAX_VTransport::GetCurrentTickPosition (int64_t* tick) const { FORWARD (GetCurrentTickPosition (tick)); }

AAX_Result AAX_VTransport::GetCurrentLoopPosition (bool* looping, int64_t* startTick, int64_t* endTick) const
{
    FORWARD (GetCurrentLoopPosition (looping, startTick, endTick));
}

AAX_Result AAX_VTransport::GetCurrentNativeSampleLocation (int64_t* location) const
{
    FORWARD (GetCurrentNativeSampleLocation (location));
}

AAX_Result AAX_VTransport::GetCustomTickPosition (int64_t* tick, int64_t location) const
{
    FORWARD (GetCustomTickPosition (tick, location));
}

AAX_Result AAX_VTransport::GetBarBeatPosition (int32_t* bars, int32_t* beats, int64_t* displayTicks,
                                               int64_t location) const
{
    FORWARD (GetBarBeatPosition (bars, beats, displayTicks, location));
}

AAX_Result AAX_VTransport::GetTicksPerQuarter (uint32_t* ticks) const { FORWARD (GetTicksPerQuarter (ticks)); }
AAX_Result AAX_VTransport::GetCurrentTicksPerBeat (uint32_t* ticks) const { FORWARD (GetCurrentTicksPerBeat (ticks)); }

AAX_Result AAX_VTransport::GetTimelineSelectionStartPosition (int64_t* location) const
{
    FORWARD_V2 (GetTimelineSelectionStartPosition (location));
}

AAX_Result AAX_VTransport::GetTimeCodeInfo (AAX_FrameRate* frameRate, int32_t* offset) const
{
    FORWARD_V2 (GetTimeCodeInfo (frameRate, offset));
}

AAX_Result AAX_VTransport::GetFeetFramesInfo (AAX_FeetFramesRate* rate, int64_t* offset) const
{
    FORWARD_V2 (GetFeetFramesInfo (rate, offset));
}

#undef FORWARD
#undef FORWARD_V2

} // namespace kelmora::aax
