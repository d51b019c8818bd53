#include "formats/vst/WrapperTest.h"
#include "support/Concurrency.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kelmora::vst::test
{
TEST_F (WrapperTest, EntryMakesAVstProcessorAndCloseDestroysIt)
{
    // The processor was made for this format, so the about box can name it.
    EXPECT_EQ (processor->wrapperType, juce::AudioProcessor::wrapperType_VST);
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

TEST_F (WrapperTest, HostValuesAreCheckedAndEditorEditsReachTheHostAsAGesture)
{
    effect->setParameter (effect, 0, 0.25f);
    for (auto [index, value] : { std::pair { -1, 0.5f }, { 4, 0.5f }, { 0, std::nanf ("") }, { 0, INFINITY } })
        effect->setParameter (effect, index, value);
    EXPECT_EQ (processor->gain(), 0.25f);
    effect->setParameter (effect, 0, 7.0f);
    EXPECT_EQ (processor->gain(), 1.0f);
    EXPECT_EQ (effect->getParameter (effect, 99), 0.0f);
    char name[64] = "unchanged";
    dispatch (effGetParamName, 99, 0, name);
    EXPECT_STREQ (name, "");
    EXPECT_EQ (std::make_tuple (dispatch (effCanBeAutomated, 0), dispatch (effCanBeAutomated, 3), dispatch (effCanBeAutomated, -1)),
               std::make_tuple (1, 0, 0));

    host.clear();
    processor->editFromUi (1, 0.5f);
    const auto calls = host.snapshot();
    ASSERT_EQ (calls.size(), 3u);
    const int32_t opcodes[] = { hostBeginEdit, hostAutomate, hostEndEdit };
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ (std::make_tuple (calls[i].effect, calls[i].opcode, calls[i].index, calls[i].opt),
                   std::make_tuple (effect, opcodes[i], 1, i == 1 ? 0.5f : 0.0f)) << i;
}

TEST_F (WrapperTest, AFaultyProcessorReachesTheHostAsNeutralAnswers)
{
    start (96000.0f, 64);
    processor->throwing = true;

    std::vector<float> x (32, 1.0f), y (64, -7.0f);
    float* in[] = { x.data(), x.data() };
    float* out[] = { y.data(), y.data() + 32 };
    effect->processReplacing (effect, in, out, 32);
    EXPECT_EQ (y, std::vector<float> (64, 0.0f)) << "silence";

    effect->setParameter (effect, 0, 0.5f);
    EXPECT_EQ (effect->getParameter (effect, 0), 0.0f);
    void* chunk = nullptr;
    EXPECT_EQ (dispatch (effGetChunk, 0, 0, &chunk), 0);
    processor->throwing = false;
    EXPECT_EQ (processor->gain(), 1.0f) << "the failed change did not land";
}

TEST_F (WrapperTest, ResumePreparesAndReportsALatencyChangeOnce)
{
    // Before any resume the output is silence, and a suspend is harmless.
    std::vector<float> x (32, 1.0f), y (64, -7.0f);
    float* in[] = { x.data(), x.data() };
    float* out[] = { y.data(), y.data() + 32 };
    effect->processReplacing (effect, in, out, 32);
    EXPECT_EQ (y, std::vector<float> (64, 0.0f));
    dispatch (effMainsChanged, 0, 0);
    EXPECT_EQ (processor->releaseCalls.load(), 0);

    host.clear();
    start (96000.0f, 256);
    EXPECT_EQ (std::make_tuple (processor->lastRate.load(), effect->initialDelay, dispatch (effGetTailSize)), std::make_tuple (96000.0, 45, 45));
    EXPECT_EQ (host.count (hostIoChanged), 1u);

    // A second resume prepares again; the latency did not change, so the host hears nothing.
    dispatch (effMainsChanged, 0, 1);
    EXPECT_EQ (host.count (hostIoChanged), 1u);
    start (44100.0f, 256);
    EXPECT_EQ (effect->initialDelay, 0);
    EXPECT_EQ (host.count (hostIoChanged), 2u);

    // Unusable host values fall back to sane ones.
    start (0.0f, -5);
    EXPECT_EQ (std::make_pair (processor->lastRate.load(), processor->getBlockSize()), std::make_pair (44100.0, 1024));
}

TEST_F (WrapperTest, TheAudioPathSplitsLargeBlocksAndWritesOnlyTheOutputsGiven)
{
    start (96000.0f, 64);
    effect->setParameter (effect, 0, 0.5f);
    std::vector<float> left (128), right (128), outL (128), outR (128);
    left[3] = right[70] = 1.0f;
    float* in[] = { left.data(), right.data() };
    float* out[] = { outL.data(), outR.data() };
    float* leftOnly[] = { outL.data(), nullptr };

    effect->processReplacing (effect, in, out, 128);
    effect->processReplacing (effect, in, leftOnly, 100); // a host may leave an output out
    EXPECT_EQ (std::make_pair (processor->largestBlock.load(), processor->blocks.load()), std::make_pair (64, 4));
    for (size_t i = 0; i < 128; ++i)
        EXPECT_EQ (std::make_pair (outL[i], outR[i]), std::make_pair (i == 3 ? 0.5f : 0.0f, i == 70 ? 0.5f : 0.0f)) << i;
}

TEST_F (WrapperTest, OnlyMonoOrStereoArrangementsAreAccepted)
{
    for (auto [in, out, accepted] : { std::tuple { 1, 1, 1 }, { 2, 2, 1 }, { 1, 2, 0 }, { 0, 0, 0 }, { -1, -1, 0 }, { 3, 3, 0 },
                                      { INT32_MAX, INT32_MAX, 0 }, { INT32_MIN, INT32_MIN, 0 } })
    {
        VstSpeakerArrangement a {}, b {};
        a.type = in == 1 ? kSpeakerArrMono : in == 2 ? kSpeakerArrStereo : kSpeakerArrUserDefined;
        b.type = out == 1 ? kSpeakerArrMono : out == 2 ? kSpeakerArrStereo : kSpeakerArrUserDefined;
        a.numChannels = in;
        b.numChannels = out;
        EXPECT_EQ (dispatch (effSetSpeakerArrangement, 0, (intptr_t) &a, &b), accepted) << in << " " << out;
    }
}
TEST_F (WrapperTest, WhatTheEditorsWorkReportsWaitsForTheNextHostCallAndKeepsItsOrder)
{
    // Editor work runs on the module's message thread with its role held: nothing reaches the
    // host from there, since the host may be waiting on that role with a lock of its own.
    host.clear();
    std::atomic<bool> done { false };
    juce::MessageManager::callAsync ([this, &done] {
        processor->editFromUi (1, 0.5f);
        processor->updateHostDisplay (juce::AudioProcessorListener::ChangeDetails().withProgramChanged (true));
        done = true;
    });
    ASSERT_TRUE (quietline::test::waitUntil ([&] { return done.load(); })) << "watchdog: the message never ran";
    EXPECT_TRUE (host.snapshot().empty());

    // The next idle call says it all, in order, on the idling thread.
    dispatch (effEditIdle);
    std::vector<std::pair<int32_t, int32_t>> said;
    for (const auto& c : host.snapshot())
        said.emplace_back (c.opcode, c.index);
    const std::vector<std::pair<int32_t, int32_t>> expected { { hostBeginEdit, 1 }, { hostAutomate, 1 }, { hostEndEdit, 1 }, { hostUpdateDisplay, 0 } };
    EXPECT_EQ (said, expected);
}
} // namespace kelmora::vst::test
