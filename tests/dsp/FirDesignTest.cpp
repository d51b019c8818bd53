#include "dsp/DesignCutoffTable.h"
#include "dsp/FirDesign.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace kelmora::dsp;

namespace
{
struct Kernel
{
    std::vector<double> buffer = std::vector<double> (designBufferSize, 0.0);
    const double* taps = nullptr;
    uint32_t count = 0;
};

Kernel designFor (double corner, double slope, double rate)
{
    Kernel k;
    const double x = designLogWidth (slope, rate);
    k.taps = designTrimmedKernel (k.buffer.data(), designTapCount (rate), x,
                                  lookupDesignCutoff (corner, x, rate), rate, k.count);
    return k;
}

const double supportedRates[] = { 88200.0, 96000.0, 176400.0, 192000.0, 352800.0, 384000.0 };
} // namespace

TEST (FirDesign, TapCountsFollowTheSampleRate)
{
    EXPECT_EQ (designTapCount (88200.0), 83u);
    EXPECT_EQ (designTapCount (96000.0), 91u);
    EXPECT_EQ (designTapCount (176400.0), 165u);
    EXPECT_EQ (designTapCount (192000.0), 181u);
    EXPECT_EQ (designTapCount (352800.0), 331u);
    EXPECT_EQ (designTapCount (384000.0), 361u);
    EXPECT_EQ (maxDesignTaps, designTapCount (384000.0));

    EXPECT_NEAR (std::exp (designLogWidth (0.0, 192000.0)), 18.0, 1e-12);
    EXPECT_NEAR (std::exp (designLogWidth (1.0, 192000.0)), 180.0, 1e-12);
    EXPECT_NEAR (std::exp (designLogWidth (0.0, 96000.0)), 9.0, 1e-12);
    EXPECT_NEAR (std::exp (designLogWidth (1.0, 96000.0)), 90.0, 1e-12);
}

TEST (FirDesign, MeasuredRowsGiveTheirKnownCutoffsAndLengths)
{
    struct Case { double rate, slope, cutoff; uint32_t length; };
    const Case cases[] = { { 96000.0, 0.0, 45045.9, 9 },
                           { 96000.0, 0.75, 25798.6, 47 },
                           { 96000.0, 1.0, 23743.4, 83 },
                           { 192000.0, 1.0, 23751.0, 159 } };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.rate << " Hz, slope " << c.slope);
        EXPECT_NEAR (lookupDesignCutoff (21000.0, designLogWidth (c.slope, c.rate), c.rate), c.cutoff, 0.05);
        EXPECT_EQ (designFor (21000.0, c.slope, c.rate).count, c.length);
    }
}

TEST (FirDesign, CornerSelectsTheNearestKeyWithTiesToTheLowerOne)
{
    for (double rate : supportedRates)
    {
        SCOPED_TRACE (rate);
        const double x = designLogWidth (0.6, rate);
        const auto cutoff = [&] (double corner) { return lookupDesignCutoff (corner, x, rate); };

        EXPECT_EQ (cutoff (21049.0), cutoff (21000.0));
        EXPECT_EQ (cutoff (21050.0), cutoff (21000.0));
        EXPECT_EQ (cutoff (21051.0), cutoff (21100.0));
        EXPECT_NE (cutoff (21000.0), cutoff (21100.0));
        EXPECT_EQ (cutoff (12000.0), cutoff (20000.0));
        EXPECT_EQ (cutoff (19999.0), cutoff (20000.0));
        EXPECT_EQ (cutoff (25001.0), cutoff (25000.0));
        EXPECT_EQ (cutoff (90000.0), cutoff (25000.0));
    }
}

TEST (FirDesign, UntabulatedRatesFallBackTo25kHz)
{
    for (double rate : { 44100.0, 100000.0, 192000.5, 0.0 })
        EXPECT_EQ (lookupDesignCutoff (21000.0, 3.0, rate), 25000.0) << rate;
}

TEST (FirDesign, TableHasOneBlockPerRateAndEveryKey)
{
    for (uint32_t b = 0; b < designCutoffBlockCount; ++b)
    {
        const double* block = designCutoffTable + b * designCutoffBlockSize;
        EXPECT_EQ (block[0], designCutoffRates[b]);

        for (uint32_t k = 0; k < designCutoffRowCount; ++k)
            EXPECT_EQ (block[1 + k * designCutoffRowSize], 20000.0 + 100.0 * k);
    }
}

TEST (FirDesign, KernelsAreSymmetricWithUnitSum)
{
    for (double rate : supportedRates)
    {
        for (double slope : { 0.0, 0.3, 0.75, 1.0 })
        {
            for (double corner : { 20000.0, 22500.0, 25000.0 })
            {
                SCOPED_TRACE (testing::Message() << rate << " Hz, slope " << slope << ", " << corner << " Hz");
                const Kernel k = designFor (corner, slope, rate);
                ASSERT_EQ (k.count % 2, 1u);
                ASSERT_LE (k.count, designTapCount (rate));

                double sum = 0.0;
                double peak = 0.0;
                for (uint32_t i = 0; i < k.count; ++i)
                {
                    sum += k.taps[i];
                    peak = std::max (peak, std::fabs (k.taps[i]));
                    EXPECT_NEAR (k.taps[i], k.taps[k.count - 1 - i], 1e-15);
                }

                EXPECT_NEAR (sum, 1.0, 1e-14);
                EXPECT_EQ (peak, k.taps[k.count / 2]);
            }
        }
    }
}

TEST (FirDesign, HighPassSincIsTheLowPassSubtractedFromAnImpulse)
{
    double low[31], high[31];
    designSincKernel (low, 31, 0, 20000.0, 96000.0);
    designSincKernel (high, 31, 1, 20000.0, 96000.0);

    EXPECT_DOUBLE_EQ (low[15], 2.0 * 20000.0 / 96000.0);
    EXPECT_DOUBLE_EQ (high[15], 1.0 - low[15]);
    for (int i = 0; i < 31; ++i)
    {
        if (i != 15)
        {
            EXPECT_EQ (high[i], -low[i]) << i;
        }
    }
}

TEST (FirDesign, WindowZeroesTapsOutsideItsWidthAndKeepsTheCentre)
{
    double taps[21];
    for (double& t : taps)
        t = 1.0;

    applyKaiserWindow (taps, 21, 10.0, 14.0);

    EXPECT_DOUBLE_EQ (taps[10], 1.0);
    for (int i = 0; i < 21; ++i)
    {
        EXPECT_EQ (taps[i] == 0.0, std::abs (i - 10) > 5) << i;
        EXPECT_NEAR (taps[i], taps[20 - i], 1e-14) << i;
    }
    EXPECT_GT (taps[9], taps[8]);
}

TEST (FirDesign, TrimmingKeepsAtLeastTheCentreTap)
{
    double taps[7] = { 1e-9, 2e-7, 1e-3, 0.5, 1e-3, 2e-7, 1e-9 };
    double* start = taps;
    uint32_t count = 7;
    trimSmallTaps (start, count, 1e-6);
    EXPECT_EQ (start, taps + 2);
    EXPECT_EQ (count, 3u);

    double tiny[5] = { 0.0, 0.0, 1e-9, 0.0, 0.0 };
    start = tiny;
    count = 5;
    trimSmallTaps (start, count, 1e-6);
    EXPECT_EQ (start, tiny + 2);
    EXPECT_EQ (count, 1u);

    double untouched[2] = { 7.0, 7.0 };
    clearTaps (untouched, 0);
    clearTaps (untouched, -3);
    normaliseToUnitSum (untouched, 0);
    EXPECT_EQ (untouched[0], 7.0);
    clearTaps (untouched, 2);
    EXPECT_EQ (untouched[1], 0.0);
}

TEST (FirDesign, CornerControlWorksAt352800Hz)
{
    const double x = designLogWidth (0.5, 352800.0);
    EXPECT_NE (lookupDesignCutoff (20000.0, x, 352800.0), 25000.0);
    EXPECT_LT (lookupDesignCutoff (20000.0, x, 352800.0), lookupDesignCutoff (25000.0, x, 352800.0));
}
