#include "dsp/KelmoraLabsTemplateAudioProcessor.h"

#include "core/BooleanParameter.h"
#include "core/FrequencyParameter.h"
#include "core/XmlUtils.h"
#include "editor/KelmoraLabsTemplateAudioProcessorEditor.h"
#include "resources/BinaryData.h"
#include "skins/SharedFonts.h"

#include <cmath>
#include <xmmintrin.h>

namespace kelmora::dsp
{
namespace
{
constexpr double minimumCornerHz = 20000.0;
constexpr double maximumCornerHz = 25000.0;
constexpr double dryRangeDb = -80.0;

double clampFinite (double v, double lo, double hi, double fallback) noexcept
{
    return std::isfinite (v) ? juce::jlimit (lo, hi, v) : fallback;
}

/** Flush-to-zero for one block; the host's thread gets its own floating-point mode back on
    return, whatever else it runs on that thread. */
class ScopedFlushToZero
{
public:
    ScopedFlushToZero() noexcept { _mm_setcsr (saved | _MM_FLUSH_ZERO_ON); }
    ~ScopedFlushToZero() { _mm_setcsr (saved); }
    ScopedFlushToZero (const ScopedFlushToZero&) = delete;
    ScopedFlushToZero& operator= (const ScopedFlushToZero&) = delete;

private:
    const unsigned int saved = _mm_getcsr();
};
} // namespace

KelmoraLabsTemplateAudioProcessor::KelmoraLabsTemplateAudioProcessor()
    : core::KelmoraLabsAudioProcessor (createParameters())
{
    lowpass.init();
}

KelmoraLabsTemplateAudioProcessor::~KelmoraLabsTemplateAudioProcessor()
{
    // Drops only the process-wide reference: an editor of another instance keeps its fonts.
    skins::SharedFonts::deleteInstance();
}

std::unique_ptr<core::ParamManager> KelmoraLabsTemplateAudioProcessor::createParameters()
{
    using core::Parameter;
    auto manager = std::make_unique<core::ParamManager> (numParams, numPresets, numUserPresets);

    manager->setParam (freqParam, std::make_unique<core::FrequencyParameter> (
                                      "freqParam", "Frequency", 1, "", Parameter::sampleRateDependent,
                                      minimumCornerHz, maximumCornerHz, 21000.0));
    manager->setParam (mixParam, std::make_unique<Parameter> ("mixParam", "Mix", "%", 1, "", 0u,
                                                              0.0, 100.0, 100.0));
    manager->setParam (slopeParam, std::make_unique<Parameter> ("slopeParam", "Slope", "%", 1, "", 0u,
                                                                0.0, 100.0, 100.0));
    manager->setParam (bypassParam, std::make_unique<core::BooleanParameter> ("bypassParam", "Bypass", "",
                                                                              false, "Off|On", 0u));
    manager->initialisePresets();

    if (auto root = core::XmlUtils::parseBytes (resources::factory_presets_xml,
                                                (std::size_t) resources::factory_presets_xmlSize))
        manager->loadFactoryPresets (*root);

    return manager;
}

//==============================================================================
void KelmoraLabsTemplateAudioProcessor::prepareToPlay (double newSampleRate, int samplesPerBlock)
{
    core::KelmoraLabsAudioProcessor::prepareToPlay (newSampleRate, samplesPerBlock);
    getPresetController().setSampleRate (newSampleRate);

    // Under the callback lock like every other design, so a magnitude query from the editor
    // never reads a kernel that is being replaced.
    {
        const juce::ScopedLock sl (getCallbackLock());
        dispatchChangedParameters();
        lowpass.reset();
    }

    setLatencySamples ((int) lowpass.getLatencySamples());
}

void KelmoraLabsTemplateAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    process (buffer, false);
    core::KelmoraLabsAudioProcessor::processBlock (buffer, midi);
}

void KelmoraLabsTemplateAudioProcessor::processBlockBypassed (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    process (buffer, true);
}

double KelmoraLabsTemplateAudioProcessor::getTailLengthSeconds() const
{
    const double rate = getSampleRate();
    return rate > 0.0 ? (double) lowpass.getLatencySamples() / rate : 0.0;
}

juce::AudioProcessorEditor* KelmoraLabsTemplateAudioProcessor::createEditor()
{
    return new editor::KelmoraLabsTemplateAudioProcessorEditor (*this);
}

bool KelmoraLabsTemplateAudioProcessor::hasEditor() const { return true; }

//==============================================================================
void KelmoraLabsTemplateAudioProcessor::parameterChanged (int index)
{
    auto& manager = getParamManager();

    switch (index)
    {
        case bypassParam:
            lowpass.setBypass (manager.getParam (bypassParam)->getBoolValue());
            break;

        case mixParam:
        {
            const auto* mix = manager.getParam (mixParam);
            const double m = mix->getNormalisedValue();

            if (! std::isfinite (m))
                break;

            // The dry signal falls by 80 dB across the range, linearly in decibels; exactly 0
            // at the top so the fully wet setting carries no trace of the dry path.
            dryGain = mix->isAtMaximum() ? 0.0
                                         : std::pow (10.0, juce::jlimit (0.0, 1.0, m) * dryRangeDb / 20.0);
            lowpass.setMix (dryGain);
            break;
        }

        case freqParam:
        case slopeParam:
            redesign();
            break;

        default:
            break;
    }
}

void KelmoraLabsTemplateAudioProcessor::redesign() noexcept
{
    auto& manager = getParamManager();
    designFrequency = clampFinite (manager.getParam (freqParam)->getQuantisedValue(),
                                   minimumCornerHz, maximumCornerHz, designFrequency);
    designSlope = clampFinite (manager.getParam (slopeParam)->getNormalisedValue(), 0.0, 1.0, designSlope);

    // Corner and slope changed in one block design once: the second call finds equal inputs.
    lowpass.design (designFrequency, designSlope, getSampleRate());
}

void KelmoraLabsTemplateAudioProcessor::process (juce::AudioBuffer<float>& buffer, bool forceDry) noexcept
{
    const ScopedFlushToZero flushToZero;
    bypassedBlock.store (forceDry, std::memory_order_relaxed);

    if (! forceDry)
        dispatchChangedParameters (numParams);

    const int numChannels = buffer.getNumChannels();
    const int numSamples = buffer.getNumSamples();

    if (numChannels < 1 || numSamples < 1)
        return;

    float* left = buffer.getWritePointer (0);
    float* right = numChannels == 1 ? left : buffer.getWritePointer (1);

    lowpass.process (left, right, left, right, numSamples, forceDry);
}

//==============================================================================
double KelmoraLabsTemplateAudioProcessor::getMagnitudeResponse (double frequencyHz)
{
    const juce::ScopedLock sl (getCallbackLock());
    return lowpass.getMagnitude (frequencyHz);
}

bool KelmoraLabsTemplateAudioProcessor::hasFilterChanged (bool clear) noexcept
{
    return lowpass.getAndClearChanged (clear);
}
} // namespace kelmora::dsp

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new kelmora::dsp::KelmoraLabsTemplateAudioProcessor();
}
