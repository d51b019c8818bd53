#include "dsp/KelmoraLabsTemplateAudioProcessor.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

using kelmora::dsp::KelmoraLabsTemplateAudioProcessor;
using P = KelmoraLabsTemplateAudioProcessor;

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace
{
/** A fresh HOME and a fresh product instance for each test. */
class ProcessorTest : public ::testing::Test
{
protected:
    quietline::test::TempHome home;
    std::unique_ptr<P> proc = std::make_unique<P>();

    /** Runs one block through the normal (or the host-bypassed) path. */
    void run (juce::AudioBuffer<float>& buffer, bool hostBypassed = false)
    {
        juce::MidiBuffer midi;
        const juce::ScopedLock sl (proc->getCallbackLock());
        if (hostBypassed)
            proc->processBlockBypassed (buffer, midi);
        else
            proc->processBlock (buffer, midi);
    }

    /** A stereo impulse at sample 0, followed by silence. */
    static juce::AudioBuffer<float> impulse (int numSamples, int numChannels = 2)
    {
        juce::AudioBuffer<float> b (numChannels, numSamples);
        b.clear();
        for (int ch = 0; ch < numChannels; ++ch)
            b.setSample (ch, 0, 1.0f);
        return b;
    }

    static int peakIndex (const juce::AudioBuffer<float>& b, int channel)
    {
        int best = 0;
        for (int i = 1; i < b.getNumSamples(); ++i)
            if (std::abs (b.getSample (channel, i)) > std::abs (b.getSample (channel, best)))
                best = i;
        return best;
    }

    float normalisedFor (int index, double value)
    {
        return proc->getParamManager().getParam (index)->valueToNormalised (value);
    }

    juce::MemoryBlock saveState()
    {
        juce::MemoryBlock block;
        proc->getStateInformation (block);
        return block;
    }
};

TEST_F (ProcessorTest, NewInstanceHoldsTheFirstFactoryPresetAndTheProgramNames)
{
    auto& m = proc->getParamManager();
    EXPECT_NEAR (m.getParam (P::freqParam)->getValue(), 21000.0, 0.01);
    EXPECT_NEAR (m.getParam (P::slopeParam)->getValue(), 75.0, 0.01);
    EXPECT_NEAR (m.getParam (P::mixParam)->getValue(), 100.0, 0.01);
    EXPECT_FALSE (m.getParam (P::bypassParam)->getBoolValue());

    const char* names[] = { "Default", "Light", "Intermediate", "Steep and reduced", "Hard",
                            "USER001", "USER002", "USER003", "USER004", "USER005" };
    ASSERT_EQ (proc->getNumPrograms(), 10);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ (proc->getProgramName (i), names[i]) << "program " << i;
    for (int i = 5; i < 10; ++i)
        EXPECT_TRUE (proc->getProgramName (i) == names[i] || proc->getProgramName (i) == "N/A") << i;
    EXPECT_EQ (proc->getProgramName (-1), "N/A");
    EXPECT_EQ (proc->getProgramName (10), "N/A");
    EXPECT_EQ (proc->getCurrentProgram(), 0);
    EXPECT_EQ (proc->getName(), "Orvel Quietline");
}

TEST_F (ProcessorTest, ParametersShowTheirNamesTextsDefaultsAndFlags)
{
    const char* ids[] = { "Frequency", "Slope", "Mix", "Bypass" };
    ASSERT_EQ (proc->getNumParameters(), 4);
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ (proc->getParameterName (i), ids[i]);
        EXPECT_TRUE (proc->isParameterAutomatable (i));
        EXPECT_EQ (proc->getParameterNumSteps (i), 0);
    }

    EXPECT_EQ (proc->getParameterText (P::freqParam), "21.0 kHz");
    EXPECT_EQ (proc->getParameterText (P::mixParam), "100.0 %");
    EXPECT_EQ (proc->getParameterText (P::bypassParam), "Off");
    EXPECT_FLOAT_EQ (proc->getParameterDefaultValue (P::slopeParam), 1.0f);
    EXPECT_FLOAT_EQ (proc->getParameterDefaultValue (P::mixParam), 1.0f);
    EXPECT_FLOAT_EQ (proc->getParameterDefaultValue (P::bypassParam), 0.0f);
    EXPECT_FLOAT_EQ (proc->getParameterDefaultValue (P::freqParam), normalisedFor (P::freqParam, 21000.0));
    EXPECT_EQ (proc->getInputChannelName (0), "1");

    // A bad index reaches the shared fallback and never changes it.
    proc->setParameter (7, 0.5f);
    EXPECT_EQ (proc->getParameterName (7), "invalid");
    EXPECT_EQ (proc->getParameter (7), 0.0f);
}

TEST_F (ProcessorTest, LatencyAndTailFollowTheSampleRate)
{
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

TEST_F (ProcessorTest, UnsupportedRatePassesAudioUnchanged)
{
    proc->prepareToPlay (44100, 256);
    juce::AudioBuffer<float> b (2, 256);
    juce::Random rng (7);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 256; ++i)
            b.setSample (ch, i, rng.nextFloat() * 2.0f - 1.0f);
    juce::AudioBuffer<float> original (b);

    run (b);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ (b.getSample (ch, i), original.getSample (ch, i));
}

TEST_F (ProcessorTest, ImpulseAppearsAfterTheLatencyInBothPathsAndMono)
{
    proc->prepareToPlay (96000, 512);

    auto b = impulse (256);
    run (b);
    EXPECT_EQ (peakIndex (b, 0), 45);
    EXPECT_EQ (peakIndex (b, 1), 45);

    // The host's bypass keeps the delay and passes the input untouched.
    auto bypassed = impulse (256);
    run (bypassed, true);
    EXPECT_TRUE (proc->isBypassedBlock());
    EXPECT_EQ (peakIndex (bypassed, 0), 45);
    EXPECT_FLOAT_EQ (bypassed.getSample (0, 45), 1.0f);

    // Mono: the one channel is filtered in place.
    proc->prepareToPlay (96000, 512);
    auto mono = impulse (256, 1);
    run (mono);
    EXPECT_FALSE (proc->isBypassedBlock());
    EXPECT_EQ (peakIndex (mono, 0), 45);
    EXPECT_LT (mono.getSample (0, 45), 1.0f);
}

TEST_F (ProcessorTest, HostChangesApplyAtTheNextNormalBlock)
{
    proc->prepareToPlay (96000, 512);
    juce::AudioBuffer<float> silence (2, 64);
    silence.clear();
    run (silence);
    proc->hasFilterChanged (true);

    const double before = proc->getMagnitudeResponse (22000.0);
    proc->setParameter (P::freqParam, normalisedFor (P::freqParam, 25000.0));
    proc->setParameter (P::slopeParam, 1.0f);
    EXPECT_DOUBLE_EQ (proc->getMagnitudeResponse (22000.0), before) << "applied before any block";

    run (silence);
    EXPECT_TRUE (proc->hasFilterChanged (true));
    const double after = proc->getMagnitudeResponse (22000.0);
    EXPECT_GT (after, before);
    EXPECT_NEAR (after, 1.0, 0.01);

    // A mix change during the host's bypass waits for the next normal block.
    proc->setParameter (P::mixParam, 0.0f);
    run (silence, true);
    EXPECT_NEAR (proc->getMagnitudeResponse (40000.0), 0.0, 1e-3);
    run (silence);
    EXPECT_NEAR (proc->getMagnitudeResponse (40000.0), 1.0, 1e-3) << "mix 0 % is the delayed dry signal";
}

TEST_F (ProcessorTest, MixFollowsItsDecibelLawWithExactEnds)
{
    proc->prepareToPlay (192000, 512);
    const double stopband = 60000.0;

    proc->setParameter (P::mixParam, 1.0f);
    juce::AudioBuffer<float> silence (2, 16);
    run (silence);
    EXPECT_LT (proc->getMagnitudeResponse (stopband), 1e-4) << "no dry signal at 100 %";

    proc->setParameter (P::mixParam, 0.5f);
    run (silence);
    EXPECT_NEAR (proc->getMagnitudeResponse (stopband), 0.01, 2e-4) << "-40 dB of dry at 50 %";

    proc->setParameter (P::mixParam, 0.0f);
    run (silence);
    EXPECT_NEAR (proc->getMagnitudeResponse (stopband), 1.0, 1e-9);
}

TEST_F (ProcessorTest, ProgramsLoadFactoryPresetsAndIgnoreEmptyOrBadSlots)
{
    proc->setCurrentProgram (2);
    auto& m = proc->getParamManager();
    EXPECT_EQ (proc->getCurrentProgram(), 2);
    EXPECT_NEAR (m.getParam (P::freqParam)->getValue(), 22000.0, 0.01);
    EXPECT_NEAR (m.getParam (P::slopeParam)->getValue(), 50.0, 0.01);
    EXPECT_NEAR (m.getParam (P::mixParam)->getValue(), 100.0, 0.01);
    EXPECT_FALSE (m.getParam (P::bypassParam)->getBoolValue());

    for (int bad : { 6, -1, 10 })
    {
        proc->setCurrentProgram (bad);
        EXPECT_EQ (proc->getCurrentProgram(), 2) << bad;
        EXPECT_NEAR (m.getParam (P::freqParam)->getValue(), 22000.0, 0.01) << bad;
    }
}

TEST_F (ProcessorTest, StateRoundTripsIntoAFreshInstance)
{
    proc->setCurrentProgram (1);
    proc->setParameterFromUi (P::freqParam, normalisedFor (P::freqParam, 24000.0));
    proc->getPresetController().selectStateB();
    proc->setParameterFromUi (P::mixParam, 0.25f);
    proc->changeProgramName (1, "Airy");
    const auto block = saveState();

    auto other = std::make_unique<P>();
    other->prepareToPlay (192000, 512);
    other->setStateInformation (block.getData(), (int) block.getSize());

    auto& a = proc->getParamManager();
    auto& b = other->getParamManager();
    for (int i = 0; i < 4; ++i)
        EXPECT_FLOAT_EQ (b.getParam (i)->getNormalisedValue(), a.getParam (i)->getNormalisedValue()) << i;
    EXPECT_EQ (other->getCurrentProgram(), 1);
    EXPECT_EQ (other->getProgramName (1), "Airy");
    EXPECT_TRUE (b.isStateBActive());
    EXPECT_FALSE (b.isLinked() && ! a.isLinked());
    EXPECT_EQ (other->getPresetController().canUndo(), proc->getPresetController().canUndo());
    EXPECT_EQ (other->getPresetController().getUndoDescription (0),
               proc->getPresetController().getUndoDescription (0));

    // The filter follows the restored values at once.
    juce::AudioBuffer<float> silence (2, 16);
    silence.clear();
    EXPECT_NEAR (other->getMagnitudeResponse (20.0), 0.25 * 0 + 1.0, 1e-6);
    EXPECT_GT (other->getMagnitudeResponse (60000.0), 1e-3) << "mix below 100 % leaves dry signal";

    // The tag is accepted in any letter case.
    auto xml = juce::AudioProcessor::getXmlFromBinary (block.getData(), (int) block.getSize());
    ASSERT_NE (xml, nullptr);
    xml->setTagName ("orvelquietline");
    juce::MemoryBlock lower;
    juce::AudioProcessor::copyXmlToBinary (*xml, lower);
    auto third = std::make_unique<P>();
    third->setStateInformation (lower.getData(), (int) lower.getSize());
    EXPECT_EQ (third->getCurrentProgram(), 1);
}

TEST_F (ProcessorTest, BadStateBlobsResetToTheInitialState)
{
    juce::MemoryBlock deep;
    {
        juce::String text;
        for (int i = 0; i < 5000; ++i) text << "<a>";
        juce::XmlElement dummy ("x");
        juce::MemoryOutputStream out (deep, false);
        out.writeInt (0x21324356);
        out.writeInt (text.getNumBytesAsUTF8() + 1);
        out.writeString (text);
    }

    auto blobFrom = [] (const juce::String& xmlText)
    {
        juce::MemoryBlock b;
        juce::MemoryOutputStream out (b, false);
        out.writeInt (0x21324356);
        out.writeInt ((int) xmlText.getNumBytesAsUTF8() + 1);
        out.writeString (xmlText);
        return b;
    };

    juce::MemoryBlock tooLong;
    {
        juce::MemoryOutputStream out (tooLong, false);
        out.writeInt (0x21324356);
        out.writeInt (100000);
        out.writeString ("<OrvelQuietline/>");
    }

    const std::vector<std::pair<const char*, juce::MemoryBlock>> blobs = {
        { "empty", {} },
        { "8 bytes", juce::MemoryBlock ("\x56\x43\x32\x21\x05\x00\x00\x00", 8) },
        { "wrong magic", blobFrom ("<OrvelQuietline freqParam=\"24000\"/>").toString().isEmpty()
                             ? juce::MemoryBlock() : juce::MemoryBlock ("XXXXXXXXXXXXXXXX", 16) },
        { "length beyond data", tooLong },
        { "not xml", blobFrom ("this is not xml") },
        { "another root", blobFrom ("<Other freqParam=\"24000\"/>") },
        { "deep nesting", deep },
    };

    proc->prepareToPlay (96000, 512);
    for (const auto& [what, blob] : blobs)
    {
        proc->setCurrentProgram (4);
        proc->setParameter (P::mixParam, 0.3f);
        proc->setStateInformation (blob.getData(), (int) blob.getSize());

        auto& m = proc->getParamManager();
        const double mix = m.getParam (P::mixParam)->getValue();
        const double freq = m.getParam (P::freqParam)->getValue();
        EXPECT_TRUE (std::isfinite (mix) && std::isfinite (freq)) << what;
        EXPECT_NEAR (freq, 21000.0, 0.01) << what;
        EXPECT_NEAR (mix, 100.0, 0.01) << what;
        // A length beyond the data is cut to the data, as JUCE reads it: the element there is
        // usable, so it restores (defaults, no preset list) rather than resets.
        if (juce::String (what) != "length beyond data")
            EXPECT_EQ (proc->getCurrentProgram(), 0) << what;

        // The filter followed the reset: fully wet again, finite everywhere.
        EXPECT_LT (proc->getMagnitudeResponse (40000.0), 1e-3) << what;
        auto b = impulse (128);
        run (b);
        for (int i = 0; i < 128; ++i)
            ASSERT_TRUE (std::isfinite (b.getSample (0, i))) << what;
    }
}

TEST_F (ProcessorTest, NonNumbersInAStateKeepTheLiveValuesAndNeverReachTheFilter)
{
    proc->prepareToPlay (96000, 512);
    proc->setCurrentProgram (4);
    proc->setParameter (P::mixParam, 0.3f);

    juce::XmlElement xml ("OrvelQuietline");
    xml.setAttribute ("freqParam", "nan");
    xml.setAttribute ("slopeParam", "inf");
    xml.setAttribute ("mixParam", "-nan");
    juce::MemoryBlock blob;
    juce::AudioProcessor::copyXmlToBinary (xml, blob);
    proc->setStateInformation (blob.getData(), (int) blob.getSize());

    auto& m = proc->getParamManager();
    EXPECT_NEAR (m.getParam (P::freqParam)->getValue(), 20000.0, 0.01);
    EXPECT_NEAR (m.getParam (P::mixParam)->getValue(), 30.0, 0.01);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE (std::isfinite (m.getParam (i)->getNormalisedValue())) << i;

    auto b = impulse (256);
    run (b);
    for (int i = 0; i < 256; ++i)
        ASSERT_TRUE (std::isfinite (b.getSample (0, i)));
    EXPECT_TRUE (std::isfinite (proc->getMagnitudeResponse (30000.0)));
}

TEST_F (ProcessorTest, EmptyBuffersAndLayoutsAreHandled)
{
    proc->prepareToPlay (96000, 512);
    juce::AudioBuffer<float> none (0, 0);
    run (none);
    juce::AudioBuffer<float> noSamples (2, 0);
    run (noSamples);

    using Set = juce::AudioChannelSet;
    auto layout = [] (Set in, Set out) { juce::AudioProcessor::BusesLayout l; l.inputBuses.add (in); l.outputBuses.add (out); return l; };
    EXPECT_TRUE (proc->checkBusesLayoutSupported (layout (Set::stereo(), Set::stereo())));
    EXPECT_TRUE (proc->checkBusesLayoutSupported (layout (Set::mono(), Set::mono())));
    EXPECT_FALSE (proc->checkBusesLayoutSupported (layout (Set::mono(), Set::stereo())));
    EXPECT_FALSE (proc->checkBusesLayoutSupported (layout (Set::create5point1(), Set::create5point1())));
}

TEST_F (ProcessorTest, ConcurrentHostTrafficNeitherDeadlocksNorCorruptsAudio)
{
    proc->prepareToPlay (192000, 256);
    std::atomic<bool> stop { false };
    std::atomic<bool> nonFinite { false };

    std::thread audio ([&]
    {
        juce::AudioBuffer<float> b (2, 256);
        juce::Random rng (1);
        while (! stop)
        {
            for (int ch = 0; ch < 2; ++ch)
                for (int i = 0; i < 256; ++i)
                    b.setSample (ch, i, rng.nextFloat() - 0.5f);
            run (b, rng.nextInt (8) == 0);
            for (int i = 0; i < 256; ++i)
                if (! std::isfinite (b.getSample (0, i)))
                    nonFinite = true;
        }
    });

    std::thread automation ([&]
    {
        juce::Random rng (2);
        while (! stop)
            proc->setParameter (rng.nextInt (4), rng.nextFloat());
    });

    std::thread programsAndState ([&]
    {
        juce::Random rng (3);
        while (! stop)
        {
            proc->setCurrentProgram (rng.nextInt (5));
            auto block = saveState();
            proc->setStateInformation (block.getData(), (int) block.getSize());
            proc->getMagnitudeResponse (21000.0);
        }
    });

    std::this_thread::sleep_for (std::chrono::milliseconds (1500));
    stop = true;
    audio.join();
    automation.join();
    programsAndState.join();
    EXPECT_FALSE (nonFinite);
}
} // namespace

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
