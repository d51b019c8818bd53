#include "formats/au/ProcessorAudioUnit.h"

#include "core/ProductIdentity.h"
#include "formats/IndexedParameters.h"
#include "formats/ProcessorCreation.h"
#include "formats/au/StatusLadder.h"
#include "platform/au/AudioUnitRuntime.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace kelmora::au
{
namespace
{
const AUChannelInfo channelConfigurations[] = { { 2, 2 }, { 1, 1 } };

// Set while this thread processes: what the processor reports then waits for a host thread.
thread_local bool processingAudio = false;

CFStringRef MakeString (const juce::String& text) { return CFStringCreateWithCString (nullptr, text.toRawUTF8(), kCFStringEncodingUTF8); }

std::unique_ptr<juce::AudioProcessor> CreateAsAudioUnit (juce::AudioProcessor* (*createProcessor)())
{
    auto processor = formats::createProcessorAs (juce::AudioProcessor::wrapperType_AudioUnit, createProcessor);
    if (processor == nullptr)
        ThrowStatus (-1);
    return processor;
}

using namespace formats;

juce::AudioChannelSet channelSetFor (UInt32 channels)
{
    return channels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
}
} // namespace

ProcessorAudioUnit::ProcessorAudioUnit (AudioComponentInstance instance, juce::AudioProcessor* (*createProcessor)())
    : AUMIDIEffectBase (instance, false), processor (CreateAsAudioUnit (createProcessor))
{
    // The buses exist from here on; PostConstructor's call then does nothing.
    CreateElements();
    processor->enableAllBuses();
    numParameters = juce::jmax (0, parameterCount (*processor));
    Globals()->UseIndexedParameters (UInt32 (numParameters));
    {
        const std::lock_guard<std::recursive_mutex> lock (elementLock);
        copyParametersToElement();
    }

    factoryPresets.reserve (size_t (juce::jmax (0, processor->getNumPrograms())));
    for (int i = 0; i < processor->getNumPrograms(); ++i)
        factoryPresets.push_back ({ i, MakeString (processor->getProgramName (i)) });

    processor->addListener (this);
}

ProcessorAudioUnit::~ProcessorAudioUnit()
{
    processor->removeListener (this);
    processor.reset();
    for (auto& preset : factoryPresets)
        CFRelease (preset.presetName);
}

OSStatus ProcessorAudioUnit::Version() { return identity::versionNumber; }

UInt32 ProcessorAudioUnit::SupportedNumChannels (const AUChannelInfo** outInfo)
{
    if (outInfo != nullptr)
        *outInfo = channelConfigurations;
    return UInt32 (std::size (channelConfigurations));
}

//==============================================================================
OSStatus ProcessorAudioUnit::Initialize()
{
    const Float64 rate = GetOutput (0)->GetStreamFormat().mSampleRate;
    if (GetInput (0)->GetStreamFormat().mSampleRate != rate || ! (rate > 0))
        return kAudioUnitErr_FormatNotSupported;  // the processor runs at one rate
    if (const OSStatus status = AUMIDIEffectBase::Initialize(); status != noErr)
        return status;

    const UInt32 channels = GetOutput (0)->NumberChannels();
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (channelSetFor (channels));
    layout.outputBuses.add (channelSetFor (channels));
    if (! processor->setBusesLayout (layout))
        return kAudioUnitErr_FormatNotSupported;

    const int block = int (juce::jmin<UInt32> (GetMaxFramesPerSlice(), 1u << 20));
    processor->setRateAndBufferSizeDetails (rate, block);
    processor->prepareToPlay (rate, block);
    midi.ensureSize (256);
    {
        const juce::ScopedLock lock (processor->getCallbackLock());
        activeChannels = int (channels);
        prepared = true;
    }
    deliverPendingChanges();
    return noErr;
}

void ProcessorAudioUnit::Cleanup()
{
    bool wasPrepared;
    {
        const juce::ScopedLock lock (processor->getCallbackLock());
        wasPrepared = prepared;
        prepared = false;
    }
    if (wasPrepared)
        processor->releaseResources();
    AUMIDIEffectBase::Cleanup();
}

OSStatus ProcessorAudioUnit::Reset (AudioUnitScope scope, AudioUnitElement element)
{
    {
        const juce::ScopedLock lock (processor->getCallbackLock());
        processor->reset();
    }
    deliverPendingChanges();
    return AUMIDIEffectBase::Reset (scope, element);
}

OSStatus ProcessorAudioUnit::GetPropertyInfo (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                              UInt32& outDataSize, Boolean& outWritable)
{
    deliverPendingChanges();
    return AUMIDIEffectBase::GetPropertyInfo (id, scope, element, outDataSize, outWritable);
}

OSStatus ProcessorAudioUnit::SetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                          const void* inData, UInt32 inDataSize)
{
    deliverPendingChanges();
    if (id == kAudioUnitProperty_BypassEffect && scope == kAudioUnitScope_Global)
    {
        // Bypassed audio keeps running through the delay line, so switching back needs no reset.
        if (inDataSize < sizeof (UInt32))
            return kAudioUnitErr_InvalidPropertyValue;
        UInt32 value;
        std::memcpy (&value, inData, sizeof value);
        SetBypassEffect (value != 0);
        return noErr;
    }
    return AUMIDIEffectBase::SetProperty (id, scope, element, inData, inDataSize);
}

//==============================================================================
OSStatus ProcessorAudioUnit::ProcessBufferLists (AudioUnitRenderActionFlags& ioFlags, const AudioBufferList& input,
                                                 AudioBufferList& output, UInt32 frames)
{
    const juce::ScopedLock lock (processor->getCallbackLock());
    const UInt32 channels = UInt32 (activeChannels);
    const UInt64 bytes = UInt64 (frames) * sizeof (float);
    if (input.mNumberBuffers != channels || output.mNumberBuffers != channels)
        return kAudio_ParamError;
    float* samples[2] {};
    for (UInt32 c = 0; c < channels; ++c)
    {
        const auto& in = input.mBuffers[c];
        const auto& out = output.mBuffers[c];
        if (in.mData == nullptr || out.mData == nullptr || in.mDataByteSize < bytes || out.mDataByteSize < bytes)
            return kAudio_ParamError;
        samples[c] = static_cast<float*> (out.mData);
        if (in.mData != out.mData)
            std::memcpy (out.mData, in.mData, bytes);
    }

    if (! prepared)
    {
        for (UInt32 c = 0; c < channels; ++c)
            std::memset (samples[c], 0, bytes);
        return noErr;
    }

    const juce::ScopedValueSetter<bool> processing (processingAudio, true);
    juce::AudioBuffer<float> buffer (samples, int (channels), int (frames));
    midi.clear();
    if (GetBypassEffect())
        processor->processBlockBypassed (buffer, midi);
    else
        processor->processBlock (buffer, midi);

    // Silent input does not mean silent output: the filter's tail is still sounding.
    ioFlags &= ~UInt32 (kAudioUnitRenderAction_OutputIsSilence);
    return noErr;
}

Float64 ProcessorAudioUnit::GetLatency()
{
    const Float64 rate = processor->getSampleRate();
    return rate > 0 ? processor->getLatencySamples() / rate : 0.0;
}

Float64 ProcessorAudioUnit::GetTailTime()
{
    const double seconds = processor->getTailLengthSeconds();
    return std::isfinite (seconds) && seconds > 0 ? seconds : 0.0;
}

//==============================================================================
bool ProcessorAudioUnit::isHostParameter (AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element) const noexcept
{
    return scope == kAudioUnitScope_Global && element == 0 && id < UInt32 (numParameters);
}

OSStatus ProcessorAudioUnit::GetParameterInfo (AudioUnitScope scope, AudioUnitParameterID id, AudioUnitParameterInfo& outInfo)
{
    if (! isHostParameter (id, scope, 0))
        return kAudioUnitErr_InvalidParameter;
    std::memset (&outInfo, 0, sizeof outInfo);
    const auto name = parameterName (*processor, int (id), 51);
    name.copyToUTF8 (outInfo.name, sizeof outInfo.name);
    outInfo.cfNameString = MakeString (name);
    outInfo.unit = kAudioUnitParameterUnit_Generic;
    outInfo.minValue = 0.0f;
    outInfo.maxValue = 1.0f;
    outInfo.defaultValue = parameterDefault (*processor, int (id));
    outInfo.flags = kAudioUnitParameterFlag_IsReadable | kAudioUnitParameterFlag_IsWritable
                  | kAudioUnitParameterFlag_HasCFNameString | kAudioUnitParameterFlag_CFNameRelease;
    return noErr;
}

OSStatus ProcessorAudioUnit::GetParameter (AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                                           AudioUnitParameterValue& outValue)
{
    if (! isHostParameter (id, scope, element))
        return AUMIDIEffectBase::GetParameter (id, scope, element, outValue);
    outValue = parameterValue (*processor, int (id));
    return noErr;
}

OSStatus ProcessorAudioUnit::SetParameter (AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                                           AudioUnitParameterValue value, UInt32 bufferOffsetInFrames)
{
    if (! isHostParameter (id, scope, element))
        return AUMIDIEffectBase::SetParameter (id, scope, element, value, bufferOffsetInFrames);
    if (! std::isfinite (value))
        return kAudio_ParamError;
    value = juce::jlimit (0.0f, 1.0f, value);
    setParameterValue (*processor, int (id), value);
    const std::lock_guard<std::recursive_mutex> lock (elementLock);
    Globals()->SetParameter (id, value);
    return noErr;
}

void ProcessorAudioUnit::copyParametersToElement()
{
    for (int i = 0; i < numParameters; ++i)
        Globals()->SetParameter (AudioUnitParameterID (i), parameterValue (*processor, i));
}

//==============================================================================
OSStatus ProcessorAudioUnit::GetPresets (CFArrayRef* outData) const
{
    if (outData == nullptr)
        return noErr;
    // The array points at records this unit keeps; it retains nothing.
    auto array = CFArrayCreateMutable (nullptr, CFIndex (factoryPresets.size()), nullptr);
    for (const auto& preset : factoryPresets)
        CFArrayAppendValue (array, &preset);
    *outData = array;
    return noErr;
}

OSStatus ProcessorAudioUnit::NewFactoryPresetSet (const AUPreset& preset)
{
    if (preset.presetNumber < 0 || size_t (preset.presetNumber) >= factoryPresets.size())
        return kAudioUnitErr_InvalidPropertyValue;
    processor->setCurrentProgram (preset.presetNumber);
    {
        const std::lock_guard<std::recursive_mutex> lock (elementLock);
        copyParametersToElement();
    }
    SetAFactoryPresetAsCurrent (factoryPresets[size_t (preset.presetNumber)]);
    return noErr;
}

OSStatus ProcessorAudioUnit::SaveState (CFPropertyListRef* outData)
{
    {
        const std::lock_guard<std::recursive_mutex> lock (elementLock);
        copyParametersToElement();
        if (const OSStatus status = AUMIDIEffectBase::SaveState (outData); status != noErr)
            return status;
    }

    juce::MemoryBlock state;
    processor->getStateInformation (state);
    if (state.getSize() > size_t (std::numeric_limits<int>::max()))
        state.reset();
    auto data = CFDataCreate (nullptr, static_cast<const UInt8*> (state.getData()), CFIndex (state.getSize()));
    CFDictionarySetValue (static_cast<CFMutableDictionaryRef> (const_cast<void*> (*outData)), CFSTR ("jucePluginState"), data);
    CFRelease (data);
    return noErr;
}

OSStatus ProcessorAudioUnit::RestoreState (CFPropertyListRef plist)
{
    // The layer's checks (version, subtype, maker) come first: a refused dictionary
    // leaves the processor untouched.
    std::unique_lock<std::recursive_mutex> lock (elementLock);
    if (const OSStatus status = AUMIDIEffectBase::RestoreState (plist); status != noErr)
        return status;

    auto state = CFDictionaryGetValue (static_cast<CFDictionaryRef> (plist), CFSTR ("jucePluginState"));
    if (state != nullptr && CFGetTypeID (state) == CFDataGetTypeID()
        && CFDataGetLength (static_cast<CFDataRef> (state)) <= std::numeric_limits<int>::max())
    {
        auto data = static_cast<CFDataRef> (state);
        lock.unlock();
        processor->setStateInformation (CFDataGetBytePtr (data), int (CFDataGetLength (data)));
        lock.lock();
    }
    else
    {
        for (int i = 0; i < numParameters; ++i)
            setParameterValue (*processor, i, juce::jlimit (0.0f, 1.0f, Globals()->GetParameter (AudioUnitParameterID (i))));
    }
    copyParametersToElement();
    return noErr;
}

//==============================================================================
void ProcessorAudioUnit::notifyParameter (UInt32 eventType, int index)
{
    if (processingAudio || index < 0 || index >= numParameters)
        return;
    AudioUnitEvent event {};
    event.mEventType = eventType;
    event.mArgument.mParameter = { GetComponentInstance(), AudioUnitParameterID (index), kAudioUnitScope_Global, 0 };
    AUEventListenerNotify (nullptr, nullptr, &event);
}

void ProcessorAudioUnit::audioProcessorParameterChanged (juce::AudioProcessor*, int index, float newValue)
{
    if (! processingAudio && index >= 0 && index < numParameters)
    {
        const std::lock_guard<std::recursive_mutex> lock (elementLock);
        Globals()->SetParameter (AudioUnitParameterID (index), newValue);
    }
    notifyParameter (kAudioUnitEvent_ParameterValueChange, index);
}

void ProcessorAudioUnit::audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index)
{
    notifyParameter (kAudioUnitEvent_BeginParameterChangeGesture, index);
}

void ProcessorAudioUnit::audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index)
{
    notifyParameter (kAudioUnitEvent_EndParameterChangeGesture, index);
}

void ProcessorAudioUnit::audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails& details)
{
    pendingChanges |= (details.latencyChanged ? latencyChangedBit : 0) | (details.programChanged ? programChangedBit : 0);
    if (! processingAudio)
        deliverPendingChanges();
}

void ProcessorAudioUnit::deliverPendingChanges()
{
    const int bits = pendingChanges.exchange (0);
    if ((bits & latencyChangedBit) != 0)
        PropertyChanged (kAudioUnitProperty_Latency, kAudioUnitScope_Global, 0);
    if ((bits & programChangedBit) != 0)
        PropertyChanged (kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0);
}
} // namespace kelmora::au
