#pragma once

// The built product module as the module tests load it: by path, through the reference host's
// loader, with instances made on any thread.
#include "tools/vsthost/HostedEffect.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace kelmora::tools::test
{
/** The module; null, with the loader's message as a test failure, when it does not load. */
inline std::unique_ptr<VstPluginModule> loadModule()
{
    std::string error;
    auto module = VstPluginModule::load (QUIETLINE_MODULE_PATH, error);
    if (module == nullptr)
        ADD_FAILURE() << error;
    return module;
}

/** A new instance, opened and, given a rate, started; null, with the reason as a test failure,
    when the module refuses it. */
inline std::unique_ptr<HostedEffect> makeInstance (const VstPluginModule& module, double rate = 0.0, int32_t block = 256,
                                                   HostedEffect::RequestHook hook = {})
{
    std::string error;
    auto e = HostedEffect::create (module, error, std::move (hook));
    if (e == nullptr)
        ADD_FAILURE() << error;
    else
    {
        e->open();
        if (rate > 0.0)
            e->start (rate, block);
    }
    return e;
}

/** Whether the module is mapped into this process. */
inline bool moduleIsMapped()
{
    std::ifstream maps ("/proc/self/maps");
    return std::string (std::istreambuf_iterator<char> (maps), {}).find (QUIETLINE_MODULE_PATH) != std::string::npos;
}
} // namespace kelmora::tools::test
