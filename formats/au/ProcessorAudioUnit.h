#pragma once

#include "formats/au/AUMIDIBase.h"

#include "formats/ModuleMessageLoop.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace kelmora::au
{
/** Drives one juce::AudioProcessor as an Audio Unit effect, through the juce::AudioProcessor
    interface only: stereo or mono, latency and tail, the processor's parameters as indexed
    global parameters, its programs as factory presets, its state block inside the class-info
    dictionary, host bypass through processBlockBypassed, and the processor's own changes sent to
    the host's listeners.

    Threads: host threads call the property, parameter and lifecycle operations; the render
    thread processes under the processor's callback lock, allocates nothing and calls no host
    listener. What the processor reports while it processes is handed on by the next host call. */
class ProcessorAudioUnit : public AUMIDIEffectBase, private juce::AudioProcessorListener
{
public:
    /** Creates the processor with the wrapper type set to Audio Unit; throws when it cannot. */
    ProcessorAudioUnit (AudioComponentInstance instance, juce::AudioProcessor* (*createProcessor)());
    ~ProcessorAudioUnit() override;

    juce::AudioProcessor& getProcessor() noexcept { return *processor; }

    OSStatus Version() override;
    OSStatus Initialize() override;
    void Cleanup() override;
    OSStatus Reset (AudioUnitScope scope, AudioUnitElement element) override;
    UInt32 SupportedNumChannels (const AUChannelInfo** outInfo) override;

    OSStatus GetPropertyInfo (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                              UInt32& outDataSize, Boolean& outWritable) override;
    OSStatus SetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const void* inData,
                          UInt32 inDataSize) override;

    // Host bypass never takes the plain copy, which would drop the latency.
    bool ShouldBypassEffect() override { return false; }
    OSStatus ProcessBufferLists (AudioUnitRenderActionFlags& ioFlags, const AudioBufferList& input, AudioBufferList& output,
                                 UInt32 frames) override;
    Float64 GetLatency() override;
    Float64 GetTailTime() override;
    bool SupportsTail() override { return true; }

    OSStatus GetParameterInfo (AudioUnitScope scope, AudioUnitParameterID id, AudioUnitParameterInfo& outInfo) override;
    OSStatus GetParameter (AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                           AudioUnitParameterValue& outValue) override;
    OSStatus SetParameter (AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                           AudioUnitParameterValue value, UInt32 bufferOffsetInFrames) override;

    OSStatus GetPresets (CFArrayRef* outData) const override;
    OSStatus NewFactoryPresetSet (const AUPreset& preset) override;
    OSStatus SaveState (CFPropertyListRef* outData) override;
    OSStatus RestoreState (CFPropertyListRef plist) override;

private:
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float newValue) override;
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails& details) override;
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override;
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override;

    bool isHostParameter (AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element) const noexcept;
    void notifyParameter (UInt32 eventType, int index);
    void deliverPendingChanges();
    /** The processor's values into the global element; the caller holds elementLock. */
    void copyParametersToElement();

    // Declared first: JUCE is initialised before, and shut down after, everything below. One
    // runtime for every instance of every format, so that they start and stop JUCE in turn.
    formats::ModuleMessageLoop::Shared runtime;
    std::unique_ptr<juce::AudioProcessor> processor;
    int numParameters = 0;
    std::vector<AUPreset> factoryPresets;  // the names are owned here
    // The global element's parameter values are written by host parameter calls and by state
    // and preset calls, possibly on different host threads. Held only while the element is
    // read or written, never across file access. Recursive: writing a value back to the
    // processor under it reports the change, which writes the element again.
    std::recursive_mutex elementLock;

    // Written under the callback lock by Initialize and Cleanup; read by processing.
    bool prepared = false;
    int activeChannels = 2;
    juce::MidiBuffer midi;

    static constexpr int latencyChangedBit = 1, programChangedBit = 2;
    std::atomic<int> pendingChanges { 0 };
};
} // namespace kelmora::au
