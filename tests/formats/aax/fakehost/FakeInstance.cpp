#include "formats/aax/fakehost/FakeInstance.h"

#include "formats/aax/AAX_IString.h"

namespace quietline::test::aax
{
FakeController::FakeController (FakeInstanceContext contextToUse)
    : FakeUnknown ("controller"), context (std::move (contextToUse))
{
}

void* FakeController::answer (const acfUID& interfaceID)
{
    if (interfaceID == kAAXID_Controller)
        return static_cast<IAAXHostController*> (this);

    if (interfaceID == kAAXID_Controller_V2 && context.options->controllerV2)
        return static_cast<IAAXHostController_V2*> (this);

    return FakeUnknown::answer (interfaceID);
}

AAX_Result FakeController::logged (int method, std::vector<std::string> args)
{
    context.log->add ("controller", method, std::move (args));
    return context.options->hostResult;
}

template <typename T, typename V>
static void store (T* out, V value)
{
    if (out != nullptr)
        *out = static_cast<T> (value);
}

AAX_Result FakeController::GetEffectID (kelmora::aax::AAX_IString* id)
{
    if (id != nullptr)
        id->Set (effectID.c_str());

    return logged (3, { argPointer (id) });
}

AAX_Result FakeController::GetSampleRate (float* rate) { store (rate, sampleRate); return logged (4, { argPointer (rate) }); }
AAX_Result FakeController::GetInputStemFormat (uint32_t* f) { store (f, inputStemFormat); return logged (5, { argPointer (f) }); }
AAX_Result FakeController::GetOutputStemFormat (uint32_t* f) { store (f, outputStemFormat); return logged (6, { argPointer (f) }); }
AAX_Result FakeController::GetSignalLatency (int32_t* s) { store (s, signalLatency); return logged (7, { argPointer (s) }); }

AAX_Result FakeController::GetCycleCount (uint32_t which, int32_t* cycles)
{
    store (cycles, 0);
    return logged (8, { arg (which), argPointer (cycles) });
}

AAX_Result FakeController::GetTODLocation (int64_t* location) { store (location, 0); return logged (9, { argPointer (location) }); }

AAX_Result FakeController::SetSignalLatency (int32_t samples)
{
    signalLatency = samples;
    return logged (10, { arg (samples) });
}

AAX_Result FakeController::SetCycleCount (uint32_t* which, int32_t* values, int32_t count)
{
    return logged (11, { argPointer (which), argPointer (values), arg (count) });
}

AAX_Result FakeController::PostPacket (AAX_FieldIndex field, const void* payload, uint32_t size)
{
    {
        std::lock_guard<std::mutex> guard (packetLock);
        const auto* bytes = static_cast<const uint8_t*> (payload);
        packets.push_back ({ field, payload != nullptr ? std::vector<uint8_t> (bytes, bytes + size) : std::vector<uint8_t>() });
    }

    return logged (12, { arg (field), argBytes (payload, size), arg (size) });
}

AAX_Result FakeController::GetCurrentMeterValue (uint32_t id, float* v) { store (v, 0); return logged (13, { arg (id), argPointer (v) }); }
AAX_Result FakeController::GetMeterPeakValue (uint32_t id, float* v) { store (v, 0); return logged (14, { arg (id), argPointer (v) }); }
AAX_Result FakeController::ClearMeterPeakValue (uint32_t id) { return logged (15, { arg (id) }); }
AAX_Result FakeController::GetMeterClipped (uint32_t id, bool* c) { store (c, false); return logged (16, { arg (id), argPointer (c) }); }
AAX_Result FakeController::ClearMeterClipped (uint32_t id) { return logged (17, { arg (id) }); }
AAX_Result FakeController::GetMeterCount (uint32_t* count) { store (count, 0); return logged (18, { argPointer (count) }); }

AAX_Result FakeController::GetNextMIDIPacket (uint32_t* port, AAX_MidiPacket* packet)
{
    return logged (19, { argPointer (port), argPointer (packet) });
}

AAX_Result FakeController::SendNotification (uint32_t type, const void* data, uint32_t size)
{
    return logged (20, { arg (type), argBytes (data, size), arg (size) });
}

AAX_Result FakeController::GetHybridSignalLatency (int32_t* s) { store (s, hybridLatency); return logged (21, { argPointer (s) }); }

AAX_Result FakeController::GetCurrentAutomationTimestamp (int64_t* t)
{
    store (t, automationTimestamp);
    return logged (22, { argPointer (t) });
}

AAX_Result FakeController::GetHostName (kelmora::aax::AAX_IString* name)
{
    if (name != nullptr)
        name->Set (hostName.c_str());

    return logged (23, { argPointer (name) });
}

//==============================================================================
FakeAutomationDelegate::FakeAutomationDelegate (FakeInstanceContext contextToUse)
    : FakeUnknown ("automation"), context (std::move (contextToUse))
{
}

void* FakeAutomationDelegate::answer (const acfUID& interfaceID)
{
    if (interfaceID == kAAXID_AutomationDelegate)
        return static_cast<IAAXHostAutomationDelegate*> (this);

    return FakeUnknown::answer (interfaceID);
}

AAX_Result FakeAutomationDelegate::logged (int method, std::vector<std::string> args)
{
    context.log->add ("automation", method, std::move (args));
    return context.options->hostResult;
}

AAX_Result FakeAutomationDelegate::RegisterParameter (const char* id)
{
    if (id != nullptr)
        registered.insert (id);

    return logged (3, { arg (id) });
}

AAX_Result FakeAutomationDelegate::UnregisterParameter (const char* id)
{
    if (id != nullptr)
        registered.erase (id);

    return logged (4, { arg (id) });
}

AAX_Result FakeAutomationDelegate::PostSetValueRequest (const char* id, double value)
{
    const AAX_Result result = logged (5, { arg (id), arg (value) });

    if (onSetValueRequest)
        onSetValueRequest (id, value);

    return result;
}

AAX_Result FakeAutomationDelegate::PostCurrentValue (const char* id, double value)
{
    const AAX_Result result = logged (6, { arg (id), arg (value) });

    if (onCurrentValue)
        onCurrentValue (id, value);

    return result;
}

AAX_Result FakeAutomationDelegate::PostTouchRequest (const char* id)
{
    if (id != nullptr)
        touched.insert (id);

    return logged (7, { arg (id) });
}

AAX_Result FakeAutomationDelegate::PostReleaseRequest (const char* id)
{
    if (id != nullptr)
        touched.erase (id);

    return logged (8, { arg (id) });
}

AAX_Result FakeAutomationDelegate::GetTouchState (const char* id, bool* isTouched)
{
    store (isTouched, id != nullptr && touched.count (id) > 0);
    return logged (9, { arg (id), argPointer (isTouched) });
}

//==============================================================================
FakeTransport::FakeTransport (FakeInstanceContext contextToUse)
    : FakeUnknown ("transport"), context (std::move (contextToUse))
{
}

void* FakeTransport::answer (const acfUID& interfaceID)
{
    if (interfaceID == kAAXID_Transport)
        return static_cast<IAAXHostTransport*> (this);

    if (interfaceID == kAAXID_Transport_V2 && context.options->transportV2)
        return static_cast<IAAXHostTransport_V2*> (this);

    return FakeUnknown::answer (interfaceID);
}

AAX_Result FakeTransport::logged (int method, std::vector<std::string> args)
{
    context.log->add ("transport", method, std::move (args));
    return context.options->hostResult;
}

AAX_Result FakeTransport::GetCurrentTempo (double* bpm) { store (bpm, tempo); return logged (3, { argPointer (bpm) }); }

AAX_Result FakeTransport::GetCurrentMeter (int32_t* numerator, int32_t* denominator)
{
    store (numerator, 4);
    store (denominator, 4);
    return logged (4, { argPointer (numerator), argPointer (denominator) });
}

AAX_Result FakeTransport::IsTransportPlaying (bool* p) { store (p, playing); return logged (5, { argPointer (p) }); }
AAX_Result FakeTransport::GetCurrentTickPosition (int64_t* t) { store (t, tickPosition); return logged (6, { argPointer (t) }); }

AAX_Result FakeTransport::GetCurrentLoopPosition (bool* looping, int64_t* startTick, int64_t* endTick)
{
    store (looping, false);
    store (startTick, 0);
    store (endTick, 0);
    return logged (7, { argPointer (looping), argPointer (startTick), argPointer (endTick) });
}

AAX_Result FakeTransport::GetCurrentNativeSampleLocation (int64_t* l) { store (l, sampleLocation); return logged (8, { argPointer (l) }); }

AAX_Result FakeTransport::GetCustomTickPosition (int64_t* tick, int64_t location)
{
    store (tick, 0);
    return logged (9, { argPointer (tick), arg (location) });
}

AAX_Result FakeTransport::GetBarBeatPosition (int32_t* bars, int32_t* beats, int64_t* displayTicks, int64_t location)
{
    store (bars, 1);
    store (beats, 1);
    store (displayTicks, 0);
    return logged (10, { argPointer (bars), argPointer (beats), argPointer (displayTicks), arg (location) });
}

AAX_Result FakeTransport::GetTicksPerQuarter (uint32_t* t) { store (t, 960000); return logged (11, { argPointer (t) }); }
AAX_Result FakeTransport::GetCurrentTicksPerBeat (uint32_t* t) { store (t, 960000); return logged (12, { argPointer (t) }); }
AAX_Result FakeTransport::GetTimelineSelectionStartPosition (int64_t* l) { store (l, 0); return logged (13, { argPointer (l) }); }

AAX_Result FakeTransport::GetTimeCodeInfo (AAX_FrameRate* frameRate, int32_t* offset)
{
    store (frameRate, 0);
    store (offset, 0);
    return logged (14, { argPointer (frameRate), argPointer (offset) });
}

AAX_Result FakeTransport::GetFeetFramesInfo (AAX_FeetFramesRate* rate, int64_t* offset)
{
    store (rate, 0);
    store (offset, 0);
    return logged (15, { argPointer (rate), argPointer (offset) });
}

//==============================================================================
FakeInstance::FakeInstance (FakeInstanceOptions options)
    : callLog (std::make_shared<CallLog>()),
      instanceOptions (std::make_shared<FakeInstanceOptions> (options)),
      fakeController (new FakeController ({ callLog, instanceOptions })),
      fakeAutomation (new FakeAutomationDelegate ({ callLog, instanceOptions })),
      fakeTransport (new FakeTransport ({ callLog, instanceOptions })),
      instanceUnknown (new FakeInstanceUnknown ({ callLog, instanceOptions }, *fakeController, *fakeAutomation,
                                                *fakeTransport))
{
}

FakeInstance::~FakeInstance()
{
    instanceUnknown->Release();
    fakeTransport->Release();
    fakeAutomation->Release();
    fakeController->Release();
}

IACFUnknown* FakeInstance::unknown() const { return instanceUnknown; }

void FakeInstance::setEffect (IACFUnknown* effect) { instanceUnknown->setEffect (effect); }

//==============================================================================
FakeInstanceUnknown::FakeInstanceUnknown (FakeInstanceContext contextToUse, FakeController& c,
                                          FakeAutomationDelegate& a, FakeTransport& t)
    : FakeUnknown ("instanceUnknown"), context (std::move (contextToUse)), controller (c), automation (a), transport (t)
{
    controller.AddRef();
    automation.AddRef();
    transport.AddRef();
}

FakeInstanceUnknown::~FakeInstanceUnknown()
{
    setEffect (nullptr);
    transport.Release();
    automation.Release();
    controller.Release();
}

void FakeInstanceUnknown::setEffect (IACFUnknown* newEffect)
{
    if (newEffect != nullptr)
        newEffect->AddRef();

    if (effect != nullptr)
        effect->Release();

    effect = newEffect;
}

ACFResult FakeInstanceUnknown::QueryInterface (const acfUID& interfaceID, void** out)
{
    if (out == nullptr)
        return kACFNullPointer;

    *out = nullptr;
    const auto& options = *context.options;

    if (interfaceID == kAAXID_Controller || interfaceID == kAAXID_Controller_V2)
        return options.controller ? controller.QueryInterface (interfaceID, out) : kACFNoInterface;

    if (interfaceID == kAAXID_AutomationDelegate)
        return options.automationDelegate ? automation.QueryInterface (interfaceID, out) : kACFNoInterface;

    if (interfaceID == kAAXID_Transport || interfaceID == kAAXID_Transport_V2)
        return options.transport ? transport.QueryInterface (interfaceID, out) : kACFNoInterface;

    if (interfaceID == kAAXID_EffectParameters || interfaceID == kAAXID_EffectParameters_V2)
        return effect != nullptr ? effect->QueryInterface (interfaceID, out) : kACFNoInterface;

    return FakeUnknown::QueryInterface (interfaceID, out);
}

//==============================================================================
FakeViewContainer::FakeViewContainer (std::shared_ptr<CallLog> logToUse, int32_t typeToUse)
    : FakeUnknown ("viewContainer"), type (typeToUse), log (std::move (logToUse))
{
}

void* FakeViewContainer::answer (const acfUID& interfaceID)
{
    if (interfaceID == kAAXID_ViewContainer)
        return static_cast<IAAXHostViewContainer*> (this);

    return FakeUnknown::answer (interfaceID);
}

int32_t FakeViewContainer::GetType()
{
    log->add ("viewContainer", 3);
    return type;
}

void* FakeViewContainer::GetPtr()
{
    log->add ("viewContainer", 4);
    return &nativeWindow;
}

AAX_Result FakeViewContainer::GetModifiers (uint32_t* m)
{
    store (m, modifiers);
    log->add ("viewContainer", 5, { argPointer (m) });
    return kAAXSuccess;
}

AAX_Result FakeViewContainer::SetViewSize (AAX_Point& size)
{
    lastViewSize = size;
    log->add ("viewContainer", 6, { arg (static_cast<double> (size.vertical)), arg (static_cast<double> (size.horizontal)) });
    return kAAXSuccess;
}

AAX_Result FakeViewContainer::HandleParameterMouseDown (const char* id, uint32_t m)
{
    log->add ("viewContainer", 7, { arg (id), arg (m) });
    return kAAXSuccess;
}

AAX_Result FakeViewContainer::HandleParameterMouseDrag (const char* id, uint32_t m)
{
    log->add ("viewContainer", 8, { arg (id), arg (m) });
    return kAAXSuccess;
}

AAX_Result FakeViewContainer::HandleParameterMouseUp (const char* id, uint32_t m)
{
    log->add ("viewContainer", 9, { arg (id), arg (m) });
    return kAAXSuccess;
}
} // namespace quietline::test::aax
