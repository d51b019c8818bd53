#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <cmath>
#include <vector>

namespace kelmora::vst::test
{
/** A small processor shaped like the product, for proving the glue without it: four
    index-based parameters (0 gain, 1 mix, 2 spare, 3 a meter that is not automatable), three
    programs, a state block in JUCE's binary XML, a latency that follows the rate like the
    filter's (45 samples at 96 kHz, none below 88.2 kHz), mono or stereo buses, and counters of
    what the glue made it do. */
class TestGainProcessor : public juce::AudioProcessor
{
public:
    static constexpr int numParams = 4;

    TestGainProcessor()
        : AudioProcessor (BusesProperties().withInput ("In", juce::AudioChannelSet::stereo())
                                           .withOutput ("Out", juce::AudioChannelSet::stereo()))
    {
        resetState();
    }

    ~TestGainProcessor() override
    {
        if (destroyed != nullptr)
            *destroyed = true;
    }

    static int latencyFor (double rate) { return rate >= 88200.0 ? (int) std::lround (rate * 45.0 / 96000.0) : 0; }

    // Counters, read by the tests.
    std::atomic<int> prepareCalls { 0 }, releaseCalls { 0 }, blocks { 0 }, bypassedBlocks { 0 }, largestBlock { 0 };
    std::atomic<int> resets { 0 }, lastChannels { 0 };
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

    //==============================================================================
    const juce::String getName() const override { return "Test Gain"; }

    void prepareToPlay (double rate, int block) override
    {
        ++prepareCalls;
        lastRate = rate;
        const int latency = latencyFor (rate);
        for (auto& line : delay)
            line.assign ((size_t) latency + 1, 0.0f);
        position = 0;
        setLatencySamples (latency);
        juce::ignoreUnused (block);
    }

    void releaseResources() override { ++releaseCalls; }

    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&) override
    {
        ++blocks;
        run (buffer, gain());
    }

    void processBlockBypassed (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&) override
    {
        ++bypassedBlocks;
        run (buffer, 1.0f);
    }

    bool isBusesLayoutSupported (const BusesLayout& layouts) const override
    {
        const auto in = layouts.getMainInputChannelSet();
        return in == layouts.getMainOutputChannelSet()
               && (in == juce::AudioChannelSet::mono() || in == juce::AudioChannelSet::stereo());
    }

    double getTailLengthSeconds() const override
    {
        const double rate = getSampleRate();
        return rate > 0 ? latencyFor (rate) / rate : 0.0;
    }

    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }

    bool hasEditor() const override { return true; }
    juce::AudioProcessorEditor* createEditor() override { return new Editor (*this); }

    // Index-based parameters, as the product has them.
    int getNumParameters() override { return numParams; }
    float getParameter (int i) override { return valid (i) ? values[i].load() : 0.0f; }
    void setParameter (int i, float v) override { if (valid (i)) values[i] = v; }
    const juce::String getParameterName (int i) override { return valid (i) ? names[i] : "invalid"; }
    const juce::String getParameterText (int i) override { return juce::String (getParameter (i) * 100.0f, 1) + " %"; }
    juce::String getParameterLabel (int i) const override { return i == 0 ? "x" : ""; }
    bool isParameterAutomatable (int i) const override { return i != 3; }

    int getNumPrograms() override { return 3; }
    int getCurrentProgram() override { return program; }
    void setCurrentProgram (int i) override
    {
        if (i < 0 || i >= 3)
            return;
        program = i;
        values[0] = 1.0f / (float) (1 << i);
    }
    const juce::String getProgramName (int i) override { return i >= 0 && i < 3 ? programNames[i] : "N/A"; }
    void changeProgramName (int i, const juce::String& name) override { if (i >= 0 && i < 3) programNames[i] = name; }

    void getStateInformation (juce::MemoryBlock& destData) override
    {
        juce::XmlElement xml ("TestGain");
        for (int i = 0; i < numParams; ++i)
            xml.setAttribute ("p" + juce::String (i), (double) values[i].load());
        xml.setAttribute ("program", program);
        copyXmlToBinary (xml, destData);
    }

    void setStateInformation (const void* data, int size) override
    {
        const auto xml = getXmlFromBinary (data, size);
        if (xml == nullptr || ! xml->hasTagName ("TestGain"))
        {
            resetState();
            return;
        }

        for (int i = 0; i < numParams; ++i)
            values[i] = (float) xml->getDoubleAttribute ("p" + juce::String (i), i == 0 ? 1.0 : 0.0);
        program = juce::jlimit (0, 2, xml->getIntAttribute ("program"));
    }

private:
    struct Editor : juce::AudioProcessorEditor
    {
        explicit Editor (juce::AudioProcessor& p) : AudioProcessorEditor (p) { setSize (406, 242); }
        void paint (juce::Graphics& g) override { g.fillAll (juce::Colours::darkgrey); }
    };

    static bool valid (int i) { return i >= 0 && i < numParams; }

    void resetState()
    {
        ++resets;
        values[0] = 1.0f;
        for (int i = 1; i < numParams; ++i)
            values[i] = 0.0f;
        program = 0;
    }

    void run (juce::AudioBuffer<float>& buffer, float g)
    {
        const int n = buffer.getNumSamples();
        largestBlock = juce::jmax (largestBlock.load(), n);
        lastChannels = buffer.getNumChannels();
        const int length = (int) delay[0].size();
        int pos = position;

        for (int c = 0; c < buffer.getNumChannels() && c < 2; ++c)
        {
            auto* x = buffer.getWritePointer (c);
            pos = position;
            for (int i = 0; i < n; ++i)
            {
                delay[(size_t) c][(size_t) pos] = x[i];
                pos = (pos + 1) % length;
                x[i] = delay[(size_t) c][(size_t) pos] * g;
            }
        }

        position = pos;
    }

    std::atomic<float> values[numParams];
    int program = 0;
    juce::String names[numParams] { "Gain", "Mix", "Spare", "Meter" };
    juce::String programNames[3] { "Unity", "Half", "Quarter" };
    std::vector<float> delay[2] { std::vector<float> (1), std::vector<float> (1) };
    int position = 0;
};
} // namespace kelmora::vst::test
