#include "PresetTestProduct.h"

#include "support/ManualClock.h"
#include "core/XmlUtils.h"

#include <functional>
#include <random>

using namespace kelmora::core;
using quietline::test::PresetTestProduct;
using quietline::test::ManualClock;
using quietline::test::ScopedClockOverride;

namespace
{
class UndoHistoryTest : public quietline::test::ControllerTest
{
protected:
    ManualClock clock;
    ScopedClockOverride clockOverride { clock };

    const UndoHistory& history() { return controller->getUndoHistory(); }
    float value (int i) { return pm().getParam (i)->getNormalisedValue(); }

    // One editor edit that never merges with the previous one.
    void edit (int index, float v)
    {
        clock.advance (2000);
        controller->setParameterFromUi (index, v);
    }

    // What undo promises to put back: live values, active slot, A/B, link and preset name.
    std::string snapshot()
    {
        juce::String s;
        for (auto v : pm().getLiveValues())
            s << juce::String (v, 9) << " ";
        return (s << pm().getActivePresetIndex() << (pm().isStateBActive() ? " B" : " A")
                  << (pm().isLinked() ? " linked " : " ") << controller->getActivePresetName()).toStdString();
    }
};
} // namespace

TEST_F (UndoHistoryTest, RingKeeps255StepsAndANewActionClearsRedo)
{
    for (int i = 0; i < 300; ++i)
        i % 2 == 0 ? controller->selectStateB() : controller->selectStateA();
    int steps = 0;
    for (; controller->canUndo(); ++steps)
        controller->undo();
    EXPECT_EQ (steps, 255);

    controller->redo();
    controller->redo();
    controller->selectPreset (2);
    EXPECT_FALSE (controller->canRedo());
    EXPECT_EQ (history().getNumUndoable(), 3);
}

TEST_F (UndoHistoryTest, EditsMergeWithin999MillisecondsAndDragsRecordTheirStart)
{
    controller->setParameterFromUi (1, 0.1f);
    clock.advance (500);
    controller->setParameterFromUi (1, 0.2f);
    clock.advance (999);
    controller->setParameterFromUi (1, 0.3f);
    EXPECT_EQ (history().getNumUndoable(), 1) << "each gap is at most 999 ms";
    clock.advance (1500);
    controller->setParameterFromUi (1, 0.4f);
    controller->setParameterFromUi (2, 0.5f); // another parameter is another step
    EXPECT_EQ (history().getNumUndoable(), 3);
    controller->undo();
    controller->undo();
    EXPECT_FLOAT_EQ (value (1), 0.3f);
    controller->undo();
    EXPECT_FLOAT_EQ (value (1), 0.75f);

    for (float release : { 1.0f, 0.4f }) // the first drag ends where it started
    {
        controller->beginParameterChange (2);
        controller->setParameterFromUi (2, 0.3f);
        clock.advance (5000);
        controller->setParameterFromUi (2, release);
        controller->endParameterChange (2);
    }
    EXPECT_EQ (history().getNumUndoable(), 1);
    controller->undo();
    EXPECT_FLOAT_EQ (value (2), 1.0f);

    controller->setParameterFromHost (2, 0.1f);
    EXPECT_FALSE (controller->canUndo()) << "automation records nothing";
    EXPECT_TRUE (controller->isPresetModified());
}

// Setting the wall clock must neither merge two edits nor split one: without a test clock the
// stamps come from the millisecond counter, read here on both sides of the stamp.
TEST (UndoHistoryClock, StampsComeFromTheMillisecondCounter)
{
    const auto before = juce::Time::getMillisecondCounter();
    const auto stamp = UndoHistory::now();
    const auto after = juce::Time::getMillisecondCounter();
    EXPECT_LE (stamp - before, after - before) << "stamp " << stamp << " outside " << before << ".." << after;
}

TEST_F (UndoHistoryTest, UndoingAndRedoingEverythingRetracesRandomSequences)
{
    for (unsigned seed = 1; seed <= 100; ++seed)
    {
        SCOPED_TRACE (::testing::Message() << "seed " << seed);
        controller = PresetTestProduct::makeController();
        std::mt19937 rng (seed);
        auto pick = [&rng] (int n) { return (int) (rng() % (unsigned) n); };
        std::vector<std::string> snapshots { snapshot() };

        for (int step = 0; step < 200; ++step)
        {
            const int before = history().getNumUndoable();
            juce::XmlElement shared ("s");
            switch (pick (9))
            {
                case 0: case 1: edit (pick (4), (float) pick (101) / 100.0f); break;
                case 2: controller->selectPreset (pick (10)); break;
                case 3: controller->revertActivePreset(); break;
                case 4: pick (2) == 0 ? controller->selectStateA() : controller->selectStateB(); break;
                case 5: controller->copyAToB(); break;
                case 6: controller->copyBToA(); break;
                case 7: controller->renameActivePreset ("Name" + juce::String (pick (3))); break;
                case 8: shared.setAttribute ("slopeParam", pick (101)); controller->readValuesFromXml (shared); break;
            }
            if (history().getNumUndoable() == before + 1)
                snapshots.emplace_back();
            snapshots.back() = snapshot(); // an action that recorded nothing replaces the last
        }

        for (size_t k = snapshots.size() - 1; k > 0; --k)
        {
            ASSERT_TRUE (controller->canUndo());
            controller->undo();
            ASSERT_EQ (snapshot(), snapshots[k - 1]) << "undo back to step " << k - 1;
        }
        EXPECT_FALSE (controller->canUndo());
        for (size_t k = 1; k < snapshots.size(); ++k)
        {
            ASSERT_TRUE (controller->canRedo());
            controller->redo();
            ASSERT_EQ (snapshot(), snapshots[k]) << "redo to step " << k;
        }
        EXPECT_FALSE (controller->canRedo());
    }
}

TEST_F (UndoHistoryTest, DescribesEveryKindInTheEditorsWords)
{
    const std::pair<std::function<void()>, const char*> steps[] = {
        { [&] { edit (0, 0.9f); }, "Change \"Frequency\" parameter value back to 21000 Hz" },
        { [&] { edit (1, 0.9f); }, "Change \"Slope\" parameter value back to 75.0 %" },
        { [&] { edit (3, 1.0f); }, "Change \"Bypass\" parameter value back to Off" },
        { [&] { controller->selectPreset (1); }, "Change the current preset back to \"Default\"" },
        { [&] { controller->revertActivePreset(); }, "Restore \"Light\" preset values" },
        { [&] { controller->renameActivePreset ("Lighter"); }, "Restore the preset name back to \"Light\"" },
        { [&] { controller->selectStateB(); }, "Restore A/B back to A" },
        { [&] { controller->copyBToA(); }, "Revert B>A to initial state" },
        { [&] { controller->undo(); controller->copyAToB(); }, "Revert A>B to initial state" }, // the undo relinked
        { [&] { controller->copyAToB(); }, "Restore overwritten values by copy A>B operation" },
        { [&] { controller->copyBToA(); }, "Restore overwritten values by copy B>A operation" },
    };
    for (const auto& [action, description] : steps)
    {
        action();
        EXPECT_EQ (controller->getUndoDescription (0), description);
    }
    EXPECT_TRUE (controller->getUndoDescription (10).isEmpty() && controller->getUndoDescription (-1).isEmpty());
}

TEST_F (UndoHistoryTest, HistoryTravelsWithTheStateAndKeepsItsActiveMark)
{
    edit (1, 0.1f);
    controller->selectPreset (2);
    controller->selectStateB();
    controller->undo();
    juce::XmlElement state ("OrvelQuietline"), undone ("OrvelQuietline");
    controller->saveState (state);
    controller->undo();
    controller->undo();
    controller->saveState (undone); // everything undone: redo entries, no mark, and read back all redoable
    ASSERT_TRUE (state.getChildByName ("undo") != nullptr && undone.getChildByName ("undo") != nullptr);
    EXPECT_EQ (PresetTestProduct::golden (*state.getChildByName ("undo")),
               "<undo><ui op=\"1\" pi=\"1\" nv=\"0.75\"/><ui op=\"2\" pi=\"0\" active=\"1\"/><ui op=\"4\" is_b=\"1\"/></undo>");
    EXPECT_EQ (PresetTestProduct::golden (*undone.getChildByName ("undo")),
               "<undo><ui op=\"1\" pi=\"1\" nv=\"0.1000000014901161\"/><ui op=\"2\" pi=\"2\"/><ui op=\"4\" is_b=\"1\"/></undo>");

    for (auto [saved, undoable, redo] : { std::tuple (&state, 2, "Restore A/B back to B"),
                                          { &undone, 0, "Change \"Slope\" parameter value back to 10.0 %" } })
    {
        controller = PresetTestProduct::makeController();
        controller->loadState (*saved);
        controller->loadState (*saved); // replaces the history rather than adding to it
        EXPECT_EQ (history().getNumUndoable(), undoable);
        EXPECT_EQ (history().getNumRedoable(), 3 - undoable);
        EXPECT_EQ (controller->getRedoDescription (0), redo);
    }
}

TEST_F (UndoHistoryTest, CraftedEntriesDoNoHarm)
{
    // Odd entries that harm nothing before the marked one; after it, entries that would set a value
    // outside the list or one that is not finite: each one kept would be one more to redo.
    juce::String text ("<s><undo>");
    for (int i = 0; i < 400; ++i)
        text << (i == 380 ? "<ui op=\"3\" pn=\"NoValues\" ab=\"1\"/><ui op=\"42\"/><ui op=\"2\" pi=\"77\"/><other/>" : "")
             << "<ui op=\"" << (i % 9) << "\" pi=\"" << (i % 5) << "\" nv=\"0.25\" pn=\"x\"" << (i == 390 ? " active=\"1\"" : "") << "/>";
    text << "<ui op=\"1\" pi=\"4\" nv=\"0.5\"/><ui op=\"1\" pi=\"-1\" nv=\"0.5\"/><ui op=\"1\" pi=\"99999999999\" nv=\"0.5\"/>"
            "<ui op=\"1\" pi=\"1\" nv=\"nan\"/><ui op=\"1\" pi=\"1\" nv=\"inf\"/><ui op=\"5\" ab=\"0\" pv0=\"nan\" pv1=\"1e999\"/>";
    controller->loadState (*XmlUtils::parseText (text + "</undo></s>"));
    EXPECT_EQ (history().getNumUndoable() + history().getNumRedoable(), 255);
    EXPECT_EQ (history().getNumRedoable(), 9);
    for (int i = 0; i < 600; ++i)
    {
        i < 300 ? controller->getUndoDescription (0) : controller->getRedoDescription (0);
        i < 300 ? controller->undo() : controller->redo();
    }
    for (int i = 0; i < pm().getCount(); ++i)
        EXPECT_TRUE (std::isfinite (value (i)));

    juce::String overflow ("<s><undo><ui op=\"4\" active=\"1\"/>"); // the marked entry falls out of the ring
    for (int i = 0; i < 300; ++i)
        overflow << "<ui op=\"4\" is_b=\"1\"/>";
    controller = PresetTestProduct::makeController();
    controller->loadState (*XmlUtils::parseText (overflow + "</undo></s>"));
    EXPECT_FALSE (controller->canUndo());
    EXPECT_EQ (history().getNumRedoable(), 255);
}

TEST_F (UndoHistoryTest, DeletingTheActiveUserPresetPrunesItsEntries)
{
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
    // Also gone: the step that once left X for slot 0, since it would select X again, and
    // with it the store's step, which would now lead from slot 0 to itself.
    EXPECT_EQ (history().getNumUndoable(), before - 2);
    EXPECT_FALSE (controller->canRedo());
    EXPECT_EQ (controller->getUndoDescription (0), description);
}

// Every undo step goes back to a state the user saw, and changes something: a step that undo,
// redo or a restore put in place takes no later edit into its burst, and a burst back where it
// began leaves no step. Mix (2) starts at 1, bypass (3) at 0; each row lists what each undo
// brings back until nothing is left.
TEST_F (UndoHistoryTest, UndoStepsNeitherSkipAStateNorChangeNothing)
{
    const auto at = [this] (int ms, int index, float v)
    {
        clock.advance ((std::uint32_t) ms);
        controller->setParameterFromUi (index, v);
    };
    struct Row { const char* what; std::function<void()> act; std::vector<std::string> undone; };
    const Row rows[] = {
        { "an edit right after redo", [&] { edit (2, 0.98f); controller->undo(); controller->redo(); at (100, 2, 0.96f); },
          { "0.98 0", "1 0" } },
        { "an edit right after undo", [&] { edit (2, 0.9f); at (100, 3, 1.0f); controller->undo(); at (100, 2, 0.8f); },
          { "0.9 0", "1 0" } },
        { "an edit right after a restore", [&] {
              edit (2, 0.9f);
              juce::XmlElement state ("OrvelQuietline");
              controller->saveState (state);
              controller->loadState (state);
              at (100, 2, 0.8f);
          },
          { "0.9 0", "1 0" } },
        { "a burst back where it began", [&] { edit (2, 0.5f); edit (3, 1.0f); at (300, 3, 0.0f); }, { "1 0" } },
        { "a burst that left and came back, then moved on", [&] { edit (3, 1.0f); at (300, 3, 0.0f); at (300, 3, 1.0f); }, { "1 0" } },
        { "an edit to the value it has", [&] { edit (2, 0.5f); edit (3, 0.0f); }, { "1 0" } },
        { "a redo of a vanished burst's neighbour", [&] { edit (2, 0.98f); controller->undo(); controller->redo(); at (100, 2, 0.96f); at (100, 2, 0.98f); at (100, 2, 0.96f); },
          { "0.98 0", "1 0" } },
        { "wheel steps within a second stay one step", [&] { edit (2, 0.9f); at (900, 2, 0.8f); at (900, 2, 0.7f); }, { "1 0" } },
    };
    for (const auto& row : rows)
    {
        controller = PresetTestProduct::makeController();
        row.act();
        std::vector<std::string> undone;
        for (int guard = 0; controller->canUndo() && guard < 10; ++guard)
        {
            controller->undo();
            undone.push_back ((juce::String (value (2)) + " " + juce::String (value (3))).toStdString());
        }
        EXPECT_EQ (undone, row.undone) << row.what;
    }
}
