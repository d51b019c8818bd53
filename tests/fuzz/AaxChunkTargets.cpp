// The AAX chunks as a host hands them over: through the built module's exports in the reference AAX host.
#include "formats/aax/AAX_CEffectParameters.h"
#include "fuzz/FuzzTargets.h"
#include "tools/aaxhost/AaxModule.h"

#include <cmath>
#include <stdexcept>
#include <utility>

namespace quietline::fuzz
{
namespace
{
using namespace kelmora::tools::aaxhost;
constexpr AAX_ChunkID controlsChunk = kelmora::aax::AAX_CEffectParameters::controlsChunkID;
const char* const parameterIds[] = { "0", "1", "2", "3", "MasterBypassID" };

struct Loaded
{
    Loaded()
    {
        sharedHome();
        ::unsetenv ("DISPLAY");
        if (! module.loaded() || module.describe (host) != kAAXSuccess || host.state->description.effects.empty())
            throw std::runtime_error ("the module does not load in the reference AAX host");
    }

    ~Loaded() { module.shutdown (host.unknown()); }

    /** A new stereo instance; only one lives at a time, as the host answers for one effect. */
    std::unique_ptr<HostedInstance> instance()
    {
        const auto& effect = host.state->description.effects[0];
        return std::make_unique<HostedInstance> (host, makeObject (effect, kAAXProc_CreateEffectParameters), effect.components.at (1));
    }

    AaxModule module { QUIETLINE_MODULE_PATH };
    AaxHost host;
};

std::vector<double> valuesOf (const HostedInstance& instance)
{
    std::vector<double> values;
    for (const char* id : parameterIds)
        values.push_back (instance.value (id));
    return values;
}

void setChunk (HostedInstance& instance, const std::vector<uint8_t>& record)
{
    const auto* header = reinterpret_cast<const kelmora::aax::ChunkRecord*> (record.data());
    instance.effect->SetChunk (header->chunkID, header);
}

/** Values in range, finite output, and both chunks saved afterwards restore into fresh
    instances with the same values and, once settled, byte for byte. */
void chunkTarget (AAX_ChunkID id, const uint8_t* data, size_t size)
{
    static Loaded loaded;
    loaded.host.log().clear();

    std::vector<uint8_t> record (kelmora::aax::kChunkRecordHeaderSize + size);
    auto* header = reinterpret_cast<kelmora::aax::ChunkRecord*> (record.data());
    header->size = (int32_t) size;
    header->chunkID = id;
    std::copy (data, data + size, kelmora::aax::ChunkRecordData (header));

    std::vector<uint8_t> controls, state;
    std::vector<double> values;
    {
        auto target = loaded.instance();
        require (target->initResult == kAAXSuccess, "an instance initialises");
        setChunk (*target, record);
        controls = target->saveChunk (controlsChunk);   // also brings the host's view up to date
        state = target->saveChunk (kAAXChunk_ProcessorState);
        require (! controls.empty() && ! state.empty(), "both chunks save");
        values = valuesOf (*target);
        for (double v : values)
            require (std::isfinite (v) && v >= 0.0 && v <= 1.0, "parameter finite and within 0..1");
        requireFiniteOutput ([&target] (auto io) { return target->process (io); });
    }

    // A position the host set directly may lie between two values; a saved state keeps values,
    // so the first reload may move such a position onto its value. From then on the chunks
    // must read back identically.
    for (int round = 0; round < 2; ++round)
    {
        auto fresh = loaded.instance();
        setChunk (*fresh, controls);
        setChunk (*fresh, state);
        const auto controlsAgain = fresh->saveChunk (controlsChunk), stateAgain = fresh->saveChunk (kAAXChunk_ProcessorState);
        const auto restored = valuesOf (*fresh);
        for (size_t i = 0; i < values.size(); ++i)
            require (std::abs (restored[i] - values[i]) <= 1e-9, "a fresh instance restores every value");
        if (round == 1)
        {
            require (controlsAgain == controls, "the controls chunk reads back identical in a fresh instance");
            require (stateAgain == state, "the state chunk reads back identical in a fresh instance");
        }
        controls = controlsAgain, state = stateAgain, values = restored;
    }
    // The host keeps the last effect it answered for; give it back now, not after the
    // module's own statics are gone at exit.
    std::exchange (loaded.host.hostUnknown->effect, nullptr)->Release();
}
} // namespace

void aaxControlsChunk (const uint8_t* data, size_t size) { chunkTarget (controlsChunk, data, size); }

void aaxStateChunk (const uint8_t* data, size_t size) { chunkTarget (kAAXChunk_ProcessorState, data, size); }
} // namespace quietline::fuzz
