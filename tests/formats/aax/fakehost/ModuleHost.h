#pragma once

// The fake host driving a plug-in the way an AAX host does: a module loaded by path through its
// ACF exports only, its description kept (FakeHost's Description), and instances of a described
// component with their context records, private data and master-bypass port. No JUCE.

#include "formats/aax/fakehost/FakeHost.h"
#include "formats/aax/AAX_HostInterfaces.h"
#include "formats/aax/ChunkRecord.h"
#include "platform/aax/AAXConstants.h"
#include "platform/aax/AAX_IACFEffectParameters.h"

#include <dlfcn.h>

#include <array>
#include <cstring>
#include <fstream>
#include <iterator>

namespace quietline::test::aax
{
/** A plug-in module opened with dlopen; closed on destruction. */
struct AaxModule
{
    explicit AaxModule (const std::string& modulePath) : path (modulePath), handle (dlopen (path.c_str(), RTLD_NOW | RTLD_LOCAL))
    {
        if (handle != nullptr)
        {
            resolve (registerPlugin, "ACFRegisterPlugin");
            resolve (canUnloadNow, "ACFCanUnloadNow");
            resolve (startup, "ACFStartup");
            resolve (shutdown, "ACFShutdown");
        }
    }

    ~AaxModule() { close(); }

    void close()
    {
        if (handle != nullptr)
            dlclose (handle);
        handle = nullptr;
    }

    bool loaded() const { return handle != nullptr && registerPlugin && canUnloadNow && startup && shutdown; }

    /** Whether the module is still mapped into the process. */
    bool mapped() const
    {
        std::ifstream maps ("/proc/self/maps");
        const std::string all ((std::istreambuf_iterator<char> (maps)), std::istreambuf_iterator<char>());
        return all.find (path) != std::string::npos;
    }

    /** Starts the module and keeps its description in the host's state. */
    ACFResult describe (FakeHost& host)
    {
        const ACFResult started = startup (host.unknown());
        if (started != kAAXSuccess)
            return started;

        IACFUnknown* definition = nullptr;
        const ACFResult registered = registerPlugin (host.unknown(), &definition);
        if (definition != nullptr)
            definition->Release();
        return registered;
    }

    std::string path;
    void* handle;
    ACFResult (*registerPlugin) (IACFUnknown*, IACFUnknown**) = nullptr;
    ACFResult (*canUnloadNow) (IACFUnknown*) = nullptr;
    ACFResult (*startup) (IACFUnknown*) = nullptr;
    ACFResult (*shutdown) (IACFUnknown*) = nullptr;

private:
    template <class Function>
    void resolve (Function& function, const char* name)
    {
        function = reinterpret_cast<Function> (dlsym (handle, name));
    }
};

/** A new object from one of the effect's factories (the caller's reference), or null. */
inline IACFUnknown* makeObject (const DescribedEffect& effect, AAX_ProcedureID procedure)
{
    const auto found = effect.procedures.find (procedure);
    return found != effect.procedures.end() ? reinterpret_cast<AAX_CreateObjectProc> (found->second)() : nullptr;
}

/** One instance of a described component on the fake host. Like a host, it answers the effect's
    set requests by handing the value back as an update. Takes over the object's reference. */
struct HostedInstance
{
    HostedInstance (FakeHost& fakeHost, IACFUnknown* object, const DescribedComponent& described)
        : host (fakeHost), component (described), unknown (object)
    {
        host.state->inputStem = host.state->outputStem = (uint32_t) component.properties[kAAXProperty_InputStemFormat];
        effect = kelmora::aax::QueryHostInterface<AAX_IACFEffectParameters> (unknown, kAAXID_EffectParameters);
        if (effect == nullptr)
            return;

        host.setEffect (unknown);
        host.automation().onSetValueRequest = [this] (const char* id, double value) { effect->UpdateParameterNormalizedValue (id, value, 0); };
        initResult = effect->Initialize (host.unknown());

        for (const auto& [field, size] : component.privateData)
        {
            auto& block = privateBlocks[field];
            block.assign ((size_t (size) + 7) / 8, 0);
            effect->ResetFieldData (field, block.data(), uint32_t (size));
        }

        port.assign ((component.dataInSize + 7) / 8, 0);
    }

    ~HostedInstance()
    {
        host.automation().onSetValueRequest = [] (const char*, double) {};
        if (effect != nullptr)
            effect->Uninitialize();
        kelmora::aax::ReleaseHostInterface (effect);
        if (unknown != nullptr)
            unknown->Release();
    }

    HostedInstance (const HostedInstance&) = delete;
    HostedInstance& operator= (const HostedInstance&) = delete;

    AAX_FieldIndex fieldOf (const char* kind) const { return component.fields.at (kind); }

    /** Host side: lets the effect post its packets and keeps the latest for the port. */
    void dispatchPackets()
    {
        effect->GenerateCoefficients();
        for (const auto& [field, payload] : host.controller().packets)
            if (field == fieldOf ("dataIn"))
                std::memcpy (port.data(), payload.data(), std::min (payload.size(), port.size() * 8));
        host.controller().packets.clear();
    }

    /** Audio side: one call of the process procedure (allocates nothing); in and out may be
        the same channels. */
    void render (float* const* in, float* const* out, int32_t samples)
    {
        std::array<void*, 8> slots {};
        slots[fieldOf ("audioIn")] = const_cast<float**> (in);
        slots[fieldOf ("audioOut")] = const_cast<float**> (out);
        slots[fieldOf ("bufferLength")] = &samples;
        slots[fieldOf ("dataIn")] = port.data();
        for (auto& [field, block] : privateBlocks)
            slots[field] = block.data();

        void* instances[] = { slots.data() };
        component.process (instances, instances + 1);
    }

    /** Both, on copies of the input. */
    std::vector<std::vector<float>> process (std::vector<std::vector<float>> input)
    {
        dispatchPackets();
        auto output = input;
        std::vector<float*> in, out;
        for (size_t c = 0; c < input.size(); ++c)
            in.push_back (input[c].data()), out.push_back (output[c].data());
        render (in.data(), out.data(), int32_t (input[0].size()));
        return output;
    }

    double value (const char* id) const
    {
        double v = -1.0;
        effect->GetParameterNormalizedValue (id, &v);
        return v;
    }

    /** Size query then fetch, as a host saves a chunk. */
    std::vector<uint8_t> saveChunk (AAX_ChunkID id) const
    {
        uint32_t size = 0;
        if (effect->GetChunkSize (id, &size) != kAAXSuccess)
            return {};
        std::vector<uint8_t> bytes (kelmora::aax::kChunkRecordHeaderSize + size);
        auto* record = reinterpret_cast<kelmora::aax::ChunkRecord*> (bytes.data());
        record->size = int32_t (size);
        record->chunkID = id;
        return effect->GetChunk (id, record) == kAAXSuccess ? bytes : std::vector<uint8_t> {};
    }

    FakeHost& host;
    DescribedComponent component;
    IACFUnknown* unknown;
    AAX_IACFEffectParameters* effect = nullptr;
    AAX_Result initResult = kAAXNullObject;
    std::map<AAX_FieldIndex, std::vector<uint64_t>> privateBlocks;
    std::vector<uint64_t> port;
};
} // namespace quietline::test::aax
