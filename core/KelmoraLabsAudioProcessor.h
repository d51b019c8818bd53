#pragma once

#include "core/GlobalParamList.h"
#include "core/PresetController.h"
#include "core/ProductIdentity.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace kelmora::core
{
/** The maker's plug-in processor: connects the host-facing juce::AudioProcessor interface
    (index-based parameters, programs, state chunks) to the framework's model, the
    PresetController with its ParamManager, and to the per-user settings of "global.conf".
    A product derives from it, hands it a fully built ParamManager and implements
    parameterChanged and its audio processing.

    Threads: the audio thread runs processBlock under the callback lock the format adapters
    take; host threads call the program and state operations, which go through the controller's
    lock, and the parameter operations, which take no lock (hosts call them on the audio thread
    too); the message thread calls setParameterFromUi. The callback lock is never
    taken while the controller's lock is held. */
class KelmoraLabsAudioProcessor : public juce::AudioProcessor
{
public:
    /** The plug-in's name; without its blanks it is the saved state's root tag. */
    static constexpr const char* pluginName = identity::productName;
    /** The user-preset file shared by every instance: the plug-in's name + ".conf". */
    static juce::String userPresetFileName() { return juce::String (pluginName) + ".conf"; }

    /** Takes the product's fully built manager (parameters and factory presets), reads the
        user-preset file and "global.conf" (writing it with defaults when it is missing). */
    explicit KelmoraLabsAudioProcessor (std::unique_ptr<ParamManager> manager);
    ~KelmoraLabsAudioProcessor() override;

    //==============================================================================
    const juce::String getName() const override;
    /** Stores the rate (Hz) and marks the rate-dependent parameters changed when it differs. */
    void prepareToPlay (double sampleRate, int samplesPerBlock) override;
    void releaseResources() override;
    /** Clears the output channels beyond the inputs; the product calls it after its own work. */
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    using juce::AudioProcessor::processBlock;

    const juce::String getInputChannelName (int channelIndex) const override;
    const juce::String getOutputChannelName (int channelIndex) const override;
    bool isInputChannelStereoPair (int index) const override;
    bool isOutputChannelStereoPair (int index) const override;
    bool silenceInProducesSilenceOut() const override;
    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    /** Mono to mono and stereo to stereo only. */
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    // The index-based parameter interface is deprecated in JUCE 7 but hosts still reach the
    // model through it; every index goes through ParamList::getParam, so a bad one reaches the
    // shared "invalid" parameter.
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    int getNumParameters() override;
    const juce::String getParameterName (int index) override;
    float getParameter (int index) override;
    const juce::String getParameterText (int index) override;
    int getParameterNumSteps (int index) override;
    float getParameterDefaultValue (int index) override;
    /** Host automation: no undo entry. Lock-free; any host thread, the audio thread included. */
    void setParameter (int index, float newValue) override;
    bool isParameterAutomatable (int index) const override;
    bool isMetaParameter (int index) const override;
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE

    int getNumPrograms() override;
    int getCurrentProgram() override;
    /** An empty user slot or an index outside the bank is ignored. */
    void setCurrentProgram (int index) override;
    /** "N/A" for an index without a preset. */
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;

    /** The state element inside JUCE's binary XML block; also rewrites "global.conf". */
    void getStateInformation (juce::MemoryBlock& destData) override;
    /** Restores a block written by getStateInformation (root tag compared ignoring case);
        anything else resets the plug-in to its initial state. Either way the audio side is
        brought up to date under the callback lock before returning. */
    void setStateInformation (const void* data, int sizeInBytes) override;

    //==============================================================================
    /** The product's reaction to a parameter change on the audio side. Called on the audio
        thread or under the callback lock. */
    virtual void parameterChanged (int index) = 0;

    /** An edit in the editor: sets the value through the controller (with undo) and tells the
        host. Message thread. */
    void setParameterFromUi (int index, float normalised);

    /** An editor command that moves values through the controller (undo, presets, A/B, paste):
        runs it, then tells the host each value it changed as an edit does, outside any gesture
        and with no undo step of its own. Message thread. */
    void runEditorCommand (const std::function<void()>& command,
                           PresetController::FileAccess access = PresetController::FileAccess::none);

    /** Calls parameterChanged for each of the first `count` parameters (all of them when
        negative) whose audio-side change bit was set, in index order, clearing the bit. Takes no
        lock: the caller holds the callback lock or is the audio thread. */
    void dispatchChangedParameters (int count = -1);

    /** The root tag of the saved state: the plug-in's name without blanks. */
    static juce::String getStateTag();

    PresetController& getPresetController() noexcept { return presetController; }
    ParamManager& getParamManager() noexcept { return presetController.getParamManager(); }
    GlobalParamList& getGlobalSettings() noexcept { return globalSettings; }
    /** The rate (Hz) of the last prepareToPlay; 44100 until then. */
    double getSampleRate() const noexcept { return sampleRate.load(); }

private:
    Parameter& param (int index) const noexcept;

    PresetController presetController;
    GlobalParamList globalSettings;
    std::atomic<double> sampleRate { 44100.0 };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KelmoraLabsAudioProcessor)
};
} // namespace kelmora::core
