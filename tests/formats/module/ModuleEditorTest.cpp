// The module's editor in a host's X11 window, then the module unloaded: nothing of JUCE's
// window system may keep it in memory. Needs an X server.
#include "formats/module/ModuleTestSupport.h"

#include <fstream>

#include <X11/Xlib.h>

namespace kelmora::tools::test
{
TEST (ModuleEditor, OpensInAHostWindowAndTheModuleStillUnloads)
{
    quietline::test::TempHome home;
    XSetErrorHandler ([] (::Display*, XErrorEvent*) { return 0; });
    ::Display* display = XOpenDisplay (nullptr);
    ASSERT_NE (display, nullptr) << "needs an X server";
    const ::Window parent = XCreateSimpleWindow (display, DefaultRootWindow (display), 0, 0, 500, 300, 0, 0, 0);
    XMapWindow (display, parent);
    XFlush (display);

    for (int round = 0; round < 2; ++round)
    {
        std::string error;
        auto module = VstPluginModule::load (QUIETLINE_MODULE_PATH, error);
        ASSERT_NE (module, nullptr) << error;
        {
            auto effect = HostedEffect::create (*module, error);
            ASSERT_NE (effect, nullptr) << error;
            effect->open();
            effect->start (96000.0, 256);
            if ((effect->record().flags & effFlagsHasEditor) == 0)
                GTEST_SKIP() << "the processor has no editor";

            ERect* rect = nullptr;
            ASSERT_EQ (effect->dispatch (effEditGetRect, 0, 0, &rect), 1);
            ASSERT_NE (rect, nullptr);
            EXPECT_GT (rect->right - rect->left, 0);
            ASSERT_EQ (effect->dispatch (effEditOpen, 0, 0, (void*) (uintptr_t) parent), 1);

            const auto x = impulseAt (256, 0);
            for (int i = 0; i < 20; ++i)
            {
                effect->dispatch (effEditIdle);
                render (*effect, Channels { x, x });
            }

            effect->dispatch (effEditClose);
        }
        module.reset();

        std::ifstream maps ("/proc/self/maps");
        std::string all ((std::istreambuf_iterator<char> (maps)), std::istreambuf_iterator<char>());
        EXPECT_EQ (all.find (QUIETLINE_MODULE_PATH), std::string::npos) << "round " << round;
    }

    XDestroyWindow (display, parent);
    XCloseDisplay (display);
}
} // namespace kelmora::tools::test
