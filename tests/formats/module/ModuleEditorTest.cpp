// The module's editor in a host's X11 window, then the module unloaded: nothing of JUCE's
// window system may keep it in memory. Needs an X server.
#include "support/TempHome.h"
#include "tools/vsthost/HostedEffect.h"
#include "tools/vsthost/Signals.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/HostWindow.h"

namespace kelmora::tools::test
{
TEST (ModuleEditor, OpensInAHostWindowAndTheModuleStillUnloads)
{
    quietline::test::TempHome home;
    quietline::test::HostWindow frame;
    ASSERT_NE (frame.display, nullptr) << "needs an X server";
    const ::Window parent = frame.window;

    for (int round = 0; round < 2; ++round)
    {
        std::string error;
        auto module = VstPluginModule::load (QUIETLINE_MODULE_PATH, error);
        ASSERT_NE (module, nullptr) << error;
        auto effect = HostedEffect::create (*module, error);
        ASSERT_NE (effect, nullptr) << error;
        effect->open();
        effect->start (96000.0, 256);
        ASSERT_EQ (effect->dispatch (effEditOpen, 0, 0, (void*) (uintptr_t) parent), 1);
        for (int i = 0; i < 20; ++i, effect->dispatch (effEditIdle))
            render (*effect, Channels (2, std::vector<float> (256, 0.1f)));
        effect->dispatch (effEditClose);
        effect.reset();
        module.reset();

        std::ifstream maps ("/proc/self/maps");
        const std::string all ((std::istreambuf_iterator<char> (maps)), std::istreambuf_iterator<char>());
        EXPECT_EQ (all.find (QUIETLINE_MODULE_PATH), std::string::npos) << "round " << round;
    }
}
} // namespace kelmora::tools::test
