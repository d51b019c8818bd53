#include "dsp/FirFilterState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <memory>
#include <random>
#include <vector>

using namespace kelmora::dsp;

namespace
{
std::vector<float> noise (size_t n, unsigned seed)
{
    std::mt19937 rng (seed);
    std::uniform_real_distribution<float> dist (-1.0f, 1.0f);
    std::vector<float> v (n);
    for (auto& s : v)
        s = dist (rng);
    return v;
}

struct Stereo
{
    std::vector<float> left, right;
};

class FirEngine : public testing::Test
{
protected:
    std::unique_ptr<FirFilterState> filter = std::make_unique<FirFilterState>();

    // Runs the whole input through the filter in calls of blockSize samples.
    Stereo run (FirFilterState& f, const Stereo& in, size_t blockSize, bool forceDry = false)
    {
        Stereo out { std::vector<float> (in.left.size()), std::vector<float> (in.right.size()) };
        for (size_t pos = 0; pos < in.left.size(); pos += blockSize)
        {
            const auto n = (int32_t) std::min (blockSize, in.left.size() - pos);
            f.process (in.left.data() + pos, in.right.data() + pos,
                       out.left.data() + pos, out.right.data() + pos, n, forceDry);
        }
        return out;
    }

    Stereo run (const Stereo& in, size_t blockSize, bool forceDry = false)
    {
        return run (*filter, in, blockSize, forceDry);
    }

    static Stereo stereoNoise (size_t n) { return { noise (n, 1), noise (n, 2) }; }
};
} // namespace

TEST_F (FirEngine, LatencyIsHalfTheFullTapCountAtEverySupportedRate)
{
    const std::pair<double, uint32_t> cases[] = { { 88200.0, 41 }, { 96000.0, 45 }, { 176400.0, 82 },
                                                  { 192000.0, 90 }, { 352800.0, 165 }, { 384000.0, 180 } };
    for (const auto& [rate, latency] : cases)
    {
        for (double slope : { 0.0, 1.0 })
        {
            filter->design (21000.0, slope, rate);
            EXPECT_TRUE (filter->isActive());
            EXPECT_EQ (filter->getLatencySamples(), latency) << rate << " Hz, slope " << slope;
        }
    }
}

TEST_F (FirEngine, ImpulseResponseIsTheKernelCentredOnTheLatency)
{
    for (double rate : { 96000.0, 192000.0, 384000.0 })
    {
        SCOPED_TRACE (rate);
        filter->init();
        filter->design (22000.0, 0.6, rate);
        const auto& k = filter->kernel;
        const uint32_t latency = filter->getLatencySamples();

        Stereo in { std::vector<float> (2 * k.delayLength), std::vector<float> (2 * k.delayLength) };
        in.left[0] = 1.0f;
        in.right[0] = -0.5f;
        const Stereo out = run (in, 64);

        size_t peak = 0;
        for (size_t i = 0; i < out.left.size(); ++i)
        {
            const bool inKernel = i >= k.tapOffset && i < k.tapOffset + k.tapCount;
            const double tap = inKernel ? k.coefficients[i - k.tapOffset] : 0.0;
            ASSERT_EQ (out.left[i], (float) tap) << i;
            ASSERT_EQ (out.right[i], (float) (tap * -0.5)) << i;
            if (out.left[i] > out.left[peak])
                peak = i;
        }
        EXPECT_EQ (peak, latency);
        EXPECT_EQ (k.tapOffset + k.tapCount / 2, latency);
    }
}

TEST_F (FirEngine, OutputDoesNotDependOnTheBlockSize)
{
    for (double rate : { 96000.0, 384000.0 })
    {
        SCOPED_TRACE (rate);
        const Stereo in = stereoNoise (5000);
        filter->init();
        filter->design (21000.0, 0.75, rate);
        const uint32_t n = filter->kernel.delayLength;
        const Stereo reference = run (in, 4096);

        for (size_t block : { size_t (1), size_t (3), size_t (n - 1), size_t (n), size_t (n + 1), size_t (4096) })
        {
            FirFilterState other;
            other.design (21000.0, 0.75, rate);
            const Stereo out = run (other, in, block);
            EXPECT_EQ (out.left, reference.left) << "block " << block;
            EXPECT_EQ (out.right, reference.right) << "block " << block;
        }
    }
}

TEST_F (FirEngine, BypassForcedDryAndZeroMixDelayTheInputExactly)
{
    const Stereo in = stereoNoise (1000);
    const auto expectDelayed = [&] (const Stereo& out, uint32_t latency) {
        for (size_t i = 0; i < in.left.size(); ++i)
        {
            ASSERT_EQ (out.left[i], i < latency ? 0.0f : in.left[i - latency]) << i;
            ASSERT_EQ (out.right[i], i < latency ? 0.0f : in.right[i - latency]) << i;
        }
    };

    filter->design (21000.0, 1.0, 96000.0);
    filter->setMix (0.3);
    filter->setBypass (true);
    expectDelayed (run (in, 100), 45);

    filter->reset();
    filter->setBypass (false);
    expectDelayed (run (in, 100, true), 45);

    filter->reset();
    filter->setMix (1.0);
    expectDelayed (run (in, 100), 45);
}

TEST_F (FirEngine, FullyWetSettlesOnDcAfterTheLatency)
{
    filter->design (20000.0, 0.0, 192000.0);
    Stereo in { std::vector<float> (400, 0.25f), std::vector<float> (400, -1.0f) };
    const Stereo out = run (in, 400);

    EXPECT_EQ (out.left[0], 0.0f);
    for (size_t i = 2 * 90; i < 400; ++i)
    {
        ASSERT_NEAR (out.left[i], 0.25f, 1e-6f) << i;
        ASSERT_NEAR (out.right[i], -1.0f, 1e-6f) << i;
    }
}

TEST_F (FirEngine, NewCornerAtTheSameRateKeepsTheHistory)
{
    const Stereo in = stereoNoise (600);
    const Stereo first { { in.left.begin(), in.left.begin() + 300 }, { in.right.begin(), in.right.begin() + 300 } };
    const Stereo second { { in.left.begin() + 300, in.left.end() }, { in.right.begin() + 300, in.right.end() } };

    filter->design (21000.0, 0.75, 96000.0);
    run (first, 64);
    filter->design (24000.0, 0.2, 96000.0);
    const Stereo changed = run (second, 64);

    FirFilterState fresh;
    fresh.design (24000.0, 0.2, 96000.0);
    const Stereo reference = run (fresh, in, 64);

    EXPECT_EQ (changed.left, std::vector<float> (reference.left.begin() + 300, reference.left.end()));
    EXPECT_EQ (changed.right, std::vector<float> (reference.right.begin() + 300, reference.right.end()));
}

TEST_F (FirEngine, UnsupportedRatesPassAudioThroughUntilASupportedOneReturns)
{
    const Stereo in = stereoNoise (512);

    filter->design (21000.0, 0.75, 96000.0);
    for (double rate : { 44100.0, 48000.0, 400000.0, std::nan ("") })
    {
        SCOPED_TRACE (rate);
        filter->getAndClearChanged (true);
        filter->design (21000.0, 0.75, rate);
        EXPECT_FALSE (filter->isActive());
        EXPECT_TRUE (filter->getAndClearChanged (false));
        EXPECT_EQ (filter->getLatencySamples(), 0u);
        const Stereo out = run (in, 100);
        EXPECT_EQ (out.left, in.left);
        EXPECT_EQ (out.right, in.right);
    }

    filter->design (21000.0, 0.75, 96000.0);
    EXPECT_TRUE (filter->isActive());
    EXPECT_EQ (filter->getLatencySamples(), 45u);
    EXPECT_NE (run (in, 100).left, in.left);
}

TEST_F (FirEngine, NothingRunsBeforeTheFirstDesign)
{
    const Stereo in = stereoNoise (64);
    EXPECT_FALSE (filter->isActive());
    EXPECT_TRUE (filter->getAndClearChanged (true));
    EXPECT_FALSE (filter->getAndClearChanged (false));
    EXPECT_EQ (filter->getLatencySamples(), 0u);
    EXPECT_EQ (filter->getMagnitude (0.0), 1.0);
    EXPECT_EQ (filter->getMagnitude (1.0), -1.0);
    EXPECT_EQ (run (in, 64).left, in.left);

    float untouched = 3.0f;
    filter->process (&untouched, &untouched, &untouched, &untouched, 0, false);
    filter->process (&untouched, &untouched, &untouched, &untouched, -5, false);
    EXPECT_EQ (untouched, 3.0f);
}

TEST_F (FirEngine, RepeatedDesignOnlyFlagsAChangeWhenSomethingChanged)
{
    filter->design (21000.0, 0.75, 96000.0);
    EXPECT_TRUE (filter->getAndClearChanged (true));
    filter->design (21000.0, 0.75, 96000.0);
    EXPECT_FALSE (filter->getAndClearChanged (true));
    filter->design (21000.0, 0.5, 96000.0);
    EXPECT_TRUE (filter->getAndClearChanged (true));
    filter->setMix (0.5);
    EXPECT_TRUE (filter->getAndClearChanged (true));
}

TEST_F (FirEngine, MagnitudeIsTheDftOfTheImpulseResponse)
{
    for (double rate : { 88200.0, 192000.0, 352800.0 })
    {
        for (double dry : { 0.0, 0.01, 1.0 })
        {
            SCOPED_TRACE (testing::Message() << rate << " Hz, dry " << dry);
            filter->design (21000.0, 0.4, rate);
            filter->setMix (dry);
            const auto& k = filter->kernel;

            for (double f : { 0.0, 1000.0, 20000.0, 21000.0, 23456.7, 30000.0, 0.5 * rate })
            {
                std::complex<long double> sum = 0;
                const long double w = 2.0L * 3.14159265358979323846264338327950288L * f / rate;
                for (uint32_t i = 0; i < k.tapCount; ++i)
                    sum += (long double) k.coefficients[i] * std::polar (1.0L, -w * (long double) i);

                EXPECT_NEAR (filter->getMagnitude (f), (double) std::abs (sum) * (1.0 - dry) + dry, 1e-9) << f;
            }
            EXPECT_NEAR (filter->getMagnitude (0.0), 1.0, 1e-12);
            EXPECT_EQ (filter->getMagnitude (0.5 * rate + 0.01), -1.0);
            EXPECT_EQ (filter->getMagnitude (rate), -1.0);
        }
    }
}

TEST_F (FirEngine, MonoBufferIsFilteredInPlace)
{
    const std::vector<float> signal = noise (700, 3);
    filter->design (22000.0, 0.9, 176400.0);
    const Stereo reference = run ({ signal, signal }, 128);

    FirFilterState mono;
    mono.design (22000.0, 0.9, 176400.0);
    std::vector<float> buffer = signal;
    for (size_t pos = 0; pos < buffer.size(); pos += 128)
    {
        float* p = buffer.data() + pos;
        mono.process (p, p, p, p, (int32_t) std::min<size_t> (128, buffer.size() - pos), false);
    }

    EXPECT_EQ (buffer, reference.left);
    EXPECT_EQ (reference.left, reference.right);
}

TEST_F (FirEngine, ChangingTheRateStartsFromSilenceWithTheNewLatency)
{
    const Stereo loud { std::vector<float> (1000, 1.0f), std::vector<float> (1000, 1.0f) };
    filter->design (21000.0, 1.0, 384000.0);
    run (loud, 1000);

    filter->design (21000.0, 1.0, 88200.0);
    EXPECT_EQ (filter->getLatencySamples(), 41u);
    filter->setBypass (true);
    const Stereo out = run (loud, 100);
    for (size_t i = 0; i < 41; ++i)
        ASSERT_EQ (out.left[i], 0.0f) << i;
    EXPECT_EQ (out.left[41], 1.0f);
}
