#pragma once

#include "formats/vst/RecordingHost.h"
#include "formats/vst/TestGainProcessor.h"
#include "formats/vst/VstProcessorWrapper.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

namespace kelmora::vst::test
{
inline const VstIdentity testIdentity { "Orvel Quietline", "Kelmora Labs", vstFourCC ('O', 'q', '1', 'b'), 100, kPlugCategEffect };

inline juce::AudioProcessor* makeTestProcessor() { return new TestGainProcessor(); }

/** A VST entry point for the wrapped test processor, as a module would export it. */
inline AEffect* testEntryPoint (audioMasterCallback host) { return createVstEffect (host, &makeTestProcessor, testIdentity); }

/** The test processor behind a record made by the entry point. */
inline TestGainProcessor* testProcessorOf (AEffect* effect)
{
    return dynamic_cast<TestGainProcessor*> (&static_cast<VstProcessorWrapper*> (effect->object)->getProcessor());
}

/** One wrapped test processor driven like a host drives it. */
class WrapperTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host.answer (hostGetVersion, 2400);
        effect = createVstEffect (&RecordingHost::callback, &makeTestProcessor, testIdentity);
        ASSERT_NE (effect, nullptr);
        processor = testProcessorOf (effect);
        ASSERT_NE (processor, nullptr);
    }

    void TearDown() override
    {
        if (effect != nullptr)
            dispatch (effClose);
    }

    intptr_t dispatch (int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f)
    {
        return effect->dispatcher (effect, opcode, index, value, ptr, opt);
    }

    void start (float rate, intptr_t block)
    {
        dispatch (effSetSampleRate, 0, 0, nullptr, rate);
        dispatch (effSetBlockSize, 0, block);
        dispatch (effMainsChanged, 0, 1);
    }

    quietline::test::TempHome home;
    RecordingHost host;
    AEffect* effect = nullptr;
    TestGainProcessor* processor = nullptr;
};
} // namespace kelmora::vst::test
