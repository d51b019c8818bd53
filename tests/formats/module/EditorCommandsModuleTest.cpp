// Editor commands that move several values at once (a preset arrow, undo) through the built
// module: each format's host hears every value they changed, once, and reads the same value
// back; what the host automates itself is not told back. Needs an X server.
#include "formats/module/BuiltModule.h"
#include "formats/module/EditorInput.h"
#include "platform/aax/AAX_IACFEffectGUI.h"
#include "support/Concurrency.h"
#include "support/TempHome.h"
#include "tools/aaxhost/AaxModule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <string>

namespace kelmora::tools::test
{
namespace
{
struct Told
{
    int index;
    double value;
};

/** One format's host side of an open editor. */
struct HostSide
{
    HostWindow window;
    std::function<bool()> open;
    std::function<void()> idle, close;
    std::function<double (int index)> read;
    std::function<void (int index, double value)> automate;
    std::function<std::vector<Told>()> told;   // the values the plug-in told since clear()
    std::function<size_t()> gestures;         // begun or ended since clear()
    std::function<void()> clear;
    bool automationIsARequest = false;        // AAX: the host's own set comes back as one request
};

void expectEditorCommandsTellTheHost (HostSide& host)
{
    // In the editor: undo at x 3 to 27, y 3 to 25; the next-preset arrow at x 203 to 227, y 14 to 25.
    struct Row { const char* what; int x, y; bool mixAutomatedFirst; std::vector<int> told; bool backToStart; };
    const Row rows[] = {
        { "the next-preset arrow, Default to Light", 215, 19, false, { 0, 1 }, false },
        { "undo of it", 15, 14, false, { 0, 1 }, true },
        { "host automation of Mix, then the arrow", 215, 19, true, { 0, 1, 2 }, false },
    };

    std::vector<double> start;
    for (int i = 0; i < 4; ++i)
        start.push_back (host.read (i));

    // A fresh editor for each click: an open editor shows whether undo can be clicked only after
    // its next timer tick, and a click before that would depend on timing.
    for (const auto& row : rows)
    {
        SCOPED_TRACE (row.what);
        ASSERT_TRUE (host.open());
        host.clear();
        if (row.mixAutomatedFirst)
        {
            host.automate (2, 0.5);
            const auto own = host.told();
            ASSERT_EQ (own.size(), host.automationIsARequest ? 1u : 0u) << "host automation told back";
            host.clear();
        }

        clickInEditor (host.window, row.x, row.y);
        ASSERT_TRUE (quietline::test::waitUntil ([&] { return host.told().size() >= row.told.size(); }, host.idle))
            << "watchdog: the host never heard the command's values";
        host.idle();   // whatever would come twice or late

        const auto told = host.told();
        std::vector<int> indexes;
        for (const auto& t : told)
        {
            indexes.push_back (t.index);
            EXPECT_NEAR (t.value, host.read (t.index), 1e-6) << "parameter " << t.index;
            if (row.backToStart)
            {
                EXPECT_NEAR (t.value, start[(size_t) t.index], 1e-6) << "parameter " << t.index;
            }
        }
        std::sort (indexes.begin(), indexes.end());
        EXPECT_EQ (indexes, row.told) << "each changed value once, no other";
        EXPECT_EQ (host.gestures(), 0u) << "a command is no gesture";
        host.close();
    }
}
} // namespace

TEST (EditorCommandsModule, VstHostHearsEachValueACommandChangedOnce)
{
    quietline::test::TempHome home;
    const quietline::test::Watchdog watchdog ("an editor command through VST", 2 * quietline::test::watchdogLimit);
    auto module = loadModule();
    ASSERT_NE (module, nullptr);
    auto effect = makeInstance (*module, 96000.0);
    ASSERT_NE (effect, nullptr);

    HostSide host;
    host.open = [&] {
        ERect* rect = nullptr;
        return host.window.display != nullptr && effect->dispatch (effEditGetRect, 0, 0, &rect) == 1
               && effect->dispatch (effEditOpen, 0, 0, (void*) (uintptr_t) host.window.window) == 1;
    };
    host.close = [&] { effect->dispatch (effEditClose); };
    host.idle = [&] { effect->dispatch (effEditIdle); };
    host.read = [&] (int i) { return (double) effect->getParameter (i); };
    host.automate = [&] (int i, double v) { effect->setParameter (i, (float) v); };
    const auto requests = [&] (std::initializer_list<int32_t> opcodes) {
        std::vector<HostRequest> found;
        for (const auto& r : effect->requests())
            if (std::find (opcodes.begin(), opcodes.end(), r.opcode) != opcodes.end())
                found.push_back (r);
        return found;
    };
    host.told = [&] {
        std::vector<Told> told;
        for (const auto& r : requests ({ hostAutomate }))
            told.push_back ({ r.index, r.opt });
        return told;
    };
    host.gestures = [&] { return requests ({ hostBeginEdit, hostEndEdit }).size(); };
    host.clear = [&] { effect->clearRequests(); };

    expectEditorCommandsTellTheHost (host);
}

TEST (EditorCommandsModule, AaxHostGetsASetRequestForEachValueACommandChanged)
{
    using namespace kelmora::tools::aaxhost;
    quietline::test::TempHome home;
    const quietline::test::Watchdog watchdog ("an editor command through AAX", 2 * quietline::test::watchdogLimit);
    AaxModule module (QUIETLINE_MODULE_PATH);
    ASSERT_TRUE (module.loaded());
    {
        AaxHost aax;
        ASSERT_EQ (module.describe (aax), kAAXSuccess);
        const auto& effect = aax.state->description.effects.at (0);
        HostedInstance hosted (aax, makeObject (effect, kAAXProc_CreateEffectParameters), effect.components[1]);

        // The host answers each request with the value, as HostedInstance does, and keeps it
        // (the master bypass is the host's own: no command moves it).
        std::vector<Told> told;
        aax.automation().onSetValueRequest = [&, answer = aax.automation().onSetValueRequest] (const char* id, double value) {
            if (std::isdigit ((unsigned char) id[0]))
                told.push_back ({ std::stoi (id), value });
            answer (id, value);
        };

        HostSide host;
        ASSERT_NE (host.window.display, nullptr) << "needs an X server";
        IACFUnknown* object = makeObject (effect, kAAXProc_CreateEffectGUI);
        auto* gui = kelmora::aax::QueryHostInterface<AAX_IACFEffectGUI> (object, kAAXID_EffectGUI);
        ASSERT_NE (gui, nullptr);
        ASSERT_EQ (gui->Initialize (aax.unknown()), kAAXSuccess);
        host.open = [&] {
            auto* container = new HostViewContainer (aax.state, kAAXViewContainer_X11Window, reinterpret_cast<void*> (uintptr_t (host.window.window)));
            const bool opened = gui->SetViewContainer (container) == kAAXSuccess;
            container->Release();
            return opened;
        };
        host.close = [&] { gui->SetViewContainer (nullptr); };
        host.idle = [&] { gui->TimerWakeup(); };
        host.read = [&] (int i) { return hosted.value (std::to_string (i).c_str()); };
        host.automate = [&] (int i, double v) { hosted.effect->SetParameterNormalizedValue (std::to_string (i).c_str(), v); };
        host.told = [&] { return told; };
        host.gestures = [&] { return aax.log().count ("automation", 7) + aax.log().count ("automation", 8); };
        host.clear = [&] { told.clear(), aax.log().clear(); };
        host.automationIsARequest = true;

        expectEditorCommandsTellTheHost (host);

        gui->Uninitialize();
        kelmora::aax::ReleaseHostInterface (gui);
        object->Release();
        module.shutdown (aax.unknown());
    }
}
} // namespace kelmora::tools::test
