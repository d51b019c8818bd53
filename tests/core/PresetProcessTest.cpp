#include "PresetTestProduct.h"
#include "support/Concurrency.h"

#include <csignal>
#include <cstdio>
#include <map>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace kelmora::core;
using quietline::test::PresetTestProduct;

namespace
{
// One plug-in instance in a forked child (no gtest here): stores, overwrites and deletes its
// own user presets, at most two at a time, `operations` times or for ever when 0. Once it has
// done `signalAfter` operations and stored a preset it writes a byte to `signalFd`. At the end
// it writes "slot name" for every preset it still owns and exits with 0 unless an own preset
// was refused.
pid_t forkWriter (int id, int reportFd, int operations, int signalFd = -1, int signalAfter = 0)
{
    if (const pid_t pid = ::fork(); pid != 0)
        return pid;

    auto controller = PresetTestProduct::makeController();
    std::mt19937 rng ((unsigned) id * 104729u + (unsigned) ::getpid());
    std::map<int, juce::String> own;
    int failed = 0;
    bool stored = false;

    for (int counter = 0; operations == 0 || counter < operations; ++counter)
    {
        if (signalFd >= 0 && stored && counter >= signalAfter)
        {
            [[maybe_unused]] const auto written = ::write (signalFd, "!", 1);   // the parent sees a short read
            signalFd = -1;
        }
        const auto op = rng() % 3u;
        const auto it = own.empty() ? own.end() : std::next (own.begin(), (int) (rng() % own.size()));
        if (op == 0 && own.size() < 2)
        {
            const auto name = "P" + juce::String (id) + "-" + juce::String (counter);
            if (const int slot = controller->storeUserPresetInFreeSlot (name); slot >= 0)
                own[slot] = name, stored = true;
        }
        else if (op != 0 && it != own.end())
        {
            controller->selectPreset (it->first);
            controller->setParameterFromUi (1, (float) (rng() % 101u) / 100.0f);
            failed += (op == 1 ? controller->deleteUserPreset (it->first) : controller->overwriteUserPreset (it->first, it->second)) ? 0 : 1;
            if (op == 1)
                own.erase (it);
        }
    }

    juce::String report;
    for (const auto& [slot, name] : own)
        report << slot << " " << name << "\n";
    const auto size = report.getNumBytesAsUTF8();
    ::_exit (failed == 0 && ::write (reportFd, report.toRawUTF8(), size) == (ssize_t) size ? 0 : 1);
}
} // namespace

TEST (PresetProcesses, FourWriterProcessesSharingOneHomeLoseNoPreset)
{
    quietline::test::TempHome home;
    std::vector<std::pair<pid_t, int>> writers;
    for (int i = 0; i < 4; ++i)
    {
        int fds[2];
        ASSERT_EQ (::pipe (fds), 0);
        writers.emplace_back (forkWriter (i + 1, fds[1], 400), fds[0]);
        ASSERT_GT (writers.back().first, 0);
        ::close (fds[1]);
    }

    std::map<int, juce::String> owned;
    for (const auto& [pid, fd] : writers)
    {
        FILE* report = ::fdopen (fd, "r");
        int slot = 0;
        char name[64];
        while (std::fscanf (report, "%d %63s", &slot, name) == 2)
            EXPECT_TRUE (owned.emplace (slot, name).second) << slot << " " << name << ": owned by two processes";
        std::fclose (report);
        int status = 0;
        ASSERT_EQ (::waitpid (pid, &status, 0), pid);
        EXPECT_TRUE (WIFEXITED (status) && WEXITSTATUS (status) == 0) << "writer " << pid << " was refused an own preset";
    }
    EXPECT_EQ (PresetTestProduct::liveEntriesInFile(), owned);
}

// Each writer is killed at a random point of its work after it has written the file.
TEST (PresetProcesses, WritersKilledAtRandomNeverLeaveAFileThatDoesNotParse)
{
    quietline::test::TempHome home;
    const quietline::test::Watchdog watchdog ("a writer never stored a preset, or a lock was left behind");
    std::mt19937 rng (20261206u);
    for (int i = 0; i < 100; ++i)
    {
        int fds[2];
        ASSERT_EQ (::pipe (fds), 0);
        const pid_t pid = forkWriter (i, -1, 0, fds[1], 1 + (int) (rng() % 20u));
        ASSERT_GT (pid, 0);
        ::close (fds[1]);
        char byte = 0;
        const bool signalled = ::read (fds[0], &byte, 1) == 1;
        ::close (fds[0]);
        ::kill (pid, SIGKILL);
        int status = 0;
        ASSERT_EQ (::waitpid (pid, &status, 0), pid);
        ASSERT_TRUE (signalled) << "writer " << i << " ended before it had written";

        SCOPED_TRACE (::testing::Message() << "after kill " << i);
        ASSERT_TRUE (PresetTestProduct::userPresetFile().existsAsFile());
        EXPECT_LE (PresetTestProduct::liveEntriesInFile().size(), 2u) << "one writer owns at most two";
        // The next writer starts with every slot free.
        ASSERT_TRUE (PresetTestProduct::userPresetFile().deleteFile());
    }

    // No lock was left behind: this process can still store.
    EXPECT_EQ (PresetTestProduct::makeController()->storeUserPresetInFreeSlot ("After"), 5);
    EXPECT_EQ (PresetTestProduct::liveEntriesInFile(), (std::map<int, juce::String> { { 5, "After" } }));
}
