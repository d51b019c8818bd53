#include "formats/vst/WrapperTest.h"
#include "support/Concurrency.h"
#include "tools/vsthost/HostedEffect.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <sstream>

namespace kelmora::vst::test
{
namespace
{
using Position = juce::AudioPlayHead::PositionInfo;

std::string describe (const juce::Optional<Position>& p)
{
    if (! p.hasValue())
        return "no position";

    std::ostringstream text;
    const auto field = [&text] (const char* name, auto value) { if (value.hasValue()) text << name << " " << *value << ", "; };
    field ("samples", p->getTimeInSamples());
    field ("seconds", p->getTimeInSeconds());
    field ("bpm", p->getBpm());
    field ("ppq", p->getPpqPosition());
    field ("bar", p->getPpqPositionOfLastBarStart());
    if (const auto sig = p->getTimeSignature())
        text << "signature " << sig->numerator << "/" << sig->denominator << ", ";
    if (const auto loop = p->getLoopPoints())
        text << "loop " << loop->ppqStart << "-" << loop->ppqEnd << ", ";
    text << (p->getIsPlaying() ? "playing" : "stopped") << (p->getIsRecording() ? " recording" : "") << (p->getIsLooping() ? " looping" : "");
    return text.str();
}
} // namespace

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

TEST_F (WrapperTest, ThePlayHeadAsksTheHostOnlyWhileProcessingAndKeepsWhatTheHostMarksValid)
{
    start (48000.0f, 64);
    processor->readsPlayHead = true;
    std::vector<float> x (64);
    float* io[] = { x.data(), x.data() };
    constexpr int32_t asked = kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid | kVstTimeSigValid;

    // Outside processing there is no position, and the host is not asked.
    ASSERT_NE (processor->getPlayHead(), nullptr);
    host.clear();
    EXPECT_FALSE (processor->getPlayHead()->getPosition().hasValue());
    EXPECT_EQ (host.count (hostGetTimeInfo), 0u);

    // No record; one whose fields are all set but hardly any marked valid; one with all marked.
    const VstTimeInfo transport { 96000.0, 48000.0, 1.0e9, 4.0, 140.0, 3.0, 2.0, 6.0, 7, 8, 0, 0, 0, 0 };
    auto fewValid = transport, allValid = transport;
    fewValid.sampleRate = 0.0;
    fewValid.flags = kVstTransportRecording | kVstNanosValid | kVstSmpteValid | kVstClockValid;
    allValid.flags = asked | kVstTransportPlaying | kVstTransportCycleActive;

    Position recording, everything;
    recording.setTimeInSamples (96000);
    recording.setIsPlaying (true);
    recording.setIsRecording (true);
    everything.setTimeInSamples (96000);
    everything.setTimeInSeconds (2.0);
    everything.setBpm (140.0);
    everything.setTimeSignature (juce::AudioPlayHead::TimeSignature { 7, 8 });
    everything.setPpqPosition (4.0);
    everything.setPpqPositionOfLastBarStart (3.0);
    everything.setLoopPoints (juce::AudioPlayHead::LoopPoints { 2.0, 6.0 });
    everything.setIsPlaying (true);
    everything.setIsLooping (true);

    const std::pair<const VstTimeInfo*, juce::Optional<Position>> rows[] = {
        { nullptr, juce::nullopt }, { &fewValid, recording }, { &allValid, everything } };

    for (size_t i = 0; i < std::size (rows); ++i)
    {
        host.answer (hostGetTimeInfo, (intptr_t) rows[i].first);
        host.clear();
        processor->position = Position(); // an empty position must come from the play head
        effect->processReplacing (effect, io, io, 64);

        EXPECT_TRUE (processor->position == rows[i].second) << "row " << i << ": " << describe (processor->position);
        const auto calls = host.snapshot();
        ASSERT_EQ (calls.size(), 1u) << "row " << i;
        EXPECT_EQ (std::make_pair (calls[0].opcode, calls[0].value), std::make_pair ((int32_t) hostGetTimeInfo, (intptr_t) asked));
    }
}

TEST (WrapperInReferenceHost, ThePlayHeadFollowsTheHostsTransportBlockByBlock)
{
    const quietline::test::TempHome home;
    std::string error;
    auto e = tools::HostedEffect::create (&testEntryPoint, error);
    ASSERT_NE (e, nullptr) << error;
    e->open();
    e->start (48000.0, 12000);
    auto* processor = testProcessorOf (&e->record());
    processor->readsPlayHead = true;

    // A block is a quarter of a second: half a quarter note at 120, a sixth of a 3/4 bar.
    std::vector<float> x (12000);
    float* io[] = { x.data(), x.data() };
    for (int block = 0; block < 8; ++block)
    {
        processor->position.reset();
        e->process (io, io, 12000);

        Position expected;
        expected.setTimeInSamples (block * 12000);
        expected.setTimeInSeconds (block * 0.25);
        expected.setBpm (120.0);
        expected.setTimeSignature (juce::AudioPlayHead::TimeSignature { 3, 4 });
        expected.setPpqPosition (block * 0.5);
        expected.setPpqPositionOfLastBarStart (block < 6 ? 0.0 : 3.0);
        expected.setIsPlaying (true);
        EXPECT_TRUE (processor->position == juce::makeOptional (expected)) << "block " << block << ": " << describe (processor->position);
    }

    ASSERT_NE (processor->getPlayHead(), nullptr);
    EXPECT_FALSE (processor->getPlayHead()->getPosition().hasValue()) << "after processing";
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
