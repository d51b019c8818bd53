#include "support/ManualClock.h"
#include "core/GlobalParamList.h"
#include "core/ParamList.h"
#include "core/XmlUtils.h"
#include "support/HostileXml.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>
#include <tuple>
#include <sys/stat.h>

using namespace kelmora::core;
namespace fs = std::filesystem;
using quietline::test::ManualClock;
using quietline::test::ScopedClockOverride;

namespace
{
std::string readBytes (const fs::path& path)
{
    std::ostringstream text;
    text << std::ifstream (path, std::ios::binary).rdbuf();
    return text.str();
}

bool holdsOnlyGlobalConf (const fs::path& folder) // no temporary file left beside it
{
    return std::distance (fs::directory_iterator (folder), {}) == 1 && fs::exists (folder / "global.conf");
}

class SettingsFileTest : public ::testing::Test
{
protected:
    quietline::test::TempHome home;
    fs::path folder { home.settingsFolder() };
    fs::path globalConf { folder / "global.conf" };

    static std::unique_ptr<GlobalParamList> makeGlobals (bool open = true)
    {
        auto list = std::make_unique<GlobalParamList>();
        list->addStandardParams();
        if (open)
            list->setFile ("global.conf");
        return list;
    }

    static juce::String sliderMode (const GlobalParamList& list) { return list.getParam (0)->getValueText(); }
    static int sensitivity (const GlobalParamList& list)         { return list.getParam (1)->getIntValue(); }
    static void setSensitivity (GlobalParamList& list, double v)
    {
        list.getParam (1)->setNormalisedValue (list.getParam (1)->valueToNormalised (v));
    }

    void writeGlobalConf (const std::string& bytes)
    {
        fs::create_directories (folder);
        std::ofstream (globalConf, std::ios::binary | std::ios::trunc) << bytes;
    }
};
} // namespace

// A replaced parameter and one for a bad index are deleted (the sanitizer run sees a leak).
TEST (ParamList, EmptySlotsAndBadIndicesYieldTheInvalidParameter)
{
    const auto make = [] { return std::make_unique<Parameter> ("n", nullptr, nullptr, 0, nullptr, 0, 0.0, 1.0, 0.0); };
    ParamList list (3);
    list.setParam (1, make());
    list.setParam (1, make());
    list.setParam (5, make());
    for (int index : { -1, 0, 2, 3, 1000 })
        EXPECT_EQ (list.getParam (index), &Parameter::getInvalid()) << index;

    juce::XmlElement root ("KelmoraLabs");
    list.writeToXml (root); // empty slots write nothing
    EXPECT_EQ (root.getNumChildElements(), 1);
    list.checkComplete();
    EXPECT_FALSE (list.isComplete());
    auto* invalid = list.getParam (7); // shared by every list: nothing may change it
    invalid->setNormalisedValue (1.0f);
    invalid->markChanged (Parameter::allChanged);
    invalid->setRangeKeepingPosition (5.0, 10.0, 2);
    invalid->addSnapPoint (0.5);
    EXPECT_EQ (std::make_tuple (invalid->getValue(), invalid->getMaximum(), invalid->getNumSnapPoints(), invalid->isChanged (0xFFFF)),
               std::make_tuple (0.0, 1.0, 0, false));

    list.setParam (0, make());
    list.setParam (2, make());
    list.checkComplete();
    EXPECT_TRUE (list.isComplete());
}

TEST_F (SettingsFileTest, FreshFolderGetsGlobalConfWithExactlyItsDefaultsWrittenOnce)
{
    EXPECT_EQ (ParamList::getSettingsFile ({}).toStdString(), home.settingsFolder()); // no trailing separator
    ASSERT_FALSE (fs::exists (folder));
    auto globals = makeGlobals();
    EXPECT_EQ (globals->getFilePath().toStdString(), globalConf.string());
    EXPECT_TRUE (holdsOnlyGlobalConf (folder));

    EXPECT_EQ (readBytes (globalConf).rfind ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u);
    auto root = XmlUtils::parseFile (juce::File (globalConf.string()));
    ASSERT_NE (root, nullptr);
    EXPECT_EQ (root->toString (juce::XmlElement::TextFormat().singleLine().withoutHeader()),
               "<KelmoraLabs><sliderMode>velocity</sliderMode><mouseSensitivity>100</mouseSensitivity></KelmoraLabs>");

    const auto old = fs::file_time_type (std::chrono::seconds (1700000000));
    fs::last_write_time (globalConf, old);
    EXPECT_TRUE (globals->save());
    EXPECT_EQ (fs::last_write_time (globalConf), old) << "nothing changed, nothing written";
}

// A list set to linear and 77 opens global.conf: root and names in any case, the first child of
// a name counts, values are clamped; what does not read changes nothing, and nothing is written.
TEST_F (SettingsFileTest, OpeningTakesWhatReadsChangesNothingElseAndWritesNothing)
{
    std::vector<std::tuple<const char*, std::string, const char*, int>> cases = {
        { "any case", "<kelmoralabs><unknown>velocity</unknown><MOUSESENSITIVITY>250</MOUSESENSITIVITY><mouseSensitivity>5</mouseSensitivity></kelmoralabs>", "linear", 200 },
        { "clamped", "<KelmoraLabs><sliderMode>Velocity</sliderMode><mouseSensitivity>-4</mouseSensitivity></KelmoraLabs>", "velocity", 1 },
        { "values that do not read", "<KelmoraLabs><sliderMode>sideways</sliderMode><mouseSensitivity>nan</mouseSensitivity></KelmoraLabs>", "linear", 77 },
        { "empty", "", "linear", 77 },
        { "header only", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n", "linear", 77 },
        { "truncated", "<?xml version=\"1.0\"?>\n<KelmoraLabs>\n  <sliderMode>velocity</sliderMode>\n  <mouseSens", "linear", 77 },
        { "foreign root", "<Other><sliderMode>velocity</sliderMode><mouseSensitivity>5</mouseSensitivity></Other>", "linear", 77 },
        { "20 MB", "<KelmoraLabs><sliderMode>velocity</sliderMode><!--" + std::string (20 << 20, ' ') + "--></KelmoraLabs>", "linear", 77 },
    };
    for (const auto& hostile : quietline::test::hostileXml ("KelmoraLabs"))
        cases.emplace_back (hostile.what, hostile.text, "linear", 77);
    for (const auto& [what, bytes, mode, mouse] : cases)
    {
        writeGlobalConf (bytes);
        auto globals = makeGlobals (false);
        globals->getParam (0)->setNormalisedValue (1.0f);
        setSensitivity (*globals, 77.0);
        globals->getParam (1)->testAndClearChanged (Parameter::allChanged);
        globals->setFile ("global.conf");
        globals->pollFileChanges();
        EXPECT_EQ (sliderMode (*globals), mode) << what;
        EXPECT_EQ (sensitivity (*globals), mouse) << what;
        EXPECT_EQ (globals->getParam (1)->isChanged (Parameter::allChanged), mouse != 77) << what;
        EXPECT_EQ (readBytes (globalConf), bytes) << what;
    }
}

TEST_F (SettingsFileTest, UnreadableAndUnwritableTargets)
{
    // "global.conf" is a folder: nothing is read, saving fails and leaves no temporary file.
    fs::create_directories (globalConf);
    auto globals = makeGlobals();
    EXPECT_EQ (sensitivity (*globals), 100);
    globals->getParam (GlobalParamList::sliderModeIndex)->setNormalisedValue (1.0f); // something to write
    EXPECT_FALSE (globals->save());
    EXPECT_TRUE (holdsOnlyGlobalConf (folder));
    fs::remove_all (folder);

    // "global.conf" is a named pipe: reading it must not block.
    fs::create_directories (folder);
    ASSERT_EQ (::mkfifo (globalConf.c_str(), 0600), 0);
    globals->loadFromFile ("global.conf");
    EXPECT_EQ (sensitivity (*globals), 100);
    fs::remove_all (folder);

    // The folder exists but cannot be written to (permissions do not stop root; /proc does).
    fs::create_directory_symlink ("/proc", folder);
    globals = makeGlobals();
    setSensitivity (*globals, 150.0);
    EXPECT_FALSE (globals->save());
}

// Writers killed before their rename leave temporary files; the next write removes those over a
// minute old, never a live writer's, nor anything else.
TEST_F (SettingsFileTest, AWriteRemovesOnlyStaleTemporaryFilesOfItsOwnNaming)
{
    auto globals = makeGlobals();
    const std::tuple<const char*, bool, bool> files[] = { // name, over a minute old, removed
        { "global_temp1a2b3c4d.conf", true, true },
        { "Orvel Quietline_tempffffffff.conf", true, true },
        { "global_temp9f_2.conf", true, true },
        { "global_temp5e6f.conf", false, false },
        { "global_temp.conf", true, false },
        { "global_tempxyz.conf", true, false },
        { "global_temp1a2b.txt", true, false },
        { "Orvel Quietline.conf", true, false },
    };
    const auto old = juce::Time::getCurrentTime() - juce::RelativeTime::seconds (61.0);
    for (const auto& [name, stale, removed] : files)
    {
        const auto file = juce::File (folder.string()).getChildFile (name);
        ASSERT_TRUE (file.create() && (! stale || file.setLastModificationTime (old))) << name;
    }
    setSensitivity (*globals, 150.0);
    ASSERT_TRUE (globals->save());
    for (const auto& [name, stale, removed] : files)
        EXPECT_EQ (fs::exists (folder / name), ! removed) << name;
}

TEST_F (SettingsFileTest, PollLooksOncePerSecondAndSeesTwoWritesWithinOneSecond)
{
    ManualClock clock;
    ScopedClockOverride useClock (clock);
    auto reader = makeGlobals(), writer = makeGlobals();
    reader->pollFileChanges();
    reader->getParam (1)->testAndClearChanged (0xFFFF);

    // A touch changes only the modification time, and that is enough for one reload, after 1000 ms.
    fs::last_write_time (globalConf, fs::last_write_time (globalConf) + std::chrono::milliseconds (1));
    for (int step : { 500, 499, 1, 5000 })
    {
        clock.advance (step);
        reader->pollFileChanges();
        EXPECT_EQ (reader->getParam (1)->testAndClearChanged (Parameter::editorChanged), step == 1) << step;
    }

    // Both writes carry the same whole-second modification time and the same size.
    const auto sameSecond = fs::file_time_type (std::chrono::seconds (1700000000));
    for (int value : { 150, 160 })
    {
        setSensitivity (*writer, value);
        ASSERT_TRUE (writer->save());
        fs::last_write_time (globalConf, sameSecond);
        clock.advance (1000);
        reader->pollFileChanges();
        EXPECT_EQ (sensitivity (*reader), value);
    }
}
