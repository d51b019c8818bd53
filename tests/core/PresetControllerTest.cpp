#include "PresetTestProduct.h"

using namespace kelmora::core;

namespace
{
struct PresetControllerTest : quietline::test::ControllerTest
{
    int undoable() { return controller->getUndoHistory().getNumUndoable(); }
};
} // namespace

TEST_F (PresetControllerTest, ABStatesLinkSwitchCopyAndFlag)
{
    const auto mix = [this] { return pm().getParam (2)->getNormalisedValue(); };
    const auto setMix = [this] (float v) { controller->setParameterFromUi (2, v); };
    setMix (0.2f);
    EXPECT_FALSE (controller->isStatesEqual());
    EXPECT_TRUE (controller->isPresetModified() && controller->testAndClearStateChanged (true));
    controller->selectStateB();
    EXPECT_FLOAT_EQ (mix(), 0.2f) << "linked states share the values";
    controller->selectStateA();
    controller->copyAToB(); // A active: nothing changes but the link
    EXPECT_FALSE (pm().isLinked());
    EXPECT_TRUE (controller->isStatesEqual());

    controller->selectStateB();
    setMix (0.5f);
    controller->selectStateA();
    EXPECT_FLOAT_EQ (mix(), 0.2f) << "unlinked, B has its own values";
    EXPECT_FALSE (controller->isStatesEqual());
    controller->copyBToA(); // A active: it takes B's values
    EXPECT_FLOAT_EQ (mix(), 0.5f);
    EXPECT_TRUE (controller->isStatesEqual());

    controller->selectStateB();
    setMix (0.7f);
    controller->copyAToB(); // B active: the parameters take A's values
    EXPECT_FLOAT_EQ (mix(), 0.5f);
    setMix (0.9f);
    controller->copyBToA(); // B active: the parameters stay
    EXPECT_FLOAT_EQ (mix(), 0.9f);
    controller->selectStateA();
    EXPECT_FLOAT_EQ (mix(), 0.9f);
}

TEST_F (PresetControllerTest, PresetNavigationRecordsOnlyWhatHappened)
{
    controller->selectPreset (4);
    EXPECT_FALSE (controller->selectNextPreset()) << "every user slot is empty";
    EXPECT_TRUE (controller->selectPreviousPreset());
    for (int ignored : { 7, -1, 10 }) // an empty user slot and bad indices
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
