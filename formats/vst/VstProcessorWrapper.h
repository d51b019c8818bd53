#pragma once

#include "formats/vst/AudioEffectX.h"
#include "formats/HostCallQueue.h"
#include "formats/ModuleMessageLoop.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace kelmora::vst
{
class VstEditorHolder;

/** What the host learns about the plug-in besides what the processor says. */
struct VstIdentity
{
    const char* effectName;
    const char* vendor;
    int32_t uniqueId;
    int32_t version;            // record version and vendor version
    int32_t category;           // VstPlugCategory
};

/** Drives one juce::AudioProcessor as a VST 2.4 effect, through the juce::AudioProcessor
    interface only: identity, parameters with their texts, automation both ways, programs,
    state chunks, bypass, suspend/resume, mono or stereo, latency, tail, processing and the
    editor.

    Threads: the host calls the dispatcher on its own threads and processReplacing on its audio
    thread. Processing runs under the processor's callback lock, allocates nothing and makes no
    host request but the play head's transport query, which the format wants from inside the
    processing (so under that lock); resume, suspend, the channel layout and the state restore
    change what the audio path reads under that same lock. The editor opcodes take the module's
    message-thread role; the idle call dispatches the editor's window events when the role is
    free. No display is touched before an editor is asked for.

    Host callbacks: what the processor reports is queued for this instance and said by a host
    call on it (idle, the editor opcodes, resume, or the reporting call itself when that holds
    nothing of ours), never with the role or a lock of ours held, and nothing of the instance is
    touched after a callback that may have closed it. */
class VstProcessorWrapper : public AudioEffectX,
                            private juce::AudioProcessorListener
{
public:
    VstProcessorWrapper (audioMasterCallback host, std::unique_ptr<juce::AudioProcessor> processor,
                         const VstIdentity& identity);
    ~VstProcessorWrapper() override;

    juce::AudioProcessor& getProcessor() noexcept { return *processor; }
    bool isBypassed() const noexcept { return bypassed.load(); }

    intptr_t dispatcher (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override;

    void close() override;
    void suspend() override;
    void resume() override;
    void processReplacing (float** inputs, float** outputs, int32_t sampleFrames) override;

    void setParameter (int32_t index, float value) override;
    float getParameter (int32_t index) override;
    void getParameterLabel (int32_t index, char* label) override;
    void getParameterDisplay (int32_t index, char* text) override;
    void getParameterName (int32_t index, char* text) override;
    bool canParameterBeAutomated (int32_t index) override;
    bool string2parameter (int32_t index, char* text) override;

    int32_t getProgram() override;
    void setProgram (int32_t program) override;
    void setProgramName (char* name) override;
    void getProgramName (char* name) override;
    bool getProgramNameIndexed (int32_t category, int32_t index, char* text) override;

    int32_t getChunk (void** data, bool isPreset) override;
    int32_t setChunk (void* data, int32_t byteSize, bool isPreset) override;

    bool setBypass (bool onOff) override;
    bool setSpeakerArrangement (VstSpeakerArrangement* input, VstSpeakerArrangement* output) override;
    bool getSpeakerArrangement (VstSpeakerArrangement** input, VstSpeakerArrangement** output) override;
    int32_t getGetTailSize() override;

    bool getEffectName (char* name) override;
    bool getVendorString (char* text) override;
    bool getProductString (char* text) override;
    int32_t getVendorVersion() override;
    int32_t canDo (char* text) override;
    int32_t getPlugCategory() override;

    /** Each channel of the current layout, named as the processor names it. */
    bool getInputProperties (int32_t index, VstPinProperties* properties) override;
    bool getOutputProperties (int32_t index, VstPinProperties* properties) override;
    /** The processor takes no MIDI: the events are dropped. */
    int32_t processEvents (VstEvents*) override { return 0; }

private:
    friend class VstEditorHolder;

    // juce::AudioProcessorListener
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float newValue) override;
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails& details) override;
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override;
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override;

    /** Says what is queued for the host, on this host thread. Call last: the host may close
        the instance from inside any of the callbacks. */
    void deliverHostChanges();
    /** Queues a gesture or value for the host, and says it now from a thread that holds nothing. */
    void tellHost (const formats::HostCallQueue::Call& call);
    void sayToHost (const formats::HostCallQueue::Call& call);
    /** The editor's new size, for the host to follow. */
    void editorResized (int width, int height);

    bool isValidParameter (int32_t index) const noexcept { return index >= 0 && index < cEffect.numParams; }
    static void fillArrangement (std::vector<char>& storage, int channels);
    /** Puts the processor's latency into the record. Call under the callback lock, which
        prepareToPlay runs under too: a delay read earlier never lands over a newer one. */
    void takeLatency();

    /** The editor, made when first asked for and a display can show it; call with the role held. */
    bool makeEditor();
    intptr_t openEditor (void* parentWindow);
    intptr_t getEditorRect (ERect** rect);
    void deleteEditor();
    void idleEditor();

    // Declared first: JUCE is initialised before, and shut down after, everything below.
    formats::ModuleMessageLoop::Shared messageLoop;

    std::unique_ptr<juce::AudioProcessor> processor;
    const VstIdentity identity;

    // Written under the callback lock by resume, suspend and the layout; read by processing.
    bool prepared = false;
    int activeChannels = 2;
    int maxBlock = 1024;
    juce::AudioBuffer<float> scratch;
    juce::MidiBuffer midi;

    std::atomic<bool> bypassed { false };

    formats::HostCallQueue hostCalls;
    // The editor's size the host should know, and whether the host resizes for us (-1 until
    // asked, once, before the first resize).
    std::atomic<int> pendingWidth { 0 }, pendingHeight { 0 };
    std::atomic<int> hostResizes { -1 };

    // The chunks handed to the host, one per asking thread: each stays valid until the same
    // thread asks again or the instance closes, whoever else asks in between. A map, so that
    // adding a thread never moves another thread's block.
    std::mutex chunkLock;
    std::map<std::thread::id, juce::MemoryBlock> chunks;

    // The arrangements handed to the host, input and output, for mono and for stereo.
    std::array<std::array<std::vector<char>, 2>, 2> arrangements;
    // A delay written into the record that the host has not yet been told of (ioChanged).
    std::atomic<bool> delayUnsaid { false };

    std::unique_ptr<VstEditorHolder> editorHolder;
    ERect editorRect {};

    //==============================================================================
    /** The processor's play head: the host's transport, asked for on the audio thread while this
        instance processes there (no lock taken and nothing allocated for it), and empty
        elsewhere. */
    class HostPlayHead : public juce::AudioPlayHead
    {
    public:
        explicit HostPlayHead (VstProcessorWrapper& w) : wrapper (w) {}
        juce::Optional<PositionInfo> getPosition() const override;

    private:
        VstProcessorWrapper& wrapper;
    };

    bool fillPinProperties (bool input, int32_t index, VstPinProperties& pin);

    HostPlayHead playHead { *this };
};

/** Creates the processor with the wrapper type set to VST (so the about box names the format)
    and wraps it; returns the record for the host, or null when the host is unusable or the
    processor cannot be made. Never throws. */
AEffect* createVstEffect (audioMasterCallback host, juce::AudioProcessor* (*createProcessor)(),
                          const VstIdentity& identity);
} // namespace kelmora::vst
