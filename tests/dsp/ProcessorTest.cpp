#include "core/PresetTestProduct.h"
#include "core/XmlUtils.h"
#include "dsp/KelmoraLabsTemplateAudioProcessor.h"
#include "support/Concurrency.h"

#include <algorithm>
#include <complex>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>
#include <xmmintrin.h>

using P = kelmora::dsp::KelmoraLabsTemplateAudioProcessor;
using quietline::test::PresetTestProduct;
namespace fs = std::filesystem;

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace
{
juce::AudioBuffer<float> impulse (int numSamples)
{
    juce::AudioBuffer<float> b (2, numSamples);
    b.clear();
    b.setSample (0, 0, 1.0f);
    b.setSample (1, 0, 1.0f);
    return b;
}

bool allFinite (const juce::AudioBuffer<float>& b)
{
    for (int ch = 0; ch < b.getNumChannels(); ++ch)
        if (! std::all_of (b.getReadPointer (ch), b.getReadPointer (ch) + b.getNumSamples(), [] (float x) { return std::isfinite (x); }))
            return false;
    return true;
}

// The binary block the host stores: JUCE's magic, the declared length, then the text.
juce::MemoryBlock stateBlob (const juce::String& text, int magic = 0x21324356, juce::int64 declaredLength = -1)
{
    juce::MemoryBlock b;
    juce::MemoryOutputStream out (b, false);
    out.writeInt (magic);
    out.writeInt (declaredLength >= 0 ? (int) (juce::uint32) declaredLength : (int) text.getNumBytesAsUTF8() + 1);
    out.writeString (text);
    return b;
}

// The same block as JUCE itself makes it around an element.
juce::MemoryBlock juceBlob (const juce::String& text)
{
    juce::MemoryBlock b;
    juce::AudioProcessor::copyXmlToBinary (*juce::parseXML (text), b);
    return b;
}

class ProcessorTest : public ::testing::Test
{
protected:
    quietline::test::TempHome home;
    std::unique_ptr<P> proc = std::make_unique<P>();

    // One block through the normal (or the host-bypassed) path, under the lock as the formats do.
    void run (juce::AudioBuffer<float>& buffer, bool hostBypassed = false)
    {
        juce::MidiBuffer midi;
        const juce::ScopedLock sl (proc->getCallbackLock());
        if (hostBypassed)
            proc->processBlockBypassed (buffer, midi);
        else
            proc->processBlock (buffer, midi);
    }

    void runSilence (bool hostBypassed = false) { auto b = impulse (16); b.clear(); run (b, hostBypassed); }

    double value (int index) { return proc->getParamManager().getParam (index)->getValue(); }
    float normalised (int index) { return proc->getParamManager().getParam (index)->getNormalisedValue(); }
    float normalisedFor (int index, double v) { return proc->getParamManager().getParam (index)->valueToNormalised (v); }
    int undoable() { return proc->getPresetController().getUndoHistory().getNumUndoable(); }

    juce::MemoryBlock saveState() { juce::MemoryBlock b; proc->getStateInformation (b); return b; }
    void restore (const juce::MemoryBlock& b) { proc->setStateInformation (b.getData(), (int) b.getSize()); }
};

// Names, texts, programs and bad program numbers are checked through the module; here what a
// host cannot see through it.
TEST_F (ProcessorTest, DefaultsAreTheParametersOwnAndBadIndicesChangeNothing)
{
    const float defaults[] = { normalisedFor (P::freqParam, 21000.0), 1.0f, 1.0f, 0.0f }; // not preset 0's
    for (int i = 0; i < 4; ++i)
        EXPECT_FLOAT_EQ (proc->getParameterDefaultValue (i), defaults[i]) << i;
    EXPECT_TRUE (proc->getProgramName (-1) == "N/A" && proc->getProgramName (10) == "N/A");

    // A host parameter index out of range reaches the shared fallback and never changes it.
    proc->setParameter (7, 0.5f);
    EXPECT_EQ (proc->getParameter (7), 0.0f);
}

TEST_F (ProcessorTest, LatencyAndTailFollowTheSampleRate)
{
    EXPECT_EQ (proc->getTailLengthSeconds(), 0.0) << "before any rate is known";

    const struct { double rate; int latency; } cases[] = {
        { 44100, 0 }, { 88200, 41 }, { 96000, 45 }, { 176400, 82 },
        { 192000, 90 }, { 352800, 165 }, { 384000, 180 }, { 48000, 0 } };
    for (auto c : cases)
    {
        proc->prepareToPlay (c.rate, 512);
        EXPECT_EQ (proc->getLatencySamples(), c.latency) << c.rate;
        EXPECT_DOUBLE_EQ (proc->getTailLengthSeconds(), c.latency / c.rate) << c.rate;
        EXPECT_EQ (proc->isFilterActive(), c.latency > 0) << c.rate;
    }
}

TEST_F (ProcessorTest, HostChangesApplyAtTheNextNormalBlock)
{
    proc->prepareToPlay (192000, 512);
    juce::AudioBuffer<float> none (0, 0), noSamples (2, 0); // blocks without channels or samples are harmless
    run (none);
    run (noSamples);
    runSilence();
    proc->hasFilterChanged (true);

    const double before = proc->getMagnitudeResponse (22000.0);
    proc->setParameter (P::freqParam, normalisedFor (P::freqParam, 25000.0));
    proc->setParameter (P::slopeParam, 1.0f);
    EXPECT_DOUBLE_EQ (proc->getMagnitudeResponse (22000.0), before) << "applied before any block";

    runSilence();
    EXPECT_TRUE (proc->hasFilterChanged (true));
    EXPECT_NEAR (proc->getMagnitudeResponse (22000.0), 1.0, 0.01);

    // A mix change during the host's bypass waits for the next normal block. The dry signal
    // follows a -80 dB law with exact ends.
    proc->setParameter (P::mixParam, 0.0f);
    runSilence (true);
    EXPECT_NEAR (proc->getMagnitudeResponse (60000.0), 0.0, 1e-4);
    runSilence();
    EXPECT_NEAR (proc->getMagnitudeResponse (60000.0), 1.0, 1e-9) << "mix 0 % is the delayed dry signal";
    proc->setParameter (P::mixParam, 0.5f);
    runSilence();
    EXPECT_NEAR (proc->getMagnitudeResponse (60000.0), 0.01, 2e-4) << "-40 dB of dry at 50 %";
}

TEST_F (ProcessorTest, OddStateBlobsResetRestoreOrKeepTheLiveValuesAndTheFilterFollows)
{
    // Most reset to preset 0. A length beyond the data is cut to the data, as JUCE reads it, so
    // that element restores (defaults, no preset list), as does the tag in any letter case.
    // Non-numbers keep the live values.
    const struct { const char* what; juce::MemoryBlock blob; double freq, mix; bool backToPreset0; } cases[] = {
        { "empty", {}, 21000, 100, true },
        { "wrong magic", stateBlob ("<OrvelQuietline freqParam=\"24000\"/>", 0x21324357), 21000, 100, true },
        { "deep nesting", stateBlob (juce::String::repeatedString ("<a>", 5000)), 21000, 100, true },
        { "non-numbers", stateBlob ("<OrvelQuietline freqParam=\"nan\" slopeParam=\"inf\" mixParam=\"-nan\"/>"), 20000, 30, false },
        { "length beyond data", stateBlob ("<OrvelQuietline/>", 0x21324356, 100000), 21000, 100, false },
        { "negative length", stateBlob ("<OrvelQuietline freqParam=\"24000\"/>", 0x21324356, 0xFFFFFF00), 21000, 100, true },
        { "tag in lower case", stateBlob ("<orvelquietline freqParam=\"24000\"/>"), 24000, 100, false },
        { "another product's element", juceBlob ("<OtherProduct freqParam=\"24000\" mixParam=\"30\"/>"), 21000, 100, true },
    };

    proc->prepareToPlay (96000, 512);
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        proc->setCurrentProgram (4);
        proc->setParameter (P::mixParam, 0.3f);
        runSilence();
        proc->setStateInformation (c.blob.getData(), (int) c.blob.getSize());

        EXPECT_NEAR (value (P::freqParam), c.freq, 0.01);
        EXPECT_NEAR (value (P::mixParam), c.mix, 0.01);
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE (std::isfinite (proc->getParamManager().getParam (i)->getNormalisedValue())) << i;
        EXPECT_TRUE (! c.backToPreset0 || proc->getCurrentProgram() == 0) << proc->getCurrentProgram();

        // What it plays follows. Fully wet, 40 kHz lies at least 90 dB down: no trace of the dry
        // path (-80 dB at the least) gets through.
        auto b = impulse (128);
        run (b);
        EXPECT_TRUE (allFinite (b));
        std::complex<double> at40k = 0;
        for (int i = 0; i < b.getNumSamples(); ++i)
            at40k += (double) b.getSample (0, i) * std::polar (1.0, -juce::MathConstants<double>::twoPi * 40000.0 / 96000.0 * i);
        const double stopband = std::abs (at40k);
        EXPECT_TRUE (c.mix < 100 ? stopband > 0.01 : stopband < 3.16e-5) << "the filter follows: " << stopband;
    }
}

// Names are cut to 255 characters, so that no state grows past what the reader accepts: not a
// state holding huge names restored again and again, nor the largest state there can be.
TEST_F (ProcessorTest, LongNamesAreCutAndTheStateStaysReadable)
{
    const juce::String tabs = juce::String::repeatedString ("\t", 1100000), wide = juce::String::repeatedString ("x", 90000);
    juce::String text = "<OrvelQuietline><presets active=\"1\"><preset _No_=\"2\" _Name_=\"" + tabs + "\"/></presets><undo>";
    for (int i = 0; i < 30; ++i)
        text << "<ui op=\"7\" pn=\"" << i << wide << (i == 29 ? "\" active=\"1\"/>" : "\"/>");
    const auto huge = stateBlob (text + "</undo></OrvelQuietline>");
    for (int i = 0; i < 3; ++i)
        proc->setStateInformation (huge.getData(), (int) huge.getSize());
    ASSERT_EQ (proc->getProgramName (1), tabs.substring (0, 255));

    auto readBack = [] (const juce::MemoryBlock& state)
    {
        auto fresh = std::make_unique<P>();
        fresh->setStateInformation (state.getData(), (int) state.getSize());
        return fresh;
    };
    auto fresh = readBack (saveState());
    EXPECT_EQ (fresh->getProgramName (1), tabs.substring (0, 255));
    EXPECT_EQ (fresh->getPresetController().getUndoDescription (0), "Restore the preset name back to \"29" + wide.substring (0, 253) + "\"");

    // Every slot and 255 undo steps with names of characters that are written ten bytes long.
    const juce::String widest = juce::String::charToString ((juce::juce_wchar) 0x10ffff);
    for (int slot = 0; slot < 10; ++slot)
        proc->changeProgramName (slot, juce::String::repeatedString (widest, 300));
    for (int i = 0; i < 300; ++i)
        proc->changeProgramName (proc->getCurrentProgram(), juce::String (i) + juce::String::repeatedString (widest, 300));
    const auto largest = saveState();
    EXPECT_NE (kelmora::core::XmlUtils::parseBinaryBlock (largest.getData(), largest.getSize()), nullptr) << largest.getSize();
    EXPECT_EQ (readBack (largest)->getProgramName (1), proc->getProgramName (1));
}

// One thread processes under the callback lock while others automate, select programs, save
// and restore state and poll the filter as the editor does; the audio thread runs until the
// others have done their share.
TEST_F (ProcessorTest, ConcurrentHostTrafficNeitherDeadlocksNorCorruptsAudio)
{
    proc->prepareToPlay (192000, 256);
    constexpr int operations = 300;
    std::atomic<int> hosting { 2 };
    std::atomic<bool> nonFinite { false };
    quietline::test::runTogether ({
        [&] {
            juce::AudioBuffer<float> b (2, 256);
            juce::Random rng (1);
            for (int blocks = 0; blocks < operations || hosting.load() > 0; ++blocks)
            {
                for (int ch = 0; ch < 2; ++ch)
                    for (int i = 0; i < 256; ++i)
                        b.setSample (ch, i, rng.nextFloat() - 0.5f);
                run (b, rng.nextInt (8) == 0);
                nonFinite = nonFinite || ! allFinite (b);
            }
        },
        [&] {
            juce::Random rng (2);
            for (int i = 0; i < 20 * operations; ++i)
                proc->setParameter (rng.nextInt (4), rng.nextFloat());
            --hosting;
        },
        [&] {
            juce::Random rng (3);
            for (int i = 0; i < operations; ++i)
            {
                proc->setCurrentProgram (rng.nextInt (5));
                auto block = saveState();
                proc->setStateInformation (block.getData(), (int) block.getSize());
                // What the editor polls while the audio side redesigns.
                proc->getMagnitudeResponse (21000.0);
                proc->hasFilterChanged (true);
                proc->isFilterActive();
            }
            --hosting;
        },
    });
    EXPECT_FALSE (nonFinite);
    const auto settled = saveState();
    proc->setStateInformation (settled.getData(), (int) settled.getSize());
    EXPECT_EQ (saveState(), settled) << "still whole afterwards";
}

// Instance a stored "Old" in slot 5, which b then read; a deleted it and maybe stored "New" under
// the same number. b then overwrites or deletes its stale copy.
TEST (ProcessorCrossInstance, StaleUserSlotsAreNeitherOverwrittenNorDeleted)
{
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
        auto& ca = a.getPresetController();
        ASSERT_EQ (ca.storeUserPresetInFreeSlot ("Old"), 5);
        P b;
        ASSERT_TRUE (ca.deleteUserPreset (5));
        ASSERT_EQ (row.storedAgain ? ca.storeUserPresetInFreeSlot ("New") : 5, 5);
        b.setCurrentProgram (5);
        ASSERT_EQ (b.getCurrentProgram(), 5);
        auto& cb = b.getPresetController();
        EXPECT_EQ (row.overwrite ? cb.overwriteUserPreset (5, "Old") : cb.deleteUserPreset (5), row.acted);
        EXPECT_EQ (PresetTestProduct::liveEntriesInFile(), row.file);
        EXPECT_EQ (b.getCurrentProgram(), row.activeAfter);
        EXPECT_EQ (b.getProgramName (5), row.file.count (5) != 0 ? row.file.at (5) : juce::String ("USER001")) << "the list shows the file";
    }
}

TEST_F (ProcessorTest, SavingAStateKeepsTheSettingsAnotherInstanceSaved)
{
    P b;
    using G = kelmora::core::GlobalParamList;
    const auto inFile = [] {
        G g;
        g.addStandardParams();
        g.setFile (G::defaultFileName);
        return std::pair (g.getParam (G::sliderModeIndex)->getValueText(), g.getParam (G::mouseSensitivityIndex)->getValueText());
    };

    // b's settings dialog changes the sensitivity; a host then saves this instance's state.
    b.getGlobalSettings().getParam (G::mouseSensitivityIndex)->setNormalisedValue (0.75f);
    ASSERT_TRUE (b.getGlobalSettings().save());
    const auto saved = inFile();
    saveState();
    EXPECT_EQ (inFile(), saved) << "nothing changed here, so nothing is written";

    // A change of its own is written over the newer file, which it reads first.
    proc->getGlobalSettings().getParam (G::sliderModeIndex)->setNormalisedValue (1.0f);
    saveState();
    EXPECT_EQ (inFile(), std::pair (juce::String ("linear"), saved.second));
    EXPECT_EQ (proc->getGlobalSettings().getParam (G::mouseSensitivityIndex)->getValueText(), saved.second);
}

TEST_F (ProcessorTest, StateRoundTripsByteForByteOverTwentyRestores)
{
    auto& controller = proc->getPresetController();
    proc->setCurrentProgram (1);
    proc->setParameterFromUi (P::slopeParam, 0.3137f); // shows as 31.4 %
    controller.selectStateB();
    proc->setParameterFromUi (P::mixParam, 0.25f);
    proc->changeProgramName (3, "Renamed");
    ASSERT_EQ (controller.storeUserPresetInFreeSlot ("Mine"), 5);
    proc->setCurrentProgram (1);
    controller.undo();
    const auto first = saveState();

    P fresh;
    fresh.setStateInformation (first.getData(), (int) first.getSize());
    juce::MemoryBlock again;
    fresh.getStateInformation (again);
    EXPECT_EQ (again, first) << "into a fresh instance";
    EXPECT_EQ (fresh.getParamManager().getParam (P::slopeParam)->getNormalisedValue(), normalised (P::slopeParam)) << "the exact value, not its text";

    for (int i = 0; i < 20; ++i)
    {
        // An edit the state does not mention must not survive the restore either.
        proc->changeProgramName (4, "Edited " + juce::String (i));
        restore (first);
        ASSERT_EQ (saveState(), first) << "restore " << i;
    }
    EXPECT_EQ (proc->getProgramName (4), "Hard");

    // An unreadable state keeps the user presets of the file.
    restore (juce::MemoryBlock ("not a state", 11));
    EXPECT_EQ (proc->getCurrentProgram(), 0);
    proc->setCurrentProgram (5);
    EXPECT_TRUE (proc->getCurrentProgram() == 5 && proc->getProgramName (5) == "Mine") << "the file's user preset is still there";
}

TEST_F (ProcessorTest, AStoreThatCannotBeWrittenSelectsNothing)
{
    const auto folder = fs::path (home.settingsFolder());
    const struct { const char* what; void (*breakIt) (const fs::path&); } rows[] = {
        { "a folder in the file's place", [] (const fs::path& f) { fs::create_directories (f / PresetTestProduct::userPresetFileName); } },
        { "a file in the folder's place", [] (const fs::path& f) { fs::remove_all (f); std::ofstream (f) << "x"; } },
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE (row.what);
        proc = std::make_unique<P>();
        proc->setCurrentProgram (2);
        row.breakIt (folder);
        for (int attempt = 0; attempt < 2; ++attempt)
            EXPECT_EQ (proc->getPresetController().storeUserPresetInFreeSlot ("Lost"), -1);
        EXPECT_EQ (proc->getCurrentProgram(), 2);
        EXPECT_TRUE (proc->getParamManager().isUserPresetSlotEmpty (5));
        EXPECT_EQ (undoable(), 1) << "only the program change";
        fs::remove_all (folder);
    }
}

// Deleting right after storing returns to the preset the user came from; a host selecting the
// same program again and again records nothing.
TEST_F (ProcessorTest, DeletingAfterStoringAndRepeatedProgramChangesKeepTheUsersEdit)
{
    auto& controller = proc->getPresetController();
    proc->setCurrentProgram (2);
    proc->setParameterFromUi (P::slopeParam, 0.4f);
    ASSERT_EQ (controller.storeUserPresetInFreeSlot ("Mine"), 5);
    ASSERT_TRUE (controller.deleteUserPreset (5));
    EXPECT_EQ (proc->getCurrentProgram(), 2);
    EXPECT_FLOAT_EQ (normalised (P::slopeParam), 0.4f);
    EXPECT_EQ (undoable(), 2) << "the program change and the edit";

    for (int i = 0; i < 300; ++i)
        proc->setCurrentProgram (2);
    EXPECT_FLOAT_EQ (normalised (P::slopeParam), 0.4f) << "the edit stays";
    EXPECT_EQ (undoable(), 2);
    controller.undo();
    EXPECT_FLOAT_EQ (normalised (P::slopeParam), 0.5f) << "the user's own edit is still the newest step";
}

TEST_F (ProcessorTest, ProcessingRestoresTheThreadsFloatingPointMode)
{
    proc->prepareToPlay (96000, 64);
    const auto saved = _mm_getcsr();
    for (const bool hostBypassed : { false, true })
        for (const unsigned int mode : { saved & ~(unsigned) _MM_FLUSH_ZERO_ON, saved | _MM_FLUSH_ZERO_ON })
        {
            _mm_setcsr (mode);
            auto buffer = impulse (64);
            run (buffer, hostBypassed);
            EXPECT_EQ (_mm_getcsr(), mode) << "host bypass " << hostBypassed;
        }
    _mm_setcsr (saved);
}
} // namespace

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
