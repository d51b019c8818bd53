#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <cmath>
#include <stdexcept>

namespace kelmora::vst::test
{
/** A small processor shaped like the product, for proving the glue without it: four
    index-based parameters (0 gain, 3 not automatable), a latency of 45 samples at 96 kHz and
    none below 88.2 kHz, mono or stereo buses, an editor, counters of what the glue made it do,
    and, when asked to, the play head's position as each block saw it. */
class TestGainProcessor : public juce::AudioProcessor
{
public:
    TestGainProcessor()
        : AudioProcessor (BusesProperties().withInput ("In", juce::AudioChannelSet::stereo())
                                           .withOutput ("Out", juce::AudioChannelSet::stereo())) {}

    ~TestGainProcessor() override { if (destroyed != nullptr) *destroyed = true; }

    std::atomic<int> releaseCalls { 0 }, blocks { 0 }, largestBlock { 0 };
    std::atomic<double> lastRate { 0.0 };
    bool* destroyed = nullptr;
    /** Each block then reads the play head into `position` (read on the processing thread). */
    std::atomic<bool> readsPlayHead { false };
    juce::Optional<juce::AudioPlayHead::PositionInfo> position;
    /** Every call below then throws, as a faulty processor might. */
    std::atomic<bool> throwing { false };
    /** The state: this many bytes of 's'. */
    static constexpr int stateBytes = 4096;

    float gain() const { return values[0].load(); }

    /** What an editor does with a knob: gesture, value, gesture end. */
    void editFromUi (int index, float value)
    {
        JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
        beginParameterChangeGesture (index);
        setParameter (index, value);
        sendParamChangeMessageToListeners (index, value);
        endParameterChangeGesture (index);
        JUCE_END_IGNORE_WARNINGS_GCC_LIKE
    }

    // Reports a latency that follows the rate like the filter's; the audio only gets the gain.
    void prepareToPlay (double rate, int) override
    {
        lastRate = rate;
        setLatencySamples (rate >= 88200.0 ? (int) std::lround (rate * 45.0 / 96000.0) : 0);
    }

    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&) override
    {
        fail();
        ++blocks;
        largestBlock = juce::jmax (largestBlock.load(), buffer.getNumSamples());
        if (readsPlayHead)
            position = getPlayHead() != nullptr ? getPlayHead()->getPosition() : juce::nullopt;
        buffer.applyGain (gain());
    }

    bool isBusesLayoutSupported (const BusesLayout& layouts) const override
    {
        const auto in = layouts.getMainInputChannelSet();
        return in == layouts.getMainOutputChannelSet() && (in == juce::AudioChannelSet::mono() || in == juce::AudioChannelSet::stereo());
    }

    void releaseResources() override { ++releaseCalls; }
    const juce::String getName() const override { return "Test Gain"; }
    double getTailLengthSeconds() const override { return getSampleRate() > 0 ? getLatencySamples() / getSampleRate() : 0.0; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    bool hasEditor() const override { return true; }
    juce::AudioProcessorEditor* createEditor() override { return new Editor (*this); }

    int getNumParameters() override { return 4; }
    float getParameter (int i) override { fail(); return valid (i) ? values[i].load() : 0.0f; }
    void setParameter (int i, float v) override { fail(); if (valid (i)) values[i] = v; }
    const juce::String getParameterName (int i) override { return valid (i) ? "P" + juce::String (i) : "invalid"; }
    bool isParameterAutomatable (int i) const override { return i != 3; }

    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram (int) override {}
    const juce::String getProgramName (int) override { return "Default"; }
    void changeProgramName (int, const juce::String&) override {}
    void getStateInformation (juce::MemoryBlock& state) override
    {
        fail();
        state.setSize (stateBytes);
        state.fillWith ('s');
    }
    void setStateInformation (const void*, int) override {}

private:
    struct Editor : juce::AudioProcessorEditor
    {
        explicit Editor (juce::AudioProcessor& p) : AudioProcessorEditor (p) { setSize (406, 242); }
        void paint (juce::Graphics& g) override { g.fillAll (juce::Colours::darkgrey); }
    };

    static bool valid (int i) { return i >= 0 && i < 4; }
    void fail() const { if (throwing) throw std::runtime_error ("faulty processor"); }

    std::atomic<float> values[4] { 1.0f, 0.0f, 0.0f, 0.0f };
};
} // namespace kelmora::vst::test
