#pragma once

#include "platform/vst/VstInterface.h"
#include "tools/vsthost/VstPluginModule.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kelmora::tools
{
/** One request a plug-in made of this host, with the thread it came from. */
struct HostRequest
{
    int32_t opcode;
    int32_t index;
    intptr_t value;
    float opt;
    std::thread::id thread;
};

/** One plug-in instance created through a module's entry point, seen from the host side: the
    host callback (answers and a log of every request), typed wrappers around the dispatcher,
    and block processing. The instance is closed (effClose) when the object goes.

    Dispatcher calls may come from any thread, as a real host makes them; the log is guarded by
    its own mutex. process() is meant for one audio thread at a time. */
class HostedEffect
{
public:
    /** Runs in the host callback before each answer, on the requesting thread (a host that does
        its own work there, such as calling the plug-in again). */
    using RequestHook = std::function<void (HostedEffect& host, int32_t opcode)>;

    /** Creates an instance; null with an error text when the entry point gives no valid record.
        The hook, if any, sees every request from the entry point's first one on. */
    static std::unique_ptr<HostedEffect> create (const VstPluginModule& module, std::string& error,
                                                 RequestHook onRequest = {});
    /** The same through an entry point linked into the host. */
    static std::unique_ptr<HostedEffect> create (VstPluginMainProc entryPoint, std::string& error,
                                                 RequestHook onRequest = {});

    ~HostedEffect();

    HostedEffect (const HostedEffect&) = delete;
    HostedEffect& operator= (const HostedEffect&) = delete;

    AEffect& record() noexcept { return *effect; }
    /** A dispatcher call; 0 once the instance is closed. */
    intptr_t dispatch (int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f);
    /** Closes the instance now (effClose), as a host may from inside one of its callbacks; this
        object stays, with its log. */
    void close();

    // Identity
    std::string effectName();
    std::string vendorString();
    std::string productString();
    int32_t vendorVersion();
    int32_t uniqueId() const noexcept { return effect->uniqueID; }
    int32_t version() const noexcept { return effect->version; }
    int32_t numParameters() const noexcept { return effect->numParams; }
    int32_t numPrograms() const noexcept { return effect->numPrograms; }
    int32_t numInputs() const noexcept { return effect->numInputs; }
    int32_t numOutputs() const noexcept { return effect->numOutputs; }
    /** Latency in samples as the record states it now. */
    int32_t latency() const noexcept { return effect->initialDelay; }
    int32_t tailSize();
    int32_t category();
    intptr_t canDo (const std::string& what);

    // Life cycle: open once after creation, then rate, block size and resume before processing.
    void open();
    void setSampleRate (double rate);
    void setBlockSize (int32_t size);
    void resume();
    void suspend();
    /** setSampleRate, setBlockSize and resume in the order hosts use. */
    void start (double rate, int32_t maxBlockSize);
    double sampleRate() const noexcept { return rate; }
    int32_t blockSize() const noexcept { return maxBlock; }

    // Parameters
    float getParameter (int32_t index);
    void setParameter (int32_t index, float normalisedValue);
    std::string parameterName (int32_t index);
    std::string parameterDisplay (int32_t index);
    std::string parameterLabel (int32_t index);
    bool canBeAutomated (int32_t index);
    bool setParameterFromText (int32_t index, const std::string& text);

    // Programs
    int32_t program();
    void setProgram (int32_t index);
    std::string programName();
    std::string programNameIndexed (int32_t index);
    void setProgramName (const std::string& name);

    // State
    std::vector<uint8_t> getChunk (bool preset = false);
    intptr_t setChunk (const std::vector<uint8_t>& data, bool preset = false);

    // Channels and processing
    bool setBypass (bool on);
    /** Asks for mono (1) or stereo (2) in and out; false when the plug-in refuses. */
    bool setChannels (int32_t channels);
    /** Both arrangements the plug-in reports: (input channels, output channels), or (-1, -1). */
    std::pair<int32_t, int32_t> reportedChannels();
    /** Processes one block at the transport's position, then moves the transport on by it. */
    void process (float* const* inputs, float* const* outputs, int32_t frames);

    // What the plug-in asked of the host
    std::vector<HostRequest> requests() const;
    void clearRequests();
    /** The number of requests made from the given thread so far. */
    size_t requestsFrom (std::thread::id thread) const;
    void setProcessLevel (int32_t level) noexcept { processLevel = level; }

    /** The callback this host hands to the entry point. */
    static intptr_t hostCallback (AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

private:
    HostedEffect() = default;

    intptr_t answer (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
    std::string textFrom (int32_t opcode, int32_t index = 0);

    AEffect* effect = nullptr;
    RequestHook onRequest;
    double rate = 44100.0;
    int32_t maxBlock = 1024;
    std::atomic<int32_t> processLevel { kVstProcessLevelRealtime };

    // The transport answered to hostGetTimeInfo: playing from sample 0 at 120 quarter notes per
    // minute in 3/4, without a cycle. Written by process() before each block and read by the
    // plug-in during it, on that thread.
    static constexpr double transportTempo = 120.0;
    static constexpr int32_t transportBeatsPerBar = 3, transportBeatUnit = 4;
    int64_t position = 0;
    VstTimeInfo transport {};

    mutable std::mutex logLock;
    std::vector<HostRequest> log;
};
} // namespace kelmora::tools
