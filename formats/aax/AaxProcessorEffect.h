#pragma once

#include "formats/aax/AAX_CEffectParameters.h"
#include "formats/aax/AAX_VAutomationDelegate.h"
#include "formats/HostCallQueue.h"
#include "platform/aax/AAXConstants.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>

namespace kelmora::aax
{
class AaxProcessorEffect;

/** The context record the host fills for each instance of a component: one pointer-sized slot
    per field, in this order. The field numbers handed to the host are the slot indices. */
struct AaxProcessContext
{
    float* const* inputs;                      // audio in, one pointer per channel
    float* const* outputs;                     // audio out
    const int32_t* bufferLength;               // samples in this call
    const int32_t* masterBypass;               // the latest master-bypass packet (1 or 0)
    AaxProcessorEffect* const* instance;       // private data: the effect that owns the processor
    const int32_t* prepared;                   // private data: 1 once the effect was initialised
};

namespace field
{
constexpr AAX_FieldIndex index (size_t offset) { return static_cast<AAX_FieldIndex> (offset / sizeof (void*)); }
inline constexpr AAX_FieldIndex audioIn = index (offsetof (AaxProcessContext, inputs));
inline constexpr AAX_FieldIndex audioOut = index (offsetof (AaxProcessContext, outputs));
inline constexpr AAX_FieldIndex bufferLength = index (offsetof (AaxProcessContext, bufferLength));
inline constexpr AAX_FieldIndex masterBypass = index (offsetof (AaxProcessContext, masterBypass));
inline constexpr AAX_FieldIndex instance = index (offsetof (AaxProcessContext, instance));
inline constexpr AAX_FieldIndex prepared = index (offsetof (AaxProcessContext, prepared));
} // namespace field

/** Runs every instance in the host's list (see AaxProcessContext). Real-time safe. */
void processInstances (void* const instancesBegin[], const void* instancesEnd);

/** One juce::AudioProcessor as an AAX effect. Parameters "0".."n-1" mirror the processor's
    index-based parameters (linear 0..1), plus the master bypass; host values reach the processor
    as host changes, editor edits and gestures reach the host as set, touch and release requests.
    Beside the controls chunk a second chunk carries the processor's whole state block.

    Threads: the host's parameter and chunk calls come from its own threads, the process
    procedure from its audio thread, which takes the processor's callback lock, allocates nothing
    and never calls the host; what the processor reports from there waits for the next host call.
    What the editor reports (with the message-thread role held) is queued too, and said by the
    GUI's next host call once the role is released. */
class AaxProcessorEffect : public AAX_CEffectParameters, private juce::AudioProcessorListener
{
public:
    static constexpr AAX_ChunkID stateChunkID = kAAXChunk_ProcessorState;
    static constexpr int maxBlockSize = 1024;

    /** `runtime` keeps JUCE (and the module's message thread) alive for the effect; null when
        the caller keeps it. */
    AaxProcessorEffect (std::unique_ptr<juce::AudioProcessor> processor, std::shared_ptr<void> runtime);
    ~AaxProcessorEffect() override;

    juce::AudioProcessor& getProcessor() const noexcept { return *processor; }

    AAX_Result Initialize (IACFUnknown* hostUnknown) override;
    AAX_Result Uninitialize() override;
    AAX_Result EffectInit() override;

    AAX_Result SetParameterNormalizedValue (const char* id, double value) override;
    AAX_Result UpdateParameterNormalizedValue (const char* id, double value, int32_t source) override;
    AAX_Result GenerateCoefficients() override;
    AAX_Result ResetFieldData (uint32_t field, void* data, uint32_t size) const override;

    AAX_Result GetNumberOfChunks (int32_t* count) const override;
    AAX_Result GetChunkIDFromIndex (int32_t index, AAX_ChunkID* chunkID) const override;
    AAX_Result GetChunkSize (AAX_ChunkID chunkID, uint32_t* size) const override;
    AAX_Result GetChunk (AAX_ChunkID chunkID, ChunkRecord* chunk) const override;
    AAX_Result SetChunk (AAX_ChunkID chunkID, const ChunkRecord* chunk) override;
    AAX_Result CompareActiveChunk (const ChunkRecord* chunk, bool* isEqual) const override;

    /** Says what is queued for the host, on this host thread with nothing of ours held. Call
        last: the host may release the effect from inside any of the callbacks. */
    void deliverHostCalls();

    /** One block for the audio thread: input copied to output where they differ, then the
        processor in place, in pieces of at most maxBlockSize. */
    void process (const float* const* inputs, float* const* outputs, int numSamples, bool bypassed) noexcept;

private:
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override;
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails& details) override;
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override;
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override;

    /** The processor's parameter for a host identifier, or -1. */
    int processorIndex (const char* id) const;
    /** Brings the mirror to the processor's values; the host hears of each one that moved.
        Stops when `alive` turns false (the host released the effect while it heard). */
    void syncMirror (const std::atomic<bool>* alive = nullptr);
    /** Queues a gesture or value for the host, and says it now from a thread that holds nothing. */
    void tellHost (const formats::HostCallQueue::Call& call);
    void sayToHost (const formats::HostCallQueue::Call& call);

    // Declared first: JUCE lives longer than the processor.
    std::shared_ptr<void> runtime;
    std::unique_ptr<juce::AudioProcessor> processor;

    // Written before processing starts, read by the audio thread under the callback lock.
    int channels = 2;
    bool prepared = false;
    juce::MidiBuffer midi;

    // Shared with a delivery under way, which the host may uninitialise the effect inside.
    std::shared_ptr<AAX_VAutomationDelegate> hostAutomation;
    formats::HostCallQueue hostCalls;

    // The base's chunk count, read once: the state chunk's index.
    int32_t baseChunks = 0;

    // The state block measured by the last size query, which the fetch copies.
    mutable std::mutex stateLock;
    mutable juce::MemoryBlock measuredState;
};

} // namespace kelmora::aax
