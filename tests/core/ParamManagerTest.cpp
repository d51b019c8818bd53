#include "PresetTestProduct.h"
#include "support/TempHome.h"

#include "core/XmlUtils.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kelmora::core;
using quietline::test::PresetTestProduct;

namespace
{
juce::StringArray attributeNames (const juce::XmlElement& e)
{
    juce::StringArray names;

    for (int i = 0; i < e.getNumAttributes(); ++i)
        names.add (e.getAttributeName (i));

    return names;
}

juce::StringArray childTags (const juce::XmlElement& e)
{
    juce::StringArray tags;

    for (const auto* c : e.getChildIterator())
        tags.add (c->getTagName());

    return tags;
}

// Values pass through a float position; compared to a thousandth of a unit.
double rounded (double v)
{
    return std::round (v * 1000.0) / 1000.0;
}

std::vector<double> liveRealValues (const ParamManager& pm)
{
    std::vector<double> v;

    for (int i = 0; i < pm.getCount(); ++i)
        v.push_back (rounded (pm.getParam (i)->getValue()));

    return v;
}

std::unique_ptr<juce::XmlElement> parse (const char* text)
{
    auto e = XmlUtils::parseText (text);
    EXPECT_NE (e, nullptr) << text;
    return e;
}

class ParamManagerTest : public ::testing::Test
{
protected:
    quietline::test::TempHome home;
    std::unique_ptr<ParamManager> pm = PresetTestProduct::makeManager();

    double real (int index) const { return rounded (pm->getParam (index)->getValue()); }

    void setReal (int index, double v)
    {
        auto* p = pm->getParam (index);
        p->setNormalisedValue (p->valueToNormalised (v));
    }
};
} // namespace

TEST_F (ParamManagerTest, NamesSlotsAndAppliesTheFirstFactoryPreset)
{
    auto bare = PresetTestProduct::makeManager (false);
    const char* bareNames[] = { "Default", "PRST001", "PRST002", "PRST003", "PRST004",
                                "USER001", "USER002", "USER003", "USER004", "USER005" };

    for (int i = 0; i < 10; ++i)
        EXPECT_EQ (bare->getPreset (i).getName(), bareNames[i]) << "slot " << i;

    const char* names[] = { "Default", "Light", "Intermediate", "Steep and reduced", "Hard",
                            "USER001", "USER002", "USER003", "USER004", "USER005" };

    for (int i = 0; i < 10; ++i)
    {
        EXPECT_EQ (pm->getPreset (i).getName(), names[i]) << "slot " << i;
        EXPECT_FALSE (pm->getPreset (i).isModified()) << "slot " << i;
        EXPECT_EQ (pm->isUserPresetSlotEmpty (i), i >= 5) << "slot " << i;
        EXPECT_EQ (pm->getSavedPreset (i).getName(), names[i]);
    }

    EXPECT_EQ (pm->getNumPresets(), 10);
    EXPECT_EQ (pm->getNumFactoryPresets(), 5);
    EXPECT_EQ (pm->getNumUserPresets(), 5);
    EXPECT_EQ (pm->getActivePresetIndex(), 0);
    EXPECT_EQ (liveRealValues (*pm), (std::vector<double> { 21000.0, 75.0, 100.0, 0.0 }));
    EXPECT_FALSE (pm->isActivePresetModified());
    EXPECT_FALSE (pm->isStateBActive());
    EXPECT_TRUE (pm->isLinked());
    EXPECT_FALSE (pm->isPresetApplied());

    setReal (1, 40.0);
    EXPECT_TRUE (pm->isActivePresetModified());
}

TEST_F (ParamManagerTest, NewRecordsAreZeroedAndBankCopiesStayInPlace)
{
    PresetRecord fresh (4);
    EXPECT_EQ (fresh.getValues(), (std::vector<float> (4, 0.0f)));
    EXPECT_TRUE (fresh.getName().isEmpty());
    EXPECT_FALSE (fresh.isModified() || fresh.isInUse());

    PresetBank a (3, 4), b (3, 4);
    b.getSlot (1)->setName ("x");
    b.getSlot (1)->setValue (2, 0.5f);
    const auto* slotBefore = a.getSlot (1);
    const auto* valuesBefore = a.get (1).getValues().data();
    a.copyFrom (b);
    EXPECT_EQ (a.getSlot (1), slotBefore);
    EXPECT_EQ (a.get (1).getValues().data(), valuesBefore);
    EXPECT_EQ (a.get (1).getName(), "x");
    EXPECT_FLOAT_EQ (a.get (1).getValue (2), 0.5f);

    // Outside the bank: an empty record, and writes go nowhere.
    EXPECT_EQ (a.getSlot (3), nullptr);
    EXPECT_FLOAT_EQ (a.get (-1).getValue (0), 0.0f);
    EXPECT_TRUE (a.get (7).getName().isEmpty());
}

TEST_F (ParamManagerTest, ApplyingPresetsRespectsBoundsAndNotInPresets)
{
    setReal (2, 33.0);
    pm->applyPreset (-1);
    pm->applyPreset (10);
    EXPECT_EQ (pm->getActivePresetIndex(), 0);
    EXPECT_DOUBLE_EQ (real (2), 33.0);
    EXPECT_FLOAT_EQ (pm->getPreset (0).getValue (2), 1.0f) << "a refused apply must not store";

    pm->applyPreset (3);
    EXPECT_EQ (liveRealValues (*pm)[2], 60.0);
    EXPECT_TRUE (pm->testAndClearActivePresetChanged (true));
    EXPECT_FALSE (pm->testAndClearActivePresetChanged (true));
    EXPECT_NEAR (pm->getPreset (0).getValue (2), 0.33f, 1e-6) << "the slot left keeps the live values";

    ParamManager custom (2, 2, 0);
    custom.setParam (0, std::make_unique<Parameter> ("a", nullptr, nullptr, 1, nullptr, 0u, 0.0, 1.0, 0.0));
    custom.setParam (1, std::make_unique<Parameter> ("b", nullptr, nullptr, 1, nullptr, (juce::uint32) Parameter::notInPresets, 0.0, 1.0, 0.0));
    custom.initialisePresets();
    custom.applyPreset (1);
    custom.getParam (0)->setNormalisedValue (0.7f);
    custom.getParam (1)->setNormalisedValue (0.7f);
    custom.applyPreset (0);
    EXPECT_FLOAT_EQ (custom.getParam (0)->getNormalisedValue(), 0.0f);
    EXPECT_FLOAT_EQ (custom.getParam (1)->getNormalisedValue(), 0.7f);
}

TEST_F (ParamManagerTest, LinkedSwitchingChangesNothingAndCopiesUnlink)
{
    pm->selectState (true);
    setReal (1, 20.0);
    pm->selectState (false);
    EXPECT_DOUBLE_EQ (real (1), 20.0) << "linked states share the values";
    EXPECT_TRUE (pm->isLinked());

    // A active: copying A to B changes no parameter.
    pm->copyAToB();
    EXPECT_FALSE (pm->isLinked());
    EXPECT_DOUBLE_EQ (real (1), 20.0);

    // Unlinked, B gets its own values; switching now changes them.
    pm->selectState (true);
    setReal (1, 90.0);
    pm->selectState (false);
    EXPECT_DOUBLE_EQ (real (1), 20.0);

    // B active: copying A to B makes the parameters take A's values.
    pm->selectState (true);
    EXPECT_DOUBLE_EQ (real (1), 90.0);
    pm->copyAToB();
    EXPECT_DOUBLE_EQ (real (1), 20.0);

    // B active: copying B to A leaves the parameters alone.
    setReal (1, 55.0);
    pm->copyBToA();
    EXPECT_DOUBLE_EQ (real (1), 55.0);
    pm->selectState (false);
    EXPECT_DOUBLE_EQ (real (1), 55.0);
}

//==============================================================================
TEST_F (ParamManagerTest, WritesTheStateElementInItsDocumentedShape)
{
    setReal (1, 42.0);
    pm->applyPreset (2);
    setReal (1, 43.0);
    pm->renameSlot (4, "Renamed");
    pm->copyAToB();
    pm->selectState (true);
    setReal (2, 80.0);

    juce::XmlElement state ("OrvelQuietline");
    pm->writeState (state);

    EXPECT_EQ (attributeNames (state), juce::StringArray ({ "freqParam", "slopeParam", "mixParam", "bypassParam" }));
    EXPECT_EQ (state.getStringAttribute ("freqParam"), "22000");
    EXPECT_EQ (state.getStringAttribute ("slopeParam"), "43.0");
    EXPECT_EQ (state.getStringAttribute ("mixParam"), "80.0");
    EXPECT_EQ (state.getStringAttribute ("bypassParam"), "Off");
    EXPECT_EQ (childTags (state), juce::StringArray ({ "logical", "presets", "A", "B" }));

    const auto* logical = state.getChildByName ("logical");
    EXPECT_EQ (attributeNames (*logical), attributeNames (state));
    EXPECT_NEAR (logical->getDoubleAttribute ("freqParam"), 22000.0, 1e-3);
    EXPECT_NEAR (logical->getDoubleAttribute ("slopeParam"), 43.0, 1e-4);

    const auto* presets = state.getChildByName ("presets");
    EXPECT_EQ (attributeNames (*presets), juce::StringArray ({ "active" }));
    EXPECT_EQ (presets->getStringAttribute ("active"), "3");
    ASSERT_EQ (presets->getNumChildElements(), 3) << "slots 0, 2 and 4 were modified";

    const auto* slot0 = presets->getChildElement (0);
    EXPECT_EQ (slot0->getStringAttribute ("_No_"), "1");
    EXPECT_EQ (attributeNames (*slot0), juce::StringArray ({ "_No_", "_Name_", "freqParam", "slopeParam", "mixParam", "bypassParam" }));
    EXPECT_NE (slot0->getChildByName ("logical"), nullptr);

    const auto* active = presets->getChildElement (1);
    EXPECT_EQ (attributeNames (*active), juce::StringArray ({ "_No_", "_Name_" })) << "active values are not repeated";
    EXPECT_EQ (active->getNumChildElements(), 0);
    EXPECT_EQ (presets->getChildElement (2)->getStringAttribute ("_Name_"), "Renamed");

    const auto* a = state.getChildByName ("A");
    EXPECT_EQ (attributeNames (*a), juce::StringArray ({ "_Active_", "freqParam", "slopeParam", "mixParam", "bypassParam" }));
    EXPECT_EQ (a->getStringAttribute ("_Active_"), "0");
    EXPECT_EQ (a->getStringAttribute ("slopeParam"), "43.0");
    EXPECT_EQ (a->getStringAttribute ("mixParam"), "100.0");
    const auto* b = state.getChildByName ("B");
    EXPECT_EQ (attributeNames (*b), juce::StringArray ({ "_Active_" }));
    EXPECT_EQ (b->getStringAttribute ("_Active_"), "1");

    // Linked: the inactive state says so instead of carrying values.
    auto fresh = PresetTestProduct::makeManager();
    juce::XmlElement linkedState ("OrvelQuietline");
    fresh->writeState (linkedState);
    EXPECT_EQ (linkedState.getChildByName ("presets")->getNumChildElements(), 0);
    EXPECT_EQ (linkedState.getChildByName ("presets")->getStringAttribute ("active"), "1");
    EXPECT_EQ (attributeNames (*linkedState.getChildByName ("B")), juce::StringArray ({ "_Active_", "_Linked_" }));
}

TEST_F (ParamManagerTest, ReadingAStateMapsNumbersFallsBackAndResetsDefaults)
{
    auto state = parse (R"(<OrvelQuietline FREQPARAM="abc" mixParam="50">
                              <LOGICAL freqParam="22500" slopeParam="nan"/>
                              <presets active="1000"/>
                           </OrvelQuietline>)");
    setReal (1, 10.0);
    setReal (3, 1.0);
    pm->readState (*state);
    EXPECT_NEAR (pm->getParam (0)->getValue(), 22500.0, 1e-3) << "unparsable text falls back to logical";
    EXPECT_DOUBLE_EQ (real (1), 100.0) << "unmentioned: the default, not preset 0's 75";
    EXPECT_DOUBLE_EQ (real (2), 50.0);
    EXPECT_DOUBLE_EQ (real (3), 0.0);
    EXPECT_EQ (pm->getActivePresetIndex(), 5) << "1000 is the first user slot";

    // The display text wins over logical when it parses.
    pm->readState (*parse (R"(<s slopeParam="30"><logical slopeParam="60"/></s>)"));
    EXPECT_DOUBLE_EQ (real (1), 30.0);

    const std::pair<const char*, int> activeCases[] = { { "0", 0 }, { "1", 0 }, { "4", 3 }, { "999", 9 },
                                                        { "1004", 9 }, { "5000", 9 }, { "-20", 0 } };

    for (auto [text, slot] : activeCases)
    {
        juce::XmlElement s ("s");
        s.createNewChildElement ("presets")->setAttribute ("active", text);
        pm->readState (s);
        EXPECT_EQ (pm->getActivePresetIndex(), slot) << "active=" << text;
    }
}

TEST_F (ParamManagerTest, ReadingAStateTakesOnlyTheNameOfTheActiveSlotPreset)
{
    auto state = parse (R"(<s slopeParam="10">
                              <presets active="3">
                                <preset _No_="3" _Name_="Third" slopeParam="99"/>
                                <preset _Name_="NoNumber" slopeParam="66"/>
                                <preset _No_="1001" _Name_="User" slopeParam="44"/>
                                <preset _No_="1005" _Name_="Outside" slopeParam="1"/>
                              </presets>
                           </s>)");
    pm->readState (*state);
    EXPECT_EQ (pm->getPreset (2).getName(), "Third");
    EXPECT_FLOAT_EQ (pm->getPreset (2).getValue (1), 0.1f) << "the active slot takes the live values only";
    // The skipped active entry does not use up a number: the unnumbered one is number 1.
    EXPECT_EQ (pm->getPreset (0).getName(), "NoNumber");
    EXPECT_FLOAT_EQ (pm->getPreset (0).getValue (1), 0.66f);
    EXPECT_EQ (pm->getPreset (6).getName(), "User");
    EXPECT_TRUE (pm->getPreset (6).isInUse());
    EXPECT_FALSE (pm->isUserPresetSlotEmpty (6));
    EXPECT_TRUE (pm->testAndClearPresetListChanged (true));
}

