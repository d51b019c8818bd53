#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <cmath>
#include <cstring>

namespace kelmora::vst::test
{
/** A small processor shaped like the product, for proving the glue without it: four
    index-based parameters (0 gain, 3 not automatable), three programs, a binary state block,
    a latency of 45 samples at 96 kHz and none below 88.2 kHz, mono or stereo buses, an editor,
    and counters of what the glue made it do. */
class TestGainProcessor : public juce::AudioProcessor
{
public:
    TestGainProcessor()
        : AudioProcessor (BusesProperties().withInput ("In", juce::AudioChannelSet::stereo())
                                           .withOutput ("Out", juce::AudioChannelSet::stereo()))
    {
        resetState();
    }

    ~TestGainProcessor() override { if (destroyed != nullptr) *destroyed = true; }

    std::atomic<int> prepareCalls { 0 }, releaseCalls { 0 }, blocks { 0 }, largestBlock { 0 }, resets { 0 };
    std::atomic<double> lastRate { 0.0 };
    bool* destroyed = nullptr;

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
        ++prepareCalls;
        lastRate = rate;
        setLatencySamples (rate >= 88200.0 ? (int) std::lround (rate * 45.0 / 96000.0) : 0);
    }

    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&) override
    {
        ++blocks;
        largestBlock = juce::jmax (largestBlock.load(), buffer.getNumSamples());
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
    float getParameter (int i) override { return valid (i) ? values[i].load() : 0.0f; }
    void setParameter (int i, float v) override { if (valid (i)) values[i] = v; }
    const juce::String getParameterName (int i) override { return valid (i) ? "P" + juce::String (i) : "invalid"; }
    const juce::String getParameterText (int i) override { return juce::String (getParameter (i) * 100.0f, 1) + " %"; }
    bool isParameterAutomatable (int i) const override { return i != 3; }

    int getNumPrograms() override { return 3; }
    int getCurrentProgram() override { return program; }
    void setCurrentProgram (int i) override
    {
        program = juce::jlimit (0, 2, i);
        values[0] = 1.0f / (float) (1 << program);
    }
    const juce::String getProgramName (int i) override { return "Program " + juce::String (i); }
    void changeProgramName (int, const juce::String&) override {}

    // The state: the four values and the program number.
    void getStateInformation (juce::MemoryBlock& destData) override
    {
        const float state[5] = { values[0], values[1], values[2], values[3], (float) program };
        destData.replaceAll (state, sizeof (state));
    }

    void setStateInformation (const void* data, int size) override
    {
        float state[5];
        if (size != (int) sizeof (state))
            return resetState();
        std::memcpy (state, data, sizeof (state));
        std::copy (state, state + 4, values);
        program = juce::jlimit (0, 2, (int) state[4]);
    }

private:
    struct Editor : juce::AudioProcessorEditor
    {
        explicit Editor (juce::AudioProcessor& p) : AudioProcessorEditor (p) { setSize (406, 242); }
        void paint (juce::Graphics& g) override { g.fillAll (juce::Colours::darkgrey); }
    };

    static bool valid (int i) { return i >= 0 && i < 4; }

    void resetState()
    {
        ++resets;
        values[0] = 1.0f;
        values[1] = values[2] = values[3] = 0.0f;
        program = 0;
    }

    std::atomic<float> values[4];
    int program = 0;
};
} // namespace kelmora::vst::test
