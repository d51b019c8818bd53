#include "tools/aaxhost/AaxModule.h"

#include <dlfcn.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <iterator>

namespace kelmora::tools::aaxhost
{
namespace
{
template <class Function>
void resolve (void* handle, Function& function, const char* name)
{
    function = reinterpret_cast<Function> (dlsym (handle, name));
}
} // namespace

AaxModule::AaxModule (const std::string& modulePath) : path (modulePath), handle (dlopen (path.c_str(), RTLD_NOW | RTLD_LOCAL))
{
    if (handle != nullptr)
    {
        resolve (handle, registerPlugin, "ACFRegisterPlugin");
        resolve (handle, canUnloadNow, "ACFCanUnloadNow");
        resolve (handle, startup, "ACFStartup");
        resolve (handle, shutdown, "ACFShutdown");
    }
}

void AaxModule::close()
{
    if (handle != nullptr)
        dlclose (handle);
    handle = nullptr;
}

bool AaxModule::mapped() const
{
    std::ifstream maps ("/proc/self/maps");
    const std::string all ((std::istreambuf_iterator<char> (maps)), std::istreambuf_iterator<char>());
    return all.find (path) != std::string::npos;
}

ACFResult AaxModule::describe (AaxHost& host)
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

IACFUnknown* makeObject (const DescribedEffect& effect, AAX_ProcedureID procedure)
{
    const auto found = effect.procedures.find (procedure);
    return found != effect.procedures.end() ? reinterpret_cast<AAX_CreateObjectProc> (found->second)() : nullptr;
}

//==============================================================================
HostedInstance::HostedInstance (AaxHost& aaxHost, IACFUnknown* object, const DescribedComponent& described)
    : host (aaxHost), component (described), unknown (object)
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

HostedInstance::~HostedInstance()
{
    host.automation().onSetValueRequest = [] (const char*, double) {};
    if (effect != nullptr)
        effect->Uninitialize();
    kelmora::aax::ReleaseHostInterface (effect);
    if (unknown != nullptr)
        unknown->Release();
}

void HostedInstance::dispatchPackets()
{
    effect->GenerateCoefficients();
    for (const auto& [field, payload] : host.controller().packets)
        if (field == fieldOf ("dataIn"))
            std::memcpy (port.data(), payload.data(), std::min (payload.size(), port.size() * 8));
    host.controller().packets.clear();
}

void HostedInstance::render (float* const* in, float* const* out, int32_t samples)
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

std::vector<std::vector<float>> HostedInstance::process (std::vector<std::vector<float>> input)
{
    dispatchPackets();
    auto output = input;
    std::vector<float*> in, out;
    for (size_t c = 0; c < input.size(); ++c)
        in.push_back (input[c].data()), out.push_back (output[c].data());
    render (in.data(), out.data(), int32_t (input[0].size()));
    return output;
}

double HostedInstance::value (const char* id) const
{
    double v = -1.0;
    effect->GetParameterNormalizedValue (id, &v);
    return v;
}

std::vector<uint8_t> HostedInstance::saveChunk (AAX_ChunkID id) const
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
} // namespace kelmora::tools::aaxhost
