#pragma once

#include "platform/vst/VstInterface.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

namespace kelmora::vst::test
{
/** One request the plug-in made of the host. */
struct HostCall { AEffect* effect; int32_t opcode; int32_t index; intptr_t value; void* ptr; float opt; };

/** A host callback that records every request and answers from a table (0 by default). Only
    one recorder is live at a time; requests may arrive from any thread. */
class RecordingHost
{
public:
    RecordingHost() { current = this; }
    ~RecordingHost() { current = nullptr; }

    static intptr_t callback (AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
    {
        auto* host = current;
        if (host == nullptr)
            return 0;
        const std::lock_guard<std::mutex> lock (host->mutex);
        host->calls.push_back ({ effect, opcode, index, value, ptr, opt });
        return host->answers[opcode];
    }

    void answer (int32_t opcode, intptr_t value) { const std::lock_guard<std::mutex> lock (mutex); answers[opcode] = value; }
    std::vector<HostCall> snapshot() const { const std::lock_guard<std::mutex> lock (mutex); return calls; }
    void clear() { const std::lock_guard<std::mutex> lock (mutex); calls.clear(); }

    size_t count (int32_t opcode) const
    {
        const auto all = snapshot();
        return (size_t) std::count_if (all.begin(), all.end(), [opcode] (auto& c) { return c.opcode == opcode; });
    }

private:
    mutable std::mutex mutex;
    std::vector<HostCall> calls;
    std::map<int32_t, intptr_t> answers;
    static inline RecordingHost* current = nullptr;
};
} // namespace kelmora::vst::test
