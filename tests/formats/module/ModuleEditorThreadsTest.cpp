// Editors of the built module under the threads a host really uses (also run under
// ThreadSanitizer, on Xvfb): opened, idled and closed on different threads, never idled at all,
// and idled again from inside the host callbacks that a drag in the editor makes. A deadlock
// ends the test through its watchdog.
#include "formats/module/BuiltModule.h"
#include "formats/module/EditorInput.h"
#include "support/Concurrency.h"
#include "support/TempHome.h"
#include "support/TsanJuceShutdown.h"
#include "tools/aaxhost/HostWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <iterator>
#include <map>
#include <thread>

namespace kelmora::tools::test
{
namespace
{
using quietline::test::deadlockLimit;
using quietline::test::Watchdog;

/** An instance with its editor in a host window of its own. */
struct EditorInstance
{
    std::unique_ptr<HostedEffect> effect;
    std::unique_ptr<HostWindow> window {};

    bool open()
    {
        window = std::make_unique<HostWindow>();
        ERect* rect = nullptr;
        return window->display != nullptr && effect->dispatch (effEditGetRect, 0, 0, &rect) == 1
               && effect->dispatch (effEditOpen, 0, 0, (void*) (uintptr_t) window->window) == 1;
    }

    void idle (int times = 1)
    {
        for (int i = 0; i < times; ++i)
            effect->dispatch (effEditIdle);
    }
};

} // namespace

TEST (ModuleEditorThreads, AnInstanceClosesOnAnyThreadWhateverItsEditorsThreadsDo)
{
    quietline::test::TempHome home;
    struct Case
    {
        const char* what;
        bool idled;              // a third thread idles the editors
        bool editorClosedFirst;  // effEditClose on the closing thread before effClose
        bool otherEditorClosing; // meanwhile a fourth thread closes the other instance's editor
    };
    const Case cases[] = {
        { "effEditClose then effClose on a third thread", true, true, false },
        { "effClose alone, with the editor open", true, false, false },
        { "while another thread closes the other instance's editor", true, false, true },
        { "an editor the host never idles", false, false, false },
    };

    {
        auto module = loadModule();
        ASSERT_NE (module, nullptr);

        for (const auto& c : cases)
        {
            SCOPED_TRACE (c.what);
            const Watchdog watchdog (c.what, deadlockLimit);
            EditorInstance closing { makeInstance (*module, 96000.0) }, other { makeInstance (*module, 96000.0) };
            ASSERT_TRUE (closing.effect != nullptr && other.effect != nullptr);

            // Opened on one thread...
            std::thread ([&] {
                ASSERT_TRUE (closing.open() && other.open());
            }).join();

            // ...idled on another, first the closing one, then the other until the close is done...
            quietline::test::StartLatch go (1 + (c.idled ? 1 : 0) + (c.otherEditorClosing ? 1 : 0));
            std::atomic<bool> closed { false };
            std::thread idler ([&] {
                if (! c.idled)
                    return;
                closing.idle (20);
                go.arriveAndWait();
                while (! closed)
                    other.idle();
            });
            std::thread editorThread ([&] {
                if (! c.otherEditorClosing)
                    return;
                go.arriveAndWait();
                other.effect->dispatch (effEditClose);
            });

            // ...and closed on a third, which also makes and closes an instance of its own.
            std::thread ([&] {
                go.arriveAndWait();
                EXPECT_NE (makeInstance (*module, 96000.0), nullptr);
                if (c.editorClosedFirst)
                    closing.effect->dispatch (effEditClose);
                closing.effect.reset();
                closed = true;
            }).join();
            idler.join();
            editorThread.join();
        }
    }
#ifndef __SANITIZE_THREAD__
    // The thread sanitizer's runtime keeps a module mapped once it has run threads there.
    EXPECT_FALSE (moduleIsMapped()) << "the module unloads after its editors were open";
#endif
}

TEST (ModuleEditorThreads, AHostThatIdlesTheEditorFromItsCallbacksCanBeDraggedIn)
{
    quietline::test::TempHome home;
    const Watchdog watchdog ("an idle call made inside a callback of the editor's drag", deadlockLimit);
    auto module = loadModule();
    ASSERT_NE (module, nullptr);

    // This host services its idle work whenever the plug-in calls it: every callback that a
    // drag or a change of the editor makes idles the editor again, on the same thread.
    std::atomic<int> reentered { 0 };
    EditorInstance e { makeInstance (*module, 96000.0, 256, [&] (HostedEffect& host, int32_t opcode) {
        if (opcode == hostAutomate || opcode == hostBeginEdit || opcode == hostEndEdit || opcode == hostUpdateDisplay)
        {
            ++reentered;
            host.dispatch (effEditIdle);
        }
    }) };
    ASSERT_NE (e.effect, nullptr);
    ASSERT_TRUE (e.open());
    const float before = e.effect->getParameter (0);

    // Upwards on the Frequency box (x 125 to 187, y 207 to 231 of the editor).
    dragInEditor (*e.window, 156, 219, 156, 150);
    const auto sawOpcode = [&] (int32_t opcode) {
        const auto log = e.effect->requests();
        return std::any_of (log.begin(), log.end(), [opcode] (const HostRequest& r) { return r.opcode == opcode; });
    };
    ASSERT_TRUE (quietline::test::waitUntil ([&] { return sawOpcode (hostEndEdit); }, [&] { e.idle(); }))
        << "watchdog: the drag never ended";
    EXPECT_TRUE (sawOpcode (hostBeginEdit) && sawOpcode (hostAutomate));
    EXPECT_GT (reentered.load(), 2);
    EXPECT_GT (e.effect->getParameter (0), before) << "the drag moved the frequency up";
    e.effect.reset();
}
} // namespace kelmora::tools::test

namespace kelmora::tools::test
{
namespace
{
// The instance whose host call is running on this thread, if any.
thread_local const HostedEffect* inCallOn = nullptr;
} // namespace

TEST (ModuleEditorThreads, AHostMayCloseOrWaitOnAnythingInsideTheCallbacksOfADrag)
{
    quietline::test::TempHome home;
    enum class Act { closeDragged, closeDraggedEditor, openAnotherOnAnotherThread, closeIdled, closeIdledEditor };
    struct Case
    {
        const char* what;
        bool dragInOther; // the drag is in another instance's editor, dispatched by the idled one's call
        Act act;          // what the host does inside the dragged instance's begin-edit callback
    };
    const Case cases[] = {
        { "closes the instance", false, Act::closeDragged },
        { "closes the editor", false, Act::closeDraggedEditor },
        { "waits for another thread that opens another editor", false, Act::openAnotherOnAnotherThread },
        { "closes the instance whose idle call dispatched the drag", true, Act::closeIdled },
        { "closes the editor whose idle call dispatched the drag", true, Act::closeIdledEditor },
    };

    auto module = loadModule();
    ASSERT_NE (module, nullptr);

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        const Watchdog watchdog (c.what, deadlockLimit);
        EditorInstance idled, dragged, third { makeInstance (*module, 96000.0) };
        std::atomic<bool> acted { false };
        bool thirdOpened = false;

        auto* draggedInstance = c.dragInOther ? &dragged : &idled;
        auto* idledInstance = &idled;
        draggedInstance->effect = makeInstance (*module, 96000.0, 256, [&] (HostedEffect& host, int32_t opcode) {
            if (c.dragInOther && inCallOn != nullptr)
            {
                EXPECT_NE (inCallOn, idledInstance->effect.get()) << "a callback of one instance inside a call on another";
            }
            if (opcode != hostBeginEdit || acted)
                return;
            switch (c.act)
            {
                case Act::closeDragged:               host.close(); break;
                case Act::closeDraggedEditor:         host.dispatch (effEditClose); break;
                case Act::openAnotherOnAnotherThread: std::thread ([&] { thirdOpened = third.open(); }).join(); break;
                case Act::closeIdled:                 idledInstance->effect->close(); break;
                case Act::closeIdledEditor:           idledInstance->effect->dispatch (effEditClose); break;
            }
            acted = true;
        });
        (c.dragInOther ? idled : dragged).effect = makeInstance (*module, 96000.0);
        ASSERT_TRUE (idled.effect != nullptr && dragged.effect != nullptr);
        ASSERT_TRUE (idled.open() && (! c.dragInOther || dragged.open()));

        const float before = draggedInstance->effect->getParameter (0);
        dragInEditor (*draggedInstance->window, 156, 219, 156, 150);
        const auto idle = [] (EditorInstance& e) {
            inCallOn = e.effect.get();
            e.idle();
            inCallOn = nullptr;
        };

        // Only the idled instance is called until the drag has landed...
        ASSERT_TRUE (quietline::test::waitUntil ([&] { return acted || draggedInstance->effect->getParameter (0) > before; },
                                                 [&] { idle (idled); }))
            << "watchdog: the drag never arrived";
        // ...then the dragged one too, until the host has acted and the drag's gesture is over.
        const auto ended = [&] {
            const auto log = draggedInstance->effect->requests();
            return std::any_of (log.begin(), log.end(), [] (const HostRequest& r) { return r.opcode == hostEndEdit; });
        };
        // A closed instance says nothing more.
        ASSERT_TRUE (quietline::test::waitUntil ([&] { return acted && (c.act == Act::closeDragged || ended()); }, [&] {
            idle (idled);
            idle (*draggedInstance);
        })) << "watchdog: the drag's gesture never ended";

        if (c.act == Act::openAnotherOnAnotherThread)
        {
            EXPECT_TRUE (thirdOpened);
        }
        if (c.act != Act::closeDragged)
        {
            EXPECT_GT (draggedInstance->effect->getParameter (0), before);
        }
    }
}

TEST (ModuleEditorThreads, ResumeReturnsWithTheNewRatesDelayWhateverAnotherThreadIdlingTheEditorDelivers)
{
    quietline::test::TempHome home;
    const Watchdog watchdog ("a resume or an idle call never returned", deadlockLimit);
    auto module = loadModule();
    ASSERT_NE (module, nullptr);

    const double rates[] = { 192000.0, 44100.0, 384000.0, 88200.0, 96000.0 };
    std::map<double, int32_t> delayAt;
    for (const double rate : rates)
    {
        const auto fresh = makeInstance (*module, rate);
        ASSERT_NE (fresh, nullptr);
        delayAt[rate] = fresh->latency();
    }
    ASSERT_NE (delayAt[192000.0], delayAt[96000.0]);

    // The idle thread stops inside the first host callback it delivers (the begin-edit of a drag
    // it dispatched) until the other thread's resume has returned.
    std::promise<void> inside, resumed;
    auto resumedLater = resumed.get_future().share();
    std::atomic<bool> held { false };
    EditorInstance e { makeInstance (*module, 96000.0, 256, [&] (HostedEffect&, int32_t opcode) {
        if (opcode == hostBeginEdit && ! held.exchange (true))
        {
            inside.set_value();
            resumedLater.wait();
        }
    }) };
    ASSERT_NE (e.effect, nullptr);
    ASSERT_TRUE (e.open());

    const auto resumeAt = [&e] (double rate) {
        e.effect->suspend();
        e.effect->start (rate, 256);
        return e.effect->latency();
    };

    std::atomic<bool> idling { true };
    std::thread idler ([&] {
        while (idling)
            e.idle();
    });

    dragInEditor (*e.window, 156, 219, 156, 150);
    inside.get_future().wait();
    const int32_t whileDelivering = resumeAt (192000.0);
    resumed.set_value();
    EXPECT_EQ (whileDelivering, delayAt[192000.0]) << "resume returned before the record held the new rate's delay";

    // Resumes at changing rates against idle calls that deliver at any moment.
    int stale = 0;
    for (int i = 0; i < 200; ++i)
    {
        const double rate = rates[(size_t) i % std::size (rates)];
        stale += resumeAt (rate) == delayAt[rate] ? 0 : 1;
    }
    idling = false;
    idler.join();
    EXPECT_EQ (stale, 0) << "resumes that returned with another rate's delay";

    // No delivery after the last resume wrote an older delay over it.
    e.idle();
    EXPECT_EQ (e.effect->latency(), delayAt[rates[199 % std::size (rates)]]);
}
} // namespace kelmora::tools::test
