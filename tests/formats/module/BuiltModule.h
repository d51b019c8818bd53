#pragma once

// The built product module as the module tests load it: by path, through the reference host's
// loader, with instances made on any thread.
#include "tools/vsthost/HostedEffect.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

/** The editor as the product draws it at 96 kHz: the dark strip along the top, and the curve's
    blue fill in a column left of the 21 kHz corner (x 160 of the editor), below 0 dB. */
inline bool showsTheEditor (const std::vector<uint32_t>& pixels, int width)
{
    // 16: red, 8: green, 0: blue.
    const auto level = [&] (int x, int y, int shift) { return int (pixels[(size_t) (y * width + x)] >> shift) & 255; };
    for (int x = 0; x < width; ++x)
        if (level (x, 1, 16) > 40 || level (x, 1, 8) > 40 || level (x, 1, 0) > 40)
            return false;
    for (int y = 80; y < 160; ++y)
        if (level (160, y, 0) < level (160, y, 16) + 20)
            return false;
    return true;
}

/** Whether the module is mapped into this process. */
inline bool moduleIsMapped()
{
    std::ifstream maps ("/proc/self/maps");
    return std::string (std::istreambuf_iterator<char> (maps), {}).find (QUIETLINE_MODULE_PATH) != std::string::npos;
}
} // namespace kelmora::tools::test
