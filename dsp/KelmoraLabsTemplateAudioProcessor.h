#pragma once

#include "core/KelmoraLabsAudioProcessor.h"
#include "dsp/FirFilterState.h"

#include <atomic>
#include <memory>

namespace kelmora::dsp
{
/** The product: a linear-phase FIR low-pass with four parameters (frequency, slope, mix,
    bypass) and five factory presets, on the maker's processor base.

    Threads: processBlock and processBlockBypassed run on the audio thread under the callback
    lock the format adapters take, and so do all filter designs; prepareToPlay runs on a host
    thread before processing; getMagnitudeResponse, hasFilterChanged, isFilterActive and
    isBypassedBlock are for the editor on the message thread. */
class KelmoraLabsTemplateAudioProcessor : public core::KelmoraLabsAudioProcessor
{
public:
    /** Parameter indices. */
    enum ParamIndex
    {
        freqParam = 0,   /**< corner, 20000..25000 Hz */
        slopeParam = 1,  /**< 0..100 %, shallow to steep */
        mixParam = 2,    /**< 0..100 %, the filter amount */
        bypassParam = 3, /**< Off|On */
        numParams = 4
    };

    static constexpr int numPresets = 10;
    static constexpr int numUserPresets = 5;

    KelmoraLabsTemplateAudioProcessor();
    ~KelmoraLabsTemplateAudioProcessor() override;

    /** The product's parameters with its factory presets installed and preset 0 applied. */
    static std::unique_ptr<core::ParamManager> createParameters();

    //==============================================================================
    /** Designs the filter for the rate (Hz), reports its latency and clears the delay line. */
    void prepareToPlay (double sampleRate, int samplesPerBlock) override;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    /** The host's bypass: the delayed dry signal, so the latency stays; parameter changes wait
        for the next processBlock. */
    void processBlockBypassed (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    using core::KelmoraLabsAudioProcessor::processBlock;
    using core::KelmoraLabsAudioProcessor::processBlockBypassed;
    /** The latency in seconds: the tail of a linear-phase filter equals its delay. */
    double getTailLengthSeconds() const override;

    /** The product's editor; message thread. */
    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    /** Audio side: bypass, mix (dry gain) or a redesign for corner or slope. */
    void parameterChanged (int index) override;

    //==============================================================================
    /** The whole filter's magnitude at frequencyHz (linear; -1 above half the rate, 1 while
        the filter is inactive). Takes the callback lock, so never on the audio thread. */
    double getMagnitudeResponse (double frequencyHz);
    /** Whether the response changed since the last clearing call; no lock. */
    bool hasFilterChanged (bool clear) noexcept;
    /** Whether the filter runs at the current rate (88.2..384 kHz); any thread. */
    bool isFilterActive() const noexcept { return lowpass.isActive(); }
    /** True while the host drives the plug-in through processBlockBypassed; any thread. */
    bool isBypassedBlock() const noexcept { return bypassedBlock.load (std::memory_order_relaxed); }

    /** The filter's latency in samples at the current rate. */
    int getFilterLatencySamples() const noexcept { return (int) lowpass.getLatencySamples(); }

private:
    void process (juce::AudioBuffer<float>& buffer, bool forceDry) noexcept;
    void redesign() noexcept;

    FirFilterState lowpass;
    std::atomic<bool> bypassedBlock { false };
    // Last finite, in-range design inputs, kept when a parameter reads as nonsense.
    double designFrequency = 21000.0, designSlope = 1.0, dryGain = 0.0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KelmoraLabsTemplateAudioProcessor)
};
} // namespace kelmora::dsp

/** JUCE's entry for every plug-in format: a new product processor. */
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter();
