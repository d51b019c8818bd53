#include "core/Clock.h"
#include "core/DiscreteParameter.h"
#include "core/FileStamp.h"
#include "core/GlobalParamList.h"
#include "core/ParamList.h"
#include "core/SettingsFile.h"
#include "core/XmlUtils.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace kelmora::core;
namespace fs = std::filesystem;

namespace
{
void writeBytes (const fs::path& path, const std::string& bytes)
{
    std::ofstream out (path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string readBytes (const fs::path& path)
{
    std::ifstream in (path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> folderEntries (const fs::path& folder)
{
    std::vector<std::string> names;

    for (const auto& entry : fs::directory_iterator (folder))
        names.push_back (entry.path().filename().string());

    std::sort (names.begin(), names.end());
    return names;
}

struct CountingParameter : Parameter
{
    CountingParameter (int& deletionsToCount)
        : Parameter ("counted", nullptr, nullptr, 0, nullptr, 0, 0.0, 1.0, 0.0), deletions (deletionsToCount) {}
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

    static juce::String sliderMode (const GlobalParamList& list)
    {
        return list.getParam (GlobalParamList::sliderModeIndex)->getValueText();
    }

    static int sensitivity (const GlobalParamList& list)
    {
        return list.getParam (GlobalParamList::mouseSensitivityIndex)->getIntValue();
    }

    static void setSensitivity (GlobalParamList& list, double v)
    {
        auto* p = list.getParam (GlobalParamList::mouseSensitivityIndex);
        p->setNormalisedValue (p->valueToNormalised (v));
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
    list.setParam (1, std::make_unique<Parameter> ("a", nullptr, nullptr, 0, nullptr, 0, 0.0, 1.0, 0.0));

    EXPECT_EQ (list.getCount(), 3);
    EXPECT_EQ (list.getParam (1)->getId(), "a");

    for (int index : { -1, 0, 2, 3, 1000 })
        EXPECT_EQ (list.getParam (index), &Parameter::getInvalid()) << index;

    list.getParam (7)->setNormalisedValue (1.0f);
    EXPECT_DOUBLE_EQ (Parameter::getInvalid().getValue(), 0.0);

    list.checkComplete();
    EXPECT_FALSE (list.isComplete());
    list.setParam (0, std::make_unique<Parameter> ("b", nullptr, nullptr, 0, nullptr, 0, 0.0, 1.0, 0.0));
    list.setParam (2, std::make_unique<Parameter> ("c", nullptr, nullptr, 0, nullptr, 0, 0.0, 1.0, 0.0));
    list.checkComplete();
    EXPECT_TRUE (list.isComplete());
}

TEST (ParamList, OwnsItsParametersAndDeletesReplacedOnes)
{
    int deletions = 0;

    {
        ParamList list (2);
        list.setParam (0, std::make_unique<CountingParameter> (deletions));
        list.setParam (0, std::make_unique<CountingParameter> (deletions));
        EXPECT_EQ (deletions, 1);
        list.setParam (5, std::make_unique<CountingParameter> (deletions));
        EXPECT_EQ (deletions, 2);
        list.setParam (1, std::make_unique<CountingParameter> (deletions));
    }

    EXPECT_EQ (deletions, 4);
}

TEST (ParamList, MarksFlaggedOrAllParametersChanged)
{
    ParamList list (2);
    list.setParam (0, std::make_unique<Parameter> ("rate", nullptr, nullptr, 0, nullptr,
                                                   Parameter::sampleRateDependent, 0.0, 1.0, 0.0));
    list.setParam (1, std::make_unique<Parameter> ("plain", nullptr, nullptr, 0, nullptr, 0, 0.0, 1.0, 0.0));

    list.markFlaggedParametersChanged();
    EXPECT_TRUE (list.getParam (0)->testAndClearChanged (Parameter::audioChanged));
    EXPECT_FALSE (list.getParam (1)->isChanged (0xFFFF));

    list.markAllChanged (Parameter::editorChanged);
    EXPECT_TRUE (list.getParam (0)->isChanged (Parameter::audioChanged));
    EXPECT_TRUE (list.getParam (1)->isChanged (Parameter::audioChanged));
}

TEST (ParamList, XmlRoundTripMatchesTagsIgnoringCase)
{
    GlobalParamList source;
    source.addStandardParams();
    source.getParam (0)->setNormalisedValue (1.0f);
    source.getParam (1)->setNormalisedValue (source.getParam (1)->valueToNormalised (42.0));

    juce::XmlElement root ("KelmoraLabs");
    source.writeToXml (root);
    EXPECT_EQ (root.toString (juce::XmlElement::TextFormat().singleLine().withoutHeader()),
               "<KelmoraLabs><sliderMode>linear</sliderMode><mouseSensitivity>42</mouseSensitivity></KelmoraLabs>");

    GlobalParamList target;
    target.addStandardParams();
    auto parsed = XmlUtils::parseText ("<kelmoralabs><other>9</other><MOUSESENSITIVITY>42</MOUSESENSITIVITY>"
                                       "<sliderMode>LINEAR</sliderMode><sliderMode>velocity</sliderMode></kelmoralabs>");
    ASSERT_NE (parsed, nullptr);
    target.readFromXml (*parsed);
    EXPECT_EQ (target.getParam (0)->getValueText(), "linear"); // the first matching child wins
    EXPECT_EQ (target.getParam (1)->getIntValue(), 42);
}

TEST_F (SettingsFileTest, SettingsPathsEndInTheMakersFolder)
{
    const auto folderPath = ParamList::getSettingsFile ({});
    EXPECT_EQ (folderPath.toStdString(), home.settingsFolder());
    EXPECT_EQ (ParamList::getSettingsFile ("global.conf").toStdString(), globalConf.string());
    EXPECT_EQ (SettingsFile::getFile ("x.conf").getFullPathName().toStdString(), (folder / "x.conf").string());
}

//==============================================================================
TEST_F (SettingsFileTest, FreshFolderGetsGlobalConfWithExactlyItsDefaults)
{
    ASSERT_FALSE (fs::exists (folder));
    auto globals = makeGlobals();
    globals->setFile ("global.conf");

    ASSERT_TRUE (fs::is_regular_file (globalConf));
    EXPECT_EQ (folderEntries (folder), std::vector<std::string> { "global.conf" });
    EXPECT_EQ (globals->getFilePath().toStdString(), globalConf.string());

    const auto text = readBytes (globalConf);
    EXPECT_EQ (text.rfind ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << text;

    auto root = XmlUtils::parseText (juce::String::fromUTF8 (text.data(), (int) text.size()));
    ASSERT_NE (root, nullptr);
    EXPECT_EQ (root->getTagName(), "KelmoraLabs");
    ASSERT_EQ (root->getNumChildElements(), 2);
    EXPECT_EQ (root->getChildElement (0)->getTagName(), "sliderMode");
    EXPECT_EQ (root->getChildElement (0)->getAllSubText(), "velocity");
    EXPECT_EQ (root->getChildElement (1)->getTagName(), "mouseSensitivity");
    EXPECT_EQ (root->getChildElement (1)->getAllSubText(), "100");
}

TEST_F (SettingsFileTest, SaveAndLoadRoundTripBetweenInstances)
{
    auto first = makeGlobals();
    first->setFile ("global.conf");
    first->getParam (0)->setNormalisedValue (1.0f);
    setSensitivity (*first, 150.0);
    ASSERT_TRUE (first->save());
    EXPECT_EQ (folderEntries (folder), std::vector<std::string> { "global.conf" });

    auto second = makeGlobals();
    second->setFile ("global.conf");
    EXPECT_EQ (sliderMode (*second), "linear");
    EXPECT_EQ (sensitivity (*second), 150);
}

TEST_F (SettingsFileTest, ReadRulesRootCaseClampingAndUnknownChildren)
{
    writeGlobalConf ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kelmoralabs>\n"
                     "  <unknown>linear</unknown>\n  <mouseSensitivity>250</mouseSensitivity>\n</kelmoralabs>\n");
    auto globals = makeGlobals();
    globals->getParam (0)->setNormalisedValue (1.0f);
    globals->setFile ("global.conf");

    EXPECT_EQ (sensitivity (*globals), 200);
    EXPECT_EQ (sliderMode (*globals), "linear"); // untouched: not in the file

    writeGlobalConf ("<KelmoraLabs><sliderMode>Velocity</sliderMode><mouseSensitivity>-4</mouseSensitivity>"
                     "</KelmoraLabs>");
    globals->loadFromFile ("global.conf");
    EXPECT_EQ (sliderMode (*globals), "velocity");
    EXPECT_EQ (sensitivity (*globals), 1);

    writeGlobalConf ("<KelmoraLabs><sliderMode>sideways</sliderMode><mouseSensitivity>nan</mouseSensitivity>"
                     "</KelmoraLabs>");
    globals->loadFromFile ("global.conf");
    EXPECT_EQ (sliderMode (*globals), "velocity");
    EXPECT_EQ (sensitivity (*globals), 1);
}

TEST_F (SettingsFileTest, CorruptFilesChangeNothingAndCrashNothing)
{
    const std::string deep = "<KelmoraLabs>" + [] {
        std::string s;
        for (int i = 0; i < 100000; ++i) s += "<a>";
        return s;
    }();
    const std::string huge = "<KelmoraLabs><sliderMode>linear</sliderMode><!--" + std::string (20 * 1024 * 1024, ' ')
                           + "--></KelmoraLabs>";
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += (char) ((i * 7919 + 13) & 0xff);

    const std::pair<const char*, std::string> cases[] = {
        { "empty", "" },
        { "header only", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" },
        { "truncated", "<?xml version=\"1.0\"?>\n<KelmoraLabs>\n  <sliderMode>linear</sliderMode>\n  <mouseSens" },
        { "binary", binary },
        { "foreign root", "<Other><sliderMode>linear</sliderMode><mouseSensitivity>5</mouseSensitivity></Other>" },
        { "deep nesting", deep },
        { "20 MB", huge },
        { "entity loop", "<!DOCTYPE KelmoraLabs [<!ENTITY a \"&a;\">]><KelmoraLabs><sliderMode>&a;</sliderMode>"
                         "</KelmoraLabs>" },
    };

    for (const auto& [name, bytes] : cases)
    {
        writeGlobalConf (bytes);
        auto globals = makeGlobals();
        setSensitivity (*globals, 77.0);
        globals->setFile ("global.conf");

        EXPECT_EQ (sliderMode (*globals), "velocity") << name;
        EXPECT_EQ (sensitivity (*globals), 77) << name;
        EXPECT_EQ (readBytes (globalConf), bytes) << name << ": loading must not rewrite the file";
        globals->pollFileChanges();
    }
}

TEST_F (SettingsFileTest, UnwritableTargetsMakeSaveFail)
{
    // "global.conf" is a folder: nothing is read, saving fails, no temporary file is left.
    fs::create_directories (globalConf);
    {
        auto globals = makeGlobals();
        globals->setFile ("global.conf");
        EXPECT_EQ (sensitivity (*globals), 100);
        EXPECT_FALSE (globals->save());
        EXPECT_TRUE (fs::is_directory (globalConf));
        EXPECT_EQ (folderEntries (folder), std::vector<std::string> { "global.conf" });
    }
    fs::remove_all (folder);

    // The maker's folder cannot be created because a file has its name.
    fs::create_directories (folder.parent_path());
    writeBytes (folder, "not a folder");
    {
        auto globals = makeGlobals();
        globals->setFile ("global.conf");
        EXPECT_FALSE (globals->save());
        EXPECT_EQ (readBytes (folder), "not a folder");
    }
    fs::remove (folder);

    // The folder exists but cannot be written to (permissions do not stop root, /proc does).
    fs::create_directory_symlink ("/proc", folder);
    {
        auto globals = makeGlobals();
        globals->setFile ("global.conf");
        EXPECT_FALSE (globals->save());
        globals->pollFileChanges();
        EXPECT_EQ (sensitivity (*globals), 100);
    }
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

    // Touch the file: only its modification time changes.
    fs::last_write_time (globalConf, fs::last_write_time (globalConf) + std::chrono::milliseconds (1));

    clock.advance (500);
    globals->pollFileChanges();
    EXPECT_FALSE (globals->getParam (1)->isChanged (Parameter::editorChanged));

    clock.advance (499);
    globals->pollFileChanges();
    EXPECT_FALSE (globals->getParam (1)->isChanged (Parameter::editorChanged));

    clock.advance (1);
    globals->pollFileChanges();
    EXPECT_TRUE (globals->getParam (1)->testAndClearChanged (Parameter::editorChanged));

    clock.advance (5000);
    globals->pollFileChanges();
    EXPECT_FALSE (globals->getParam (1)->isChanged (Parameter::editorChanged)); // nothing new
}

TEST_F (SettingsFileTest, PollSeesTwoWritesWithinOneSecondByAnotherList)
{
    ManualClock clock;
    ScopedClockOverride useClock (clock);

    auto reader = makeGlobals();
    auto writer = makeGlobals();
    reader->setFile ("global.conf");
    writer->setFile ("global.conf");

    // Both writes carry the same whole-second modification time, as they would when made
    // within one second.
    const auto sameSecond = fs::file_time_type (std::chrono::seconds (1700000000));

    setSensitivity (*writer, 150.0);
    ASSERT_TRUE (writer->save());
    fs::last_write_time (globalConf, sameSecond);
    clock.advance (1000);
    reader->pollFileChanges();
    EXPECT_EQ (sensitivity (*reader), 150);

    setSensitivity (*writer, 160.0);
    ASSERT_TRUE (writer->save());
    fs::last_write_time (globalConf, sameSecond);
    clock.advance (1000);
    reader->pollFileChanges();
    EXPECT_EQ (sensitivity (*reader), 160);

    // The writer does not reload its own save.
    setSensitivity (*writer, 170.0);
    ASSERT_TRUE (writer->save());
    writer->getParam (1)->testAndClearChanged (0xFFFF);
    clock.advance (1000);
    writer->pollFileChanges();
    EXPECT_FALSE (writer->getParam (1)->isChanged (Parameter::editorChanged));
}

TEST_F (SettingsFileTest, FileStampTellsRewritesApart)
{
    fs::create_directories (folder);
    const juce::File file (juce::String (globalConf.string()));
    EXPECT_FALSE (FileStamp::of (file).exists);

    writeBytes (globalConf, "one");
    const auto first = FileStamp::of (file);
    EXPECT_TRUE (first.exists);
    EXPECT_EQ (first.size, 3);
    EXPECT_EQ (first, FileStamp::of (file));

    juce::XmlElement root ("KelmoraLabs");
    ASSERT_TRUE (SettingsFile::writeXml (root, file));
    EXPECT_NE (FileStamp::of (file), first);
    EXPECT_EQ (folderEntries (folder), std::vector<std::string> { "global.conf" });
}
