// The VST 2.4 chunk as a host hands it over: through the built module's dispatcher.
#include "fuzz/FuzzTargets.h"
#include "tools/vsthost/HostedEffect.h"
#include "tools/vsthost/Signals.h"

#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace quietline::fuzz
{
namespace
{
using kelmora::tools::HostedEffect;
using kelmora::tools::VstPluginModule;

struct Loaded
{
    std::unique_ptr<VstPluginModule> module;
    std::unique_ptr<HostedEffect> target, other;   // closed before the module unloads
};

std::unique_ptr<HostedEffect> started (const VstPluginModule& module)
{
    std::string error;
    auto effect = HostedEffect::create (module, error);
    if (effect == nullptr)
        throw std::runtime_error (error);
    effect->open();
    effect->start (96000.0, 256);
    return effect;
}

Loaded& loaded()
{
    static Loaded l = []
    {
        sharedHome();
        ::unsetenv ("DISPLAY");
        Loaded fresh;
        std::string error;
        fresh.module = VstPluginModule::load (QUIETLINE_MODULE_PATH, error);
        if (fresh.module == nullptr)
            throw std::runtime_error (error);
        fresh.target = started (*fresh.module);
        fresh.other = started (*fresh.module);
        return fresh;
    }();
    return l;
}

void requireSound (HostedEffect& e, HostedEffect& other, bool preset)
{
    for (int32_t i = 0; i < e.numParameters(); ++i)
    {
        const float v = e.getParameter (i);
        require (std::isfinite (v) && v >= 0.0f && v <= 1.0f, "host parameter finite and within 0..1");
    }
    const auto saved = e.getChunk (preset);
    other.setChunk (saved, preset);
    require (other.getChunk (preset) == saved, "a saved chunk reads back identical in another instance");
    for (int32_t i = 0; i < e.numParameters(); ++i)
        require (other.getParameter (i) == e.getParameter (i), "another instance restores every value");
    e.setChunk (saved, preset);
    require (e.getChunk (preset) == saved, "a saved chunk reads back identical in the same instance");

    requireFiniteOutput ([&e] (auto io) { return kelmora::tools::render (e, io); });
}
} // namespace

void vstChunk (const uint8_t* data, size_t size)
{
    auto& l = loaded();
    const std::vector<uint8_t> bytes (data, data + size);
    for (bool preset : { false, true })
    {
        l.target->setChunk (bytes, preset);
        requireSound (*l.target, *l.other, preset);
    }
}
} // namespace quietline::fuzz
