#pragma once

// A fake AAX host for tests. Every fake object keeps a real reference count, deletes itself at 0
// and is listed in a process-wide registry while alive, so a test can prove that every reference
// was given back (LiveCheck). FakeHost's unknown answers the component factory (which makes host
// services, collections, descriptors and property maps), the controller, automation delegate and
// transport, and the effect given to setEffect. Each host method logs (interface, method number,
// arguments as text) and answers options().result.

#include "platform/aax/IAAXHostDescription.h"
#include "platform/aax/IAAXHostRuntime.h"
#include "platform/aax/IAAXHostServices.h"

#include "formats/aax/AAX_IString.h"

#include <atomic>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

namespace quietline::test::aax
{
class FakeCounted
{
public:
    explicit FakeCounted (const std::string& kind);   // named "<kind>#<serial>"
    virtual ~FakeCounted();
    const std::string& name() const { return objectName; }
    uint32_t refCount() const { return refs.load(); }

protected:
    uint32_t addRef() { return ++refs; }
    uint32_t release();   // deletes the object at 0

private:
    std::atomic<uint32_t> refs { 1 };   // the creator's
    std::string objectName;
};

int liveFakeObjects();
std::vector<std::string> destroyedFakes();   // names, in order, since the last clear
void clearDestroyedFakes();

/** Expects, on destruction, the live fakes and plug-in objects back at their counts at construction. */
class LiveCheck
{
public:
    LiveCheck();
    ~LiveCheck();

private:
    int fakesAtStart, pluginObjectsAtStart;
};

struct Call
{
    std::string interface;
    int method;
    std::vector<std::string> args;
};

class CallLog
{
public:
    void add (Call call);
    std::vector<Call> calls (const std::string& interface = {}, int method = -1) const;   // filtered
    std::vector<int> methods (const std::string& interface) const;
    size_t count (const std::string& interface, int method) const { return calls (interface, method).size(); }
    size_t size() const { return calls().size(); }
    void clear();

private:
    mutable std::mutex lock;
    std::vector<Call> entries;
};

// Arguments as logged: texts quoted, host objects by name, other pointers as "ptr" or "null".
inline std::string str (const char* text) { return text != nullptr ? "\"" + std::string (text) + "\"" : "null"; }
std::string str (IACFUnknown* object);
template <class T>
std::string str (T value)
{
    if constexpr (std::is_pointer_v<T>)
        return value != nullptr ? "ptr" : "null";
    else if constexpr (std::is_floating_point_v<T>)
    {
        char text[32];
        std::snprintf (text, sizeof (text), "%.17g", static_cast<double> (value));
        return text;
    }
    else
        return std::to_string (value);
}

struct FakeOptions
{
    bool factory = true, hostServices = true, pluginDefinition = true;
    bool effectDescriptorV2 = true, componentDescriptorV2 = true, propertyMapV2 = true;
    bool controllerV2 = true, automation = true, transportV2 = true;
    AAX_Result result = kAAXSuccess;
};

struct HostState
{
    CallLog log;
    FakeOptions options;
};

/** Answers IACFUnknown and the given identifiers (each optionally behind a switch). */
template <class Interface>
class FakeObject : public Interface, public FakeCounted
{
public:
    struct Answer
    {
        const acfUID* id;
        bool FakeOptions::*on = nullptr;
    };

    FakeObject (const char* kindName, std::shared_ptr<HostState> hostState, std::vector<Answer> ids = {})
        : FakeCounted (kindName), state (std::move (hostState)), kind (kindName), answers (std::move (ids))
    {
        answers.push_back ({ &kAAXID_IACFUnknown });
    }

    ACFResult QueryInterface (const acfUID& id, void** out) override
    {
        if (out == nullptr)
            return kACFNullPointer;

        *out = nullptr;

        for (const auto& answer : answers)
        {
            if (id == *answer.id && (answer.on == nullptr || state->options.*answer.on))
            {
                *out = static_cast<Interface*> (this);
                addRef();
                return kAAXSuccess;
            }
        }

        return kACFNoInterface;
    }

    uint32_t AddRef() override { return addRef(); }
    uint32_t Release() override { return release(); }

    std::shared_ptr<HostState> state;

protected:
    template <class... Args>
    AAX_Result log (int method, Args... args)
    {
        state->log.add ({ kind, method, { str (args)... } });
        return state->options.result;
    }

    template <class T, class V>
    static void put (T* out, V value)
    {
        if (out != nullptr)
            *out = value;
    }

private:
    const char* kind;
    std::vector<Answer> answers;
};

using State = std::shared_ptr<HostState>;

class FakeHostServices : public FakeObject<IAAXHostServices>
{
public:
    explicit FakeHostServices (State s) : FakeObject ("hostServices", s, { { &kAAXID_HostServices } }) {}
    AAX_Result HandleAssertFailure (const char* file, int32_t line, const char* note) override { return log (3, file, line, note); }
    AAX_Result Trace (int32_t priority, const char* message) override { return log (4, priority, message); }
};

class FakeCollection : public FakeObject<IAAXHostCollection>
{
public:
    explicit FakeCollection (State s) : FakeObject ("collection", s, { { &kAAXID_Collection } }) {}
    ACFResult QueryInterface (const acfUID& id, void** out) override;   // a fresh plug-in definition

    AAX_Result CollectionMethod3() override { return log (3); }
    AAX_Result CollectionMethod4() override { return log (4); }
    AAX_Result CollectionMethod5() override { return log (5); }
    AAX_Result CollectionMethod6() override { return log (6); }
    AAX_Result AddEffect (const char* id, IACFUnknown* effect) override { return log (7, id, effect); }
    AAX_Result SetManufacturerName (const char* name) override { return log (8, name); }
    AAX_Result AddPackageName (const char* name) override { return log (9, name); }
    AAX_Result SetPackageVersion (uint32_t version) override { return log (10, version); }
    AAX_Result SetProperties (IACFUnknown* map) override { return log (11, map); }
};

class FakeEffectDescriptor : public FakeObject<IAAXHostEffectDescriptor_V2>
{
public:
    explicit FakeEffectDescriptor (State s)
        : FakeObject ("effectDescriptor", s, { { &kAAXID_EffectDescriptor }, { &kAAXID_EffectDescriptor_V2, &FakeOptions::effectDescriptorV2 } }) {}

    AAX_Result AddComponent (IACFUnknown* component) override { return log (3, component); }
    AAX_Result AddName (const char* name) override { return log (4, name); }
    AAX_Result AddCategory (uint32_t category) override { return log (5, category); }
    AAX_Result AddCategoryBypassParameter (uint32_t category, const char* id) override { return log (6, category, id); }
    AAX_Result AddProcPtr (void* procedure, AAX_ProcedureID id) override { return log (7, procedure, id); }
    AAX_Result SetProperties (IACFUnknown* map) override { return log (8, map); }
    AAX_Result AddResourceInfo (uint32_t type, const char* info) override { return log (9, type, info); }
    AAX_Result AddMeterDescription (uint32_t id, const char* name, IACFUnknown* map) override { return log (10, id, name, map); }
    AAX_Result AddControlMIDINode (uint32_t id, uint32_t type, const char* name, uint32_t mask) override { return log (11, id, type, name, mask); }
};

class FakeComponentDescriptor : public FakeObject<IAAXHostComponentDescriptor_V2>
{
public:
    explicit FakeComponentDescriptor (State s)
        : FakeObject ("componentDescriptor", s, { { &kAAXID_ComponentDescriptor }, { &kAAXID_ComponentDescriptor_V2, &FakeOptions::componentDescriptorV2 } }) {}

    AAX_Result Clear() override { return log (3); }
    AAX_Result AddReservedField (AAX_FieldIndex f, uint32_t type) override { return log (4, f, type); }
    AAX_Result AddAudioIn (AAX_FieldIndex f) override { return log (5, f); }
    AAX_Result AddAudioOut (AAX_FieldIndex f) override { return log (6, f); }
    AAX_Result AddAudioBufferLength (AAX_FieldIndex f) override { return log (7, f); }
    AAX_Result AddSampleRate (AAX_FieldIndex f) override { return log (8, f); }
    AAX_Result AddClock (AAX_FieldIndex f) override { return log (9, f); }
    AAX_Result AddSideChainIn (AAX_FieldIndex f) override { return log (10, f); }
    AAX_Result AddDataInPort (AAX_FieldIndex f, uint32_t size, uint32_t type) override { return log (11, f, size, type); }
    AAX_Result AddAuxOutputStem (AAX_FieldIndex f, int32_t format, const char* name) override { return log (12, f, format, name); }
    AAX_Result AddPrivateData (AAX_FieldIndex f, int32_t size, uint32_t options) override { return log (13, f, size, options); }
    AAX_Result AddDmaInstance (AAX_FieldIndex f, uint32_t mode) override { return log (14, f, mode); }
    AAX_Result AddMIDINode (AAX_FieldIndex f, uint32_t type, const char* name, uint32_t mask) override { return log (15, f, type, name, mask); }
    AAX_Result AddProcessProc_Native (AAX_ProcessProc process, IACFUnknown* map, AAX_InstanceInitProc init,
                                      AAX_BackgroundProc background, AAX_ProcedureID* id) override
    {
        put (id, 1u);
        return log (16, process, map, init, background, id);
    }
    AAX_Result AddProcessProc_TI (const char* library, const char* process, IACFUnknown* map, const char* init,
                                  const char* background) override { return log (17, library, process, map, init, background); }
    AAX_Result AddMeters (AAX_FieldIndex f, const uint32_t* ids, uint32_t count) override
    {
        Call call { "componentDescriptor", 18, { str (f) } };
        for (uint32_t i = 0; ids != nullptr && i < count; ++i)
            call.args.push_back (str (ids[i]));
        state->log.add (call);
        return state->options.result;
    }
    AAX_Result AddTemporaryData (AAX_FieldIndex f, uint32_t size) override { return log (19, f, size); }
};

/** Keeps its properties; the reading methods answer in the low byte only, with noise above it. */
class FakePropertyMap : public FakeObject<IAAXHostPropertyMap_V2>
{
public:
    explicit FakePropertyMap (State s)
        : FakeObject ("propertyMap", s, { { &kAAXID_PropertyMap }, { &kAAXID_PropertyMap_V2, &FakeOptions::propertyMapV2 } }) {}

    int32_t GetProperty (uint32_t property, int32_t* value) override
    {
        log (3, property);
        const auto found = values.find (property);
        if (found != values.end())
            put (value, found->second);
        return 0x7F00 | (found != values.end() ? 1 : 0);
    }
    AAX_Result AddProperty (uint32_t property, int32_t value) override { values[property] = value; return log (4, property, value); }
    AAX_Result RemoveProperty (uint32_t property) override { values.erase (property); return log (5, property); }
    AAX_Result AddPropertyWithIDArray (uint32_t property, const AAX_IdentifierTriad* ids, uint32_t count) override
    {
        if (ids != nullptr)
            idArrays[property].assign (ids, ids + count);
        return log (6, property, count);
    }
    int32_t GetPropertyWithIDArray (uint32_t property, const AAX_IdentifierTriad** ids, uint32_t* count) override
    {
        log (7, property);
        const auto found = idArrays.find (property);
        if (found == idArrays.end())
            return 0x7F00;
        put (ids, found->second.data());
        put (count, static_cast<uint32_t> (found->second.size()));
        return 0x7F01;
    }

private:
    std::map<uint32_t, int32_t> values;
    std::map<uint32_t, std::vector<AAX_IdentifierTriad>> idArrays;
};

class FakeController : public FakeObject<IAAXHostController_V2>
{
public:
    explicit FakeController (State s)
        : FakeObject ("controller", s, { { &kAAXID_Controller }, { &kAAXID_Controller_V2, &FakeOptions::controllerV2 } }) {}

    struct Packet
    {
        AAX_FieldIndex field;
        std::vector<uint8_t> bytes;
    };
    std::vector<Packet> packets;   // what PostPacket delivered

    AAX_Result GetEffectID (kelmora::aax::AAX_IString* id) override { return log (3, id); }
    AAX_Result GetSampleRate (float* rate) override { put (rate, 96000.0f); return log (4, rate); }
    AAX_Result GetInputStemFormat (uint32_t* f) override { return log (5, f); }
    AAX_Result GetOutputStemFormat (uint32_t* f) override { return log (6, f); }
    AAX_Result GetSignalLatency (int32_t* s) override { return log (7, s); }
    AAX_Result GetCycleCount (uint32_t which, int32_t* c) override { return log (8, which, c); }
    AAX_Result GetTODLocation (int64_t* l) override { return log (9, l); }
    AAX_Result SetSignalLatency (int32_t s) override { return log (10, s); }
    AAX_Result SetCycleCount (uint32_t* which, int32_t* values, int32_t count) override { return log (11, which, values, count); }
    AAX_Result PostPacket (AAX_FieldIndex field, const void* payload, uint32_t size) override
    {
        const auto* bytes = static_cast<const uint8_t*> (payload);
        packets.push_back ({ field, bytes != nullptr ? std::vector<uint8_t> (bytes, bytes + size) : std::vector<uint8_t>() });
        return log (12, field, size);
    }
    AAX_Result GetCurrentMeterValue (uint32_t id, float* v) override { return log (13, id, v); }
    AAX_Result GetMeterPeakValue (uint32_t id, float* v) override { return log (14, id, v); }
    AAX_Result ClearMeterPeakValue (uint32_t id) override { return log (15, id); }
    AAX_Result GetMeterClipped (uint32_t id, bool* c) override { return log (16, id, c); }
    AAX_Result ClearMeterClipped (uint32_t id) override { return log (17, id); }
    AAX_Result GetMeterCount (uint32_t* c) override { return log (18, c); }
    AAX_Result GetNextMIDIPacket (uint32_t* port, AAX_MidiPacket* p) override { return log (19, port, p); }
    AAX_Result SendNotification (uint32_t type, const void* data, uint32_t size) override { return log (20, type, data, size); }
    AAX_Result GetHybridSignalLatency (int32_t* s) override { return log (21, s); }
    AAX_Result GetCurrentAutomationTimestamp (int64_t* t) override { return log (22, t); }
    AAX_Result GetHostName (kelmora::aax::AAX_IString* name) override
    {
        if (name != nullptr)
            name->Set ("Fake Host");
        return log (23, name);
    }
};

/** Keeps the registered parameters; the hooks play the host's answer to a post. */
class FakeAutomationDelegate : public FakeObject<IAAXHostAutomationDelegate>
{
public:
    explicit FakeAutomationDelegate (State s) : FakeObject ("automation", s, { { &kAAXID_AutomationDelegate } }) {}

    std::set<std::string> registered;
    std::function<void (const char* id, double value)> onSetValueRequest, onCurrentValue;

    AAX_Result RegisterParameter (const char* id) override { registered.insert (id); return log (3, id); }
    AAX_Result UnregisterParameter (const char* id) override { registered.erase (id); return log (4, id); }
    AAX_Result PostSetValueRequest (const char* id, double value) override { return post (5, onSetValueRequest, id, value); }
    AAX_Result PostCurrentValue (const char* id, double value) override { return post (6, onCurrentValue, id, value); }
    AAX_Result PostTouchRequest (const char* id) override { return log (7, id); }
    AAX_Result PostReleaseRequest (const char* id) override { return log (8, id); }
    AAX_Result GetTouchState (const char* id, bool* touched) override { return log (9, id, touched); }

private:
    AAX_Result post (int method, const std::function<void (const char*, double)>& hook, const char* id, double value)
    {
        const AAX_Result result = log (method, id, value);
        if (hook)
            hook (id, value);
        return result;
    }
};

class FakeTransport : public FakeObject<IAAXHostTransport_V2>
{
public:
    explicit FakeTransport (State s)
        : FakeObject ("transport", s, { { &kAAXID_Transport }, { &kAAXID_Transport_V2, &FakeOptions::transportV2 } }) {}

    AAX_Result GetCurrentTempo (double* bpm) override { return log (3, bpm); }
    AAX_Result GetCurrentMeter (int32_t* n, int32_t* d) override { return log (4, n, d); }
    AAX_Result IsTransportPlaying (bool* p) override { return log (5, p); }
    AAX_Result GetCurrentTickPosition (int64_t* t) override { return log (6, t); }
    AAX_Result GetCurrentLoopPosition (bool* looping, int64_t* start, int64_t* end) override { return log (7, looping, start, end); }
    AAX_Result GetCurrentNativeSampleLocation (int64_t* l) override { return log (8, l); }
    AAX_Result GetCustomTickPosition (int64_t* t, int64_t l) override { return log (9, t, l); }
    AAX_Result GetBarBeatPosition (int32_t* bars, int32_t* beats, int64_t* ticks, int64_t l) override { return log (10, bars, beats, ticks, l); }
    AAX_Result GetTicksPerQuarter (uint32_t* t) override { return log (11, t); }
    AAX_Result GetCurrentTicksPerBeat (uint32_t* t) override { return log (12, t); }
    AAX_Result GetTimelineSelectionStartPosition (int64_t* l) override { return log (13, l); }
    AAX_Result GetTimeCodeInfo (AAX_FrameRate* rate, int32_t* offset) override { return log (14, rate, offset); }
    AAX_Result GetFeetFramesInfo (AAX_FeetFramesRate* rate, int64_t* offset) override { return log (15, rate, offset); }
};

/** The window object a host hands to a GUI's SetViewContainer. */
class FakeViewContainer : public FakeObject<IAAXHostViewContainer>
{
public:
    FakeViewContainer (State s, int32_t typeCode) : FakeObject ("viewContainer", s, { { &kAAXID_ViewContainer } }), type (typeCode) {}

    int32_t type;
    AAX_Point lastViewSize { 0.0f, 0.0f };

    int32_t GetType() override { log (3); return type; }
    void* GetPtr() override { log (4); return &type; }
    AAX_Result GetModifiers (uint32_t* m) override { put (m, 0u); return log (5, m); }
    AAX_Result SetViewSize (AAX_Point& size) override { lastViewSize = size; return log (6, size.vertical, size.horizontal); }
    AAX_Result HandleParameterMouseDown (const char* id, uint32_t m) override { return log (7, id, m); }
    AAX_Result HandleParameterMouseDrag (const char* id, uint32_t m) override { return log (8, id, m); }
    AAX_Result HandleParameterMouseUp (const char* id, uint32_t m) override { return log (9, id, m); }
};

class FakeHostUnknown;

class FakeHost
{
public:
    explicit FakeHost (FakeOptions options = {});
    ~FakeHost();   // gives back the test's reference to the host unknown

    IACFUnknown* unknown() const;
    CallLog& log() const { return state->log; }
    FakeOptions& options() const { return state->options; }
    FakeController& controller() const;
    FakeAutomationDelegate& automation() const;
    FakeTransport& transport() const;

    /** Lets the unknown answer the effect-parameters identifiers through this object (held). */
    void setEffect (IACFUnknown* effect);

    State state;

private:
    FakeHostUnknown* hostUnknown;
};
} // namespace quietline::test::aax
