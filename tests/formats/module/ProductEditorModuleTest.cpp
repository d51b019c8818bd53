// The product's editor through the built module, in host windows the way a Linux VST 2.4 host
// frames it, while audio runs on another thread; then the module unloads. Needs an X server.
#include "formats/module/BuiltModule.h"
#include "support/Concurrency.h"
#include "support/TempHome.h"
#include "tools/vsthost/EditorWindow.h"
#include "tools/vsthost/Signals.h"

#include <gtest/gtest.h>

#include <atomic>
#include <algorithm>
#include <memory>
#include <thread>

namespace kelmora::tools::test
{
namespace
{
/** Idles every window until each shows the editor; false when the watchdog runs out first. */
bool untilShown (std::vector<EditorWindow*> windows)
{
    std::vector<bool> shown (windows.size(), false);
    return quietline::test::waitUntil ([&] { return std::find (shown.begin(), shown.end(), false) == shown.end(); }, [&] {
        for (size_t i = 0; i < windows.size(); ++i)
        {
            windows[i]->idle();
            shown[i] = shown[i] || showsTheEditor (windows[i]->capture(), windows[i]->width());
        }
    });
}
} // namespace

TEST (ProductEditorModule, TwoInstancesShowTheirCurvesTwiceWhileAudioRunsThenTheModuleUnloads)
{
    quietline::test::TempHome home;
    {
        auto module = loadModule();
        ASSERT_NE (module, nullptr);
        std::unique_ptr<HostedEffect> effects[2];
        for (auto& e : effects)
            ASSERT_NE (e = makeInstance (*module, 96000.0), nullptr);

        // Audio on its own thread until the editors' work is done; both instances have processed
        // (and so designed their filters) before the first editor opens.
        std::atomic<bool> stop { false };
        std::atomic<int> blocks { 0 };
        const std::shared_ptr<std::thread> audio (new std::thread ([&] {
            std::vector<float> left (256, 0.1f), right (256, 0.1f);
            float* io[] = { left.data(), right.data() };
            for (; ! stop; ++blocks)
                for (auto& effect : effects)
                    effect->process (io, io, 256);
        }), [&stop] (std::thread* t) { stop = true; t->join(); delete t; });
        ASSERT_TRUE (quietline::test::waitUntil ([&] { return blocks > 0; })) << "watchdog: no audio";

        std::string error;
        for (int round = 0; round < 2; ++round)
        {
            auto first = EditorWindow::open (*effects[0], error);
            ASSERT_NE (first, nullptr) << error;
            auto second = EditorWindow::open (*effects[1], error);
            ASSERT_NE (second, nullptr) << error;
            EXPECT_EQ (std::make_pair (first->width(), first->height()), std::make_pair (406, 242));
            EXPECT_TRUE (untilShown ({ first.get(), second.get() })) << "watchdog: round " << round;
        }
    }
    EXPECT_FALSE (moduleIsMapped());
}
} // namespace kelmora::tools::test
