#include "PresetTestProduct.h"

#include "core/GlobalParamList.h"
#include "core/SettingsFile.h"
#include "core/XmlUtils.h"
#include "support/HostileXml.h"

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kelmora::core;
using namespace std::string_literals;
using quietline::test::PresetTestProduct;

namespace
{
class UserPresetFileTest : public quietline::test::ControllerTest
{
protected:
    void setSlope (float normalised) { controller->setParameterFromHost (1, normalised); }

    // The file's one entry in full; fails when the file holds another number of entries.
    static juce::String onlyEntry()
    {
        const auto presets = PresetTestProduct::presetsInFile();
        EXPECT_EQ (presets.getNumChildElements(), 1);
        return presets.getNumChildElements() > 0 ? PresetTestProduct::golden (*presets.getChildElement (0)) : juce::String();
    }

    // The entry of slot 5 as the product writes it, with the slope's display text.
    static juce::String entry (const juce::String& name, const juce::String& slope, const juce::String& deleted = {})
    {
        return "<preset _No_=\"1000\" _Name_=\"" + name + "\" freqParam=\"21000\" slopeParam=\"" + slope
             + "\" mixParam=\"100.0\" bypassParam=\"Off\"" + deleted + "><logical freqParam=\"21000.000\" slopeParam=\""
             + slope + "00\" mixParam=\"100.000\" bypassParam=\"0.000\"/></preset>";
    }

    static void writeFile (const std::string& bytes)
    {
        SettingsFile::ensureFolder();
        ASSERT_TRUE (PresetTestProduct::userPresetFile().replaceWithData (bytes.data(), bytes.size()));
    }

    // What a new instance loads, as "slot:name" for each factory slot whose name differs from
    // the built-in one and each user slot in use.
    static juce::String loadedSlots()
    {
        const auto builtIn = PresetTestProduct::makeManager();
        auto reread = PresetTestProduct::makeController();
        juce::StringArray slots;
        for (int i = 0; i < 10; ++i)
            if (i < 5 ? reread->getPresetName (i) != builtIn->getPreset (i).getName() : ! reread->getParamManager().isUserPresetSlotEmpty (i))
                slots.add (juce::String (i) + ":" + reread->getPresetName (i));
        return slots.joinIntoString (" ");
    }
};

// The exit status of `operation` (0: it reported success) run in a child process whose files
// cannot grow beyond `limit` bytes: a write past it stores fewer bytes than asked, without an
// error. -1 when the child did not exit.
int exitStatusWithFileSizeLimit (rlim_t limit, const std::function<bool()>& operation)
{
    const pid_t pid = ::fork();
    if (pid == 0)
    {
        ::signal (SIGXFSZ, SIG_IGN);
        const rlimit fileSize { limit, limit };
        ::_exit (::setrlimit (RLIMIT_FSIZE, &fileSize) == 0 ? (operation() ? 0 : 1) : 2);
    }
    int status = 0;
    return pid > 0 && ::waitpid (pid, &status, 0) == pid && WIFEXITED (status) ? WEXITSTATUS (status) : -1;
}
} // namespace

TEST_F (UserPresetFileTest, AShortWriteLeavesTheTargetAsItWasAndFails)
{
    GlobalParamList globals;
    globals.addStandardParams();
    globals.setFile ("global.conf");
    setSlope (0.25f);
    ASSERT_EQ (controller->storeUserPresetInFreeSlot ("Kept"), 5);

    const std::tuple<const char*, juce::File, std::function<bool()>> cases[] = {
        { "global.conf", SettingsFile::getFile ("global.conf"), [&] { globals.getParam (1)->setNormalisedValue (0.0f); return globals.save(); } },
        { "store", PresetTestProduct::userPresetFile(), [&] { return controller->storeUserPresetInFreeSlot ("New") == 6; } },
        { "delete", PresetTestProduct::userPresetFile(), [&] { return controller->deleteUserPreset (5); } },
    };
    for (const auto& [what, target, operation] : cases)
    {
        juce::MemoryBlock before, after;
        ASSERT_TRUE (target.loadFileAsData (before)) << what;
        EXPECT_EQ (exitStatusWithFileSizeLimit (64, operation), 1) << what;
        EXPECT_TRUE (target.loadFileAsData (after) && after == before) << what;
        EXPECT_EQ (SettingsFile::getFolder().getNumberOfChildFiles (juce::File::findFiles), 2) << what << ": a temporary file was left";
        EXPECT_EQ (exitStatusWithFileSizeLimit (RLIM_INFINITY, operation), 0) << what << " works without the limit";
    }
}

TEST_F (UserPresetFileTest, EntriesLoadIntoTheSlotsTheirNumbersName)
{
    const std::pair<const char*, const char*> cases[] = { // the presets element's children, the slots loaded
        { R"(<preset _Name_="A"/><preset _Name_="B"/>)", "0:A 1:B" },
        { R"(<preset _No_="1000" _Name_="First"/><preset _No_="1000" _Name_="Second"/>)", "5:Second" },
        { R"(<preset _No_="3" _Name_="F"/><preset _No_="1001" _Name_="U"/><preset _No_="6" _Name_="Six"/>)", "2:F 5:Six 6:U" },
        { R"(<preset _No_="1005" _Name_="Out"/><preset _No_="0"/><preset _Name_="D" _Deleted_="1"/><preset _Name_="A"/>)", "0:A" },
        { R"(<preset _No_="1002" _Name_="U"/><preset _Name_="A"/>)", "1:A 7:U" },
        { R"(<preset _Name_="a"/><preset _Name_="b"/><preset _Name_="c"/><preset _Name_="d"/><preset _Name_="e"/><preset _Name_="f"/>)",
          "0:a 1:b 2:c 3:d 4:e 5:f" },
    };
    for (const auto& [presets, slots] : cases)
    {
        writeFile (std::string ("<KelmoraLabs><presets>") + presets + "</presets></KelmoraLabs>");
        EXPECT_EQ (loadedSlots(), juce::String (slots)) << presets;
    }
}

// Overwrite and delete change the entry that loads into the slot, and entries after it keep
// their slots; a store never takes a slot that an entry loads into. What is written is what a
// new instance reads, also from an entry that keeps its values in an inner element.
TEST_F (UserPresetFileTest, WritesChangeTheEntriesThatLoad)
{
    const std::string twice = R"(<preset _No_="1000" _Name_="First"/><preset _No_="1000" _Name_="Second"/>)";
    const std::string inner = R"(<preset _No_="1000" _Name_="Hand"><KelmoraLabs slopeParam="10"/></preset>)";
    std::string unnumbered;
    for (const char* name : { "a", "b", "c", "d", "e", "f", "g" })
        unnumbered += std::string ("<preset _Name_=\"") + name + "\"/>";

    const std::tuple<std::string, char, const char*> cases[] = { // file, overwrite/delete slot 5 or store, slots loaded after
        { twice, 'o', "5:New" },
        { twice, 'd', "" },
        { inner, 'o', "5:New" },
        { unnumbered, 'd', "0:a 1:b 2:c 3:d 4:e 6:g" },
        { unnumbered, 's', "0:a 1:b 2:c 3:d 4:e 5:f 6:g 7:New" },
    };
    for (const auto& [presets, op, slots] : cases)
    {
        writeFile ("<KelmoraLabs><presets>" + presets + "</presets></KelmoraLabs>");
        controller = PresetTestProduct::makeController();
        controller->selectPreset (5);
        setSlope (0.6f);
        EXPECT_TRUE (op == 'o' ? controller->overwriteUserPreset (5, "New")
                     : op == 'd' ? controller->deleteUserPreset (5) : controller->storeUserPresetInFreeSlot ("New") == 7) << op;
        EXPECT_EQ (loadedSlots(), juce::String (slots)) << presets << " " << op;
        if (op == 'd')
            continue;
        controller = PresetTestProduct::makeController();
        controller->selectProgram (op == 'o' ? 5 : 7);
        EXPECT_FLOAT_EQ (pm().getParam (1)->getNormalisedValue(), 0.6f) << presets << " " << op;
    }
}

TEST_F (UserPresetFileTest, StoreDeleteAndStoreAgainRewriteOneEntryInPlace)
{
    setSlope (0.25f);
    EXPECT_EQ (controller->storeUserPresetInFreeSlot ("Mine"), 5);
    EXPECT_TRUE (PresetTestProduct::userPresetFile().loadFileAsString().startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    EXPECT_EQ (onlyEntry(), entry ("Mine", "25.0"));

    EXPECT_TRUE (controller->deleteUserPreset (5) && pm().isUserPresetSlotEmpty (5));
    EXPECT_EQ (onlyEntry(), entry ("Mine", "25.0", " _Deleted_=\"1\"")) << "entries are marked, never removed";

    setSlope (0.5f);
    EXPECT_EQ (controller->storeUserPresetInFreeSlot ("Again"), 5);
    EXPECT_EQ (onlyEntry(), entry ("Again", "50.0", " _Deleted_=\"0\""));
}

TEST_F (UserPresetFileTest, RewritingKeepsOneAttributeOfEachNameWhateverItsCase)
{
    writeFile (R"(<kelmoralabs><PRESETS><PRESET _no_="1000" _NAME_="Old" _deleted_="1" FREQPARAM="20000" SlopeParam="10.0">
                  <Logical FREQPARAM="20000" slopeparam="10"/></PRESET></PRESETS></kelmoralabs>)");
    controller = PresetTestProduct::makeController();
    EXPECT_TRUE (pm().isUserPresetSlotEmpty (5)) << "a deleted entry counts as absent";
    setSlope (0.75f);
    EXPECT_EQ (controller->storeUserPresetInFreeSlot ("New"), 5);
    EXPECT_EQ (onlyEntry(),
               "<PRESET _no_=\"1000\" _NAME_=\"New\" _deleted_=\"0\" FREQPARAM=\"21000\" SlopeParam=\"75.0\" mixParam=\"100.0\" bypassParam=\"Off\">"
               "<Logical FREQPARAM=\"21000.000\" slopeparam=\"75.000\" mixParam=\"100.000\" bypassParam=\"0.000\"/></PRESET>");
}

// The dialogs' view of this, a slot no longer active, is tested through the editor.
TEST_F (UserPresetFileTest, OverwriteDeleteAndRevertActOnTheActiveUserSlotOnly)
{
    setSlope (0.3f);
    ASSERT_EQ (controller->storeUserPresetInFreeSlot ("Mine"), 5);
    controller->selectProgram (2);
    EXPECT_FALSE (controller->overwriteUserPreset (2, "Overwritten") || controller->deleteUserPreset (2));

    controller->selectProgram (5);
    setSlope (0.6f);
    EXPECT_TRUE (controller->overwriteUserPreset (5, "Renamed"));
    EXPECT_FALSE (controller->isPresetModified());
    EXPECT_EQ (onlyEntry(), entry ("Renamed", "60.0"));

    setSlope (0.9f);
    controller->renameActivePreset ("Edited");
    controller->revertActivePreset(); // reads the entry again
    EXPECT_FLOAT_EQ (pm().getParam (1)->getNormalisedValue(), 0.6f);
    EXPECT_EQ (controller->getActivePresetName(), "Renamed");
    EXPECT_FALSE (controller->isPresetModified());

    // A factory slot never reaches the file, even through the manager directly.
    pm().applyPreset (1);
    EXPECT_EQ (pm().saveUserPresets (PresetTestProduct::userPresetFileName, "Evil"), ParamManager::FileWrite::failed);
    EXPECT_EQ (pm().deleteUserPresetFromFile (PresetTestProduct::userPresetFileName, 1), ParamManager::FileWrite::failed);
    EXPECT_FALSE (pm().storeUserPreset (PresetTestProduct::userPresetFileName, 3, "Evil"));
    EXPECT_EQ (onlyEntry(), entry ("Renamed", "60.0"));
    EXPECT_EQ (pm().getPreset (3).getName(), "Steep and reduced");
}

TEST_F (UserPresetFileTest, CorruptFilesNeitherCrashNorLoseValidEntries)
{
    // The slots loaded, and then after a store; a file that does not read is left alone and a store fails.
    struct Case { const char* label; std::string bytes; const char* loaded; const char* afterStore; };
    std::vector<Case> cases = {
        { "empty", "", "", "5:New" },
        { "truncated", "<?xml version=\"1.0\"?><KelmoraLabs><presets><preset _No_=\"1000\" _Name_=\"Ke", "", nullptr },
        { "foreign root", "<Other><presets><preset _No_=\"1000\" _Name_=\"X\"/></presets></Other>", "", nullptr },
        { "numbers outside the bank", "<KelmoraLabs><presets><preset _No_=\"1005\" _Name_=\"Out\"/><preset _No_=\"0\" _Name_=\"Zero\"/>"
          "<preset _No_=\"-7\" _Name_=\"Neg\"/><preset _No_=\"99999999999\" _Name_=\"Huge\"/><preset _No_=\"1001\" _Name_=\"Keep\"/>"
          "</presets><preset _No_=\"1000\" _Name_=\"OutsideThePresetsElement\"/></KelmoraLabs>", "6:Keep", "5:New 6:Keep" },
        { "one entry not UTF-8", "<KelmoraLabs><presets><preset _No_=\"1000\" _Name_=\"Bad\xff\"/>"
          "<preset _No_=\"1001\" _Name_=\"Keep\"/></presets></KelmoraLabs>", "6:Keep", "5:New 6:Keep" },
        { "blanks only", " \n\t\r\n ", "", "5:New" },
        // Short enough for the blank check, which must take neither text that does not read nor
        // a NUL byte for the end of the file.
        { "an overlong blank first", "\xc0\xa0\0<KelmoraLabs><presets><preset _No_=\"1000\" _Name_=\"Keep\"/></presets></KelmoraLabs>"s, "", nullptr },
        { "a NUL first", "\0<KelmoraLabs><presets><preset _No_=\"1000\" _Name_=\"Keep\"/></presets></KelmoraLabs>"s, "", nullptr },
    };
    for (const auto& hostile : quietline::test::hostileXml ("KelmoraLabs"))
        if (hostile.refused)
            cases.push_back ({ hostile.what, hostile.text, "", nullptr });
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.label);
        writeFile (c.bytes);
        controller = PresetTestProduct::makeController();
        EXPECT_EQ (loadedSlots(), c.loaded);
        EXPECT_EQ (controller->storeUserPresetInFreeSlot ("New"), c.afterStore != nullptr ? 5 : -1);
        if (c.afterStore != nullptr)
        {
            EXPECT_EQ (loadedSlots(), c.afterStore);
            continue;
        }
        EXPECT_TRUE (pm().getActivePresetIndex() == 0 && pm().isUserPresetSlotEmpty (5) && ! controller->canUndo());
        juce::MemoryBlock after;
        EXPECT_TRUE (PresetTestProduct::userPresetFile().loadFileAsData (after) && after.matches (c.bytes.data(), c.bytes.size()));
    }
}
