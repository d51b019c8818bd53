#pragma once

#include "support/TempHome.h"
#include "tools/vsthost/HostedEffect.h"
#include "tools/vsthost/Signals.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace kelmora::tools::test
{
/** Loads the built module in a fresh HOME with no display, as a plain Linux host scanning or
    loading a plug-in would, and creates instances through its entry point. */
class ModuleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::unsetenv ("DISPLAY");
        std::string error;
        module = VstPluginModule::load (QUIETLINE_MODULE_PATH, error);
        ASSERT_NE (module, nullptr) << error;
    }

    void TearDown() override
    {
        instances.clear();
        module.reset();
    }

    /** A new open instance (owned by the fixture unless taken). */
    HostedEffect& instance()
    {
        std::string error;
        auto effect = HostedEffect::create (*module, error);
        EXPECT_NE (effect, nullptr) << error;
        if (effect == nullptr)
            throw std::runtime_error (error);
        effect->open();
        instances.push_back (std::move (effect));
        return *instances.back();
    }

    /** Every parameter's normalised value. */
    static std::vector<float> parameters (HostedEffect& e)
    {
        std::vector<float> values;
        for (int32_t i = 0; i < e.numParameters(); ++i)
            values.push_back (e.getParameter (i));
        return values;
    }

    quietline::test::TempHome home;
    std::unique_ptr<VstPluginModule> module;
    std::vector<std::unique_ptr<HostedEffect>> instances;
};

inline std::vector<float> impulseAt (size_t length, size_t at)
{
    std::vector<float> x (length, 0.0f);
    x[at] = 1.0f;
    return x;
}

/** Index of the largest magnitude. */
inline size_t peakIndex (const std::vector<float>& x)
{
    size_t best = 0;
    for (size_t i = 1; i < x.size(); ++i)
        if (std::abs (x[i]) > std::abs (x[best]))
            best = i;
    return best;
}
} // namespace kelmora::tools::test
