#include "formats/aax/AaxProcessorEffect.h"

#include "formats/aax/AAX_CBinaryDisplayDelegate.h"
#include "formats/aax/AAX_CBinaryTaperDelegate.h"
#include "formats/aax/AAX_CLinearTaperDelegate.h"
#include "formats/aax/AAX_CNumberDisplayDelegate.h"
#include "formats/aax/AAX_CPacketHandler.h"
#include "formats/aax/AAX_CParameter.h"
#include "formats/aax/AAX_IController.h"
#include "formats/IndexedParameters.h"
#include "formats/ModuleMessageLoop.h"
#include "platform/aax/AAXConstants.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace kelmora::aax
{
namespace
{
constexpr const char* masterBypassID = "MasterBypassID";
constexpr const char* stateChunkName = "Processor State";

// Set while this thread runs the process procedure or holds the callback lock: what the processor
// reports from there waits for the next host call.
thread_local bool deferHostCalls = false;
// Set while a host value goes to the processor: nothing of it goes back to the host.
thread_local bool applyingHostValue = false;

struct ParameterID
{
    explicit ParameterID (int index) { std::snprintf (text, sizeof (text), "%d", index); }
    char text[12];
};

/** A NaN lands on the minimum; everything else is held to 0..1. */
double hostValue (double value)
{
    return std::isnan (value) ? 0.0 : juce::jlimit (0.0, 1.0, value);
}

/** No exception crosses into the host. */
template <typename Operation>
AAX_Result guarded (Operation&& operation) noexcept
{
    try
    {
        return operation();
    }
    catch (...)
    {
        return kACFUnexpected;
    }
}

using namespace formats;
} // namespace

//==============================================================================
AaxProcessorEffect::AaxProcessorEffect (std::unique_ptr<juce::AudioProcessor> p, std::shared_ptr<void> keepAlive)
    : runtime (std::move (keepAlive)), processor (std::move (p))
{
    // Qualified: the state chunk goes behind whatever the base reports.
    AAX_CEffectParameters::GetNumberOfChunks (&baseChunks);
    processor->addListener (this);
}

AaxProcessorEffect::~AaxProcessorEffect()
{
    // No message-thread work touches the processor: it goes on the host's thread.
    processor->removeListener (this);
    hostAutomation.reset();
    processor.reset();
}

AAX_Result AaxProcessorEffect::Initialize (IACFUnknown* hostUnknown)
{
    return guarded ([&]
    {
        hostAutomation = std::make_shared<AAX_VAutomationDelegate> (hostUnknown);
        return AAX_CEffectParameters::Initialize (hostUnknown);
    });
}

AAX_Result AaxProcessorEffect::Uninitialize()
{
    hostAutomation.reset();
    return AAX_CEffectParameters::Uninitialize();
}

AAX_Result AaxProcessorEffect::EffectInit()
{
    auto* controller = Controller();
    float rate = 0.0f;
    uint32_t input = kAAXStemFormat_None, output = kAAXStemFormat_None;
    controller->GetSampleRate (&rate);
    controller->GetInputStemFormat (&input);
    controller->GetOutputStemFormat (&output);

    if (input != output || (input != kAAXStemFormat_Mono && input != kAAXStemFormat_Stereo))
        return kAAXNotSupported;

    const auto set = input == kAAXStemFormat_Mono ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (set);
    layout.outputBuses.add (set);
    const double sampleRate = std::isfinite (rate) && rate > 0.0f ? (double) rate : 44100.0;

    {
        const juce::ScopedLock lock (processor->getCallbackLock());
        const juce::ScopedValueSetter<bool> deferred (deferHostCalls, true);

        if (! processor->setBusesLayout (layout))
            return kAAXNotSupported;
        if (prepared)
            processor->releaseResources();

        channels = set.size();
        processor->setRateAndBufferSizeDetails (sampleRate, maxBlockSize);
        processor->prepareToPlay (sampleRate, maxBlockSize);
        midi.ensureSize (256);
        prepared = true;
    }

    hostCalls.lower (HostCallQueue::Kind::latency);
    controller->SetSignalLatency (processor->getLatencySamples());

    // A second initialisation keeps the parameters the first one registered.
    if (ParameterManager.NumParameters() == 0)
    {
        for (int i = 0; i < parameterCount (*processor); ++i)
            ParameterManager.AddParameter (new AAX_CParameter<float> (
                ParameterID (i).text, AAX_CString (parameterName (*processor, i).toRawUTF8()), parameterDefault (*processor, i),
                AAX_CLinearTaperDelegate<float> (0.0f, 1.0f), AAX_CNumberDisplayDelegate<float, 3u, 0u>(),
                parameterAutomatable (*processor, i)));

        auto* bypass = new AAX_CParameter<bool> (masterBypassID, AAX_CString ("Master Bypass"), false,
                                                 AAX_CBinaryTaperDelegate<bool>(),
                                                 AAX_CBinaryDisplayDelegate<bool> ("bypass", "on"), true);
        bypass->SetNumberOfSteps (2);
        bypass->SetType (0);
        ParameterManager.AddParameter (bypass);

        const AAX_CPacketHandler<AAX_CPacketDispatcher> handler (&PacketDispatcher, &AAX_CPacketDispatcher::GenerateSingleValuePacket);
        PacketDispatcher.RegisterPacket (masterBypassID, field::masterBypass, &handler);
    }

    // The processor starts from its first preset, not from the parameter defaults.
    syncMirror();
    return kAAXSuccess;
}

//==============================================================================
int AaxProcessorEffect::processorIndex (const char* id) const
{
    if (id == nullptr || *id == 0 || std::strlen (id) > 6)
        return -1;

    int index = 0;
    for (const char* c = id; *c != 0; ++c)
    {
        if (*c < '0' || *c > '9')
            return -1;
        index = index * 10 + (*c - '0');
    }

    return index < parameterCount (*processor) ? index : -1;
}

void AaxProcessorEffect::syncMirror (const std::atomic<bool>* alive)
{
    for (int i = 0; i < parameterCount (*processor); ++i)
    {
        if (auto* parameter = ParameterManager.GetParameterByID (ParameterID (i).text))
            parameter->UpdateNormalizedValue (parameterValue (*processor, i));

        if (alive != nullptr && ! alive->load())
            return;
    }
}

void AaxProcessorEffect::deliverHostCalls()
{
    hostCalls.deliver ([this] (const HostCallQueue::Call& call) { sayToHost (call); });
}

void AaxProcessorEffect::sayToHost (const HostCallQueue::Call& call)
{
    // Each branch ends with its host calls: the effect may be gone when they return.
    const auto automation = hostAutomation;
    const ParameterID id (call.index);

    switch (call.kind)
    {
        case HostCallQueue::Kind::beginGesture: if (automation != nullptr) automation->PostTouchRequest (id.text); return;
        case HostCallQueue::Kind::value:        if (automation != nullptr) automation->PostSetValueRequest (id.text, hostValue (call.value)); return;
        case HostCallQueue::Kind::endGesture:   if (automation != nullptr) automation->PostReleaseRequest (id.text); return;
        case HostCallQueue::Kind::size:         return;

        case HostCallQueue::Kind::latency:
            if (auto* controller = Controller())
                controller->SetSignalLatency (processor->getLatencySamples());
            return;

        case HostCallQueue::Kind::display:
        {
            // Presets, A/B, undo and paste move several values at once; they also count as
            // changes for the host's "save?" prompt.
            ++ChangeCount;
            const auto alive = hostCalls.liveness();
            syncMirror (alive.get());
            return;
        }
    }
}

void AaxProcessorEffect::tellHost (const HostCallQueue::Call& call)
{
    // The process procedure and an initialisation under the callback lock say nothing.
    if (deferHostCalls)
        return;

    hostCalls.post (call);
    if (! ModuleMessageLoop::isHeldByThisThread())
        deliverHostCalls();
}

AAX_Result AaxProcessorEffect::SetParameterNormalizedValue (const char* id, double value)
{
    return AAX_CEffectParameters::SetParameterNormalizedValue (id, hostValue (value));
}

AAX_Result AaxProcessorEffect::UpdateParameterNormalizedValue (const char* id, double value, int32_t source)
{
    return guarded ([&]
    {
        const double clean = hostValue (value);
        const AAX_Result result = AAX_CEffectParameters::UpdateParameterNormalizedValue (id, clean, source);
        const int index = processorIndex (id);

        if (result == kAAXSuccess && index >= 0)
        {
            // A host change: no undo step, and nothing echoed back to the host.
            const juce::ScopedValueSetter<bool> applying (applyingHostValue, true);
            setParameterValue (*processor, index, (float) clean);
        }

        return result;
    });
}

AAX_Result AaxProcessorEffect::GenerateCoefficients()
{
    return guarded ([&]
    {
        // The mirror catches up first, so that the packets carry what the processor holds.
        const auto alive = hostCalls.liveness();
        deliverHostCalls();
        return alive->load() ? AAX_CEffectParameters::GenerateCoefficients() : kAAXSuccess;
    });
}

AAX_Result AaxProcessorEffect::ResetFieldData (uint32_t fieldIndex, void* data, uint32_t size) const
{
    if (data != nullptr && fieldIndex == field::instance && size >= sizeof (AaxProcessorEffect*))
    {
        std::memset (data, 0, size);
        auto* self = const_cast<AaxProcessorEffect*> (this);
        std::memcpy (data, &self, sizeof (self));
        return kAAXSuccess;
    }

    if (data != nullptr && fieldIndex == field::prepared && size >= sizeof (int32_t))
    {
        std::memset (data, 0, size);
        const int32_t flag = prepared ? 1 : 0;
        std::memcpy (data, &flag, sizeof (flag));
        return kAAXSuccess;
    }

    return AAX_CEffectParameters::ResetFieldData (fieldIndex, data, size);
}

//==============================================================================
AAX_Result AaxProcessorEffect::GetNumberOfChunks (int32_t* count) const
{
    if (count == nullptr)
        return kAAXNullObject;
    *count = baseChunks + 1;
    return kAAXSuccess;
}

AAX_Result AaxProcessorEffect::GetChunkIDFromIndex (int32_t index, AAX_ChunkID* chunkID) const
{
    if (index != baseChunks || chunkID == nullptr)
        return AAX_CEffectParameters::GetChunkIDFromIndex (index, chunkID);
    *chunkID = stateChunkID;
    return kAAXSuccess;
}

// The chunk operations are const for the host, but the controls chunk must describe what the
// processor holds now: the mirror is brought up to date first.
AAX_Result AaxProcessorEffect::GetChunkSize (AAX_ChunkID chunkID, uint32_t* size) const
{
    return guarded ([&]
    {
        auto& self = const_cast<AaxProcessorEffect&> (*this);

        if (chunkID != stateChunkID)
        {
            self.syncMirror();
            return AAX_CEffectParameters::GetChunkSize (chunkID, size);
        }

        if (size == nullptr)
            return kAAXNullObject;

        juce::MemoryBlock state;
        processor->getStateInformation (state);
        if (state.getSize() > (size_t) std::numeric_limits<int32_t>::max())
            state.reset();

        const std::lock_guard<std::mutex> lock (stateLock);
        measuredState.swapWith (state);
        *size = (uint32_t) measuredState.getSize();
        return kAAXSuccess;
    });
}

AAX_Result AaxProcessorEffect::GetChunk (AAX_ChunkID chunkID, ChunkRecord* chunk) const
{
    return guarded ([&]
    {
        if (chunkID != stateChunkID)
        {
            const_cast<AaxProcessorEffect&> (*this).syncMirror();
            return AAX_CEffectParameters::GetChunk (chunkID, chunk);
        }

        if (chunk == nullptr)
            return kAAXNullObject;

        // The host allocated what the size query measured: that block is the one copied, even
        // when the state has grown since.
        const std::lock_guard<std::mutex> lock (stateLock);
        if (measuredState.getSize() == 0)
            return kAAXChunkSizeChanged;

        chunk->size = (int32_t) measuredState.getSize();
        chunk->version = 1;
        chunk->chunkID = stateChunkID;
        std::memset (chunk->name, 0, sizeof (chunk->name));
        std::strncpy (chunk->name, stateChunkName, sizeof (chunk->name) - 1);
        std::memcpy (ChunkRecordData (chunk), measuredState.getData(), measuredState.getSize());
        return kAAXSuccess;
    });
}

AAX_Result AaxProcessorEffect::SetChunk (AAX_ChunkID chunkID, const ChunkRecord* chunk)
{
    return guarded ([&]
    {
        if (chunkID != stateChunkID)
            return AAX_CEffectParameters::SetChunk (chunkID, chunk);
        if (chunk == nullptr)
            return kAAXNullObject;

        // The processor resets on anything it cannot read.
        processor->setStateInformation (ChunkRecordData (chunk), juce::jmax (0, chunk->size));
        syncMirror();
        return kAAXSuccess;
    });
}

AAX_Result AaxProcessorEffect::CompareActiveChunk (const ChunkRecord* chunk, bool* isEqual) const
{
    return guarded ([&]
    {
        if (chunk == nullptr || isEqual == nullptr || chunk->chunkID != stateChunkID)
        {
            const_cast<AaxProcessorEffect&> (*this).syncMirror();
            return AAX_CEffectParameters::CompareActiveChunk (chunk, isEqual);
        }

        juce::MemoryBlock state;
        processor->getStateInformation (state);
        *isEqual = chunk->size >= 0 && state.matches (ChunkRecordData (chunk), (size_t) chunk->size);
        return kAAXSuccess;
    });
}

//==============================================================================
void AaxProcessorEffect::audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value)
{
    // A host change: nothing of it goes back to the host.
    if (! applyingHostValue)
        tellHost ({ HostCallQueue::Kind::value, index, value });
}

void AaxProcessorEffect::audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index)
{
    tellHost ({ HostCallQueue::Kind::beginGesture, index });
}

void AaxProcessorEffect::audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index)
{
    tellHost ({ HostCallQueue::Kind::endGesture, index });
}

void AaxProcessorEffect::audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails& details)
{
    if (details.latencyChanged)
        hostCalls.raise (HostCallQueue::Kind::latency);
    if (details.programChanged || details.parameterInfoChanged || details.nonParameterStateChanged)
        hostCalls.raise (HostCallQueue::Kind::display);

    if (! deferHostCalls && ! ModuleMessageLoop::isHeldByThisThread() && Controller() != nullptr)
        deliverHostCalls();
}

//==============================================================================
void AaxProcessorEffect::process (const float* const* inputs, float* const* outputs, int numSamples, bool bypassed) noexcept
{
    if (outputs == nullptr || numSamples <= 0)
        return;

    const juce::ScopedLock lock (processor->getCallbackLock());

    for (int c = 0; c < channels; ++c)
    {
        if (outputs[c] == nullptr)
            return;

        const float* in = inputs != nullptr ? inputs[c] : nullptr;
        if (in == nullptr)
            juce::FloatVectorOperations::clear (outputs[c], numSamples);
        else if (in != outputs[c])
            juce::FloatVectorOperations::copy (outputs[c], in, numSamples);
    }

    if (! prepared)
        return;

    // Blocks longer than the prepared maximum are split, never refused.
    for (int start = 0; start < numSamples; start += maxBlockSize)
    {
        // Refers to the host's channels; up to 32 channels this allocates nothing.
        juce::AudioBuffer<float> block (outputs, channels, start, juce::jmin (maxBlockSize, numSamples - start));
        midi.clear();

        if (bypassed)
            processor->processBlockBypassed (block, midi);
        else
            processor->processBlock (block, midi);
    }
}

void processInstances (void* const instancesBegin[], const void* instancesEnd)
{
    const juce::ScopedValueSetter<bool> deferred (deferHostCalls, true);

    for (void* const* it = instancesBegin; it != nullptr && static_cast<const void*> (it) != instancesEnd; ++it)
    {
        const auto* context = static_cast<const AaxProcessContext*> (*it);

        if (context == nullptr || context->instance == nullptr || *context->instance == nullptr
            || context->prepared == nullptr || *context->prepared == 0 || context->bufferLength == nullptr)
            continue;

        const bool bypassed = context->masterBypass != nullptr && *context->masterBypass != 0;
        (*context->instance)->process (context->inputs, context->outputs, *context->bufferLength, bypassed);
    }
}

} // namespace kelmora::aax
