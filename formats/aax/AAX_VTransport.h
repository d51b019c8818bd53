#pragma once

// The host transport as the plug-in sees it, made on the IACFUnknown the host hands to an effect.
// Without the host's interface, or for the last three operations without its second version,
// every operation answers -20004.

#include "formats/aax/AAX_ITransport.h"
#include "platform/aax/IAAXHostRuntime.h"

namespace kelmora::aax {

class AAX_VTransport : public AAX_ITransport
{
public:
    explicit AAX_VTransport (IACFUnknown* unknown);
    ~AAX_VTransport() override;

    AAX_Result GetCurrentTempo (double* bpm) const override;
    AAX_Result GetCurrentMeter (int32_t* numerator, int32_t* denominator) const override;
    AAX_Result IsTransportPlaying (bool* playing) const override;
    AAX_Result GetCurrentTickPosition (int64_t* tick) const override;
    AAX_Result GetCurrentLoopPosition (bool* looping, int64_t* startTick, int64_t* endTick) const override;
    AAX_Result GetCurrentNativeSampleLocation (int64_t* sampleLocation) const override;
    AAX_Result GetCustomTickPosition (int64_t* tick, int64_t sampleLocation) const override;
    AAX_Result GetBarBeatPosition (int32_t* bars, int32_t* beats, int64_t* displayTicks,
                                   int64_t sampleLocation) const override;
    AAX_Result GetTicksPerQuarter (uint32_t* ticks) const override;
    AAX_Result GetCurrentTicksPerBeat (uint32_t* ticks) const override;
    AAX_Result GetTimelineSelectionStartPosition (int64_t* sampleLocation) const override;
    AAX_Result GetTimeCodeInfo (AAX_FrameRate* frameRate, int32_t* offset) const override;
    AAX_Result GetFeetFramesInfo (AAX_FeetFramesRate* rate, int64_t* offset) const override;

    AAX_VTransport (const AAX_VTransport&) = delete;
    AAX_VTransport& operator= (const AAX_VTransport&) = delete;

private:
    IAAXHostTransport* transport = nullptr;
    IAAXHostTransport_V2* transportV2 = nullptr;
};

} // namespace kelmora::aax
