// The glue's processing call with a processor that reads the play head in every block: asking
// the host for its transport allocates nothing.
#include "formats/vst/WrapperTest.h"

namespace kelmora::vst::test
{
void startCountingAllocations();
int stopCountingAllocations();

namespace
{
VstTimeInfo transport {};

// Unlike the recording host, answers without allocating.
intptr_t quietHost (AEffect*, int32_t opcode, int32_t, intptr_t, void*, float)
{
    return opcode == hostGetVersion ? 2400 : opcode == hostGetTimeInfo ? (intptr_t) &transport : 0;
}
} // namespace

TEST (VstRealtime, ProcessingThatReadsThePlayHeadAllocatesNothing)
{
    const quietline::test::TempHome home;
    transport.sampleRate = 96000.0;
    transport.tempo = 120.0;
    transport.flags = kVstTransportPlaying | kVstTempoValid;
    AEffect* effect = createVstEffect (&quietHost, &makeTestProcessor, testIdentity);
    ASSERT_NE (effect, nullptr);
    auto* processor = testProcessorOf (effect);
    processor->readsPlayHead = true;
    effect->dispatcher (effect, effSetSampleRate, 0, 0, nullptr, 96000.0f);
    effect->dispatcher (effect, effSetBlockSize, 0, 256, nullptr, 0.0f);
    effect->dispatcher (effect, effMainsChanged, 0, 1, nullptr, 0.0f);

    std::vector<float> x (256, 0.5f);
    float* io[] = { x.data(), x.data() };
    int allocations = 0;
    for (int block = 0; block < 16; ++block)
    {
        transport.samplePos = block * 256.0;
        startCountingAllocations();
        effect->processReplacing (effect, io, io, 256);
        allocations += stopCountingAllocations();
    }

    EXPECT_EQ (allocations, 0);
    ASSERT_TRUE (processor->position.hasValue());
    EXPECT_EQ (std::make_pair (processor->position->getTimeInSamples(), processor->position->getBpm()),
               std::make_pair (juce::makeOptional<int64_t> (15 * 256), juce::makeOptional (120.0)));
    effect->dispatcher (effect, effClose, 0, 0, nullptr, 0.0f);
}
} // namespace kelmora::vst::test
