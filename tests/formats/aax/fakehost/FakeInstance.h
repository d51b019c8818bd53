#pragma once

// The host side of one effect instance: FakeInstance owns the IACFUnknown a host hands to the
// plug-in's Initialize, which answers the controller, the automation delegate and the transport
// (second versions switchable off), and, when given one, the plug-in's effect-parameters object.
// FakeViewContainer is the window object a host gives the GUI. Every call is logged under
// "controller", "automation", "transport" or "viewContainer" with its method number.
//
//     FakeInstance instance;
//     effect->Initialize (instance.unknown());
//     instance.controller().packets;          // what PostPacket delivered
//     instance.automation().onSetValueRequest = [&] (const char* id, double v) { ... };

#include "formats/aax/fakehost/CallLog.h"
#include "formats/aax/fakehost/FakeObject.h"

#include "platform/aax/IAAXHostRuntime.h"

#include <functional>
#include <mutex>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace quietline::test::aax
{
struct FakeInstanceOptions
{
    bool controller = true;
    bool controllerV2 = true;
    bool automationDelegate = true;
    bool transport = true;
    bool transportV2 = true;
    AAX_Result hostResult = kAAXSuccess;  // what every logged host method answers
};

struct FakeInstanceContext
{
    std::shared_ptr<CallLog> log;
    std::shared_ptr<FakeInstanceOptions> options;
};

class FakeController : public FakeUnknown<IAAXHostController_V2>
{
public:
    explicit FakeController (FakeInstanceContext context);

    struct Packet
    {
        AAX_FieldIndex field;
        std::vector<uint8_t> bytes;
    };

    // What the getters answer, and what the setters and PostPacket received.
    float sampleRate = 96000.0f;
    uint32_t inputStemFormat = 2, outputStemFormat = 2;
    int32_t signalLatency = 0, hybridLatency = 0;
    int64_t automationTimestamp = 1234;
    std::string effectID = "fake.effect", hostName = "Fake Host";
    std::vector<Packet> packets;

    AAX_Result GetEffectID (kelmora::aax::AAX_IString* id) override;
    AAX_Result GetSampleRate (float* rate) override;
    AAX_Result GetInputStemFormat (uint32_t* format) override;
    AAX_Result GetOutputStemFormat (uint32_t* format) override;
    AAX_Result GetSignalLatency (int32_t* samples) override;
    AAX_Result GetCycleCount (uint32_t which, int32_t* cycles) override;
    AAX_Result GetTODLocation (int64_t* location) override;
    AAX_Result SetSignalLatency (int32_t samples) override;
    AAX_Result SetCycleCount (uint32_t* which, int32_t* values, int32_t count) override;
    AAX_Result PostPacket (AAX_FieldIndex field, const void* payload, uint32_t size) override;
    AAX_Result GetCurrentMeterValue (uint32_t meterID, float* value) override;
    AAX_Result GetMeterPeakValue (uint32_t meterID, float* value) override;
    AAX_Result ClearMeterPeakValue (uint32_t meterID) override;
    AAX_Result GetMeterClipped (uint32_t meterID, bool* clipped) override;
    AAX_Result ClearMeterClipped (uint32_t meterID) override;
    AAX_Result GetMeterCount (uint32_t* count) override;
    AAX_Result GetNextMIDIPacket (uint32_t* port, AAX_MidiPacket* packet) override;
    AAX_Result SendNotification (uint32_t type, const void* data, uint32_t size) override;
    AAX_Result GetHybridSignalLatency (int32_t* samples) override;
    AAX_Result GetCurrentAutomationTimestamp (int64_t* timestamp) override;
    AAX_Result GetHostName (kelmora::aax::AAX_IString* name) override;

protected:
    void* answer (const acfUID& interfaceID) override;

private:
    AAX_Result logged (int method, std::vector<std::string> args);
    FakeInstanceContext context;
    std::mutex packetLock;
};

/** Keeps the registered and touched parameters; the hooks let a test play the host's answer
    (for example calling the effect's UpdateParameterNormalizedValue on a set request). */
class FakeAutomationDelegate : public FakeUnknown<IAAXHostAutomationDelegate>
{
public:
    explicit FakeAutomationDelegate (FakeInstanceContext context);

    std::set<std::string> registered, touched;
    std::function<void (const char* id, double value)> onSetValueRequest;
    std::function<void (const char* id, double value)> onCurrentValue;

    AAX_Result RegisterParameter (const char* id) override;
    AAX_Result UnregisterParameter (const char* id) override;
    AAX_Result PostSetValueRequest (const char* id, double normalizedValue) override;
    AAX_Result PostCurrentValue (const char* id, double normalizedValue) override;
    AAX_Result PostTouchRequest (const char* id) override;
    AAX_Result PostReleaseRequest (const char* id) override;
    AAX_Result GetTouchState (const char* id, bool* isTouched) override;

protected:
    void* answer (const acfUID& interfaceID) override;

private:
    AAX_Result logged (int method, std::vector<std::string> args);
    FakeInstanceContext context;
};

class FakeTransport : public FakeUnknown<IAAXHostTransport_V2>
{
public:
    explicit FakeTransport (FakeInstanceContext context);

    double tempo = 120.0;
    bool playing = false;
    int64_t tickPosition = 0, sampleLocation = 0;

    AAX_Result GetCurrentTempo (double* bpm) override;
    AAX_Result GetCurrentMeter (int32_t* numerator, int32_t* denominator) override;
    AAX_Result IsTransportPlaying (bool* isPlaying) override;
    AAX_Result GetCurrentTickPosition (int64_t* tick) override;
    AAX_Result GetCurrentLoopPosition (bool* looping, int64_t* startTick, int64_t* endTick) override;
    AAX_Result GetCurrentNativeSampleLocation (int64_t* location) override;
    AAX_Result GetCustomTickPosition (int64_t* tick, int64_t location) override;
    AAX_Result GetBarBeatPosition (int32_t* bars, int32_t* beats, int64_t* displayTicks, int64_t location) override;
    AAX_Result GetTicksPerQuarter (uint32_t* ticks) override;
    AAX_Result GetCurrentTicksPerBeat (uint32_t* ticks) override;
    AAX_Result GetTimelineSelectionStartPosition (int64_t* location) override;
    AAX_Result GetTimeCodeInfo (AAX_FrameRate* frameRate, int32_t* offset) override;
    AAX_Result GetFeetFramesInfo (AAX_FeetFramesRate* rate, int64_t* offset) override;

protected:
    void* answer (const acfUID& interfaceID) override;

private:
    AAX_Result logged (int method, std::vector<std::string> args);
    FakeInstanceContext context;
};

class FakeInstanceUnknown;

class FakeInstance
{
public:
    explicit FakeInstance (FakeInstanceOptions options = {});
    ~FakeInstance();   // gives back the test's references

    IACFUnknown* unknown() const;
    CallLog& log() const { return *callLog; }
    FakeInstanceOptions& options() const { return *instanceOptions; }

    FakeController& controller() const { return *fakeController; }
    FakeAutomationDelegate& automation() const { return *fakeAutomation; }
    FakeTransport& transport() const { return *fakeTransport; }

    /** Lets the instance unknown answer the effect-parameters identifiers by querying this
        object (the plug-in's effect); a reference is held until replaced or destroyed. */
    void setEffect (IACFUnknown* effect);

    FakeInstance (const FakeInstance&) = delete;
    FakeInstance& operator= (const FakeInstance&) = delete;

private:
    std::shared_ptr<CallLog> callLog;
    std::shared_ptr<FakeInstanceOptions> instanceOptions;
    FakeController* fakeController;
    FakeAutomationDelegate* fakeAutomation;
    FakeTransport* fakeTransport;
    FakeInstanceUnknown* instanceUnknown;
};

class FakeInstanceUnknown : public FakeUnknown<IACFUnknown>
{
public:
    FakeInstanceUnknown (FakeInstanceContext context, FakeController&, FakeAutomationDelegate&, FakeTransport&);
    ~FakeInstanceUnknown() override;

    ACFResult QueryInterface (const acfUID& interfaceID, void** out) override;
    void setEffect (IACFUnknown* effect);

private:
    FakeInstanceContext context;
    FakeController& controller;
    FakeAutomationDelegate& automation;
    FakeTransport& transport;
    IACFUnknown* effect = nullptr;
};

/** The window object a host hands to SetViewContainer. */
class FakeViewContainer : public FakeUnknown<IAAXHostViewContainer>
{
public:
    explicit FakeViewContainer (std::shared_ptr<CallLog> log, int32_t type = 2);

    int32_t type;
    uint32_t modifiers = 0;
    AAX_Point lastViewSize { 0.0f, 0.0f };

    int32_t GetType() override;
    void* GetPtr() override;
    AAX_Result GetModifiers (uint32_t* modifiers) override;
    AAX_Result SetViewSize (AAX_Point& size) override;
    AAX_Result HandleParameterMouseDown (const char* id, uint32_t modifiers) override;
    AAX_Result HandleParameterMouseDrag (const char* id, uint32_t modifiers) override;
    AAX_Result HandleParameterMouseUp (const char* id, uint32_t modifiers) override;

protected:
    void* answer (const acfUID& interfaceID) override;

private:
    std::shared_ptr<CallLog> log;
    int nativeWindow = 0;
};
} // namespace quietline::test::aax
