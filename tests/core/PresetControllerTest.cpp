#include "PresetTestProduct.h"
#include "support/TempHome.h"

#include "core/XmlUtils.h"

#include <gtest/gtest.h>

using namespace kelmora::core;
using quietline::test::PresetTestProduct;

namespace
{
class PresetControllerTest : public ::testing::Test
{
protected:
    quietline::test::TempHome home;
    std::unique_ptr<PresetController> controller = PresetTestProduct::makeController();

    ParamManager& pm() { return controller->getParamManager(); }
    int undoable() { return controller->getUndoHistory().getNumUndoable(); }
};
} // namespace

TEST_F (PresetControllerTest, StartsOnTheFirstPresetWithNothingToDo)
{
    EXPECT_EQ (controller->getPresetName (0), "Default");
    EXPECT_EQ (controller->getPresetName (4), "Hard");
    EXPECT_EQ (controller->getPresetName (5), "USER001");
    EXPECT_EQ (controller->getPresetName (-1), "N/A");
    EXPECT_EQ (controller->getPresetName (10), "N/A");
    EXPECT_EQ (controller->getActivePresetName(), "Default");
    EXPECT_FLOAT_EQ (pm().getParam (1)->getNormalisedValue(), 0.75f);
    EXPECT_FALSE (controller->isPresetModified());
    EXPECT_TRUE (controller->isStatesEqual());
    EXPECT_FALSE (controller->canUndo() || controller->canRedo());
    EXPECT_FALSE (controller->testAndClearStateChanged (true));

    for (int i = 0; i < pm().getNumPresets(); ++i)
        EXPECT_FALSE (pm().getPreset (i).isModified()) << "slot " << i;

    EXPECT_TRUE (controller->presetNameExists ("default", true));
    EXPECT_FALSE (controller->presetNameExists ("default", false));
    EXPECT_TRUE (controller->presetNameExists ("Steep and reduced", false));

    auto unnamed = PresetTestProduct::makeManager();
    const_cast<PresetRecord&> (unnamed->getPreset (7)).setName ({});
    PresetController c (std::move (unnamed), PresetTestProduct::userPresetFileName);
    EXPECT_EQ (c.getPresetName (7), "N/A");
}

TEST_F (PresetControllerTest, ABFlagsFollowEditsAndCopies)
{
    controller->setParameterFromUi (1, 0.2f);
    EXPECT_FALSE (controller->isStatesEqual());
    EXPECT_TRUE (controller->isPresetModified());
    EXPECT_TRUE (controller->testAndClearStateChanged (true));

    controller->copyAToB();
    EXPECT_TRUE (controller->isStatesEqual());
    EXPECT_FALSE (pm().isLinked());

    controller->selectStateB();
    controller->setParameterFromUi (2, 0.5f);
    controller->selectStateA();
    EXPECT_FLOAT_EQ (pm().getParam (2)->getNormalisedValue(), 1.0f);
    EXPECT_FALSE (controller->isStatesEqual()) << "B now holds 0.5";

    controller->copyBToA();
    EXPECT_FLOAT_EQ (pm().getParam (2)->getNormalisedValue(), 0.5f) << "A active: it takes B's values";
    EXPECT_TRUE (controller->isStatesEqual());
}

TEST_F (PresetControllerTest, PresetNavigationRecordsOnlyWhatHappened)
{
    controller->selectPreset (4);
    EXPECT_EQ (undoable(), 1);
    EXPECT_FALSE (controller->selectNextPreset()) << "every user slot is empty";
    EXPECT_EQ (undoable(), 1);
    EXPECT_EQ (pm().getActivePresetIndex(), 4);

    EXPECT_TRUE (controller->selectPreviousPreset());
    EXPECT_EQ (pm().getActivePresetIndex(), 3);
    EXPECT_EQ (undoable(), 2);

    controller->selectProgram (7);
    controller->selectProgram (-1);
    controller->selectProgram (10);
    EXPECT_EQ (pm().getActivePresetIndex(), 3);
    EXPECT_EQ (undoable(), 2) << "empty user slots and bad indices are ignored";

    controller->selectProgram (1);
    EXPECT_EQ (pm().getActivePresetIndex(), 1);
    EXPECT_EQ (undoable(), 3);

    controller->selectPreset (42);
    EXPECT_EQ (pm().getActivePresetIndex(), 1);
    EXPECT_EQ (undoable(), 4) << "a bad index still makes its entry";
    controller->undo();
    EXPECT_EQ (pm().getActivePresetIndex(), 1);
}

TEST_F (PresetControllerTest, RenamingFollowsTheSlotZeroAndSameNameRules)
{
    controller->renamePreset (0, "Zero");
    controller->renameActivePreset ("Zero");
    EXPECT_EQ (controller->getPresetName (0), "Default") << "no preset applied yet";
    EXPECT_FALSE (controller->canUndo());

    controller->renameActivePreset ("Default");
    EXPECT_FALSE (controller->canUndo());

    controller->renamePreset (3, "Other");
    EXPECT_EQ (controller->getPresetName (3), "Other");
    EXPECT_FALSE (controller->canUndo()) << "only the active slot's rename is undoable";
    EXPECT_TRUE (pm().testAndClearPresetListChanged (true));

    controller->selectPreset (0);
    controller->renameActivePreset ("Zero");
    EXPECT_EQ (controller->getPresetName (0), "Zero");
    EXPECT_TRUE (controller->isPresetModified());
    controller->undo();
    EXPECT_EQ (controller->getPresetName (0), "Default");
}

TEST_F (PresetControllerTest, PastingAndDeletingOnFactorySlots)
{
    juce::XmlElement shared ("OrvelQuietline");
    shared.setAttribute ("mixParam", "20");
    controller->readValuesFromXml (shared);
    EXPECT_NEAR (pm().getParam (2)->getValue(), 20.0, 1e-4);
    EXPECT_NEAR (pm().getParam (1)->getValue(), 100.0, 1e-4) << "unmentioned: the default";
    EXPECT_FALSE (controller->isPresetModified());
    EXPECT_EQ (controller->getUndoDescription (0), "Restore \"Default\" preset values");

    juce::XmlElement copied ("OrvelQuietline");
    controller->writeValuesToXml (copied);
    EXPECT_EQ (copied.getStringAttribute ("mixParam"), "20.0");

    EXPECT_FALSE (controller->deleteUserPreset (0));
    EXPECT_FALSE (PresetTestProduct::userPresetFile().exists()) << "not even the file is touched";
}

TEST_F (PresetControllerTest, SampleRateChangesMarkTheDependentParametersOnce)
{
    auto* freq = pm().getParam (0);
    auto* slope = pm().getParam (1);
    freq->testAndClearChanged (Parameter::audioChanged);
    slope->testAndClearChanged (Parameter::audioChanged);

    controller->setSampleRate (96000.0);
    EXPECT_TRUE (freq->testAndClearChanged (Parameter::audioChanged));
    EXPECT_FALSE (slope->testAndClearChanged (Parameter::audioChanged));
    controller->setSampleRate (96000.0);
    EXPECT_FALSE (freq->testAndClearChanged (Parameter::audioChanged));
}

TEST_F (PresetControllerTest, StateRoundTripAndResetThroughTheController)
{
    controller->selectPreset (2);
    controller->setParameterFromUi (0, 0.9f);
    controller->copyAToB();

    juce::XmlElement state ("OrvelQuietline");
    controller->saveState (state);

    auto restored = PresetTestProduct::makeController();
    restored->loadState (state);
    EXPECT_EQ (restored->getParamManager().getActivePresetIndex(), 2);
    // The display text wins over `logical`, and it carries the frequency to 100 Hz.
    EXPECT_NEAR (restored->getParamManager().getParam (0)->getValue(), pm().getParam (0)->getValue(), 50.0);
    EXPECT_FALSE (restored->getParamManager().isLinked());
    EXPECT_EQ (restored->getUndoHistory().getNumUndoable(), 3);
    EXPECT_TRUE (restored->isPresetModified());
    EXPECT_TRUE (restored->testAndClearStateChanged (true));

    restored->resetState();
    EXPECT_EQ (restored->getParamManager().getActivePresetIndex(), 0);
    EXPECT_TRUE (restored->getParamManager().isLinked());
    EXPECT_EQ (restored->getUndoHistory().getNumUndoable(), 3) << "the history stays";
    EXPECT_TRUE (restored->getParamManager().testAndClearActivePresetChanged (true));
}
