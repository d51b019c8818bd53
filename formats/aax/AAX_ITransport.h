#pragma once

// The plug-in's view of the host transport (tempo, meter, positions).
// AAX_VTransport implements it on the host's transport interface.

#include "platform/aax/AAXResults.h"
#include "platform/aax/AAXTypes.h"

namespace kelmora::aax {

class AAX_ITransport
{
public:
    virtual ~AAX_ITransport() = default;

    virtual AAX_Result GetCurrentTempo (double* bpm) const = 0;
    virtual AAX_Result GetCurrentMeter (int32_t* numerator, int32_t* denominator) const = 0;
    virtual AAX_Result IsTransportPlaying (bool* playing) const = 0;
    virtual AAX_Result GetCurrentTickPosition (int64_t* tick) const = 0;
    virtual AAX_Result GetCurrentLoopPosition (bool* looping, int64_t* startTick, int64_t* endTick) const = 0;
    virtual AAX_Result GetCurrentNativeSampleLocation (int64_t* sampleLocation) const = 0;
    virtual AAX_Result GetCustomTickPosition (int64_t* tick, int64_t sampleLocation) const = 0;
    virtual AAX_Result GetBarBeatPosition (int32_t* bars, int32_t* beats, int64_t* displayTicks,
                                           int64_t sampleLocation) const = 0;
    virtual AAX_Result GetTicksPerQuarter (uint32_t* ticks) const = 0;
    virtual AAX_Result GetCurrentTicksPerBeat (uint32_t* ticks) const = 0;
    virtual AAX_Result GetTimelineSelectionStartPosition (int64_t* sampleLocation) const = 0;
    virtual AAX_Result GetTimeCodeInfo (AAX_FrameRate* frameRate, int32_t* offset) const = 0;
    virtual AAX_Result GetFeetFramesInfo (AAX_FeetFramesRate* rate, int64_t* offset) const = 0;
};

} // namespace kelmora::aax
