#include "PresetTestProduct.h"

#include "core/XmlUtils.h"

#include <cmath>

using namespace kelmora::core;
using quietline::test::PresetTestProduct;

namespace
{
class ParamManagerTest : public ::testing::Test
{
protected:
    quietline::test::TempHome home;
    std::unique_ptr<ParamManager> pm = PresetTestProduct::makeManager();

    double real (int index) const { return std::round (pm->getParam (index)->getValue() * 1000.0) / 1000.0; }
    void setReal (int index, double v) { pm->getParam (index)->setNormalisedValue (pm->getParam (index)->valueToNormalised (v)); }
};
} // namespace

// The factory names and values as a host sees them are checked through the module.
TEST_F (ParamManagerTest, SlotsWithoutAFactoryPresetHaveNumberedNamesAndUserSlotsStartEmpty)
{
    ParamManager bare (1, 10, 5);
    bare.setParam (0, std::make_unique<Parameter> ("p", nullptr, nullptr, 1, nullptr, 0u, 0.0, 1.0, 0.0));
    bare.initialisePresets();
    const char* names[] = { "Default", "PRST001", "PRST002", "PRST003", "PRST004", "USER001", "USER002", "USER003", "USER004", "USER005" };
    for (int i = 0; i < 10; ++i)
    {
        EXPECT_EQ (bare.getPreset (i).getName(), names[i]) << "slot " << i;
        EXPECT_EQ (pm->isUserPresetSlotEmpty (i), i >= 5) << "slot " << i;
    }
}

// Copies write into the records in place: nothing is reallocated.
TEST (PresetBank, CopiesStayInPlaceAndOutsideTheBankIsNothing)
{
    PresetBank a (3, 4), b (3, 4);
    b.getSlot (1)->setName ("x");
    b.getSlot (1)->setValue (2, 0.5f);
    const auto* slotBefore = a.getSlot (1);
    const auto* valuesBefore = a.get (1).getValues().data();
    a.copyFrom (b);
    EXPECT_TRUE (a.getSlot (1) == slotBefore && a.get (1).getValues().data() == valuesBefore);
    EXPECT_EQ (a.get (1).getName(), "x");
    EXPECT_FLOAT_EQ (a.get (1).getValue (2), 0.5f);
    EXPECT_EQ (a.getSlot (3), nullptr); // nothing to write, an empty record to read
    EXPECT_TRUE (a.get (7).getName().isEmpty());
}

TEST_F (ParamManagerTest, ApplyingPresetsRespectsBounds)
{
    setReal (2, 33.0);
    pm->applyPreset (-1);
    pm->applyPreset (10);
    EXPECT_EQ (pm->getActivePresetIndex(), 0);
    EXPECT_DOUBLE_EQ (real (2), 33.0);
    EXPECT_FLOAT_EQ (pm->getPreset (0).getValue (2), 1.0f) << "a refused apply must not store";

    pm->applyPreset (3);
    EXPECT_DOUBLE_EQ (real (2), 60.0);
    EXPECT_TRUE (pm->testAndClearActivePresetChanged (true));
    EXPECT_FALSE (pm->testAndClearActivePresetChanged (true));
    EXPECT_NEAR (pm->getPreset (0).getValue (2), 0.33f, 1e-6) << "the slot left keeps the live values";
}

TEST_F (ParamManagerTest, WritesTheStateElementInItsDocumentedShape)
{
    juce::XmlElement linked ("OrvelQuietline");
    pm->writeState (linked);
    EXPECT_TRUE (PresetTestProduct::golden (linked).endsWith ("<presets active=\"1\"/><A _Active_=\"1\"/><B _Active_=\"0\" _Linked_=\"1\"/></OrvelQuietline>"))
        << PresetTestProduct::golden (linked);

    setReal (1, 42.0);
    pm->applyPreset (2);
    setReal (1, 43.0);
    pm->renameSlot (4, "Renamed");
    pm->copyAToB();
    pm->selectState (true);
    setReal (2, 80.0);
    juce::XmlElement state ("OrvelQuietline");
    pm->writeState (state);
    // Only modified slots, the active one without values, and the inactive state with its values.
    EXPECT_EQ (PresetTestProduct::golden (state),
               "<OrvelQuietline freqParam=\"22000\" slopeParam=\"43.0\" mixParam=\"80.0\" bypassParam=\"Off\">"
               "<logical freqParam=\"22000.000\" slopeParam=\"43.000\" mixParam=\"80.000\" bypassParam=\"0.000\"/>"
               "<presets active=\"3\">"
               "<preset _No_=\"1\" _Name_=\"Default\" freqParam=\"21000\" slopeParam=\"42.0\" mixParam=\"100.0\" bypassParam=\"Off\">"
               "<logical freqParam=\"21000.000\" slopeParam=\"42.000\" mixParam=\"100.000\" bypassParam=\"0.000\"/></preset>"
               "<preset _No_=\"3\" _Name_=\"Intermediate\"/>"
               "<preset _No_=\"5\" _Name_=\"Renamed\" freqParam=\"20000\" slopeParam=\"100.0\" mixParam=\"100.0\" bypassParam=\"Off\">"
               "<logical freqParam=\"20000.000\" slopeParam=\"100.000\" mixParam=\"100.000\" bypassParam=\"0.000\"/></preset>"
               "</presets>"
               "<A _Active_=\"0\" freqParam=\"22000\" slopeParam=\"43.0\" mixParam=\"100.0\" bypassParam=\"Off\">"
               "<logical freqParam=\"22000.000\" slopeParam=\"43.000\" mixParam=\"100.000\" bypassParam=\"0.000\"/></A>"
               "<B _Active_=\"1\"/></OrvelQuietline>");
}

TEST_F (ParamManagerTest, ReadingAStateMapsNumbersFallsBackResetsDefaultsAndNamesTheActiveSlot)
{
    setReal (1, 10.0);
    setReal (3, 1.0);
    pm->readState (*XmlUtils::parseText (R"(<OrvelQuietline FREQPARAM="abc" mixParam="50">
        <LOGICAL freqParam="22500" slopeParam="nan"/><presets active="1000"/></OrvelQuietline>)"));
    EXPECT_NEAR (pm->getParam (0)->getValue(), 22500.0, 1e-3) << "unparsable text falls back to logical";
    EXPECT_DOUBLE_EQ (real (1), 100.0) << "unmentioned: the default, not preset 0's 75";
    EXPECT_DOUBLE_EQ (real (2), 50.0);
    EXPECT_DOUBLE_EQ (real (3), 0.0);
    EXPECT_EQ (pm->getActivePresetIndex(), 5) << "1000 is the first user slot";

    pm->readState (*XmlUtils::parseText (R"(<s slopeParam="30"><logical slopeParam="60"/></s>)"));
    EXPECT_DOUBLE_EQ (real (1), 30.0) << "the display text wins over logical when it parses";

    for (auto [text, slot] : { std::pair ("0", 0), { "1", 0 }, { "4", 3 }, { "999", 9 }, { "1004", 9 }, { "5000", 9 }, { "-20", 0 } })
    {
        juce::XmlElement s ("s");
        s.createNewChildElement ("presets")->setAttribute ("active", text);
        pm->readState (s);
        EXPECT_EQ (pm->getActivePresetIndex(), slot) << "active=" << text;
    }

    // Of the active slot's preset only the name is taken.
    pm->readState (*XmlUtils::parseText (R"(<s slopeParam="10"><presets active="3">
        <preset _No_="3" _Name_="Third" slopeParam="99"/><preset _Name_="NoNumber" slopeParam="66"/>
        <preset _No_="1001" _Name_="User" slopeParam="44"/><preset _No_="1005" _Name_="Outside" slopeParam="1"/>
        </presets></s>)"));
    EXPECT_EQ (pm->getPreset (2).getName(), "Third");
    EXPECT_FLOAT_EQ (pm->getPreset (2).getValue (1), 0.1f) << "the active slot takes the live values only";
    // The skipped active entry does not use up a number: the unnumbered one is number 1.
    EXPECT_EQ (pm->getPreset (0).getName(), "NoNumber");
    EXPECT_FLOAT_EQ (pm->getPreset (0).getValue (1), 0.66f);
    EXPECT_EQ (pm->getPreset (6).getName(), "User");
    EXPECT_FALSE (pm->isUserPresetSlotEmpty (6));
    EXPECT_TRUE (pm->testAndClearPresetListChanged (true));
}
