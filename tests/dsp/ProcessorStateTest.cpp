#include "dsp/KelmoraLabsTemplateAudioProcessor.h"
#include "core/PresetTestProduct.h"
#include "core/SettingsFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <xmmintrin.h>

using P = kelmora::dsp::KelmoraLabsTemplateAudioProcessor;
using quietline::test::PresetTestProduct;
namespace fs = std::filesystem;

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace
{
juce::MemoryBlock stateOf (P& p)
{
    juce::MemoryBlock b;
    p.getStateInformation (b);
    return b;
}

void restore (P& p, const juce::MemoryBlock& b) { p.setStateInformation (b.getData(), (int) b.getSize()); }

float normalised (P& p, int index) { return p.getParamManager().getParam (index)->getNormalisedValue(); }

int undoable (P& p) { return p.getPresetController().getUndoHistory().getNumUndoable(); }

struct ProcessorStateTest : ::testing::Test
{
    quietline::test::TempHome home;
    std::unique_ptr<P> a = std::make_unique<P>();
    kelmora::core::PresetController& ca = a->getPresetController();
};
} // namespace

TEST (ProcessorStateCrossInstance, StaleUserSlotsAreNeitherOverwrittenNorDeleted)
{
    // Instance a stored "Old" in slot 5, which b then read; a deleted it and maybe stored "New"
    // under the same number. b then overwrites or deletes its stale copy.
    const struct { const char* what; bool storedAgain, overwrite, acted; std::map<int, juce::String> file; int activeAfter; } rows[] = {
        { "replaced, overwrite", true, true, true, { { 5, "New" }, { 6, "Old" } }, 6 },
        { "replaced, delete", true, false, false, { { 5, "New" } }, 5 },
        { "deleted, overwrite", false, true, true, { { 5, "Old" } }, 5 },
        { "deleted, delete", false, false, false, {}, 5 },
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE (row.what);
        quietline::test::TempHome home;
        P a;
        ASSERT_EQ (a.getPresetController().storeUserPresetInFreeSlot ("Old"), 5);
        P b;
        ASSERT_TRUE (a.getPresetController().deleteUserPreset (5));
        if (row.storedAgain)
        {
            ASSERT_EQ (a.getPresetController().storeUserPresetInFreeSlot ("New"), 5);
        }

        b.setCurrentProgram (5);
        ASSERT_EQ (b.getCurrentProgram(), 5);
        auto& cb = b.getPresetController();
        EXPECT_EQ (row.overwrite ? cb.overwriteUserPreset (5, "Old") : cb.deleteUserPreset (5), row.acted);
        EXPECT_EQ (PresetTestProduct::liveEntriesInFile(), row.file);
        EXPECT_EQ (b.getCurrentProgram(), row.activeAfter);
        EXPECT_EQ (b.getProgramName (5), row.file.count (5) != 0 ? row.file.at (5) : juce::String ("USER001")) << "the list shows the file";
    }
}

TEST (ProcessorStateCrossInstance, SavingAStateKeepsTheSettingsAnotherInstanceSaved)
{
    quietline::test::TempHome home;
    P a, b;
    using G = kelmora::core::GlobalParamList;
    const auto inFile = []
    {
        G g;
        g.addStandardParams();
        g.setFile (G::defaultFileName);
        return std::pair (g.getParam (G::sliderModeIndex)->getValueText(), g.getParam (G::mouseSensitivityIndex)->getValueText());
    };

    // b's settings dialog changes the sensitivity; a host then saves a's state.
    b.getGlobalSettings().getParam (G::mouseSensitivityIndex)->setNormalisedValue (0.75f);
    ASSERT_TRUE (b.getGlobalSettings().save());
    const auto saved = inFile();
    stateOf (a);
    EXPECT_EQ (inFile(), saved) << "a changed nothing, so it writes nothing";

    // a's own change is written over the newer file, which it reads first.
    a.getGlobalSettings().getParam (G::sliderModeIndex)->setNormalisedValue (1.0f);
    stateOf (a);
    EXPECT_EQ (inFile(), std::pair (juce::String ("linear"), saved.second));
    EXPECT_EQ (a.getGlobalSettings().getParam (G::mouseSensitivityIndex)->getValueText(), saved.second);
}

TEST_F (ProcessorStateTest, StateRoundTripsByteForByteOverTwentyRestores)
{
    a->setCurrentProgram (1);
    a->setParameterFromUi (P::slopeParam, 0.3137f); // shows as 31.4 %
    ca.selectStateB();
    a->setParameterFromUi (P::mixParam, 0.25f);
    a->changeProgramName (3, "Renamed");
    ASSERT_EQ (ca.storeUserPresetInFreeSlot ("Mine"), 5);
    a->setCurrentProgram (1);
    ca.undo();
    const auto first = stateOf (*a);

    auto fresh = std::make_unique<P>();
    restore (*fresh, first);
    EXPECT_EQ (stateOf (*fresh), first) << "into a fresh instance";
    EXPECT_EQ (normalised (*fresh, P::slopeParam), normalised (*a, P::slopeParam)) << "the exact value, not its text";

    for (int i = 0; i < 20; ++i)
    {
        // An edit the state does not mention must not survive the restore either.
        a->changeProgramName (4, "Edited " + juce::String (i));
        restore (*a, first);
        ASSERT_EQ (stateOf (*a), first) << "restore " << i;
    }
    EXPECT_EQ (a->getProgramName (4), "Hard");
}

TEST_F (ProcessorStateTest, AnUnreadableStateKeepsTheUserPresetsOfTheFile)
{
    ASSERT_EQ (ca.storeUserPresetInFreeSlot ("Mine"), 5);
    restore (*a, juce::MemoryBlock ("not a state", 11));
    EXPECT_EQ (a->getCurrentProgram(), 0);
    EXPECT_EQ (a->getProgramName (5), "Mine");
    a->setCurrentProgram (5);
    EXPECT_EQ (a->getCurrentProgram(), 5);
}

TEST_F (ProcessorStateTest, AStoreThatCannotBeWrittenSelectsNothing)
{
    const auto folder = fs::path (home.settingsFolder());
    const struct { const char* what; void (*breakIt) (const fs::path&); } rows[] = {
        { "a folder in the file's place", [] (const fs::path& f) { fs::create_directories (f / PresetTestProduct::userPresetFileName); } },
        { "a file in the folder's place", [] (const fs::path& f) { fs::remove_all (f); std::ofstream (f) << "x"; } },
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE (row.what);
        a = std::make_unique<P>();
        a->setCurrentProgram (2);
        row.breakIt (folder);
        auto& c = a->getPresetController();
        for (int attempt = 0; attempt < 2; ++attempt)
            EXPECT_EQ (c.storeUserPresetInFreeSlot ("Lost"), -1);
        EXPECT_EQ (a->getCurrentProgram(), 2);
        EXPECT_TRUE (a->getParamManager().isUserPresetSlotEmpty (5));
        EXPECT_EQ (undoable (*a), 1) << "only the program change";
        fs::remove_all (folder);
    }
}

TEST_F (ProcessorStateTest, DeletingRightAfterStoringReturnsToThePresetTheUserCameFrom)
{
    a->setCurrentProgram (2);
    a->setParameterFromUi (P::slopeParam, 0.4f);
    ASSERT_EQ (ca.storeUserPresetInFreeSlot ("Mine"), 5);
    ASSERT_TRUE (ca.deleteUserPreset (5));
    EXPECT_EQ (a->getCurrentProgram(), 2);
    EXPECT_FLOAT_EQ (normalised (*a, P::slopeParam), 0.4f);
    EXPECT_EQ (undoable (*a), 2) << "the program change and the edit";
    ca.undo();
    EXPECT_FLOAT_EQ (normalised (*a, P::slopeParam), 0.5f);
}

TEST_F (ProcessorStateTest, RepeatedHostProgramChangesRecordNothing)
{
    a->setCurrentProgram (2);
    a->setParameterFromUi (P::mixParam, 0.3f);
    for (int i = 0; i < 300; ++i)
        a->setCurrentProgram (2);
    EXPECT_FLOAT_EQ (normalised (*a, P::mixParam), 0.3f) << "the edit stays";
    EXPECT_EQ (undoable (*a), 2);
    ca.undo();
    EXPECT_FLOAT_EQ (normalised (*a, P::mixParam), 1.0f) << "the user's own edit is still the newest step";
}

TEST_F (ProcessorStateTest, ProcessingRestoresTheThreadsFloatingPointMode)
{
    a->prepareToPlay (96000, 64);
    const auto saved = _mm_getcsr();
    for (const bool hostBypassed : { false, true })
        for (const unsigned int mode : { saved & ~(unsigned) _MM_FLUSH_ZERO_ON, saved | _MM_FLUSH_ZERO_ON })
        {
            _mm_setcsr (mode);
            juce::AudioBuffer<float> buffer (2, 64);
            buffer.clear();
            juce::MidiBuffer midi;
            hostBypassed ? a->processBlockBypassed (buffer, midi) : a->processBlock (buffer, midi);
            EXPECT_EQ (_mm_getcsr(), mode) << "host bypass " << hostBypassed;
        }
    _mm_setcsr (saved);
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
