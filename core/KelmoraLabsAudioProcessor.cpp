#include "core/KelmoraLabsAudioProcessor.h"

#include "core/XmlUtils.h"

namespace kelmora::core
{
KelmoraLabsAudioProcessor::KelmoraLabsAudioProcessor (std::unique_ptr<ParamManager> manager)
    : juce::AudioProcessor (BusesProperties()
                                .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                                .withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      presetController (std::move (manager), userPresetFileName())
{
    globalSettings.addStandardParams();
    globalSettings.setFile (GlobalParamList::defaultFileName);
}

KelmoraLabsAudioProcessor::~KelmoraLabsAudioProcessor() = default;

juce::String KelmoraLabsAudioProcessor::getStateTag()
{
    return juce::String (pluginName).removeCharacters (" ");
}

Parameter& KelmoraLabsAudioProcessor::param (int index) const noexcept
{
    return *presetController.getParamManager().getParam (index);
}

//==============================================================================
const juce::String KelmoraLabsAudioProcessor::getName() const { return pluginName; }

void KelmoraLabsAudioProcessor::prepareToPlay (double newSampleRate, int)
{
    sampleRate = newSampleRate;
    presetController.setSampleRate (newSampleRate);
}

void KelmoraLabsAudioProcessor::releaseResources() {}

void KelmoraLabsAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    const int numSamples = buffer.getNumSamples();

    for (int ch = getTotalNumInputChannels(); ch < getTotalNumOutputChannels(); ++ch)
        if (ch < buffer.getNumChannels())
            buffer.clear (ch, 0, numSamples);
}

const juce::String KelmoraLabsAudioProcessor::getInputChannelName (int channelIndex) const
{
    return juce::String (channelIndex + 1);
}

const juce::String KelmoraLabsAudioProcessor::getOutputChannelName (int channelIndex) const
{
    return juce::String (channelIndex + 1);
}

bool KelmoraLabsAudioProcessor::isInputChannelStereoPair (int) const { return true; }
bool KelmoraLabsAudioProcessor::isOutputChannelStereoPair (int) const { return true; }
bool KelmoraLabsAudioProcessor::silenceInProducesSilenceOut() const { return false; }
double KelmoraLabsAudioProcessor::getTailLengthSeconds() const { return 0.0; }
bool KelmoraLabsAudioProcessor::acceptsMidi() const { return false; }
bool KelmoraLabsAudioProcessor::producesMidi() const { return false; }

bool KelmoraLabsAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto in = layouts.getMainInputChannelSet();
    const auto out = layouts.getMainOutputChannelSet();

    return in == out && (out == juce::AudioChannelSet::mono() || out == juce::AudioChannelSet::stereo());
}

juce::AudioProcessorEditor* KelmoraLabsAudioProcessor::createEditor() { return nullptr; }
bool KelmoraLabsAudioProcessor::hasEditor() const { return false; }

//==============================================================================
JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

int KelmoraLabsAudioProcessor::getNumParameters()
{
    return presetController.getParamManager().getCount();
}

const juce::String KelmoraLabsAudioProcessor::getParameterName (int index)
{
    return param (index).getName();
}

float KelmoraLabsAudioProcessor::getParameter (int index)
{
    return param (index).getNormalisedValue();
}

const juce::String KelmoraLabsAudioProcessor::getParameterText (int index)
{
    return param (index).getValueTextWithUnit();
}

int KelmoraLabsAudioProcessor::getParameterNumSteps (int index)
{
    return param (index).getNumSteps();
}

float KelmoraLabsAudioProcessor::getParameterDefaultValue (int index)
{
    const auto& p = param (index);
    return p.valueToNormalised (p.getDefaultValue());
}

void KelmoraLabsAudioProcessor::setParameter (int index, float newValue)
{
    presetController.setParameterFromHost (index, newValue);
}

bool KelmoraLabsAudioProcessor::isParameterAutomatable (int index) const
{
    return (param (index).getFlags() & Parameter::notAutomatable) == 0;
}

bool KelmoraLabsAudioProcessor::isMetaParameter (int) const { return false; }

JUCE_END_IGNORE_WARNINGS_GCC_LIKE

//==============================================================================
int KelmoraLabsAudioProcessor::getNumPrograms()
{
    return presetController.getParamManager().getNumPresets();
}

int KelmoraLabsAudioProcessor::getCurrentProgram()
{
    return presetController.getParamManager().getActivePresetIndex();
}

void KelmoraLabsAudioProcessor::setCurrentProgram (int index)
{
    presetController.selectProgram (index);
}

const juce::String KelmoraLabsAudioProcessor::getProgramName (int index)
{
    return presetController.getPresetName (index);
}

void KelmoraLabsAudioProcessor::changeProgramName (int index, const juce::String& newName)
{
    presetController.renamePreset (index, newName);
}

//==============================================================================
void KelmoraLabsAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    juce::XmlElement xml (getStateTag());
    presetController.saveState (xml);
    copyXmlToBinary (xml, destData);
    globalSettings.save();
}

void KelmoraLabsAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    // Our own bounded parser rather than getXmlFromBinary: a hostile blob must neither overflow
    // the stack through deep nesting nor be read past its end.
    std::unique_ptr<juce::XmlElement> xml;

    if (data != nullptr && sizeInBytes > 0)
        xml = XmlUtils::parseBinaryBlock (data, (std::size_t) sizeInBytes);

    if (xml != nullptr && xml->getTagName().equalsIgnoreCase (getStateTag()))
        presetController.loadState (*xml);
    else
        presetController.resetState();

    const juce::ScopedLock sl (getCallbackLock());
    dispatchChangedParameters();
}

//==============================================================================
void KelmoraLabsAudioProcessor::setParameterFromUi (int index, float normalised)
{
    presetController.setParameterFromUi (index, normalised);
    sendParamChangeMessageToListeners (index, normalised);
}

void KelmoraLabsAudioProcessor::runEditorCommand (const std::function<void()>& command, PresetController::FileAccess access)
{
    // Told after the controller's lock is released, as an edit is.
    for (const auto& [index, value] : presetController.changesMadeBy (command, access))
        sendParamChangeMessageToListeners (index, value);
}

void KelmoraLabsAudioProcessor::dispatchChangedParameters (int count)
{
    auto& manager = presetController.getParamManager();
    const int end = count < 0 ? manager.getCount() : juce::jmin (count, manager.getCount());

    for (int i = 0; i < end; ++i)
        if (manager.getParam (i)->testAndClearChanged (Parameter::audioChanged))
            parameterChanged (i);
}
} // namespace kelmora::core
