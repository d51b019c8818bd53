#include "dsp/KelmoraLabsTemplateAudioProcessor.h"
#include "core/UserPresetFileLock.h"
#include "support/Concurrency.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <atomic>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using P = kelmora::dsp::KelmoraLabsTemplateAudioProcessor;
using kelmora::core::UserPresetFileLock;

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

// Another process holds the user-preset file while the editor stores a preset, so the store
// waits on it. The host's parameter and program changes must complete meanwhile: the other
// process lets go only once they are done (or when this process ends, should they block).
TEST (HostPaths, ParameterChangesCompleteWhileAnotherProcessHoldsTheUserPresetFile)
{
    quietline::test::TempHome home;
    int held[2], release[2];
    ASSERT_TRUE (::pipe (held) == 0 && ::pipe (release) == 0);
    const pid_t child = ::fork();
    ASSERT_GE (child, 0);
    if (child == 0)
    {
        ::close (release[1]); // so that the read ends should this process end
        const UserPresetFileLock::Scoped fileLock;
        char c = 1;
        ::_exit (::write (held[1], &c, 1) == 1 && ::read (release[0], &c, 1) >= 0 ? 0 : 1);
    }
    char c = 0;
    ASSERT_EQ (::read (held[0], &c, 1), 1) << "the other process took the lock";

    P proc;
    std::atomic<int> stored { -2 };
    std::thread editor ([&] { stored = proc.getPresetController().storeUserPresetInFreeSlot ("Waited"); });

    // The store waits once it holds the process-wide part of the lock, which it takes before
    // the other process's part.
    for (auto& processLock = UserPresetFileLock::getProcessLock(); stored == -2 && processLock.tryEnter(); std::this_thread::yield())
        processLock.exit();
    EXPECT_EQ (stored.load(), -2) << "the store did not wait for the other process";
    {
        const quietline::test::Watchdog watchdog ("host changes waited for another process's file lock");
        for (int i = 0; i < 1000; ++i)
        {
            proc.setParameter (i % 3, (float) (i % 101) / 100.0f);
            if (i % 100 == 0)
                proc.setCurrentProgram (i / 100 % 5);
        }
    }
    EXPECT_EQ (::write (release[1], &c, 1), 1);
    editor.join();
    int status = 0;
    ASSERT_EQ (::waitpid (child, &status, 0), child);
    EXPECT_TRUE (WIFEXITED (status) && WEXITSTATUS (status) == 0);
    EXPECT_EQ (stored.load(), 5) << "the store went ahead once the other process let go";
    EXPECT_FLOAT_EQ (proc.getParameter (0), 0.9f);
    for (int fd : { held[0], held[1], release[0], release[1] })
        ::close (fd);
}

// The editor's commands, a preset delete with its file among them, run while a host thread
// automates, changes programs and saves and restores the state: nothing waits on another for
// good, and the host hears only values the parameters could hold.
TEST (HostPaths, EditorCommandsRunWhileAHostThreadChangesTheSameValues)
{
    quietline::test::TempHome home;
    struct Heard : juce::AudioProcessorListener
    {
        std::atomic<int> count { 0 }, wrong { 0 };
        void audioProcessorParameterChanged (juce::AudioProcessor*, int i, float v) override
        {
            ++count;
            wrong += i < 0 || i > 3 || ! (v >= 0.0f && v <= 1.0f) ? 1 : 0;
        }
        void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
    } heard;
    P proc;
    proc.addListener (&heard);
    auto& c = proc.getPresetController();
    using Access = kelmora::core::PresetController::FileAccess;

    const quietline::test::Watchdog watchdog ("an editor command and a host call waited on each other");
    quietline::test::runTogether ({
        [&] {
            for (int i = 0; i < 200; ++i)
            {
                proc.runEditorCommand ([&] { c.selectNextPreset(); });
                proc.runEditorCommand ([&] { c.undo(); });
                proc.runEditorCommand ([&] { c.redo(); });
                if (c.storeUserPresetInFreeSlot ("Mine") >= 0)
                    proc.runEditorCommand ([&] { c.deleteUserPreset (c.getParamManager().getActivePresetIndex()); }, Access::writes);
            }
        },
        [&] {
            juce::MemoryBlock state;
            for (int i = 0; i < 200; ++i)
            {
                proc.setParameter (i % 4, (float) (i % 11) / 10.0f);
                proc.setCurrentProgram (i % 5);
                proc.getStateInformation (state);
                proc.setStateInformation (state.getData(), (int) state.getSize());
            }
        },
    });
    proc.removeListener (&heard);
    EXPECT_GT (heard.count.load(), 0);
    EXPECT_EQ (heard.wrong.load(), 0);
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
