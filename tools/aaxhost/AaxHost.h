#pragma once

// The reference AAX host: the host side of every interface a plug-in reaches through the host's
// IACFUnknown. Every host object keeps a real reference count, deletes itself at 0 and is listed
// in a process-wide registry while alive, so a caller can prove that every reference was given
// back (CountedObject::liveCount). AaxHost's unknown answers the component factory (which makes
// host services, collections, descriptors and property maps), the controller, automation
// delegate and transport, and the effect given to setEffect. Each host method logs (interface,
// method number, arguments as text: texts quoted, host objects by name, other pointers as "ptr"
// or "null") and answers options().result. No JUCE; AaxModule.h loads a module and runs its
// instances on it.

#include "formats/aax/AAX_IString.h"
#include "platform/aax/IAAXHostDescription.h"
#include "platform/aax/IAAXHostRuntime.h"
#include "platform/aax/IAAXHostServices.h"

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

namespace kelmora::tools::aaxhost
{
/** The reference count and registry entry of every host object. */
struct CountedObject
{
    explicit CountedObject (const std::string& kind);
    virtual ~CountedObject();

    const std::string& name() const { return objectName; }
    uint32_t refCount() const { return refs.load(); }

    /** How many host objects are alive, and the name of the one made last (empty when none). */
    static size_t liveCount();
    static std::string lastLiveName();

    std::atomic<uint32_t> refs { 1 };   // the creator's
    const std::string objectName;
};

struct Call
{
    std::string interface;
    int method;
    std::vector<std::string> args;
};

/** Host calls arrive on one thread at a time (a caller on several threads takes turns). */
struct CallLog
{
    std::vector<Call> calls (const std::string& interface = {}, int method = -1) const
    {
        std::vector<Call> result;
        for (const auto& call : entries)
            if ((interface.empty() || call.interface == interface) && (method < 0 || call.method == method))
                result.push_back (call);
        return result;
    }

    std::vector<int> methods (const std::string& interface) const
    {
        std::vector<int> result;
        for (const auto& call : calls (interface))
            result.push_back (call.method);
        return result;
    }

    size_t count (const std::string& interface, int method) const { return calls (interface, method).size(); }
    size_t size() const { return entries.size(); }
    void clear() { entries.clear(); }

    std::vector<Call> entries;
};

inline std::string str (const char* text) { return text != nullptr ? "\"" + std::string (text) + "\"" : "null"; }

std::string str (IACFUnknown* object);
/** As a stream writes it by default ("0.5", "1e+10"). */
std::string decimalText (double value);

template <class T>
std::string str (T value)
{
    if constexpr (std::is_pointer_v<T>)
        return value != nullptr ? "ptr" : "null";
    else if constexpr (std::is_floating_point_v<T>)
        return decimalText (static_cast<double> (value));
    else
        return std::to_string (value);
}

struct HostOptions
{
    bool factory = true, hostServices = true, pluginDefinition = true;
    bool effectDescriptorV2 = true, componentDescriptorV2 = true, propertyMapV2 = true;
    bool controllerV2 = true, automation = true;
    AAX_Result result = kAAXSuccess;
};

/** What a plug-in described through the host objects, as a host keeps it. */
struct DescribedComponent
{
    std::map<std::string, AAX_FieldIndex> fields;            // "audioIn", "audioOut", "bufferLength", "dataIn"
    uint32_t dataInSize = 0;
    std::vector<std::pair<AAX_FieldIndex, int32_t>> privateData;
    AAX_ProcessProc process = nullptr;
    std::map<uint32_t, int32_t> properties;                  // of the process procedure's map
};

struct DescribedEffect
{
    std::string id, name;
    std::vector<uint32_t> categories;
    std::map<AAX_ProcedureID, void*> procedures;
    std::vector<DescribedComponent> components;
};

struct Description
{
    std::vector<DescribedEffect> effects;
    std::string manufacturer;
    std::vector<std::string> packages;
    uint32_t version = 0;
};

struct HostState
{
    CallLog log;
    HostOptions options;
    Description description;
    float sampleRate = 96000.0f;
    uint32_t inputStem = 2, outputStem = 2;   // what the controller answers
};

using State = std::shared_ptr<HostState>;

/** Answers IACFUnknown and the given identifiers, each optionally behind a switch. */
template <class Interface>
struct HostObject : Interface, CountedObject
{
    using Answer = std::pair<const acfUID*, bool HostOptions::*>;

    HostObject (const char* kindName, State hostState, std::vector<Answer> ids = {})
        : CountedObject (kindName), state (std::move (hostState)), kind (kindName), answers (std::move (ids))
    {
        answers.push_back ({ &kAAXID_IACFUnknown, nullptr });
    }

    ACFResult QueryInterface (const acfUID& id, void** out) override
    {
        if (out == nullptr)
            return kACFNullPointer;
        *out = nullptr;
        for (const auto& [answered, on] : answers)
            if (id == *answered && (on == nullptr || state->options.*on))
                return *out = static_cast<Interface*> (this), AddRef(), kAAXSuccess;
        return kACFNoInterface;
    }

    uint32_t AddRef() override { return ++refs; }
    uint32_t Release() override
    {
        const uint32_t count = --refs;
        return count == 0 ? (delete this, 0u) : count;
    }

    template <class... Args>
    AAX_Result log (int method, Args... args)
    {
        state->log.entries.push_back ({ kind, method, { str (args)... } });
        return state->options.result;
    }

    State state;
    const char* kind;
    std::vector<Answer> answers;
};

struct HostServices : HostObject<IAAXHostServices>
{
    explicit HostServices (State s) : HostObject ("hostServices", s, { { &kAAXID_HostServices, nullptr } }) {}
    AAX_Result HandleAssertFailure (const char* file, int32_t line, const char* note) override { return log (3, file, line, note); }
    AAX_Result Trace (int32_t priority, const char* message) override { return log (4, priority, message); }
};

struct HostCollection : HostObject<IAAXHostCollection>
{
    explicit HostCollection (State s) : HostObject ("collection", s, { { &kAAXID_Collection, nullptr } }) {}

    /** Answers the plug-in-definition query with a fresh object whose one reference is the caller's. */
    ACFResult QueryInterface (const acfUID& id, void** out) override;

    // Methods 3..6 are the host's own.
    AAX_Result CollectionMethod3() override { return log (3); }
    AAX_Result CollectionMethod4() override { return log (4); }
    AAX_Result CollectionMethod5() override { return log (5); }
    AAX_Result CollectionMethod6() override { return log (6); }
    AAX_Result AddEffect (const char* id, IACFUnknown* effect) override;
    AAX_Result SetManufacturerName (const char* name) override { state->description.manufacturer = name; return log (8, name); }
    AAX_Result AddPackageName (const char* name) override { state->description.packages.push_back (name); return log (9, name); }
    AAX_Result SetPackageVersion (uint32_t version) override { state->description.version = version; return log (10, version); }
    AAX_Result SetProperties (IACFUnknown* map) override { return log (11, map); }
};

struct HostEffectDescriptor : HostObject<IAAXHostEffectDescriptor_V2>
{
    explicit HostEffectDescriptor (State s) : HostObject ("effectDescriptor", s, { { &kAAXID_EffectDescriptor, nullptr }, { &kAAXID_EffectDescriptor_V2, &HostOptions::effectDescriptorV2 } }) {}

    AAX_Result AddComponent (IACFUnknown* component) override;
    AAX_Result AddName (const char* name) override { described.name = name; return log (4, name); }
    AAX_Result AddCategory (uint32_t category) override { described.categories.push_back (category); return log (5, category); }
    AAX_Result AddCategoryBypassParameter (uint32_t category, const char* id) override { return log (6, category, id); }
    AAX_Result AddProcPtr (void* procedure, AAX_ProcedureID id) override { described.procedures[id] = procedure; return log (7, procedure, id); }
    AAX_Result SetProperties (IACFUnknown* map) override { return log (8, map); }
    AAX_Result AddResourceInfo (uint32_t type, const char* info) override { return log (9, type, info); }
    AAX_Result AddMeterDescription (uint32_t id, const char* name, IACFUnknown* map) override { return log (10, id, name, map); }
    AAX_Result AddControlMIDINode (uint32_t id, uint32_t type, const char* name, uint32_t mask) override { return log (11, id, type, name, mask); }

    DescribedEffect described;
};

struct HostComponentDescriptor : HostObject<IAAXHostComponentDescriptor_V2>
{
    explicit HostComponentDescriptor (State s) : HostObject ("componentDescriptor", s, { { &kAAXID_ComponentDescriptor, nullptr }, { &kAAXID_ComponentDescriptor_V2, &HostOptions::componentDescriptorV2 } }) {}

    AAX_Result Clear() override { return log (3); }
    AAX_Result AddReservedField (AAX_FieldIndex f, uint32_t type) override { return log (4, f, type); }
    AAX_Result AddAudioIn (AAX_FieldIndex f) override { described.fields["audioIn"] = f; return log (5, f); }
    AAX_Result AddAudioOut (AAX_FieldIndex f) override { described.fields["audioOut"] = f; return log (6, f); }
    AAX_Result AddAudioBufferLength (AAX_FieldIndex f) override { described.fields["bufferLength"] = f; return log (7, f); }
    AAX_Result AddSampleRate (AAX_FieldIndex f) override { return log (8, f); }
    AAX_Result AddClock (AAX_FieldIndex f) override { return log (9, f); }
    AAX_Result AddSideChainIn (AAX_FieldIndex f) override { return log (10, f); }
    AAX_Result AddDataInPort (AAX_FieldIndex f, uint32_t size, uint32_t type) override { described.fields["dataIn"] = f, described.dataInSize = size; return log (11, f, size, type); }
    AAX_Result AddAuxOutputStem (AAX_FieldIndex f, int32_t format, const char* name) override { return log (12, f, format, name); }
    AAX_Result AddPrivateData (AAX_FieldIndex f, int32_t size, uint32_t options) override { described.privateData.push_back ({ f, size }); return log (13, f, size, options); }
    AAX_Result AddDmaInstance (AAX_FieldIndex f, uint32_t mode) override { return log (14, f, mode); }
    AAX_Result AddMIDINode (AAX_FieldIndex f, uint32_t type, const char* name, uint32_t mask) override { return log (15, f, type, name, mask); }
    AAX_Result AddProcessProc_Native (AAX_ProcessProc process, IACFUnknown* map, AAX_InstanceInitProc init, AAX_BackgroundProc background,
                                      AAX_ProcedureID* id) override;
    AAX_Result AddProcessProc_TI (const char* library, const char* process, IACFUnknown* map, const char* init,
                                  const char* background) override { return log (17, library, process, map, init, background); }
    AAX_Result AddMeters (AAX_FieldIndex f, const uint32_t* ids, uint32_t count) override { return log (18, f, ids[0], ids[count - 1]); }
    AAX_Result AddTemporaryData (AAX_FieldIndex f, uint32_t size) override { return log (19, f, size); }

    DescribedComponent described;
};

/** Keeps its properties; the reading methods answer in the low byte only, with noise above it. */
struct HostPropertyMap : HostObject<IAAXHostPropertyMap_V2>
{
    explicit HostPropertyMap (State s) : HostObject ("propertyMap", s, { { &kAAXID_PropertyMap, nullptr }, { &kAAXID_PropertyMap_V2, &HostOptions::propertyMapV2 } }) {}

    int32_t GetProperty (uint32_t property, int32_t* value) override
    {
        *value = values.count (property) > 0 ? values[property] : *value;
        return log (3, property), 0x7F00 | (values.count (property) > 0 ? 1 : 0);
    }
    AAX_Result AddProperty (uint32_t property, int32_t value) override { values[property] = value; return log (4, property, value); }
    AAX_Result RemoveProperty (uint32_t property) override { values.erase (property); return log (5, property); }
    AAX_Result AddPropertyWithIDArray (uint32_t property, const AAX_IdentifierTriad* ids, uint32_t count) override
    {
        idArrays[property].assign (ids, ids + count);
        return log (6, property, count);
    }
    int32_t GetPropertyWithIDArray (uint32_t property, const AAX_IdentifierTriad** ids, uint32_t* count) override
    {
        *ids = idArrays.count (property) > 0 ? idArrays[property].data() : nullptr;
        *count = *ids != nullptr ? static_cast<uint32_t> (idArrays[property].size()) : 0;
        return log (7, property), 0x7F00 | (*ids != nullptr ? 1 : 0);
    }

    std::map<uint32_t, int32_t> values;
    std::map<uint32_t, std::vector<AAX_IdentifierTriad>> idArrays;
};

struct HostController : HostObject<IAAXHostController_V2>
{
    explicit HostController (State s) : HostObject ("controller", s, { { &kAAXID_Controller, nullptr }, { &kAAXID_Controller_V2, &HostOptions::controllerV2 } }) {}

    std::vector<std::pair<AAX_FieldIndex, std::vector<uint8_t>>> packets;   // what PostPacket delivered

    AAX_Result GetEffectID (kelmora::aax::AAX_IString* id) override { return log (3, id); }
    AAX_Result GetSampleRate (float* rate) override { *rate = state->sampleRate; return log (4, rate); }
    AAX_Result GetInputStemFormat (uint32_t* f) override { *f = state->inputStem; return log (5, f); }
    AAX_Result GetOutputStemFormat (uint32_t* f) override { *f = state->outputStem; return log (6, f); }
    AAX_Result GetSignalLatency (int32_t* s) override { return log (7, s); }
    AAX_Result GetCycleCount (uint32_t which, int32_t* c) override { return log (8, which, c); }
    AAX_Result GetTODLocation (int64_t* l) override { return log (9, l); }
    AAX_Result SetSignalLatency (int32_t s) override { return log (10, s); }
    AAX_Result SetCycleCount (uint32_t* which, int32_t* values, int32_t count) override { return log (11, which, values, count); }
    AAX_Result PostPacket (AAX_FieldIndex field, const void* payload, uint32_t size) override
    {
        const auto* bytes = static_cast<const uint8_t*> (payload);
        return packets.push_back ({ field, { bytes, bytes + size } }), log (12, field, size);
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
    AAX_Result GetHostName (kelmora::aax::AAX_IString* name) override { name->Set ("Quietline Reference Host"); return log (23, name); }
};

/** Keeps the registered parameters; the hooks play the host's answer to a post. */
struct HostAutomationDelegate : HostObject<IAAXHostAutomationDelegate>
{
    explicit HostAutomationDelegate (State s) : HostObject ("automation", s, { { &kAAXID_AutomationDelegate, nullptr } }) {}

    std::set<std::string> registered;
    std::function<void (const char* id, double value)> onSetValueRequest = [] (const char*, double) {};
    std::function<void (const char* id, double value)> onCurrentValue = [] (const char*, double) {};

    AAX_Result RegisterParameter (const char* id) override { registered.insert (id); return log (3, id); }
    AAX_Result UnregisterParameter (const char* id) override { registered.erase (id); return log (4, id); }
    AAX_Result PostSetValueRequest (const char* id, double value) override { log (5, id, value); onSetValueRequest (id, value); return state->options.result; }
    AAX_Result PostCurrentValue (const char* id, double value) override { log (6, id, value); onCurrentValue (id, value); return state->options.result; }
    AAX_Result PostTouchRequest (const char* id) override { return log (7, id); }
    AAX_Result PostReleaseRequest (const char* id) override { return log (8, id); }
    AAX_Result GetTouchState (const char* id, bool* touched) override { return log (9, id, touched); }
};

struct HostTransport : HostObject<IAAXHostTransport_V2>
{
    explicit HostTransport (State s) : HostObject ("transport", s, { { &kAAXID_Transport, nullptr }, { &kAAXID_Transport_V2, nullptr } }) {}

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
struct HostViewContainer : HostObject<IAAXHostViewContainer>
{
    HostViewContainer (State s, int32_t typeCode, void* window = nullptr)
        : HostObject ("viewContainer", s, { { &kAAXID_ViewContainer, nullptr } }), type (typeCode), ptr (window != nullptr ? window : &type) {}

    int32_t type;
    void* ptr;   // the native window

    int32_t GetType() override { return log (3), type; }
    void* GetPtr() override { return log (4), ptr; }
    AAX_Result GetModifiers (uint32_t* m) override { *m = 0; return log (5, m); }
    AAX_Result SetViewSize (AAX_Point& size) override { return log (6, size.vertical, size.horizontal); }
    AAX_Result HandleParameterMouseDown (const char* id, uint32_t m) override { return log (7, id, m); }
    AAX_Result HandleParameterMouseDrag (const char* id, uint32_t m) override { return log (8, id, m); }
    AAX_Result HandleParameterMouseUp (const char* id, uint32_t m) override { return log (9, id, m); }
};

/** Makes a fresh host object of each class it knows; the caller gets the one reference. */
struct HostComponentFactory : HostObject<IAAXHostComponentFactory>
{
    explicit HostComponentFactory (State s) : HostObject ("factory", s, { { &kAAXID_HostComponentFactory, nullptr } }) {}

    ACFResult CreateInstance (const acfUID& classID, IACFUnknown* outer, const acfUID& interfaceID, void** out) override;
};

/** The host unknown: owns the instance's controller, automation delegate and transport. */
struct HostUnknown : HostObject<IACFUnknown>
{
    explicit HostUnknown (State s) : HostObject ("hostUnknown", s) {}

    ~HostUnknown() override;
    ACFResult QueryInterface (const acfUID& id, void** out) override;

    HostController* const controller = new HostController (state);
    HostAutomationDelegate* const automation = new HostAutomationDelegate (state);
    HostTransport* const transport = new HostTransport (state);
    IACFUnknown* effect = nullptr;   // held
};

struct AaxHost
{
    explicit AaxHost (HostOptions options = {});
    ~AaxHost();

    AaxHost (const AaxHost&) = delete;
    AaxHost& operator= (const AaxHost&) = delete;

    IACFUnknown* unknown() const { return hostUnknown; }
    CallLog& log() const { return state->log; }
    HostOptions& options() const { return state->options; }
    HostController& controller() const { return *hostUnknown->controller; }
    HostAutomationDelegate& automation() const { return *hostUnknown->automation; }

    /** Lets the unknown answer the effect-parameters identifiers through this object (held). */
    void setEffect (IACFUnknown* effect);

    const State state;
    HostUnknown* const hostUnknown;
};
} // namespace kelmora::tools::aaxhost
