#include "dsp/FirDesign.h"
#include "dsp/FirFilterState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <random>
#include <vector>

using namespace kelmora::dsp;

namespace
{
using Stereo = std::array<std::vector<float>, 2>;

Stereo stereoNoise (size_t n, unsigned seed = 1)
{
    std::mt19937 rng (seed);
    std::uniform_real_distribution<float> dist (-1.0f, 1.0f);
    Stereo s { std::vector<float> (n), std::vector<float> (n) };
    for (auto& channel : s)
        std::generate (channel.begin(), channel.end(), [&] { return dist (rng); });
    return s;
}

// Runs the whole input through the filter in calls of blockSize samples.
Stereo run (FirFilterState& f, const Stereo& in, size_t blockSize, bool forceDry = false)
{
    Stereo out { std::vector<float> (in[0].size()), std::vector<float> (in[1].size()) };
    for (size_t pos = 0; pos < in[0].size(); pos += blockSize)
    {
        const auto n = (int32_t) std::min (blockSize, in[0].size() - pos);
        f.process (in[0].data() + pos, in[1].data() + pos, out[0].data() + pos, out[1].data() + pos, n, forceDry);
    }
    return out;
}

void expectDelayed (const Stereo& out, const Stereo& in, uint32_t latency)
{
    for (int ch = 0; ch < 2; ++ch)
        for (size_t i = 0; i < in[ch].size(); ++i)
            ASSERT_EQ (out[ch][i], i < latency ? 0.0f : in[ch][i - latency]) << ch << ", " << i;
}

class FirEngine : public testing::Test
{
protected:
    FirFilterState filter;
};
} // namespace

// Against a direct convolution with the full, centred kernel of the design, computed here in a
// plain loop: any block split and every rate give it, up to the float rounding of the output.
TEST_F (FirEngine, OutputIsTheDirectConvolutionWithTheDesignedKernel)
{
    const Stereo in = stereoNoise (3000);
    const double dry = 0.25, corner = 21300.0, slope = 0.65;
    for (double rate : { 88200.0, 96000.0, 176400.0, 192000.0, 352800.0, 384000.0 })
    {
        const uint32_t n = designTapCount (rate);
        const double logWidth = designLogWidth (slope, rate);
        double buffer[designBufferSize];
        uint32_t count = 0;
        const double* taps = designTrimmedKernel (buffer, n, logWidth, lookupDesignCutoff (corner, logWidth, rate), rate, count);
        std::vector<double> h (n, 0.0);
        std::copy (taps, taps + count, h.begin() + (n / 2 - count / 2));

        Stereo expected { std::vector<float> (in[0].size()), std::vector<float> (in[1].size()) };
        for (int ch = 0; ch < 2; ++ch)
            for (size_t i = 0; i < in[ch].size(); ++i)
            {
                double sum = 0.0;
                for (size_t k = 0; k < n && k <= i; ++k)
                    sum += h[k] * (double) in[ch][i - k];
                const double delayed = i >= n / 2 ? (double) in[ch][i - n / 2] : 0.0;
                expected[ch][i] = (float) (sum * (1.0 - dry) + delayed * dry);
            }

        for (size_t block : { size_t (1), size_t (3), size_t (n - 1), size_t (n), size_t (n + 1), in[0].size() })
        {
            SCOPED_TRACE (testing::Message() << rate << " Hz, blocks of " << block);
            FirFilterState f;
            f.design (corner, slope, rate);
            f.setMix (dry);
            const Stereo out = run (f, in, block);
            for (int ch = 0; ch < 2; ++ch)
                for (size_t i = 0; i < out[ch].size(); ++i)
                {
                    const float e = expected[ch][i];
                    const double rounding = std::nextafter (std::abs (e), INFINITY) - std::abs (e);
                    ASSERT_NEAR (out[ch][i], e, rounding + 1e-12) << ch << ", " << i;
                }
        }
    }
}

TEST_F (FirEngine, BypassForcedDryAndZeroMixDelayTheInputExactly)
{
    const Stereo in = stereoNoise (1000);
    filter.design (21000.0, 1.0, 96000.0);
    const struct { double dry; bool bypass, forceDry; } cases[] = { { 0.3, true, false }, { 0.3, false, true }, { 1.0, false, false } };
    for (const auto& c : cases)
    {
        filter.reset();
        filter.setMix (c.dry);
        filter.setBypass (c.bypass);
        expectDelayed (run (filter, in, 100, c.forceDry), in, 45);
    }
}

TEST_F (FirEngine, NewCornerAtTheSameRateKeepsTheHistory)
{
    const Stereo first = stereoNoise (300), second = stereoNoise (300, 2);
    filter.design (21000.0, 0.75, 96000.0);
    run (filter, first, 64);
    filter.design (24000.0, 0.2, 96000.0);

    FirFilterState fresh;
    fresh.design (24000.0, 0.2, 96000.0);
    run (fresh, first, 64);
    EXPECT_EQ (run (filter, second, 64), run (fresh, second, 64));
}

TEST_F (FirEngine, UnsupportedRatesPassAudioThroughUntilASupportedOneReturns)
{
    const Stereo in = stereoNoise (512);
    EXPECT_EQ (run (filter, in, 64), in) << "nothing runs before the first design";
    for (double rate : { 96000.0, 44100.0, 400000.0, std::nan (""), 96000.0 })
    {
        SCOPED_TRACE (rate);
        filter.getAndClearChanged (true);
        filter.design (21000.0, 0.75, rate);
        EXPECT_TRUE (filter.getAndClearChanged (false));
        EXPECT_EQ (filter.isActive(), rate == 96000.0);
        EXPECT_EQ (run (filter, in, 100) == in, rate != 96000.0);
    }

    // Another full length starts from silence: nothing of the old rate's history comes out.
    filter.design (21000.0, 0.75, 384000.0);
    run (filter, in, 100);
    filter.design (21000.0, 0.75, 88200.0);
    filter.setBypass (true);
    expectDelayed (run (filter, in, 100), in, 41);
}

TEST_F (FirEngine, MagnitudeIsTheDftOfTheImpulseResponse)
{
    for (double rate : { 88200.0, 192000.0, 352800.0 })
    {
        for (double dry : { 0.0, 0.01, 1.0 })
        {
            SCOPED_TRACE (testing::Message() << rate << " Hz, dry " << dry);
            filter.design (21000.0, 0.4, rate);
            filter.setMix (dry);
            const auto& k = filter.kernel;

            for (double f : { 0.0, 1000.0, 21000.0, 23456.7, 30000.0, 0.5 * rate })
            {
                std::complex<long double> sum = 0;
                const long double w = 2.0L * 3.14159265358979323846264338327950288L * f / rate;
                for (uint32_t i = 0; i < k.tapCount; ++i)
                    sum += (long double) k.coefficients[i] * std::polar (1.0L, -w * (long double) i);
                EXPECT_NEAR (filter.getMagnitude (f), (double) std::abs (sum) * (1.0 - dry) + dry, 1e-9) << f;
            }
            EXPECT_EQ (filter.getMagnitude (0.5 * rate + 0.01), -1.0);
        }
    }
}
