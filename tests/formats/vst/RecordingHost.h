#pragma once

#include "platform/vst/VstInterface.h"

#include <map>
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
};

/** A host callback that records every request and answers from a table (0 by default). Only
    one recorder is live at a time; the callback finds it through a static pointer. */
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

        host->calls.push_back ({ effect, opcode, index, value, ptr, opt });
        auto it = host->answers.find (opcode);
        return it != host->answers.end() ? it->second : 0;
    }

    void answer (int32_t opcode, intptr_t value) { answers[opcode] = value; }
    const HostCall& last() const { return calls.back(); }

    std::vector<HostCall> calls;
    std::map<int32_t, intptr_t> answers;

private:
    static RecordingHost*& current()
    {
        static RecordingHost* host = nullptr;
        return host;
    }
};
} // namespace kelmora::vst::test
