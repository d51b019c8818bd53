#include "PresetTestProduct.h"
#include "support/TempHome.h"

#include "core/XmlUtils.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <map>
#include <random>
#include <set>
#include <sys/types.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace kelmora::core;
using quietline::test::PresetTestProduct;

namespace
{
/** One plug-in instance in its own process, storing, overwriting and deleting its own user
    presets (at most two at a time) until `until`, or for ever when `until` is zero. Reports
    "slot name" for every preset it still owns, then "failed n" for refused operations on
    its own presets. Runs in a forked child: no gtest here. */
void runWriterProcess (int id, int reportFd, std::chrono::steady_clock::time_point until)
{
    auto controller = PresetTestProduct::makeController();
    std::mt19937 rng ((unsigned) id * 104729u + (unsigned) ::getpid());
    std::map<int, juce::String> own;
    int counter = 0, failed = 0;

    while (until.time_since_epoch().count() == 0 || std::chrono::steady_clock::now() < until)
    {
        const int op = (int) (rng() % 3u);

        if (op == 0 && own.size() < 2)
        {
            const auto name = "P" + juce::String (id) + "-" + juce::String (counter++);
            const int slot = controller->storeUserPresetInFreeSlot (name);

            if (slot >= 0)
                own[slot] = name;
        }
        else if (op == 1 && ! own.empty())
        {
            const auto it = std::next (own.begin(), (int) (rng() % own.size()));
            controller->selectPreset (it->first);
            failed += controller->deleteUserPreset (it->first) ? 0 : 1;
            own.erase (it);
        }
        else if (op == 2 && ! own.empty())
        {
            const auto it = std::next (own.begin(), (int) (rng() % own.size()));
            controller->selectPreset (it->first);
            controller->setParameterFromUi (1, (float) (rng() % 101u) / 100.0f);
            failed += controller->overwriteUserPreset (it->first, it->second) ? 0 : 1;
        }
    }

    juce::String report;

    for (const auto& [slot, name] : own)
        report << slot << " " << name << "\n";

    report << "failed " << failed << "\n";
    const auto* text = report.toRawUTF8();
    ssize_t left = (ssize_t) report.getNumBytesAsUTF8();

    while (left > 0)
    {
        const auto n = ::write (reportFd, text, (size_t) left);

        if (n <= 0)
            break;

        text += n;
        left -= n;
    }
}

pid_t forkWriter (int id, int reportFd, std::chrono::steady_clock::time_point until)
{
    const pid_t pid = ::fork();

    if (pid == 0)
    {
        runWriterProcess (id, reportFd, until);
        ::_exit (0);
    }

    return pid;
}

juce::String readAll (int fd)
{
    juce::MemoryOutputStream out;
    char buffer[4096];

    for (ssize_t n; (n = ::read (fd, buffer, sizeof (buffer))) > 0;)
        out.write (buffer, (size_t) n);

    return out.toString();
}

/** The live entries of the user-preset file as slot -> name; fails when it does not parse
    or names a slot twice. */
std::map<int, juce::String> liveEntriesInFile()
{
    std::map<int, juce::String> live;
    auto doc = XmlUtils::parseFile (PresetTestProduct::userPresetFile());
    EXPECT_NE (doc, nullptr) << "the user-preset file must always parse";

    if (doc == nullptr)
        return live;

    EXPECT_TRUE (XmlUtils::tagIs (*doc, "KelmoraLabs"));
    const auto* presets = XmlUtils::findChild (*doc, "presets");
    EXPECT_NE (presets, nullptr);

    if (presets == nullptr)
        return live;

    std::set<int> numbers;

    for (const auto* entry : presets->getChildIterator())
    {
        const int number = XmlUtils::getIntAttribute (*entry, "_No_", 0);
        EXPECT_TRUE (numbers.insert (number).second) << "number " << number << " appears twice";

        if (! XmlUtils::getBoolAttribute (*entry, "_Deleted_", false))
            live[number - 1000 + PresetTestProduct::numFactory] = XmlUtils::getAttribute (*entry, "_Name_");
    }

    return live;
}
} // namespace

TEST (PresetProcesses, FourWriterProcessesSharingOneHomeLoseNoPreset)
{
    quietline::test::TempHome home;
    constexpr int numWriters = 4;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds (800);
    std::vector<pid_t> pids;
    std::vector<int> readEnds;

    for (int i = 0; i < numWriters; ++i)
    {
        int fds[2];
        ASSERT_EQ (::pipe (fds), 0);
        pids.push_back (forkWriter (i + 1, fds[1], until));
        ASSERT_GT (pids.back(), 0);
        ::close (fds[1]);
        readEnds.push_back (fds[0]);
    }

    std::map<int, juce::String> owned;

    for (int i = 0; i < numWriters; ++i)
    {
        const auto report = readAll (readEnds[(size_t) i]);
        ::close (readEnds[(size_t) i]);
        int status = 0;
        ASSERT_EQ (::waitpid (pids[(size_t) i], &status, 0), pids[(size_t) i]);
        EXPECT_TRUE (WIFEXITED (status) && WEXITSTATUS (status) == 0) << "writer " << i;

        for (const auto& line : juce::StringArray::fromLines (report.trim()))
        {
            if (line.startsWith ("failed "))
            {
                EXPECT_EQ (line, "failed 0") << "writer " << i << " was refused an own preset";
                continue;
            }

            const int slot = line.upToFirstOccurrenceOf (" ", false, false).getIntValue();
            EXPECT_TRUE (owned.emplace (slot, line.fromFirstOccurrenceOf (" ", false, false)).second)
                << "slot " << slot << " owned by two processes";
        }
    }

    EXPECT_EQ (liveEntriesInFile(), owned);
}

TEST (PresetProcesses, WritersKilledAtRandomNeverLeaveAFileThatDoesNotParse)
{
    quietline::test::TempHome home;
    std::mt19937 rng (20261206u);
    int checked = 0;

    for (int i = 0; i < 100; ++i)
    {
        const pid_t pid = forkWriter (i, -1, {});
        ASSERT_GT (pid, 0);
        std::this_thread::sleep_for (std::chrono::microseconds (2000 + rng() % 12000u));
        ::kill (pid, SIGKILL);
        int status = 0;
        ASSERT_EQ (::waitpid (pid, &status, 0), pid);

        if (PresetTestProduct::userPresetFile().existsAsFile())
        {
            SCOPED_TRACE (::testing::Message() << "after kill " << i);
            EXPECT_LE (liveEntriesInFile().size(), 5u);
            ++checked;
        }
    }

    EXPECT_GT (checked, 50) << "the writers hardly ever got to write";

    // No lock was left behind: this process can still store.
    EXPECT_GE (PresetTestProduct::makeController()->findFreeUserPresetSlot(), -1);
    auto controller = PresetTestProduct::makeController();
    controller->storeUserPresetInFreeSlot ("After");
    liveEntriesInFile();
}
