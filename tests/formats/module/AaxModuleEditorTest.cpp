// The product's editor through its AAX GUI in a host's X11 window, then the module unloaded
// (the embedding itself is the glue tests' part). Needs an X server.
#include "platform/aax/AAX_IACFEffectGUI.h"
#include "support/TempHome.h"
#include "tools/aaxhost/AaxModule.h"
#include "tools/aaxhost/HostWindow.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace quietline::test::aax
{
using namespace kelmora::tools::aaxhost;

TEST (AaxModuleEditor, OpensInTheHostWindowOnlyWithADisplayAndTheModuleStillUnloads)
{
    TempHome home;
    kelmora::tools::HostWindow frame;
    ASSERT_NE (frame.display, nullptr) << "needs an X server";
    AaxModule module (QUIETLINE_MODULE_PATH);
    ASSERT_TRUE (module.loaded());
    {
        AaxHost host;
        ASSERT_EQ (module.describe (host), kAAXSuccess);
        const auto& effect = host.state->description.effects.at (0);
        HostedInstance hosted (host, makeObject (effect, kAAXProc_CreateEffectParameters), effect.components[1]);

        IACFUnknown* object = makeObject (effect, kAAXProc_CreateEffectGUI);
        auto* gui = kelmora::aax::QueryHostInterface<AAX_IACFEffectGUI> (object, kAAXID_EffectGUI);
        ASSERT_NE (gui, nullptr);
        ASSERT_EQ (gui->Initialize (host.unknown()), kAAXSuccess);

        auto* container = new HostViewContainer (host.state, kAAXViewContainer_X11Window, reinterpret_cast<void*> (uintptr_t (frame.window)));
        // Without a display named, the view reports an error rather than try one.
        const std::string display = std::getenv ("DISPLAY");
        ::unsetenv ("DISPLAY");
        EXPECT_EQ (gui->SetViewContainer (container), kAAXNotSupported);
        ::setenv ("DISPLAY", display.c_str(), 1);
        ASSERT_EQ (gui->SetViewContainer (container), kAAXSuccess);
        container->Release();
        for (int i = 0; i < 10; ++i)
            gui->TimerWakeup(), hosted.process (std::vector<std::vector<float>> (2, std::vector<float> (256, 0.1f)));

        gui->SetViewContainer (nullptr);
        gui->Uninitialize();
        kelmora::aax::ReleaseHostInterface (gui);
        object->Release();
        module.shutdown (host.unknown());
    }
    EXPECT_EQ (module.canUnloadNow (nullptr), 0);
    module.close();
    EXPECT_FALSE (module.mapped());
}
} // namespace quietline::test::aax
