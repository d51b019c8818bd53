#include "formats/vst/AllocationCounter.h"
#include "formats/vst/RecordingHost.h"
#include "formats/vst/TestGainProcessor.h"
#include "formats/vst/VstProcessorWrapper.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

namespace kelmora::vst::test
{
namespace
{
const VstIdentity testIdentity { "Orvel Quietline", "Kelmora Labs", vstFourCC ('O', 'q', '1', 'b'), 100, kPlugCategEffect };

juce::AudioProcessor* makeTestProcessor() { return new TestGainProcessor(); }

/** One wrapped test processor driven like a host drives it. */
class WrapperTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host.answer (hostGetVersion, 2400);
        effect = createVstEffect (&RecordingHost::callback, &makeTestProcessor, testIdentity);
        ASSERT_NE (effect, nullptr);
        wrapper = static_cast<VstProcessorWrapper*> (effect->object);
        processor = dynamic_cast<TestGainProcessor*> (&wrapper->getProcessor());
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

    std::string text (int32_t opcode, int32_t index = 0)
    {
        char buffer[256] = {};
        dispatch (opcode, index, 0, buffer);
        return buffer;
    }

    void start (float rate, intptr_t block)
    {
        dispatch (effSetSampleRate, 0, 0, nullptr, rate);
        dispatch (effSetBlockSize, 0, block);
        dispatch (effMainsChanged, 0, 1);
    }

    /** Processes one block of `frames` stereo frames; returns both output channels. */
    std::vector<std::vector<float>> process (const std::vector<float>& left, const std::vector<float>& right)
    {
        std::vector<std::vector<float>> out (2, std::vector<float> (left.size(), -7.0f));
        float* in[] = { const_cast<float*> (left.data()), const_cast<float*> (right.data()) };
        float* o[] = { out[0].data(), out[1].data() };
        effect->processReplacing (effect, in, o, (int32_t) left.size());
        return out;
    }

    quietline::test::TempHome home;
    RecordingHost host;
    AEffect* effect = nullptr;
    VstProcessorWrapper* wrapper = nullptr;
    TestGainProcessor* processor = nullptr;
};

std::vector<float> impulse (size_t length, size_t at = 0)
{
    std::vector<float> x (length, 0.0f);
    x[at] = 1.0f;
    return x;
}
} // namespace

//==============================================================================
TEST_F (WrapperTest, EntryMakesAVstProcessorAndCloseDestroysIt)
{
    // The processor was made for this format, so the about box can name it.
    EXPECT_EQ (processor->wrapperType, juce::AudioProcessor::wrapperType_VST);
    EXPECT_EQ (juce::PluginHostType::getPluginLoadedAs(), juce::AudioProcessor::wrapperType_VST);
    EXPECT_EQ (effect->flags, effFlagsHasEditor | effFlagsCanMono | effFlagsCanReplacing | effFlagsProgramChunks);

    host.answer (hostGetVersion, 0);
    EXPECT_EQ (createVstEffect (&RecordingHost::callback, &makeTestProcessor, testIdentity), nullptr);
    EXPECT_EQ (createVstEffect (nullptr, &makeTestProcessor, testIdentity), nullptr);

    bool destroyed = false;
    processor->destroyed = &destroyed;
    EXPECT_EQ (dispatch (effClose), 1);
    effect = nullptr;
    EXPECT_TRUE (destroyed);
}

//==============================================================================
TEST_F (WrapperTest, HostValuesOutsideTheModelAreRefusedOrClamped)
{
    effect->setParameter (effect, 0, 0.25f);
    effect->setParameter (effect, -1, 0.5f);
    effect->setParameter (effect, 4, 0.5f);
    effect->setParameter (effect, 0, std::nanf (""));
    effect->setParameter (effect, 0, std::numeric_limits<float>::infinity());
    EXPECT_EQ (processor->gain(), 0.25f);
    effect->setParameter (effect, 0, 7.0f);
    EXPECT_EQ (processor->gain(), 1.0f);
    EXPECT_EQ (effect->getParameter (effect, 99), 0.0f);
    EXPECT_EQ (text (effGetParamName, 99), "");
    EXPECT_EQ (dispatch (effCanBeAutomated, 3), 0);
    EXPECT_EQ (dispatch (effCanBeAutomated, -1), 0);
}

TEST_F (WrapperTest, EditorChangesReachTheHostAsAGesture)
{
    host.clear();
    processor->editFromUi (1, 0.5f);

    const auto calls = host.snapshot();
    ASSERT_EQ (calls.size(), 3u);
    EXPECT_EQ (calls[0].opcode, hostBeginEdit);
    EXPECT_EQ (calls[0].index, 1);
    EXPECT_EQ (calls[1].opcode, hostAutomate);
    EXPECT_EQ (calls[1].index, 1);
    EXPECT_EQ (calls[1].opt, 0.5f);
    EXPECT_EQ (calls[2].opcode, hostEndEdit);
    EXPECT_EQ (calls[2].index, 1);
    for (const auto& c : calls)
        EXPECT_EQ (c.effect, effect);
}

//==============================================================================
TEST_F (WrapperTest, ChunksRoundTripAndStayValidUntilTheNextChunkCall)
{
    effect->setParameter (effect, 0, 0.3f);
    effect->setParameter (effect, 2, 0.7f);

    void* data = nullptr;
    const auto size = dispatch (effGetChunk, 0, 0, &data);
    ASSERT_GT (size, 8);
    ASSERT_NE (data, nullptr);
    const std::vector<uint8_t> saved (static_cast<uint8_t*> (data), static_cast<uint8_t*> (data) + size);

    // Changing the plug-in does not disturb what the host holds.
    effect->setParameter (effect, 0, 0.9f);
    EXPECT_EQ (std::memcmp (data, saved.data(), saved.size()), 0);

    // A restore from the very block handed out works too.
    EXPECT_EQ (dispatch (effSetChunk, 0, size, data), 1);
    EXPECT_FLOAT_EQ (processor->gain(), 0.3f);
    EXPECT_FLOAT_EQ (effect->getParameter (effect, 2), 0.7f);

    // Empty or negative sizes are refused before the processor sees them: the state stays.
    const int resetsBefore = processor->resets.load();
    EXPECT_EQ (dispatch (effSetChunk, 0, 0, data), 0);
    EXPECT_EQ (dispatch (effSetChunk, 0, -10, data), 0);
    EXPECT_EQ (dispatch (effSetChunk, 0, 10, nullptr), 0);
    EXPECT_EQ (processor->resets.load(), resetsBefore);
    EXPECT_FLOAT_EQ (processor->gain(), 0.3f);

    // A program change followed by a chunk, as hosts restore a project.
    dispatch (effSetProgram, 0, 2);
    EXPECT_EQ (dispatch (effSetChunk, 0, (intptr_t) saved.size(), const_cast<uint8_t*> (saved.data())), 1);
    EXPECT_FLOAT_EQ (processor->gain(), 0.3f);
    EXPECT_EQ (dispatch (effGetProgram), 0);
}

//==============================================================================
TEST_F (WrapperTest, ResumePreparesAndReportsTheLatencyOnce)
{
    host.clear();
    start (96000.0f, 256);
    EXPECT_EQ (processor->prepareCalls.load(), 1);
    EXPECT_EQ (processor->lastRate.load(), 96000.0);
    EXPECT_EQ (effect->initialDelay, 45);
    EXPECT_EQ (host.withOpcode (hostIoChanged).size(), 1u);
    EXPECT_EQ (dispatch (effGetTailSize), 45);

    // Resuming again at the same rate re-prepares but the latency did not change.
    dispatch (effMainsChanged, 0, 1);
    EXPECT_EQ (processor->prepareCalls.load(), 2);
    EXPECT_EQ (host.withOpcode (hostIoChanged).size(), 1u);

    dispatch (effMainsChanged, 0, 0);
    dispatch (effMainsChanged, 0, 0);
    EXPECT_GE (processor->releaseCalls.load(), 2);

    start (44100.0f, 256);
    EXPECT_EQ (effect->initialDelay, 0);
    EXPECT_EQ (host.withOpcode (hostIoChanged).size(), 2u);

    // Unusable host values fall back to sane ones.
    start (0.0f, -5);
    EXPECT_EQ (processor->lastRate.load(), 44100.0);
    EXPECT_EQ (processor->getBlockSize(), 1024);
}

TEST_F (WrapperTest, ProcessingAppliesTheProcessorWithItsLatency)
{
    start (96000.0f, 64);
    effect->setParameter (effect, 0, 0.5f);

    const auto out = process (impulse (128, 3), impulse (128, 5));
    for (size_t i = 0; i < 128; ++i)
    {
        EXPECT_EQ (out[0][i], i == 48 ? 0.5f : 0.0f) << i;
        EXPECT_EQ (out[1][i], i == 50 ? 0.5f : 0.0f) << i;
    }

    // Blocks larger than announced are split, not refused.
    EXPECT_EQ (processor->largestBlock.load(), 64);
    EXPECT_EQ (processor->blocks.load(), 2);
}

TEST_F (WrapperTest, WithoutResumeTheOutputIsSilent)
{
    const auto out = process (impulse (32), impulse (32));
    for (const auto& channel : out)
        for (float s : channel)
            EXPECT_EQ (s, 0.0f);
    EXPECT_EQ (processor->blocks.load(), 0);

    // A suspend without a resume is harmless.
    dispatch (effMainsChanged, 0, 0);
    EXPECT_EQ (processor->releaseCalls.load(), 0);
}

TEST_F (WrapperTest, TheAudioPathAllocatesNothingAndAsksNothingOfTheHost)
{
    start (192000.0f, 512);
    host.clear();
    std::vector<float> left (2048, 0.25f), right (2048, -0.25f), outL (2048), outR (2048);
    float* in[] = { left.data(), right.data() };
    float* out[] = { outL.data(), nullptr };

    startCountingAllocations();
    effect->processReplacing (effect, in, out, 2048);
    effect->processReplacing (effect, in, out, 100);
    EXPECT_EQ (stopCountingAllocations(), 0);
    EXPECT_TRUE (host.snapshot().empty());
    EXPECT_EQ (processor->blocks.load(), 5);
}

TEST_F (WrapperTest, ProcessingWaitsForTheCallbackLock)
{
    start (48000.0f, 64);
    std::vector<float> x (64, 0.5f), y (64);
    float* in[] = { x.data(), x.data() };
    float* out[] = { y.data(), y.data() };

    std::thread audio;
    {
        const juce::ScopedLock held (processor->getCallbackLock());
        audio = std::thread ([&] { effect->processReplacing (effect, in, out, 64); });
        std::this_thread::sleep_for (std::chrono::milliseconds (50));
        EXPECT_EQ (processor->blocks.load(), 0);
    }
    audio.join();
    EXPECT_EQ (processor->blocks.load(), 1);
}

//==============================================================================
TEST_F (WrapperTest, OnlyMonoOrStereoArrangementsAreAccepted)
{
    VstSpeakerArrangement mono {}, stereo {};
    mono.type = kSpeakerArrMono;
    mono.numChannels = 1;
    stereo.type = kSpeakerArrStereo;
    stereo.numChannels = 2;

    EXPECT_EQ (dispatch (effSetSpeakerArrangement, 0, (intptr_t) &mono, &stereo), 0);
    VstSpeakerArrangement odd = stereo;
    odd.numChannels = 1;
    EXPECT_EQ (dispatch (effSetSpeakerArrangement, 0, (intptr_t) &odd, &odd), 0);
    for (int32_t count : { -1, 0, 3, 8, INT32_MAX, INT32_MIN })
    {
        VstSpeakerArrangement wrong {};
        wrong.type = kSpeakerArrUserDefined;
        wrong.numChannels = count;
        EXPECT_EQ (dispatch (effSetSpeakerArrangement, 0, (intptr_t) &wrong, &wrong), 0) << count;
    }

    ASSERT_EQ (dispatch (effSetSpeakerArrangement, 0, (intptr_t) &mono, &mono), 1);
    VstSpeakerArrangement* in = nullptr;
    VstSpeakerArrangement* out = nullptr;
    ASSERT_EQ (dispatch (effGetSpeakerArrangement, 0, (intptr_t) &in, &out), 1);
    EXPECT_EQ (in->numChannels, 1);
    EXPECT_EQ (out->type, kSpeakerArrMono);
    EXPECT_EQ (vstSpeakerAt (out, 0)->type, kSpeakerM);
}

TEST_F (WrapperTest, TheModulesOwnThreadRunsMessagesWhileNoEditorIsOpen)
{
    std::atomic<bool> delivered { false };
    std::atomic<bool> onMessageThread { false };
    juce::MessageManager::callAsync ([&] {
        onMessageThread = juce::MessageManager::getInstance()->isThisTheMessageThread();
        delivered = true;
    });

    for (int i = 0; i < 200 && ! delivered; ++i)
        std::this_thread::sleep_for (std::chrono::milliseconds (10));

    EXPECT_TRUE (delivered.load());
    EXPECT_TRUE (onMessageThread.load());
    EXPECT_FALSE (juce::MessageManager::getInstance()->isThisTheMessageThread());
}

TEST_F (WrapperTest, EditorSizeIsAnsweredWithoutADisplay)
{
    ERect* rect = nullptr;
    EXPECT_EQ (dispatch (effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE (rect, nullptr);
    EXPECT_EQ (rect->right - rect->left, 406);
    EXPECT_EQ (rect->bottom - rect->top, 242);
    EXPECT_EQ (dispatch (effEditGetRect, 0, 0, nullptr), 0);
    dispatch (effEditIdle);
    dispatch (effEditClose);
    EXPECT_EQ (processor->getActiveEditor(), nullptr);
}
} // namespace kelmora::vst::test
