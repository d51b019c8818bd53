// Host threads on the built module at once, through its dispatcher (also run under
// ThreadSanitizer): instances made and closed on any thread, also while another thread is inside
// a creation, and program names read while other threads rename and restore.
#include "formats/module/BuiltModule.h"
#include "support/Concurrency.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <set>

namespace kelmora::tools::test
{
namespace
{
size_t threadsOfThisProcess()
{
    const std::filesystem::directory_iterator tasks ("/proc/self/task");
    return (size_t) std::distance (begin (tasks), end (tasks));
}
} // namespace

TEST (ModuleThreads, AnInstanceClosesWhileAnotherThreadIsInsideACreation)
{
    quietline::test::TempHome home;
    ::unsetenv ("DISPLAY");
    const quietline::test::Watchdog watchdog ("a close waited for a creation in progress", quietline::test::deadlockLimit);
    auto module = loadModule();
    ASSERT_NE (module, nullptr);
    auto held = makeInstance (*module);
    ASSERT_NE (held, nullptr);

    // The creating thread's host answers the module's first request only once this thread's
    // close has returned: a close that waited for that creation would never return.
    std::promise<void> inside, closed;
    std::atomic<bool> first { true };
    std::unique_ptr<HostedEffect> made;
    std::string madeError;
    std::thread creating ([&] {
        made = HostedEffect::create (*module, madeError, [&, done = closed.get_future().share()] (HostedEffect&, int32_t) {
            if (first.exchange (false))
            {
                inside.set_value();
                done.wait();
            }
        });
    });
    inside.get_future().wait();
    held.reset();
    closed.set_value();
    creating.join();
    EXPECT_NE (made, nullptr) << madeError;
}

TEST (ModuleThreads, InstancesAreMadeUsedAndClosedOnSeveralThreadsAtOnceAndLeaveNoThreadBehind)
{
    ::unsetenv ("DISPLAY");
    for (const int threads : { 2, 4 })
    {
        SCOPED_TRACE (std::to_string (threads) + " threads");
        quietline::test::TempHome home;
        const quietline::test::Watchdog watchdog ("create and close on several threads", quietline::test::deadlockLimit);
        auto module = loadModule();
        ASSERT_NE (module, nullptr);
        const auto before = threadsOfThisProcess();

        // The first creations start together, so they race for JUCE's start; later ones meet
        // closes, the last of which stops JUCE while another thread may be starting it again.
        std::atomic<int> failures { 0 };
        quietline::test::runTogether (std::vector<std::function<void()>> ((size_t) threads, [&] {
            for (int cycle = 0; cycle < 6; ++cycle)
            {
                auto e = makeInstance (*module, 96000.0, 64);
                if (e == nullptr)
                {
                    ++failures;
                    return;
                }
                std::vector<float> left (64, 0.25f), right (64, 0.25f);
                float* io[] = { left.data(), right.data() };
                for (int block = 0; block < 4; ++block)
                    e->process (io, io, 64);
            }
        }));
        EXPECT_EQ (failures.load(), 0);
        EXPECT_EQ (threadsOfThisProcess(), before) << "closing the last instance stops every thread of the module";
    }
}

TEST (ModuleThreads, ProgramNamesReadWhileOtherThreadsRenameAndRestore)
{
    quietline::test::TempHome home;
    ::unsetenv ("DISPLAY");
    auto module = loadModule();
    ASSERT_NE (module, nullptr);
    auto e = makeInstance (*module);
    ASSERT_NE (e, nullptr);

    const auto bank = e->getChunk(), preset = e->getChunk (true);
    std::set<std::string> names;
    for (int32_t i = 0; i < e->numPrograms(); ++i)
        names.insert (e->programNameIndexed (i));

    const auto known = [&names] (const std::string& name) { return names.count (name) > 0 || name.rfind ("Renamed ", 0) == 0; };
    std::atomic<bool> restoring { true };
    std::atomic<int> unknown { 0 };
    quietline::test::runTogether ({
        [&] {
            // Saved, bank and program states in turn.
            for (int i = 0; i < 300; ++i)
                e->setChunk (i % 3 == 0 ? e->getChunk() : i % 3 == 1 ? bank : preset, i % 3 == 2);
            restoring = false;
        },
        [&] {
            for (int i = 0; i < 300 || restoring; ++i)
                e->setProgramName ("Renamed " + std::to_string (i % 7));
        },
        [&] {
            for (int round = 0; round < 100 || restoring; ++round)
            {
                for (int32_t i = 0; i < e->numPrograms(); ++i)
                    unknown += known (e->programNameIndexed (i)) ? 0 : 1;
                unknown += known (e->programName()) ? 0 : 1;
            }
        },
    });
    EXPECT_EQ (unknown.load(), 0) << "every name read is one that was written";

    e.reset();
}
TEST (ModuleThreads, ResumesAndIdleCallsOnTwoThreadsTellTheHostTheLatencyInTurn)
{
    quietline::test::TempHome home;
    ::unsetenv ("DISPLAY");
    const quietline::test::Watchdog watchdog ("a resume or an idle call never returned", quietline::test::deadlockLimit);
    auto module = loadModule();
    ASSERT_NE (module, nullptr);
    auto effect = makeInstance (*module);
    ASSERT_NE (effect, nullptr);

    // Each resume changes the latency with the rate; the idle calls deliver whatever is pending
    // at the same time. Run under ThreadSanitizer, an unserialised delivery is a report.
    constexpr int resumes = 200;
    std::atomic<bool> resuming { true };
    quietline::test::runTogether ({
        [&] {
            for (int i = 0; i < resumes; ++i)
            {
                effect->suspend();
                effect->start (i % 2 == 0 ? 96000.0 : 192000.0, 256);
            }
            resuming = false;
        },
        [&] {
            while (resuming)
                effect->dispatch (effEditIdle);
        },
    });

    // The record ends with the latency of the last rate, as a fresh instance at that rate has it.
    auto fresh = makeInstance (*module, 192000.0);
    ASSERT_NE (fresh, nullptr);
    EXPECT_EQ (effect->latency(), fresh->latency());
    EXPECT_GT (fresh->latency(), 0);
}

TEST (ModuleThreads, SpeakerArrangementsAskedOnTwoThreadsAreWholeAndCurrent)
{
    quietline::test::TempHome home;
    ::unsetenv ("DISPLAY");
    const quietline::test::Watchdog watchdog ("speaker arrangements asked on two threads", quietline::test::deadlockLimit);
    auto module = loadModule();
    ASSERT_NE (module, nullptr);
    auto effect = makeInstance (*module);
    ASSERT_NE (effect, nullptr);

    struct Layout
    {
        int32_t channels, type;
        int32_t speakers[2];
    };
    const Layout layouts[] = { { 1, kSpeakerArrMono, { kSpeakerM, 0 } }, { 2, kSpeakerArrStereo, { kSpeakerL, kSpeakerR } } };

    for (const auto& layout : layouts)
    {
        SCOPED_TRACE (std::to_string (layout.channels) + " channels");
        ASSERT_TRUE (effect->setChannels (layout.channels));

        // Each thread reads what it was handed right after the call that handed it, while the
        // other asks too: a record rewritten by the asking call is read half-written.
        const auto askMany = [&] {
            int torn = 0;
            for (int i = 0; i < 20000; ++i)
            {
                VstSpeakerArrangement* in = nullptr;
                VstSpeakerArrangement* out = nullptr;
                if (effect->dispatch (effGetSpeakerArrangement, 0, (intptr_t) &in, &out) == 0 || in == nullptr || out == nullptr)
                {
                    ++torn;
                    continue;
                }
                for (const auto* a : { in, out })
                {
                    bool whole = a->type == layout.type && a->numChannels == layout.channels;
                    for (int32_t s = 0; whole && s < layout.channels; ++s)
                        whole = a->speakers[s].type == layout.speakers[s];
                    torn += whole ? 0 : 1;
                }
            }
            return torn;
        };
        std::atomic<int> torn { 0 };
        quietline::test::runTogether ({ [&] { torn += askMany(); }, [&] { torn += askMany(); } });
        EXPECT_EQ (torn.load(), 0) << "every arrangement read is whole and of the current layout";
    }
}
} // namespace kelmora::tools::test
