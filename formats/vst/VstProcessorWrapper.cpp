#include "formats/vst/VstProcessorWrapper.h"

#include "core/OutsideText.h"
#include "formats/IndexedParameters.h"
#include "formats/ProcessorCreation.h"
#include "formats/vst/VstEditorHolder.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

namespace kelmora::vst
{
namespace
{
// Text lengths hosts allow in practice (the interface's own limits are shorter).
constexpr size_t parameterTextBytes = 24 + 1;
constexpr size_t parameterNameBytes = 32 + 1;
constexpr size_t programNameBytes = 24 + 1;
constexpr size_t identityTextBytes = 64;
constexpr int32_t maxProgramNameChars = 24;

constexpr int defaultBlockSize = 1024;
constexpr int largestBlockSize = 1 << 16;

// Set while this thread processes audio or resumes: what the processor reports from there is
// handed to the host later, by the resume itself or by a non-audio thread, never said from
// the audio thread and never raced against the resume.
thread_local bool deferHostChanges = false;
// The instance processing audio on this thread: it queues nothing that would allocate, and only
// its play head asks the host for the transport.
thread_local const VstProcessorWrapper* processingHere = nullptr;

// Longest text read from a host that gives no length (a value typed for a parameter, a canDo).
constexpr size_t hostTextBytes = 256;

void copyText (const juce::String& text, char* destination, size_t maxBytes)
{
    text.copyToUTF8 (destination, maxBytes);
}

/** A host's text, up to its NUL or maxBytes; none when it is not UTF-8 (JUCE would make a
    string of malformed bytes that it then overruns). Text that fills maxBytes was cut there, by
    the host or here, so a last character cut short is dropped. */
std::optional<juce::String> hostText (const char* text, size_t maxBytes)
{
    const auto byteAt = [text] (size_t i) { return static_cast<unsigned char> (text[i]); };
    auto size = ::strnlen (text, maxBytes);

    if (size == maxBytes)
    {
        auto lead = size;
        while (lead > 0 && size - lead < 4 && (byteAt (lead - 1) & 0xc0) == 0x80)
            --lead;

        if (lead > 0)
        {
            const auto first = byteAt (--lead);
            const size_t length = first >= 0xf0 ? 4 : first >= 0xe0 ? 3 : first >= 0xc0 ? 2 : 1;
            if (size - lead < length)
                size = lead;
        }
    }

    return core::OutsideText::fromBytes (text, size);
}

juce::AudioChannelSet channelSetFor (int channels)
{
    return channels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
}

bool isPlainArrangement (const VstSpeakerArrangement& a, int channels)
{
    if (a.numChannels != channels)
        return false;

    // Hosts may leave the type user-defined; a named type must match the channel count.
    return a.type < 0 || a.type == (channels == 1 ? kSpeakerArrMono : kSpeakerArrStereo);
}

using namespace formats;
} // namespace

//==============================================================================
VstProcessorWrapper::VstProcessorWrapper (audioMasterCallback host, std::unique_ptr<juce::AudioProcessor> p,
                                          const VstIdentity& id)
    : AudioEffectX (host, juce::jmax (1, p->getNumPrograms()), parameterCount (*p)),
      processor (std::move (p)),
      identity (id)
{
    processor->enableAllBuses();

    juce::AudioProcessor::BusesLayout stereo;
    stereo.inputBuses.add (juce::AudioChannelSet::stereo());
    stereo.outputBuses.add (juce::AudioChannelSet::stereo());
    if (! processor->setBusesLayout (stereo))
        activeChannels = juce::jlimit (1, 2, processor->getTotalNumOutputChannels());

    processor->setRateAndBufferSizeDetails (sampleRate, blockSize);
    processor->addListener (this);
    processor->setPlayHead (&playHead);

    setFlag (effFlagsHasEditor, processor->hasEditor());
    cEffect.version = identity.version;
    setUniqueID (identity.uniqueId);
    // The record announces the buffers the host hands over: exactly the processed channels.
    setNumInputs (activeChannels);
    setNumOutputs (activeChannels);
    canProcessReplacing (true);
    canMono (true);
    isSynth (false);
    // Left clear on purpose: at the filtering rates the tail equals the latency, so the output
    // does not stop with the input.
    noTail (false);
    setInitialDelay (processor->getLatencySamples());
    programsAreChunks (true);

    // Written once, here: the host may read them on any thread at any time, so no later call
    // rewrites what another caller may be reading.
    for (const int channels : { 1, 2 })
        for (auto& record : arrangements[(size_t) channels - 1])
            fillArrangement (record, channels);
}

VstProcessorWrapper::~VstProcessorWrapper()
{
    // Only an editor is message-thread work; the processor goes on the host's thread.
    deleteEditor();
    processor->removeListener (this);
    processor.reset();
}

//==============================================================================
intptr_t VstProcessorWrapper::dispatcher (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    switch (opcode)
    {
        case effEditGetRect:    return ptr != nullptr ? getEditorRect (static_cast<ERect**> (ptr)) : 0;
        case effEditOpen:       return openEditor (ptr);
        case effEditClose:      deleteEditor(); deliverHostChanges(); return 0;
        case effEditIdle:       idleEditor(); return 0;
        default:                return AudioEffectX::dispatcher (opcode, index, value, ptr, opt);
    }
}

void VstProcessorWrapper::close()
{
    // What is still queued dies with the instance: the host is closing it.
    deleteEditor();
}

//==============================================================================
void VstProcessorWrapper::resume()
{
    const double rate = std::isfinite (sampleRate) && sampleRate > 0.0f ? (double) sampleRate : 44100.0;
    const int block = blockSize > 0 ? juce::jmin (blockSize, largestBlockSize) : defaultBlockSize;
    const bool offline = getCurrentProcessLevel() == kVstProcessLevelOffline;
    const juce::ScopedValueSetter<bool> deferred (deferHostChanges, true);

    {
        const juce::ScopedLock lock (processor->getCallbackLock());

        if (prepared)
            processor->releaseResources();

        processor->setNonRealtime (offline);
        processor->setRateAndBufferSizeDetails (rate, block);
        processor->prepareToPlay (rate, block);
        scratch.setSize (2, block, false, true, false);
        midi.ensureSize (256);
        maxBlock = block;
        prepared = true;

        // Hosts read the delay as soon as resume returns, whoever is delivering meanwhile.
        takeLatency();
    }

    // The latency follows the rate: tell the host here, while it expects changes.
    hostCalls.raise (HostCallQueue::Kind::latency);
    deliverHostChanges();
}

void VstProcessorWrapper::suspend()
{
    const juce::ScopedLock lock (processor->getCallbackLock());

    if (prepared)
    {
        processor->releaseResources();
        prepared = false;
    }
}

void VstProcessorWrapper::processReplacing (float** inputs, float** outputs, int32_t sampleFrames)
{
    if (outputs == nullptr || sampleFrames <= 0)
        return;

    const juce::ScopedValueSetter<bool> deferred (deferHostChanges, true);
    const juce::ScopedValueSetter<const VstProcessorWrapper*> processing (processingHere, this);

    for (int start = 0; start < sampleFrames;)
    {
        const juce::ScopedLock lock (processor->getCallbackLock());
        // The record's counts change with the arrangement under this lock: every buffer it
        // announces is written, and no other (a host that asked for mono hands over one).
        const int channels = activeChannels;

        if (! prepared)
        {
            // Not resumed: no processing, only silence.
            for (int c = 0; c < channels; ++c)
                if (outputs[c] != nullptr)
                    juce::FloatVectorOperations::clear (outputs[c] + start, sampleFrames - start);
            return;
        }

        // Larger blocks than announced are split, never refused.
        const int n = juce::jmin (maxBlock, sampleFrames - start);

        for (int c = 0; c < channels; ++c)
        {
            const float* in = inputs != nullptr ? inputs[c] : nullptr;
            if (in != nullptr)
                juce::FloatVectorOperations::copy (scratch.getWritePointer (c), in + start, n);
            else
                juce::FloatVectorOperations::clear (scratch.getWritePointer (c), n);
        }

        juce::AudioBuffer<float> block (scratch.getArrayOfWritePointers(), channels, n);
        midi.clear();

        if (bypassed.load())
            processor->processBlockBypassed (block, midi);
        else
            processor->processBlock (block, midi);

        for (int c = 0; c < channels; ++c)
            if (outputs[c] != nullptr)
                juce::FloatVectorOperations::copy (outputs[c] + start, scratch.getReadPointer (c), n);

        start += n;
    }
}

//==============================================================================
void VstProcessorWrapper::setParameter (int32_t index, float value)
{
    // Host automation: straight to the parameter model, which records no undo step for it.
    if (! isValidParameter (index) || ! std::isfinite (value))
        return;

    setParameterValue (*processor, index, juce::jlimit (0.0f, 1.0f, value));
}

float VstProcessorWrapper::getParameter (int32_t index)
{
    return isValidParameter (index) ? parameterValue (*processor, index) : 0.0f;
}

void VstProcessorWrapper::getParameterLabel (int32_t index, char* label)
{
    copyText (isValidParameter (index) ? parameterLabel (*processor, index) : juce::String(), label, parameterTextBytes);
}

void VstProcessorWrapper::getParameterDisplay (int32_t index, char* text)
{
    copyText (isValidParameter (index) ? parameterText (*processor, index) : juce::String(), text, parameterTextBytes);
}

void VstProcessorWrapper::getParameterName (int32_t index, char* text)
{
    copyText (isValidParameter (index) ? parameterName (*processor, index, 32) : juce::String(), text, parameterNameBytes);
}

bool VstProcessorWrapper::canParameterBeAutomated (int32_t index)
{
    return isValidParameter (index) && parameterAutomatable (*processor, index);
}

bool VstProcessorWrapper::string2parameter (int32_t index, char* text)
{
    if (! isValidParameter (index))
        return false;

    // Only parameter objects can read a value from text; index-based ones cannot.
    auto* param = processor->getParameters()[index];
    if (param == nullptr)
        return false;

    const auto typed = hostText (text, hostTextBytes);
    if (! typed.has_value())
        return false;

    const auto value = param->getValueForText (*typed);
    if (! std::isfinite (value))
        return false;

    setParameterValue (*processor, index, juce::jlimit (0.0f, 1.0f, value));
    return true;
}

//==============================================================================
int32_t VstProcessorWrapper::getProgram()
{
    return processor->getNumPrograms() > 0 ? processor->getCurrentProgram() : 0;
}

void VstProcessorWrapper::setProgram (int32_t program)
{
    if (program >= 0 && program < processor->getNumPrograms())
        processor->setCurrentProgram (program);
}

void VstProcessorWrapper::setProgramName (char* name)
{
    if (processor->getNumPrograms() > 0)
        if (const auto text = hostText (name, maxProgramNameChars))
            processor->changeProgramName (processor->getCurrentProgram(), *text);
}

void VstProcessorWrapper::getProgramName (char* name)
{
    copyText (processor->getNumPrograms() > 0 ? processor->getProgramName (processor->getCurrentProgram()) : juce::String(),
              name, programNameBytes);
}

bool VstProcessorWrapper::getProgramNameIndexed (int32_t, int32_t index, char* text)
{
    if (index < 0 || index >= processor->getNumPrograms())
        return false;

    copyText (processor->getProgramName (index), text, programNameBytes);
    return true;
}

//==============================================================================
int32_t VstProcessorWrapper::getChunk (void** data, bool isPreset)
{
    // Built outside the chunk lock: the processor takes its own locks.
    juce::MemoryBlock state;
    if (isPreset)
        processor->getCurrentProgramStateInformation (state);
    else
        processor->getStateInformation (state);

    if (state.getSize() > (size_t) std::numeric_limits<int32_t>::max())
        state.reset();

    // The caller's previous chunk ends up in `state` and is freed after the lock is released.
    const std::lock_guard<std::mutex> lock (chunkLock);
    auto& chunk = chunks[std::this_thread::get_id()];
    chunk.swapWith (state);
    *data = chunk.getSize() > 0 ? chunk.getData() : nullptr;
    return (int32_t) chunk.getSize();
}

int32_t VstProcessorWrapper::setChunk (void* data, int32_t byteSize, bool isPreset)
{
    // The layer has refused empty and negative sizes; the processor resets on anything it cannot read.
    if (isPreset)
        processor->setCurrentProgramStateInformation (data, byteSize);
    else
        processor->setStateInformation (data, byteSize);

    return 1;
}

//==============================================================================
bool VstProcessorWrapper::setBypass (bool onOff)
{
    bypassed = onOff;
    return true;
}

bool VstProcessorWrapper::setSpeakerArrangement (VstSpeakerArrangement* input, VstSpeakerArrangement* output)
{
    const int channels = output->numChannels;

    if ((channels != 1 && channels != 2) || ! isPlainArrangement (*input, channels) || ! isPlainArrangement (*output, channels))
        return false;

    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (channelSetFor (channels));
    layout.outputBuses.add (channelSetFor (channels));

    {
        const juce::ScopedLock lock (processor->getCallbackLock());

        if (! processor->setBusesLayout (layout))
            return false;

        if (activeChannels == channels)
            return true;

        activeChannels = channels;
        setNumInputs (channels);
        setNumOutputs (channels);
    }

    // The host reads the record's buffer counts again.
    ioChanged();
    return true;
}

void VstProcessorWrapper::fillArrangement (std::vector<char>& storage, int channels)
{
    storage.assign (vstSpeakerArrangementSize (channels), 0);
    auto* a = reinterpret_cast<VstSpeakerArrangement*> (storage.data());
    a->type = channels == 1 ? kSpeakerArrMono : kSpeakerArrStereo;
    a->numChannels = channels;

    for (int i = 0; i < channels; ++i)
    {
        auto* speaker = vstSpeakerAt (a, i);
        speaker->type = channels == 1 ? kSpeakerM : (i == 0 ? kSpeakerL : kSpeakerR);
        std::strncpy (speaker->name, channels == 1 ? "M" : (i == 0 ? "L" : "R"), sizeof (speaker->name) - 1);
    }
}

bool VstProcessorWrapper::getSpeakerArrangement (VstSpeakerArrangement** input, VstSpeakerArrangement** output)
{
    int channels;
    {
        const juce::ScopedLock lock (processor->getCallbackLock());
        channels = activeChannels;
    }

    auto& records = arrangements[(size_t) channels - 1];
    *input = reinterpret_cast<VstSpeakerArrangement*> (records[0].data());
    *output = reinterpret_cast<VstSpeakerArrangement*> (records[1].data());
    return true;
}

int32_t VstProcessorWrapper::getGetTailSize()
{
    double seconds, rate;
    {
        // Resume changes the rate and the tail under this lock, possibly on another host thread.
        const juce::ScopedLock lock (processor->getCallbackLock());
        seconds = processor->getTailLengthSeconds();
        rate = processor->getSampleRate();
    }

    if (std::isinf (seconds) && seconds > 0)
        return std::numeric_limits<int32_t>::max();
    if (! std::isfinite (seconds) || seconds <= 0.0)
        return 0;

    const double samples = std::round (seconds * rate);
    return samples >= (double) std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max() : (int32_t) samples;
}

//==============================================================================
bool VstProcessorWrapper::getEffectName (char* name)
{
    copyText (identity.effectName, name, identityTextBytes);
    return true;
}

bool VstProcessorWrapper::getVendorString (char* text)
{
    copyText (identity.vendor, text, identityTextBytes);
    return true;
}

bool VstProcessorWrapper::getProductString (char* text)
{
    copyText (identity.effectName, text, identityTextBytes);
    return true;
}

int32_t VstProcessorWrapper::getVendorVersion()  { return identity.version; }
int32_t VstProcessorWrapper::getPlugCategory()   { return identity.category; }

//==============================================================================
bool VstProcessorWrapper::getInputProperties (int32_t index, VstPinProperties* properties)
{
    return fillPinProperties (true, index, *properties);
}

bool VstProcessorWrapper::getOutputProperties (int32_t index, VstPinProperties* properties)
{
    return fillPinProperties (false, index, *properties);
}

bool VstProcessorWrapper::fillPinProperties (bool input, int32_t index, VstPinProperties& pin)
{
    int channels;
    juce::String name;
    bool pair;
    {
        // The layout, and JUCE's default names taken from it, change under this lock.
        const juce::ScopedLock lock (processor->getCallbackLock());
        channels = activeChannels;

        if (index < 0 || index >= channels)
            return false;

        JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
        name = input ? processor->getInputChannelName (index) : processor->getOutputChannelName (index);
        pair = input ? processor->isInputChannelStereoPair (index) : processor->isOutputChannelStereoPair (index);
        JUCE_END_IGNORE_WARNINGS_GCC_LIKE
    }

    std::memset (&pin, 0, sizeof (pin));
    copyText (name, pin.label, sizeof (pin.label));
    copyText (name, pin.shortLabel, sizeof (pin.shortLabel));
    pin.flags = kVstPinIsActive | kVstPinUseSpeaker;
    pin.arrangementType = channels == 2 ? kSpeakerArrStereo : kSpeakerArrMono;

    // The flag marks the first channel of a pair, so only where a partner follows it.
    if (pair && index % 2 == 0 && index + 1 < channels)
        pin.flags |= kVstPinIsStereo;

    return true;
}

//==============================================================================
juce::Optional<juce::AudioPlayHead::PositionInfo> VstProcessorWrapper::HostPlayHead::getPosition() const
{
    // Hosts answer for the block being processed, on their audio thread; elsewhere there is none.
    if (processingHere != &wrapper)
        return {};

    const auto* info = wrapper.getTimeInfo (kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid | kVstTimeSigValid);
    if (info == nullptr)
        return {};

    const auto valid = [flags = info->flags] (int32_t bit) { return (flags & bit) != 0; };
    PositionInfo position;

    if (std::isfinite (info->samplePos) && std::abs (info->samplePos) < 0x1p62)
    {
        position.setTimeInSamples ((int64_t) std::llround (info->samplePos));
        if (std::isfinite (info->sampleRate) && info->sampleRate > 0.0)
            position.setTimeInSeconds (info->samplePos / info->sampleRate);
    }

    if (valid (kVstTempoValid))
        position.setBpm (info->tempo);
    if (valid (kVstTimeSigValid))
        position.setTimeSignature (TimeSignature { info->timeSigNumerator, info->timeSigDenominator });
    if (valid (kVstPpqPosValid))
        position.setPpqPosition (info->ppqPos);
    if (valid (kVstBarsValid))
        position.setPpqPositionOfLastBarStart (info->barStartPos);
    if (valid (kVstCyclePosValid))
        position.setLoopPoints (LoopPoints { info->cycleStartPos, info->cycleEndPos });

    // A recording transport is a playing one.
    position.setIsPlaying (valid (kVstTransportPlaying) || valid (kVstTransportRecording));
    position.setIsRecording (valid (kVstTransportRecording));
    position.setIsLooping (valid (kVstTransportCycleActive));
    return position;
}

//==============================================================================
int32_t VstProcessorWrapper::canDo (char* text)
{
    const auto what = hostText (text, hostTextBytes).value_or (juce::String());

    if (what == "bypass" || what == "1in1out" || what == "2in2out" || what == "receiveVstTimeInfo")
        return 1;

    if (what.startsWith ("receiveVst") || what.startsWith ("sendVst") || what == "openCloseAnyThread")
        return -1;

    return 0;
}

//==============================================================================
void VstProcessorWrapper::audioProcessorParameterChanged (juce::AudioProcessor*, int index, float newValue)
{
    tellHost ({ HostCallQueue::Kind::value, index, newValue });
}

void VstProcessorWrapper::audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index)
{
    tellHost ({ HostCallQueue::Kind::beginGesture, index });
}

void VstProcessorWrapper::audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index)
{
    tellHost ({ HostCallQueue::Kind::endGesture, index });
}

void VstProcessorWrapper::tellHost (const HostCallQueue::Call& call)
{
    // The audio thread queues nothing: the queue may allocate.
    if (processingHere != nullptr)
        return;

    hostCalls.post (call);
    if (! deferHostChanges && ! ModuleMessageLoop::isHeldByThisThread())
        deliverHostChanges();
}

void VstProcessorWrapper::audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails& details)
{
    if (details.latencyChanged)
        hostCalls.raise (HostCallQueue::Kind::latency);
    if (details.parameterInfoChanged || details.programChanged)
        hostCalls.raise (HostCallQueue::Kind::display);

    // From the audio thread, a resume or the editor's work (which holds the role, and may run on
    // the module's own thread), the changes wait for the next host call that delivers.
    if (! deferHostChanges && ! ModuleMessageLoop::isHeldByThisThread())
        deliverHostChanges();
}

void VstProcessorWrapper::takeLatency()
{
    const int latency = processor->getLatencySamples();

    if (latency != cEffect.initialDelay)
    {
        setInitialDelay (latency);
        delayUnsaid = true;
    }
}

void VstProcessorWrapper::editorResized (int width, int height)
{
    pendingWidth = width;
    pendingHeight = height;
    hostCalls.raise (HostCallQueue::Kind::size);
}

void VstProcessorWrapper::deliverHostChanges()
{
    hostCalls.deliver ([this] (const HostCallQueue::Call& call) { sayToHost (call); });
}

void VstProcessorWrapper::sayToHost (const HostCallQueue::Call& call)
{
    // Each branch ends with its host call: the instance may be gone when it returns.
    switch (call.kind)
    {
        case HostCallQueue::Kind::beginGesture: beginEdit (call.index); return;
        case HostCallQueue::Kind::endGesture:   endEdit (call.index); return;
        case HostCallQueue::Kind::value:        callHost (hostAutomate, call.index, 0, nullptr, call.value); return;
        case HostCallQueue::Kind::display:      updateDisplay(); return;

        case HostCallQueue::Kind::latency:
        {
            {
                const juce::ScopedLock lock (processor->getCallbackLock());
                takeLatency();
            }

            if (delayUnsaid.exchange (false))
                ioChanged();
            return;
        }

        case HostCallQueue::Kind::size:
            if (hostResizes.load() < 0)
            {
                // Asked once, before the first resize, which then comes round again.
                const auto alive = hostCalls.liveness();
                char what[] = "sizeWindow";
                const bool yes = canHostDo (what) != 0;
                if (! alive->load())
                    return;
                hostResizes = yes ? 1 : 0;
                hostCalls.raise (HostCallQueue::Kind::size);
                return;
            }

            if (hostResizes.load() == 1)
                sizeWindow (pendingWidth.load(), pendingHeight.load());
            return;
    }
}

//==============================================================================
bool VstProcessorWrapper::makeEditor()
{
    if (editorHolder == nullptr && formats::ModuleMessageLoop::connectToDisplay())
        editorHolder = VstEditorHolder::create (*this);

    return editorHolder != nullptr;
}

intptr_t VstProcessorWrapper::getEditorRect (ERect** rect)
{
    {
        const formats::ModuleMessageLoop::Role role;
        if (! makeEditor())
            return 0;

        editorRect = editorHolder->getHostRect();
        *rect = &editorRect;
    }

    deliverHostChanges();
    return 1;
}

intptr_t VstProcessorWrapper::openEditor (void* parentWindow)
{
    {
        const formats::ModuleMessageLoop::Role role;
        if (! makeEditor())
            return 0;

        editorHolder->attachTo (parentWindow);
    }

    deliverHostChanges();
    return 1;
}

void VstProcessorWrapper::deleteEditor()
{
    // The editor opcodes of one instance come one at a time: only they set the holder.
    if (editorHolder == nullptr)
        return;

    const formats::ModuleMessageLoop::Role role;
    editorHolder.reset();
}

void VstProcessorWrapper::idleEditor()
{
    {
        // Never waits for a host thread: when one does message-thread work, there is nothing to do now.
        formats::ModuleMessageLoop::Role role (formats::ModuleMessageLoop::Role::Mode::idle);

        // Any open editor's idle call serves every editor's window events.
        if (role.isHeld() && editorHolder != nullptr)
            role.dispatchPending();
    }

    deliverHostChanges();
}

//==============================================================================
AEffect* createVstEffect (audioMasterCallback host, juce::AudioProcessor* (*createProcessor)(), const VstIdentity& identity)
{
    if (host == nullptr || createProcessor == nullptr)
        return nullptr;

    try
    {
        // Asked before anything is held: the host may do what it likes in its answer.
        if (host (nullptr, hostGetVersion, 0, 0, nullptr, 0.0f) == 0)
            return nullptr;

        // JUCE is up before the processor is made. Making it is no message-thread work.
        const formats::ModuleMessageLoop::Shared runtime;
        auto processor = formats::createProcessorAs (juce::AudioProcessor::wrapperType_VST, createProcessor);

        if (processor == nullptr)
            return nullptr;

        auto* wrapper = new VstProcessorWrapper (host, std::move (processor), identity);
        return wrapper->getAeffect();
    }
    catch (...)
    {
    }

    return nullptr;
}
} // namespace kelmora::vst
