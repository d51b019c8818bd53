#pragma once

#include "platform/vst/VstInterface.h"

#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace kelmora::vst::test
{
/** One request the plug-in made of the host. */
struct HostCall
{
    AEffect* effect;
    int32_t opcode;
    int32_t index;
    intptr_t value;
    void* ptr;
    float opt;
    std::thread::id thread;
};

/** A host callback that records every request and answers from a table (0 by default). Only
    one recorder is live at a time; the callback finds it through a static pointer. Requests may
    arrive from any thread: read them through snapshot() while the plug-in may still call. */
class RecordingHost
{
public:
    RecordingHost() { current() = this; }
    ~RecordingHost() { current() = nullptr; }

    static intptr_t callback (AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
    {
        auto* host = current();
        if (host == nullptr)
            return 0;

        const std::lock_guard<std::mutex> lock (host->mutex);
        host->calls.push_back ({ effect, opcode, index, value, ptr, opt, std::this_thread::get_id() });
        auto it = host->answers.find (opcode);
        return it != host->answers.end() ? it->second : 0;
    }

    void answer (int32_t opcode, intptr_t value)
    {
        const std::lock_guard<std::mutex> lock (mutex);
        answers[opcode] = value;
    }

    const HostCall& last() const { return calls.back(); }

    std::vector<HostCall> snapshot() const
    {
        const std::lock_guard<std::mutex> lock (mutex);
        return calls;
    }

    void clear()
    {
        const std::lock_guard<std::mutex> lock (mutex);
        calls.clear();
    }

    /** The requests with the given opcode, in order. */
    std::vector<HostCall> withOpcode (int32_t opcode) const
    {
        std::vector<HostCall> found;
        for (const auto& c : snapshot())
            if (c.opcode == opcode)
                found.push_back (c);
        return found;
    }

    std::vector<HostCall> calls;
    std::map<int32_t, intptr_t> answers;

private:
    mutable std::mutex mutex;

    static RecordingHost*& current()
    {
        static RecordingHost* host = nullptr;
        return host;
    }
};
} // namespace kelmora::vst::test
