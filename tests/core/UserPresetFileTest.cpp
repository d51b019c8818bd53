#include "PresetTestProduct.h"
#include "support/TempHome.h"

#include "core/SettingsFile.h"
#include "core/XmlUtils.h"

#include <gtest/gtest.h>

using namespace kelmora::core;
using quietline::test::PresetTestProduct;

namespace
{
class UserPresetFileTest : public ::testing::Test
{
protected:
    quietline::test::TempHome home;
    std::unique_ptr<PresetController> controller = PresetTestProduct::makeController();

    ParamManager& pm() { return controller->getParamManager(); }

    static juce::String fileText() { return PresetTestProduct::userPresetFile().loadFileAsString(); }

    static std::unique_ptr<juce::XmlElement> fileEntries()
    {
        auto doc = XmlUtils::parseFile (PresetTestProduct::userPresetFile());
        EXPECT_NE (doc, nullptr) << "the user-preset file must parse";

        if (doc == nullptr)
            return {};

        EXPECT_TRUE (XmlUtils::tagIs (*doc, "KelmoraLabs"));
        auto* presets = XmlUtils::findChild (*doc, "presets");
        EXPECT_NE (presets, nullptr);
        return presets != nullptr ? std::make_unique<juce::XmlElement> (*presets) : nullptr;
    }

    static void writeFile (const juce::String& text)
    {
        writeBytes (juce::MemoryBlock (text.toRawUTF8(), text.getNumBytesAsUTF8()));
    }

    static void writeBytes (const juce::MemoryBlock& bytes)
    {
        SettingsFile::ensureFolder();
        ASSERT_TRUE (PresetTestProduct::userPresetFile().replaceWithData (bytes.getData(), bytes.getSize()));
    }

    static juce::MemoryBlock fileBytes()
    {
        juce::MemoryBlock block;
        PresetTestProduct::userPresetFile().loadFileAsData (block);
        return block;
    }

    void setSlope (float normalised) { controller->setParameterFromHost (1, normalised); }
};
} // namespace

TEST_F (UserPresetFileTest, StoreDeleteAndStoreAgainRewriteOneEntryInPlace)
{
    EXPECT_EQ (controller->findFreeUserPresetSlot(), 5) << "no file: the first user slot";

    setSlope (0.25f);
    EXPECT_EQ (controller->storeUserPresetInFreeSlot ("Mine"), 5);
    EXPECT_EQ (pm().getActivePresetIndex(), 5);
    EXPECT_FALSE (pm().isUserPresetSlotEmpty (5));
    EXPECT_EQ (controller->getPresetName (5), "Mine");

    auto entries = fileEntries();
    ASSERT_EQ (entries->getNumChildElements(), 1);
    const auto* entry = entries->getChildElement (0);
    EXPECT_EQ (entry->getStringAttribute ("_No_"), "1000");
    EXPECT_EQ (entry->getStringAttribute ("_Name_"), "Mine");
    EXPECT_EQ (entry->getStringAttribute ("slopeParam"), "25.0");
    EXPECT_NE (entry->getChildByName ("logical"), nullptr);
    EXPECT_TRUE (fileText().startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));

    EXPECT_TRUE (controller->deleteUserPreset (5));
    EXPECT_TRUE (pm().isUserPresetSlotEmpty (5));
    EXPECT_EQ (pm().getActivePresetIndex(), 0);
    entries = fileEntries();
    ASSERT_EQ (entries->getNumChildElements(), 1) << "entries are marked, never removed";
    EXPECT_EQ (entries->getChildElement (0)->getStringAttribute ("_Deleted_"), "1");

    setSlope (0.5f);
    EXPECT_EQ (controller->storeUserPresetInFreeSlot ("Again"), 5);
    entries = fileEntries();
    ASSERT_EQ (entries->getNumChildElements(), 1);
    EXPECT_EQ (entries->getChildElement (0)->getStringAttribute ("_Deleted_"), "0");
    EXPECT_EQ (entries->getChildElement (0)->getStringAttribute ("_Name_"), "Again");
    EXPECT_EQ (entries->getChildElement (0)->getStringAttribute ("slopeParam"), "50.0");
}

TEST_F (UserPresetFileTest, RewritingKeepsOneAttributeOfEachNameWhateverItsCase)
{
    writeFile (R"(<?xml version="1.0" encoding="UTF-8"?>
<kelmoralabs><PRESETS>
  <PRESET _no_="1000" _NAME_="Old" _deleted_="1" FREQPARAM="20000" SlopeParam="10.0">
    <Logical FREQPARAM="20000" slopeparam="10"/>
  </PRESET>
</PRESETS></kelmoralabs>)");
    controller = PresetTestProduct::makeController();
    EXPECT_TRUE (pm().isUserPresetSlotEmpty (5)) << "a deleted entry counts as absent";

    setSlope (0.75f);
    EXPECT_EQ (controller->storeUserPresetInFreeSlot ("New"), 5);

    auto doc = XmlUtils::parseFile (PresetTestProduct::userPresetFile());
    ASSERT_NE (doc, nullptr);
    const auto* entry = XmlUtils::findChild (*XmlUtils::findChild (*doc, "presets"), "preset");
    ASSERT_NE (entry, nullptr);
    EXPECT_EQ (entry->getNumAttributes(), 7) << entry->toString();

    for (const char* name : { "_No_", "_Name_", "_Deleted_", "freqParam", "slopeParam", "mixParam", "bypassParam" })
        EXPECT_TRUE (XmlUtils::hasAttribute (*entry, name)) << name;

    EXPECT_EQ (XmlUtils::getAttribute (*entry, "_Deleted_"), "0");
    EXPECT_EQ (XmlUtils::getAttribute (*entry, "_name_"), "New");
    EXPECT_EQ (XmlUtils::getAttribute (*entry, "slopeparam"), "75.0");
    const auto* logical = XmlUtils::findChild (*entry, "logical");
    ASSERT_NE (logical, nullptr);
    EXPECT_EQ (logical->getNumAttributes(), 4);
    EXPECT_EQ (entry->getNumChildElements(), 1);
}

TEST_F (UserPresetFileTest, FreeSlotSearchAndLoadingSeeOtherInstances)
{
    auto other = PresetTestProduct::makeController();
    EXPECT_EQ (controller->storeUserPresetInFreeSlot ("First"), 5);
    EXPECT_EQ (other->findFreeUserPresetSlot(), 6) << "the file decides, not this instance's slots";
    EXPECT_EQ (other->storeUserPresetInFreeSlot ("Second"), 6);

    auto third = PresetTestProduct::makeController();
    EXPECT_EQ (third->getPresetName (5), "First");
    EXPECT_EQ (third->getPresetName (6), "Second");
    EXPECT_FALSE (third->getParamManager().isUserPresetSlotEmpty (6));
    EXPECT_FALSE (third->isPresetModified());
    third->selectPreset (4);
    EXPECT_TRUE (third->selectNextPreset());
    EXPECT_TRUE (third->selectNextPreset());
    EXPECT_FALSE (third->selectNextPreset()) << "slots 7..9 are empty, and there is no wrap-around";
    EXPECT_EQ (third->getParamManager().getActivePresetIndex(), 6);

    for (const char* name : { "3", "4", "5" })
        EXPECT_GE (third->storeUserPresetInFreeSlot (name), 7);

    EXPECT_EQ (third->findFreeUserPresetSlot(), -1);
    EXPECT_EQ (controller->storeUserPresetInFreeSlot ("Sixth"), -1);

    third->resetState();
    EXPECT_TRUE (third->getParamManager().isUserPresetSlotEmpty (5)) << "a reset empties the user slots";
}

TEST_F (UserPresetFileTest, RevertReadsTheEntryAgainAndUndoBringsBackTheLiveValues)
{
    setSlope (0.2f);
    ASSERT_EQ (controller->storeUserPresetInFreeSlot ("Stored"), 5);
    setSlope (0.9f);
    controller->renameActivePreset ("Edited");
    EXPECT_TRUE (controller->isPresetModified());

    controller->revertActivePreset();
    EXPECT_FLOAT_EQ (pm().getParam (1)->getNormalisedValue(), 0.2f);
    EXPECT_EQ (controller->getActivePresetName(), "Stored");
    EXPECT_FALSE (pm().isUserPresetSlotEmpty (5));
    EXPECT_FALSE (controller->isPresetModified());

    controller->undo();
    EXPECT_FLOAT_EQ (pm().getParam (1)->getNormalisedValue(), 0.9f);
    EXPECT_EQ (controller->getActivePresetName(), "Edited");
}

TEST_F (UserPresetFileTest, OverwriteAndDeleteActOnlyOnTheNamedActiveUserSlot)
{
    setSlope (0.3f);
    ASSERT_EQ (controller->storeUserPresetInFreeSlot ("Mine"), 5);
    const auto before = fileText();

    // The dialog was opened on slot 5; a host program change then selected factory slot 2.
    controller->selectProgram (2);
    EXPECT_FALSE (controller->overwriteUserPreset (5, "Overwritten"));
    EXPECT_FALSE (controller->deleteUserPreset (5));
    EXPECT_FALSE (controller->overwriteUserPreset (2, "Overwritten"));
    EXPECT_FALSE (controller->deleteUserPreset (2));
    EXPECT_EQ (fileText(), before);
    EXPECT_EQ (controller->getPresetName (2), "Intermediate");
    EXPECT_EQ (controller->getPresetName (5), "Mine");

    controller->selectProgram (5);
    setSlope (0.6f);
    EXPECT_TRUE (controller->overwriteUserPreset (5, "Renamed"));
    auto entries = fileEntries();
    ASSERT_EQ (entries->getNumChildElements(), 1);
    EXPECT_EQ (entries->getChildElement (0)->getStringAttribute ("_Name_"), "Renamed");
    EXPECT_EQ (entries->getChildElement (0)->getStringAttribute ("slopeParam"), "60.0");
    EXPECT_FALSE (controller->isPresetModified());

    // A factory slot never reaches the file, even through the manager directly.
    pm().applyPreset (1);
    EXPECT_FALSE (pm().saveUserPresets (PresetTestProduct::userPresetFileName));
    EXPECT_FALSE (pm().deleteUserPresetFromFile (PresetTestProduct::userPresetFileName, 1));
    pm().storeUserPreset (PresetTestProduct::userPresetFileName, 3, "Evil");
    EXPECT_EQ (fileEntries()->getNumChildElements(), 1);
    EXPECT_EQ (pm().getPreset (3).getName(), "Steep and reduced");
}

//==============================================================================
namespace
{
struct CorruptCase
{
    const char* label;
    juce::MemoryBlock bytes;
    juce::StringArray expectedNames; ///< names of slots 5..9 after loading ("" = empty)
    bool fileMayChange;              ///< the store may rewrite the file
    int storedSlot;                  ///< where a new preset goes
};

juce::String validDocument()
{
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<KelmoraLabs><presets>
  <preset _No_="1000" _Name_="Keep" freqParam="22000" slopeParam="10.0" mixParam="100.0" bypassParam="Off"/>
  <preset _No_="1002" _Name_="Also" freqParam="23000" slopeParam="20.0" mixParam="100.0" bypassParam="Off"/>
</presets></KelmoraLabs>)";
}

juce::MemoryBlock deepDocument()
{
    std::string s ("<KelmoraLabs><presets>");

    for (int i = 0; i < 100000; ++i)
        s += "<a>";

    return { s.data(), s.size() };
}

juce::MemoryBlock bytesOf (const juce::String& text)
{
    return { text.toRawUTF8(), text.getNumBytesAsUTF8() };
}

juce::MemoryBlock binaryBytes()
{
    juce::MemoryBlock block;
    juce::Random random (1234);

    for (int i = 0; i < 3000; ++i)
    {
        const auto c = (char) random.nextInt (256);
        block.append (&c, 1);
    }

    return block;
}
} // namespace

TEST_F (UserPresetFileTest, CorruptFilesNeitherCrashNorLoseValidEntries)
{
    const auto valid = validDocument();
    const CorruptCase cases[] = {
        { "empty", {}, { "", "", "", "", "" }, true, 5 },
        { "truncated", bytesOf (valid.substring (0, valid.length() / 2)), { "", "", "", "", "" }, false, 5 },
        { "binary", binaryBytes(), { "", "", "", "", "" }, false, 5 },
        { "foreign root", bytesOf ("<Other><presets><preset _No_=\"1000\" _Name_=\"X\"/></presets></Other>"), { "", "", "", "", "" }, false, 5 },
        { "deep nesting", deepDocument(), { "", "", "", "", "" }, false, 5 },
        { "numbers outside the bank",
          bytesOf ("<KelmoraLabs><presets><preset _No_=\"1005\" _Name_=\"Out\"/><preset _No_=\"0\" _Name_=\"Zero\"/>"
          "<preset _No_=\"-7\" _Name_=\"Neg\"/><preset _No_=\"99999999999\" _Name_=\"Huge\"/>"
          "<preset _No_=\"1001\" _Name_=\"Keep\" slopeParam=\"10\"/></presets>"
          "<preset _No_=\"1000\" _Name_=\"OutsideThePresetsElement\"/></KelmoraLabs>"),
          { "", "Keep", "", "", "" }, true, 5 },
        { "factory slot named",
          bytesOf ("<KelmoraLabs><presets><preset _No_=\"2\" _Name_=\"Evil\" slopeParam=\"1\"/>"
          "<preset _Name_=\"Unnumbered\" slopeParam=\"1\"/>"
          "<preset _No_=\"1001\" _Name_=\"Keep\"/></presets></KelmoraLabs>"),
          { "", "Keep", "", "", "" }, true, 5 },
        { "duplicate numbers",
          bytesOf ("<KelmoraLabs><presets><preset _No_=\"1000\" _Name_=\"First\" slopeParam=\"10\"/>"
          "<preset _No_=\"1000\" _Name_=\"Second\" slopeParam=\"20\"/></presets></KelmoraLabs>"),
          { "First", "", "", "", "" }, true, 6 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.label);
        writeBytes (c.bytes);
        controller = PresetTestProduct::makeController();

        for (int i = 0; i < 5; ++i)
        {
            const auto& expected = c.expectedNames[i];
            EXPECT_EQ (pm().isUserPresetSlotEmpty (5 + i), expected.isEmpty()) << "slot " << 5 + i;

            if (expected.isNotEmpty())
            {
                EXPECT_EQ (controller->getPresetName (5 + i), expected);
            }
        }

        for (int i = 0; i < 5; ++i)
            EXPECT_EQ (pm().getPreset (i).getName(), pm().getSavedPreset (i).getName()) << "factory slot " << i;

        const auto before = fileBytes();
        EXPECT_EQ (controller->storeUserPresetInFreeSlot ("New"), c.storedSlot);
        const auto after = fileBytes();

        if (! c.fileMayChange)
        {
            EXPECT_TRUE (after == before) << "a file we cannot read is left alone";
            continue;
        }

        // Every valid entry is still there, and the new one too.
        auto reread = PresetTestProduct::makeController();

        for (int i = 0; i < 5; ++i)
        {
            if (c.expectedNames[i].isNotEmpty())
            {
                EXPECT_EQ (reread->getPresetName (5 + i), c.expectedNames[i]);
            }
        }

        EXPECT_EQ (reread->getPresetName (c.storedSlot), "New");
    }
}

TEST_F (UserPresetFileTest, DeletingADuplicatedNumberRemovesEveryLiveCopy)
{
    writeFile ("<KelmoraLabs><presets><preset _No_=\"1000\" _Name_=\"First\"/>"
               "<preset _No_=\"1000\" _Name_=\"Second\"/></presets></KelmoraLabs>");
    controller = PresetTestProduct::makeController();
    controller->selectProgram (5);
    ASSERT_EQ (pm().getActivePresetIndex(), 5);
    EXPECT_TRUE (controller->deleteUserPreset (5));
    EXPECT_EQ (controller->findFreeUserPresetSlot(), 5);
    EXPECT_TRUE (PresetTestProduct::makeController()->getParamManager().isUserPresetSlotEmpty (5));
}
