#include "core/Clock.h"
#include "core/GlobalParamList.h"
#include "core/ParamList.h"
#include "core/XmlUtils.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

using namespace kelmora::core;
namespace fs = std::filesystem;

namespace
{
void writeBytes (const fs::path& path, const std::string& bytes)
{
    std::ofstream (path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string readBytes (const fs::path& path)
{
    std::ostringstream text;
    text << std::ifstream (path, std::ios::binary).rdbuf();
    return text.str();
}

std::vector<std::string> folderEntries (const fs::path& folder)
{
    std::vector<std::string> names;

    for (const auto& entry : fs::directory_iterator (folder))
        names.push_back (entry.path().filename().string());

    return names;
}

std::unique_ptr<Parameter> makeParameter (const char* id, juce::uint32 flags = 0)
{
    return std::make_unique<Parameter> (id, nullptr, nullptr, 0, nullptr, flags, 0.0, 1.0, 0.0);
}

struct CountingParameter : Parameter
{
    explicit CountingParameter (int& counter) : Parameter ("counted", nullptr, nullptr, 0, nullptr, 0, 0.0, 1.0, 0.0),
                                                deletions (counter) {}
    ~CountingParameter() override { ++deletions; }
    int& deletions;
};

class SettingsFileTest : public ::testing::Test
{
protected:
    quietline::test::TempHome home;
    fs::path folder { home.settingsFolder() };
    fs::path globalConf { folder / "global.conf" };

    static std::unique_ptr<GlobalParamList> makeGlobals()
    {
        auto list = std::make_unique<GlobalParamList>();
        list->addStandardParams();
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
        writeBytes (globalConf, bytes);
    }
};
} // namespace

//==============================================================================
TEST (ParamList, BadIndicesAndEmptySlotsYieldTheInvalidParameter)
{
    ParamList list (3);
    list.setParam (1, makeParameter ("a"));
    EXPECT_EQ (list.getParam (1)->getId(), "a");

    for (int index : { -1, 0, 2, 3, 1000 })
        EXPECT_EQ (list.getParam (index), &Parameter::getInvalid()) << index;

    juce::XmlElement root ("KelmoraLabs");
    list.writeToXml (root); // empty slots write nothing
    EXPECT_EQ (root.getNumChildElements(), 1);

    list.checkComplete();
    EXPECT_FALSE (list.isComplete());
    list.getParam (7)->setNormalisedValue (1.0f); // dropped
    EXPECT_DOUBLE_EQ (Parameter::getInvalid().getValue(), 0.0);
    list.setParam (0, makeParameter ("b"));
    list.setParam (2, makeParameter ("c"));
    list.checkComplete();
    EXPECT_TRUE (list.isComplete());
}

TEST (ParamList, OwnsItsParametersAndMarksThemChanged)
{
    int deletions = 0;

    {
        ParamList list (2);
        list.setParam (0, std::make_unique<CountingParameter> (deletions));
        list.setParam (0, std::make_unique<CountingParameter> (deletions)); // replaces, deleting the first
        list.setParam (5, std::make_unique<CountingParameter> (deletions)); // bad index: dropped
        EXPECT_EQ (deletions, 2);
        list.setParam (1, makeParameter ("rate", Parameter::sampleRateDependent));

        list.markFlaggedParametersChanged();
        EXPECT_FALSE (list.getParam (0)->isChanged (0xFFFF));
        EXPECT_TRUE (list.getParam (1)->isChanged (Parameter::editorChanged));

        list.markAllChanged (Parameter::editorChanged);
        EXPECT_TRUE (list.getParam (0)->isChanged (Parameter::audioChanged));
    }

    EXPECT_EQ (deletions, 3);
}

//==============================================================================
TEST_F (SettingsFileTest, FreshFolderGetsGlobalConfWithExactlyItsDefaults)
{
    EXPECT_EQ (ParamList::getSettingsFile ({}).toStdString(), home.settingsFolder()); // no trailing separator
    ASSERT_FALSE (fs::exists (folder));

    auto globals = makeGlobals();
    globals->setFile ("global.conf");
    EXPECT_EQ (globals->getFilePath().toStdString(), globalConf.string());
    EXPECT_EQ (folderEntries (folder), std::vector<std::string> { "global.conf" }); // no temporary file left

    const auto text = readBytes (globalConf);
    EXPECT_EQ (text.rfind ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << text;

    auto root = XmlUtils::parseText (juce::String::fromUTF8 (text.data(), (int) text.size()));
    ASSERT_NE (root, nullptr);
    EXPECT_EQ (root->toString (juce::XmlElement::TextFormat().singleLine().withoutHeader()),
               "<KelmoraLabs><sliderMode>velocity</sliderMode><mouseSensitivity>100</mouseSensitivity></KelmoraLabs>");
}

TEST_F (SettingsFileTest, ReadRulesRootCaseClampingAndUnknownChildren)
{
    writeGlobalConf ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kelmoralabs>\n  <unknown>linear</unknown>\n"
                     "  <MOUSESENSITIVITY>250</MOUSESENSITIVITY>\n  <mouseSensitivity>5</mouseSensitivity>\n"
                     "</kelmoralabs>\n");
    auto globals = makeGlobals();
    globals->getParam (0)->setNormalisedValue (1.0f);
    globals->setFile ("global.conf");
    EXPECT_EQ (sensitivity (*globals), 200); // the first child of that name, clamped
    EXPECT_EQ (sliderMode (*globals), "linear"); // not in the file: unchanged

    writeGlobalConf ("<KelmoraLabs><sliderMode>Velocity</sliderMode><mouseSensitivity>-4</mouseSensitivity>"
                     "</KelmoraLabs>");
    globals->loadFromFile ("global.conf");
    EXPECT_EQ (sliderMode (*globals), "velocity");
    EXPECT_EQ (sensitivity (*globals), 1);

    writeGlobalConf ("<KelmoraLabs><sliderMode>sideways</sliderMode><mouseSensitivity>nan</mouseSensitivity>"
                     "</KelmoraLabs>");
    globals->getParam (1)->testAndClearChanged (0xFFFF);
    globals->loadFromFile ("global.conf");
    EXPECT_EQ (sliderMode (*globals), "velocity");
    EXPECT_EQ (sensitivity (*globals), 1);
    EXPECT_FALSE (globals->getParam (1)->isChanged (0xFFFF));
}

TEST_F (SettingsFileTest, CorruptFilesChangeNothingAndCrashNothing)
{
    std::string deep = "<KelmoraLabs>", binary;
    for (int i = 0; i < 100000; ++i)
        deep += "<a>";
    for (int i = 0; i < 4096; ++i)
        binary += (char) ((i * 7919 + 13) & 0xff);

    const std::pair<const char*, std::string> cases[] = {
        { "empty", "" },
        { "header only", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" },
        { "truncated", "<?xml version=\"1.0\"?>\n<KelmoraLabs>\n  <sliderMode>linear</sliderMode>\n  <mouseSens" },
        { "binary", binary },
        { "foreign root", "<Other><sliderMode>linear</sliderMode><mouseSensitivity>5</mouseSensitivity></Other>" },
        { "deep nesting", deep },
        { "20 MB", "<KelmoraLabs><sliderMode>linear</sliderMode><!--" + std::string (20 << 20, ' ') + "--></KelmoraLabs>" },
        { "entity loop", "<!DOCTYPE r [<!ENTITY a \"&a;\">]><KelmoraLabs><sliderMode>&a;</sliderMode></KelmoraLabs>" },
    };

    for (const auto& [name, bytes] : cases)
    {
        writeGlobalConf (bytes);
        auto globals = makeGlobals();
        setSensitivity (*globals, 77.0);
        globals->setFile ("global.conf");
        globals->pollFileChanges();

        EXPECT_EQ (sliderMode (*globals), "velocity") << name;
        EXPECT_EQ (sensitivity (*globals), 77) << name;
        EXPECT_EQ (readBytes (globalConf), bytes) << name << ": loading must not rewrite the file";
    }
}

TEST_F (SettingsFileTest, UnwritableTargetsMakeSaveFail)
{
    // "global.conf" is a folder: nothing is read, saving fails and leaves no temporary file.
    fs::create_directories (globalConf);
    auto globals = makeGlobals();
    globals->setFile ("global.conf");
    EXPECT_EQ (sensitivity (*globals), 100);
    EXPECT_FALSE (globals->save());
    EXPECT_EQ (folderEntries (folder), std::vector<std::string> { "global.conf" });
    fs::remove_all (folder);

    // "global.conf" is a named pipe: reading it must not block.
    fs::create_directories (folder);
    ASSERT_EQ (::mkfifo (globalConf.c_str(), 0600), 0);
    globals->loadFromFile ("global.conf");
    EXPECT_EQ (sensitivity (*globals), 100);
    fs::remove_all (folder);

    // The maker's folder cannot be created because a file has its name.
    writeBytes (folder, "not a folder");
    EXPECT_FALSE (globals->save());
    EXPECT_EQ (readBytes (folder), "not a folder");
    fs::remove (folder);

    // The folder exists but cannot be written to (permissions do not stop root; /proc does).
    fs::create_directory_symlink ("/proc", folder);
    auto other = makeGlobals();
    other->setFile ("global.conf");
    EXPECT_FALSE (other->save());
    EXPECT_EQ (sensitivity (*other), 100);
}

//==============================================================================
TEST_F (SettingsFileTest, PollLooksAtMostOncePerSecond)
{
    ManualClock clock;
    ScopedClockOverride useClock (clock);

    auto globals = makeGlobals();
    globals->setFile ("global.conf");
    globals->pollFileChanges();
    globals->getParam (1)->testAndClearChanged (0xFFFF);

    // Touch the file: only its modification time changes, and that is enough for one reload.
    fs::last_write_time (globalConf, fs::last_write_time (globalConf) + std::chrono::milliseconds (1));

    for (int step : { 500, 499 })
    {
        clock.advance (step);
        globals->pollFileChanges();
        EXPECT_FALSE (globals->getParam (1)->isChanged (Parameter::editorChanged)) << step;
    }

    clock.advance (1);
    globals->pollFileChanges();
    EXPECT_TRUE (globals->getParam (1)->testAndClearChanged (Parameter::editorChanged));

    clock.advance (5000);
    globals->pollFileChanges(); // nothing new
    EXPECT_FALSE (globals->getParam (1)->isChanged (Parameter::editorChanged));
}

TEST_F (SettingsFileTest, PollSeesTwoWritesWithinOneSecondByAnotherList)
{
    ManualClock clock;
    ScopedClockOverride useClock (clock);

    auto reader = makeGlobals();
    auto writer = makeGlobals();
    reader->setFile ("global.conf");
    writer->setFile ("global.conf");

    // Both writes carry the same modification time, as two writes within one second do for
    // whole-second timestamps; the values have the same length, so the size stays too.
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

    // The writer does not reload its own save.
    setSensitivity (*writer, 170.0);
    ASSERT_TRUE (writer->save());
    writer->getParam (1)->testAndClearChanged (0xFFFF);
    clock.advance (1000);
    writer->pollFileChanges();
    EXPECT_FALSE (writer->getParam (1)->isChanged (Parameter::editorChanged));
}
