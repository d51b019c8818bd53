#include "PresetTestProduct.h"
#include "support/TempHome.h"

#include "core/Clock.h"
#include "core/XmlUtils.h"

#include <gtest/gtest.h>

#include <random>

using namespace kelmora::core;
using quietline::test::PresetTestProduct;

namespace
{
class UndoHistoryTest : public ::testing::Test
{
protected:
    ManualClock clock;
    ScopedClockOverride clockOverride { clock };
    quietline::test::TempHome home;
    std::unique_ptr<PresetController> controller = PresetTestProduct::makeController();

    ParamManager& pm() { return controller->getParamManager(); }
    const UndoHistory& history() { return controller->getUndoHistory(); }
    float value (int i) { return pm().getParam (i)->getNormalisedValue(); }

    /** One editor edit that never merges with the previous one. */
    void edit (int index, float v)
    {
        clock.advance (2000);
        controller->setParameterFromUi (index, v);
    }
};

/** What undo promises to put back. */
struct Snapshot
{
    std::vector<float> live;
    int active;
    bool bActive, linked;
    juce::String name;

    bool operator== (const Snapshot& o) const
    {
        return live == o.live && active == o.active && bActive == o.bActive && linked == o.linked && name == o.name;
    }
};

std::ostream& operator<< (std::ostream& os, const Snapshot& s)
{
    os << "{";

    for (auto v : s.live)
        os << v << " ";

    return os << "| slot " << s.active << (s.bActive ? " B" : " A") << (s.linked ? " linked" : "") << " \""
              << s.name << "\"}";
}

Snapshot snapshot (PresetController& c)
{
    auto& pm = c.getParamManager();
    return { pm.getLiveValues(), pm.getActivePresetIndex(), pm.isStateBActive(), pm.isLinked(), c.getActivePresetName() };
}
} // namespace

TEST_F (UndoHistoryTest, RingKeeps255StepsAndANewActionClearsRedo)
{
    for (int i = 0; i < 300; ++i)
        i % 2 == 0 ? controller->selectStateB() : controller->selectStateA();

    EXPECT_EQ (history().getNumUndoable(), 255);

    int steps = 0;

    while (controller->canUndo())
    {
        controller->undo();
        ++steps;
    }

    EXPECT_EQ (steps, 255);
    EXPECT_EQ (history().getNumRedoable(), 255);

    controller->redo();
    controller->redo();
    EXPECT_EQ (history().getNumRedoable(), 253);
    controller->selectPreset (2);
    EXPECT_FALSE (controller->canRedo());
    EXPECT_EQ (history().getNumUndoable(), 3);
}

TEST_F (UndoHistoryTest, EditsWithin999MillisecondsMergeIntoOneStep)
{
    controller->setParameterFromUi (1, 0.1f);
    clock.advance (500);
    controller->setParameterFromUi (1, 0.2f);
    clock.advance (999);
    controller->setParameterFromUi (1, 0.3f);
    EXPECT_EQ (history().getNumUndoable(), 1) << "each gap is at most 999 ms";

    clock.advance (1500);
    controller->setParameterFromUi (1, 0.4f);
    EXPECT_EQ (history().getNumUndoable(), 2);

    controller->setParameterFromUi (2, 0.5f);
    EXPECT_EQ (history().getNumUndoable(), 3) << "another parameter is another step";

    controller->undo();
    controller->undo();
    EXPECT_FLOAT_EQ (value (1), 0.3f);
    controller->undo();
    EXPECT_FLOAT_EQ (value (1), 0.75f);
}

TEST_F (UndoHistoryTest, DragGesturesRecordOnlyTheirStartAndVanishWhenReleasedInPlace)
{
    controller->beginParameterChange (2);
    controller->setParameterFromUi (2, 0.3f);
    clock.advance (5000);
    controller->setParameterFromUi (2, 1.0f);
    controller->endParameterChange (2);
    EXPECT_FALSE (controller->canUndo()) << "released where it started";

    controller->beginParameterChange (2);
    controller->setParameterFromUi (2, 0.3f);
    clock.advance (5000);
    controller->setParameterFromUi (2, 0.4f);
    controller->endParameterChange (2);
    EXPECT_EQ (history().getNumUndoable(), 1);
    controller->undo();
    EXPECT_FLOAT_EQ (value (2), 1.0f);

    controller->setParameterFromHost (2, 0.1f);
    EXPECT_FALSE (controller->canUndo()) << "automation records nothing";
    EXPECT_TRUE (controller->isPresetModified());
    EXPECT_FALSE (controller->isStatesEqual());
}

TEST_F (UndoHistoryTest, NoUndoParametersAreNeverRecorded)
{
    auto manager = std::make_unique<ParamManager> (2, 2, 1);
    manager->setParam (0, std::make_unique<Parameter> ("plain", nullptr, nullptr, 1, nullptr, 0u, 0.0, 1.0, 0.0));
    manager->setParam (1, std::make_unique<Parameter> ("quiet", nullptr, nullptr, 1, nullptr, (juce::uint32) Parameter::noUndo, 0.0, 1.0, 0.0));
    manager->initialisePresets();
    PresetController c (std::move (manager), "Other.conf");

    c.beginParameterChange (1);
    c.setParameterFromUi (1, 0.5f);
    c.endParameterChange (1);
    c.setParameterFromUi (1, 0.7f);
    EXPECT_FALSE (c.canUndo());
    EXPECT_FLOAT_EQ (c.getParamManager().getParam (1)->getNormalisedValue(), 0.7f);

    c.setParameterFromUi (0, 0.5f);
    c.setParameterFromUi (7, 0.5f);
    c.beginParameterChange (-1);
    EXPECT_EQ (c.getUndoHistory().getNumUndoable(), 1) << "nothing for an index outside the list";
}

TEST_F (UndoHistoryTest, UndoingAndRedoingEverythingRetracesRandomSequences)
{
    for (unsigned seed = 1; seed <= 100; ++seed)
    {
        SCOPED_TRACE (::testing::Message() << "seed " << seed);
        controller = PresetTestProduct::makeController();
        std::mt19937 rng (seed);
        auto pick = [&rng] (int n) { return (int) (rng() % (unsigned) n); };

        std::vector<Snapshot> snapshots { snapshot (*controller) };

        for (int step = 0; step < 200; ++step)
        {
            const int before = history().getNumUndoable();

            switch (pick (9))
            {
                case 0: case 1: edit (pick (4), (float) pick (101) / 100.0f); break;
                case 2: controller->selectPreset (pick (10)); break;
                case 3: controller->revertActivePreset(); break;
                case 4: pick (2) == 0 ? controller->selectStateA() : controller->selectStateB(); break;
                case 5: controller->copyAToB(); break;
                case 6: controller->copyBToA(); break;
                case 7: controller->renameActivePreset ("Name" + juce::String (pick (3))); break;
                case 8:
                {
                    juce::XmlElement shared ("s");
                    shared.setAttribute ("slopeParam", pick (101));
                    controller->readValuesFromXml (shared);
                    break;
                }
            }

            if (history().getNumUndoable() == before + 1)
                snapshots.push_back (snapshot (*controller));
            else
                snapshots.back() = snapshot (*controller); // an action that recorded nothing
        }

        for (size_t k = snapshots.size() - 1; k > 0; --k)
        {
            ASSERT_TRUE (controller->canUndo());
            controller->undo();
            ASSERT_EQ (snapshot (*controller), snapshots[k - 1]) << "undo back to step " << k - 1;
        }

        EXPECT_FALSE (controller->canUndo());

        for (size_t k = 1; k < snapshots.size(); ++k)
        {
            ASSERT_TRUE (controller->canRedo());
            controller->redo();
            ASSERT_EQ (snapshot (*controller), snapshots[k]) << "redo to step " << k;
        }

        EXPECT_FALSE (controller->canRedo());
    }
}

TEST_F (UndoHistoryTest, DescribesEveryKindInTheEditorsWords)
{
    const auto next = [this] { return controller->getUndoDescription (0); };

    edit (0, 0.9f);
    EXPECT_EQ (next(), "Change \"Frequency\" parameter value back to 21000 Hz");
    edit (1, 0.9f);
    EXPECT_EQ (next(), "Change \"Slope\" parameter value back to 75.0 %");
    edit (3, 1.0f);
    EXPECT_EQ (next(), "Change \"Bypass\" parameter value back to Off");
    controller->selectPreset (1);
    EXPECT_EQ (next(), "Change the current preset back to \"Default\"");
    controller->revertActivePreset();
    EXPECT_EQ (next(), "Restore \"Light\" preset values");
    controller->renameActivePreset ("Lighter");
    EXPECT_EQ (next(), "Restore the preset name back to \"Light\"");
    controller->selectStateB();
    EXPECT_EQ (next(), "Restore A/B back to A");
    controller->copyAToB();
    EXPECT_EQ (next(), "Revert A>B to initial state");
    controller->copyAToB();
    EXPECT_EQ (next(), "Restore overwritten values by copy A>B operation");
    controller->copyBToA();
    EXPECT_EQ (next(), "Restore overwritten values by copy B>A operation");
    EXPECT_EQ (controller->getUndoDescription (10), "");
    EXPECT_EQ (controller->getUndoDescription (-1), "");

    controller->undo();
    controller->undo();
    controller->undo();
    EXPECT_TRUE (pm().isLinked()) << "undoing a linked copy relinks";
    controller->undo();
    EXPECT_EQ (controller->getRedoDescription (0), "Restore A/B back to B");
    EXPECT_FALSE (pm().isStateBActive());
    controller->redo();
    EXPECT_TRUE (pm().isStateBActive());
    // The redoable entry is the inverse undo stored, taken while the states were unlinked.
    EXPECT_EQ (controller->getRedoDescription (0), "Restore overwritten values by copy A>B operation");

    auto fresh = PresetTestProduct::makeController();
    fresh->copyBToA();
    EXPECT_EQ (fresh->getUndoDescription (0), "Revert B>A to initial state");
}

TEST_F (UndoHistoryTest, HistoryTravelsWithTheStateAndKeepsItsActiveMark)
{
    edit (1, 0.1f);
    controller->selectPreset (2);
    controller->selectStateB();
    controller->undo();

    juce::XmlElement state ("OrvelQuietline");
    controller->saveState (state);
    const auto* undo = state.getChildByName ("undo");
    ASSERT_NE (undo, nullptr);
    ASSERT_EQ (undo->getNumChildElements(), 3);
    EXPECT_EQ (undo->getChildElement (0)->getStringAttribute ("op"), "1");
    EXPECT_EQ (undo->getChildElement (0)->getStringAttribute ("pi"), "1");
    EXPECT_FALSE (undo->getChildElement (0)->hasAttribute ("active"));
    EXPECT_EQ (undo->getChildElement (1)->getStringAttribute ("active"), "1");
    EXPECT_EQ (undo->getChildElement (2)->getStringAttribute ("is_b"), "1");

    auto restored = PresetTestProduct::makeController();
    restored->loadState (state);
    EXPECT_EQ (restored->getUndoHistory().getNumUndoable(), 2);
    EXPECT_EQ (restored->getUndoHistory().getNumRedoable(), 1);
    EXPECT_EQ (restored->getUndoDescription (0), controller->getUndoDescription (0));
    EXPECT_EQ (restored->getRedoDescription (0), controller->getRedoDescription (0));

    // Everything undone: no mark, and read back every entry is undoable.
    controller->undo();
    controller->undo();
    juce::XmlElement undone ("OrvelQuietline");
    controller->saveState (undone);
    EXPECT_FALSE (undone.getChildByName ("undo")->toString().contains ("active"));
    auto again = PresetTestProduct::makeController();
    again->loadState (undone);
    EXPECT_EQ (again->getUndoHistory().getNumUndoable(), 3);
    EXPECT_FALSE (again->canRedo());

    juce::XmlElement empty ("OrvelQuietline");
    PresetTestProduct::makeController()->saveState (empty);
    ASSERT_NE (empty.getChildByName ("undo"), nullptr);
    EXPECT_EQ (empty.getChildByName ("undo")->getNumChildElements(), 0);
}

TEST_F (UndoHistoryTest, CraftedEntriesDoNoHarm)
{
    juce::String text ("<s><undo>"
                       "<ui op=\"3\" pn=\"NoValues\" ab=\"1\"/>"
                       "<ui op=\"1\" pi=\"4\" nv=\"0.5\"/>"
                       "<ui op=\"1\" pi=\"-1\" nv=\"0.5\"/>"
                       "<ui op=\"1\" pi=\"99999999999\" nv=\"0.5\"/>"
                       "<ui op=\"1\" pi=\"1\" nv=\"nan\"/>"
                       "<ui op=\"1\" pi=\"1\" nv=\"inf\"/>"
                       "<ui op=\"5\" ab=\"0\" pv0=\"nan\" pv1=\"1e999\"/>"
                       "<ui op=\"42\" active=\"1\"/>"
                       "<ui op=\"2\" pi=\"77\"/>"
                       "<other/>");

    for (int i = 0; i < 400; ++i)
        text << "<ui op=\"" << (i % 9) << "\" pi=\"" << (i % 5) << "\" nv=\"0.25\" pn=\"x\"" << (i == 390 ? " active=\"1\"" : "") << "/>";

    text << "</undo></s>";
    auto state = XmlUtils::parseText (text);
    ASSERT_NE (state, nullptr);

    controller->loadState (*state);
    EXPECT_EQ (history().getNumUndoable() + history().getNumRedoable(), 255);
    EXPECT_EQ (history().getNumRedoable(), 9) << "the entries after the last mark";

    for (int i = 0; i < 300; ++i)
    {
        controller->getUndoDescription (0);
        controller->undo();
    }

    for (int i = 0; i < 300; ++i)
    {
        controller->getRedoDescription (0);
        controller->redo();
    }

    for (int i = 0; i < pm().getCount(); ++i)
        EXPECT_TRUE (std::isfinite (value (i)));

    // Entries that would push non-finite values into parameters are refused outright.
    auto refusing = PresetTestProduct::makeController();
    refusing->loadState (*XmlUtils::parseText ("<s><undo><ui op=\"1\" pi=\"1\" nv=\"nan\"/><ui op=\"1\" pi=\"1\" nv=\"1e300\"/>"
                                               "<ui op=\"3\" ab=\"0\" pv0=\"inf\"/><ui op=\"1\" pi=\"9\"/></undo></s>"));
    EXPECT_FALSE (refusing->canUndo());

    // A history whose marked entry fell out of the ring ends with nothing left to undo.
    juce::String overflow ("<s><undo><ui op=\"4\" active=\"1\"/>");

    for (int i = 0; i < 300; ++i)
        overflow << "<ui op=\"4\" is_b=\"1\"/>";

    overflow << "</undo></s>";
    auto fresh = PresetTestProduct::makeController();
    fresh->loadState (*XmlUtils::parseText (overflow));
    EXPECT_FALSE (fresh->canUndo());
    EXPECT_EQ (fresh->getUndoHistory().getNumRedoable(), 255);
    fresh->redo();
    EXPECT_TRUE (fresh->getParamManager().isStateBActive());
}

TEST_F (UndoHistoryTest, DeletingTheActiveUserPresetPrunesItsEntries)
{
    UndoHistory empty (4);
    EXPECT_EQ (empty.removePresetEntries (5), 0);

    ASSERT_EQ (controller->storeUserPresetInFreeSlot ("X"), 5);
    controller->selectPreset (0);
    edit (1, 0.5f);
    controller->selectPreset (2);
    const int before = history().getNumUndoable();
    const auto description = controller->getUndoDescription (0);

    controller->selectPreset (5);
    edit (1, 0.1f);
    edit (2, 0.2f);
    controller->renameActivePreset ("Y");
    EXPECT_TRUE (controller->deleteUserPreset (5));

    EXPECT_EQ (pm().getActivePresetIndex(), 2);
    // Also gone: the step that once left X for slot 0, since it would select X again.
    EXPECT_EQ (history().getNumUndoable(), before - 1);
    EXPECT_FALSE (controller->canRedo());
    EXPECT_EQ (controller->getUndoDescription (0), description);
    EXPECT_TRUE (pm().isUserPresetSlotEmpty (5));
}
