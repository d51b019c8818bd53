#include "PresetTestProduct.h"

#include <functional>

using namespace kelmora::core;

namespace
{
struct PresetControllerTest : quietline::test::ControllerTest
{
    int undoable() { return controller->getUndoHistory().getNumUndoable(); }
};
} // namespace

TEST_F (PresetControllerTest, ABStatesLinkSwitchAndCopy)
{
    auto& c = *controller;
    const auto setMix = [&c] (float v) { c.setParameterFromUi (2, v); };
    const struct { const char* what; std::function<void()> act; float mix; bool equal, linked; } steps[] = {
        { "an edit", [&] { setMix (0.2f); }, 0.2f, false, true },
        { "linked states share the values", [&] { c.selectStateB(); }, 0.2f, false, true },
        { "A active: a copy changes nothing but the link", [&] { c.selectStateA(); c.copyAToB(); }, 0.2f, true, false },
        { "unlinked, B has its own values", [&] { c.selectStateB(); setMix (0.5f); c.selectStateA(); }, 0.2f, false, false },
        { "A active: it takes B's values", [&] { c.copyBToA(); }, 0.5f, true, false },
        { "B active: the parameters take A's values", [&] { c.selectStateB(); setMix (0.7f); c.copyAToB(); }, 0.5f, true, false },
        { "B active: the parameters stay", [&] { setMix (0.9f); c.copyBToA(); }, 0.9f, true, false },
        { "A took B's values", [&] { c.selectStateA(); }, 0.9f, true, false },
    };
    for (const auto& step : steps)
    {
        step.act();
        EXPECT_FLOAT_EQ (pm().getParam (2)->getNormalisedValue(), step.mix) << step.what;
        EXPECT_EQ (std::make_pair (c.isStatesEqual(), pm().isLinked()), std::make_pair (step.equal, step.linked)) << step.what;
    }
    EXPECT_TRUE (c.isPresetModified() && c.testAndClearStateChanged (true));
}

// Hosts hand the values the editor's commands told them back as automation: the same value
// is no change, and leaves the preset unmodified; another value is one.
TEST_F (PresetControllerTest, AHostHandingBackTheValuesItWasToldModifiesNothing)
{
    controller->selectPreset (1);
    const auto told = pm().getLiveValues();
    pm().getParam (0)->testAndClearChanged (Parameter::audioChanged);
    for (int i = 0; i < (int) told.size(); ++i)
        controller->setParameterFromHost (i, told[(size_t) i]);
    EXPECT_FALSE (controller->isPresetModified());
    EXPECT_FALSE (pm().getParam (0)->testAndClearChanged (Parameter::audioChanged)) << "nothing for the filter to redo";

    controller->setParameterFromHost (0, told[0] + 0.01f);
    EXPECT_TRUE (controller->isPresetModified());
}

TEST_F (PresetControllerTest, PresetNavigationRecordsOnlyWhatHappened)
{
    controller->selectPreset (4);
    EXPECT_FALSE (controller->selectNextPreset()) << "every user slot is empty";
    EXPECT_TRUE (controller->selectPreviousPreset());
    for (int ignored : { 5, 7, -1, 10 }) // empty user slots (the first one too) and bad indices
        controller->selectProgram (ignored);
    EXPECT_EQ (pm().getActivePresetIndex(), 3);
    EXPECT_EQ (undoable(), 2);
    controller->selectProgram (1);

    controller->selectPreset (42);
    EXPECT_EQ (pm().getActivePresetIndex(), 1);
    EXPECT_EQ (undoable(), 4) << "a bad index still makes its entry, unlike a bad program";
    controller->undo();
    EXPECT_EQ (pm().getActivePresetIndex(), 1);
}

TEST_F (PresetControllerTest, RenamingFollowsTheSlotZeroAndSameNameRules)
{
    controller->renamePreset (0, "Zero");
    controller->renameActivePreset ("Zero");
    controller->renameActivePreset ("Default");
    EXPECT_EQ (controller->getPresetName (0), "Default") << "no preset applied yet";
    controller->renamePreset (3, "Other");
    EXPECT_EQ (controller->getPresetName (3), "Other");
    EXPECT_FALSE (controller->canUndo()) << "only the active slot's rename is undoable";

    controller->selectPreset (0);
    controller->renameActivePreset ("Zero");
    EXPECT_EQ (controller->getPresetName (0), "Zero");
    EXPECT_TRUE (controller->isPresetModified());
    controller->undo();
    EXPECT_EQ (controller->getPresetName (0), "Default");
}

TEST_F (PresetControllerTest, SampleRateChangesMarkTheDependentParametersOnce)
{
    pm().getParam (0)->testAndClearChanged (Parameter::allChanged);
    pm().getParam (1)->testAndClearChanged (Parameter::allChanged);
    controller->setSampleRate (96000.0);
    EXPECT_TRUE (pm().getParam (0)->testAndClearChanged (Parameter::audioChanged));
    EXPECT_FALSE (pm().getParam (1)->isChanged (Parameter::audioChanged));
    controller->setSampleRate (96000.0);
    EXPECT_FALSE (pm().getParam (0)->isChanged (Parameter::audioChanged));
}

TEST_F (PresetControllerTest, ResetReturnsToTheFirstPresetAndKeepsTheHistory)
{
    controller->selectPreset (2);
    controller->setParameterFromUi (0, 0.9f);
    controller->copyAToB();
    controller->resetState();
    EXPECT_TRUE (pm().getActivePresetIndex() == 0 && pm().isLinked() && pm().testAndClearActivePresetChanged (true));
    EXPECT_EQ (undoable(), 3);
}
