#pragma once

// The host interfaces an effect instance talks to while it runs, each reached by querying the
// IACFUnknown the host hands to the instance: controller, automation delegate, transport, and the
// view container (queried on the container object the host gives the GUI). A second version
// derives from its first and is reached by its own query.

#include "platform/aax/IACFUnknown.h"
#include "platform/aax/AAXTypes.h"

// The library's string interface (formats/aax/AAX_IString.h); the host only passes it by pointer.
namespace kelmora::aax { class AAX_IString; }

class IAAXHostController : public IACFUnknown
{
public:
    virtual AAX_Result GetEffectID (kelmora::aax::AAX_IString* effectID) = 0;                             // 3
    virtual AAX_Result GetSampleRate (float* sampleRate) = 0;                                             // 4
    virtual AAX_Result GetInputStemFormat (uint32_t* stemFormat) = 0;                                     // 5
    virtual AAX_Result GetOutputStemFormat (uint32_t* stemFormat) = 0;                                    // 6
    virtual AAX_Result GetSignalLatency (int32_t* samples) = 0;                                           // 7
    virtual AAX_Result GetCycleCount (uint32_t which, int32_t* cycles) = 0;                               // 8
    virtual AAX_Result GetTODLocation (int64_t* location) = 0;                                            // 9
    virtual AAX_Result SetSignalLatency (int32_t samples) = 0;                                            // 10
    virtual AAX_Result SetCycleCount (uint32_t* which, int32_t* values, int32_t count) = 0;               // 11
    virtual AAX_Result PostPacket (AAX_FieldIndex field, const void* payload, uint32_t size) = 0;         // 12
    virtual AAX_Result GetCurrentMeterValue (uint32_t meterID, float* value) = 0;                         // 13
    virtual AAX_Result GetMeterPeakValue (uint32_t meterID, float* value) = 0;                            // 14
    virtual AAX_Result ClearMeterPeakValue (uint32_t meterID) = 0;                                        // 15
    virtual AAX_Result GetMeterClipped (uint32_t meterID, bool* clipped) = 0;                             // 16
    virtual AAX_Result ClearMeterClipped (uint32_t meterID) = 0;                                          // 17
    virtual AAX_Result GetMeterCount (uint32_t* count) = 0;                                               // 18
    virtual AAX_Result GetNextMIDIPacket (uint32_t* port, AAX_MidiPacket* packet) = 0;                    // 19

protected:
    ~IAAXHostController() = default;
};

class IAAXHostController_V2 : public IAAXHostController
{
public:
    virtual AAX_Result SendNotification (uint32_t type, const void* data, uint32_t size) = 0;             // 20
    virtual AAX_Result GetHybridSignalLatency (int32_t* samples) = 0;                                     // 21
    virtual AAX_Result GetCurrentAutomationTimestamp (int64_t* timestamp) = 0;                            // 22
    virtual AAX_Result GetHostName (kelmora::aax::AAX_IString* name) = 0;                                 // 23

protected:
    ~IAAXHostController_V2() = default;
};

/** Parameter identifiers are NUL-terminated texts. */
class IAAXHostAutomationDelegate : public IACFUnknown
{
public:
    virtual AAX_Result RegisterParameter (const char* parameterID) = 0;                                   // 3
    virtual AAX_Result UnregisterParameter (const char* parameterID) = 0;                                 // 4
    virtual AAX_Result PostSetValueRequest (const char* parameterID, double normalizedValue) = 0;         // 5
    virtual AAX_Result PostCurrentValue (const char* parameterID, double normalizedValue) = 0;            // 6
    virtual AAX_Result PostTouchRequest (const char* parameterID) = 0;                                    // 7
    virtual AAX_Result PostReleaseRequest (const char* parameterID) = 0;                                  // 8
    virtual AAX_Result GetTouchState (const char* parameterID, bool* touched) = 0;                        // 9

protected:
    ~IAAXHostAutomationDelegate() = default;
};

class IAAXHostTransport : public IACFUnknown
{
public:
    virtual AAX_Result GetCurrentTempo (double* bpm) = 0;                                                 // 3
    virtual AAX_Result GetCurrentMeter (int32_t* numerator, int32_t* denominator) = 0;                    // 4
    virtual AAX_Result IsTransportPlaying (bool* playing) = 0;                                            // 5
    virtual AAX_Result GetCurrentTickPosition (int64_t* tick) = 0;                                        // 6
    virtual AAX_Result GetCurrentLoopPosition (bool* looping, int64_t* startTick, int64_t* endTick) = 0;  // 7
    virtual AAX_Result GetCurrentNativeSampleLocation (int64_t* sampleLocation) = 0;                      // 8
    virtual AAX_Result GetCustomTickPosition (int64_t* tick, int64_t sampleLocation) = 0;                 // 9
    virtual AAX_Result GetBarBeatPosition (int32_t* bars, int32_t* beats, int64_t* displayTicks,
                                           int64_t sampleLocation) = 0;                                   // 10
    virtual AAX_Result GetTicksPerQuarter (uint32_t* ticks) = 0;                                          // 11
    virtual AAX_Result GetCurrentTicksPerBeat (uint32_t* ticks) = 0;                                      // 12

protected:
    ~IAAXHostTransport() = default;
};

class IAAXHostTransport_V2 : public IAAXHostTransport
{
public:
    virtual AAX_Result GetTimelineSelectionStartPosition (int64_t* sampleLocation) = 0;                   // 13
    virtual AAX_Result GetTimeCodeInfo (AAX_FrameRate* frameRate, int32_t* offset) = 0;                   // 14
    virtual AAX_Result GetFeetFramesInfo (AAX_FeetFramesRate* rate, int64_t* offset) = 0;                 // 15

protected:
    ~IAAXHostTransport_V2() = default;
};

/** GetType answers one of the view-container type codes of AAXConstants.h. */
class IAAXHostViewContainer : public IACFUnknown
{
public:
    virtual int32_t GetType() = 0;                                                                        // 3
    virtual void* GetPtr() = 0;                                                                           // 4
    virtual AAX_Result GetModifiers (uint32_t* modifiers) = 0;                                            // 5
    virtual AAX_Result SetViewSize (AAX_Point& size) = 0;                                                 // 6
    virtual AAX_Result HandleParameterMouseDown (const char* parameterID, uint32_t modifiers) = 0;        // 7
    virtual AAX_Result HandleParameterMouseDrag (const char* parameterID, uint32_t modifiers) = 0;        // 8
    virtual AAX_Result HandleParameterMouseUp (const char* parameterID, uint32_t modifiers) = 0;          // 9

protected:
    ~IAAXHostViewContainer() = default;
};
