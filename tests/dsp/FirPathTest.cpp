#include "dsp/FirFilterState.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

using namespace kelmora::dsp;

namespace
{
// Filters a signal through a random kernel of tapCount taps on the given path, in odd block
// sizes that fall across the delay line's wrap at varying points. With `cancelling`, the taps
// carry a huge alternating part that a constant input cancels in the sum: the float output
// then shows the rounding of every addition, so any change in their order.
std::vector<float> filterNoise (FirPath path, uint32_t tapCount, int mode, bool inPlace, bool cancelling)
{
    const uint32_t fullLength = tapCount <= 91 ? 91 : tapCount <= 181 ? 181 : 361;
    std::mt19937 rng (tapCount);
    std::uniform_real_distribution<double> dist (-1.0, 1.0);
    std::vector<double> taps (tapCount);
    for (size_t k = 0; k < taps.size(); ++k)
        taps[k] = dist (rng) + (cancelling ? (k % 2 == 0 ? 1e12 : -1e12) : 0.0);

    auto filter = std::make_unique<FirFilterState>();
    filter->kernel.install ({ taps.data(), tapCount, fullLength, (fullLength >> 1) - (tapCount >> 1) });
    filter->active = true;
    filter->setMix (mode == 1 ? 0.5 : mode == 2 ? 1.0 : 0.0);
    filter->setBypass (mode == 3);

    const size_t n = 3 * fullLength + 37;
    std::vector<float> in (2 * n), out (2 * n);
    for (size_t i = 0; i < in.size(); ++i)
        in[i] = cancelling ? (i < n ? 0.5f : -0.25f) : (float) dist (rng);
    if (inPlace)
        out = in;

    EXPECT_TRUE (forceFirPath (path));
    const size_t blockSizes[] = { 1, 3, 7, 13, 61, 127, 5, 9 };
    for (size_t pos = 0, b = 0; pos < n; pos += blockSizes[b++ % 8])
    {
        const auto count = (int32_t) std::min (blockSizes[b % 8], n - pos);
        const float* left = inPlace ? out.data() + pos : in.data() + pos;
        const float* right = inPlace ? out.data() + n + pos : in.data() + n + pos;
        filter->process (left, right, out.data() + pos, out.data() + n + pos, count, false);
    }
    return out;
}

class FirPathIdentity : public testing::TestWithParam<FirPath>
{
protected:
    void TearDown() override { forceFirPath (initial); }

    const FirPath initial = getFirPath();
};
} // namespace

// Every tap count from 1 to the largest kernel (all that the design makes, and more), with mix 0 %, 50 %, 100 % dry and bypass in
// turn: the path's output equals the reference loop's bit for bit.
TEST_P (FirPathIdentity, OutputEqualsTheReferenceLoopBitForBit)
{
    if (! isFirPathAvailable (GetParam()))
        GTEST_SKIP() << "this CPU cannot run the " << getFirPathName (GetParam()) << " path";

    for (uint32_t tapCount = 1; tapCount <= maxDesignTaps; ++tapCount)
    {
        const int mode = (int) (tapCount % 4);
        const bool inPlace = (tapCount / 4) % 2 == 1;
        for (bool cancelling : { false, true })
        {
            const auto expected = filterNoise (FirPath::reference, tapCount, mode, inPlace, cancelling);
            const auto actual = filterNoise (GetParam(), tapCount, mode, inPlace, cancelling);
            ASSERT_EQ (std::memcmp (expected.data(), actual.data(), expected.size() * sizeof (float)), 0)
                << tapCount << " taps, mode " << mode << (inPlace ? ", in place" : "") << (cancelling ? ", cancelling" : "");
        }
    }
}

INSTANTIATE_TEST_SUITE_P (Paths, FirPathIdentity, testing::Values (FirPath::sse2, FirPath::avx, FirPath::avx512),
                          [] (const auto& info) { return std::string (getFirPathName (info.param)); });
