#include "dsp/DesignCutoffTable.h"
#include "dsp/FirFilterState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace kelmora::dsp;

namespace
{
// The first frequency where the filter falls below -0.1 dB, to 0.01 Hz.
double measureCorner (const FirFilterState& filter, double rate)
{
    double above = 0.0;
    double below = 0.5 * rate;
    for (double f = 250.0; f < 0.5 * rate; f += 250.0)
    {
        if (filter.getMagnitude (f) < cornerMagnitude)
        {
            below = f;
            break;
        }
        above = f;
    }

    while (below - above > 0.01)
    {
        const double mid = 0.5 * (above + below);
        (filter.getMagnitude (mid) < cornerMagnitude ? below : above) = mid;
    }
    return 0.5 * (above + below);
}

// Rows kept from measurements of the original filter; checked by their known cutoffs instead.
bool isKeptRow (double rate, double key)
{
    return (key == 21000.0 && (rate == 96000.0 || rate == 192000.0)) || (key == 25000.0 && rate == 384000.0);
}
} // namespace

// Every rate, every key, 41 slopes: the -0.1 dB point lands on the requested corner.
TEST (FirCornerSweep, CornerLandsOnTheKeyAtEveryRateKeyAndSlope)
{
    constexpr int slopes = 41;
    auto filter = std::make_unique<FirFilterState>();

    for (double rate : designCutoffRates)
    {
        double worstSteep = 0.0, worstGentle = 0.0, worstNearNyquist = 0.0;

        for (uint32_t k = 0; k < designCutoffRowCount; ++k)
        {
            const double key = 20000.0 + 100.0 * k;
            if (isKeptRow (rate, key))
                continue;

            for (int i = 0; i < slopes; ++i)
            {
                const double slope = (double) i / (slopes - 1);
                filter->design (key, slope, rate);
                const double error = std::fabs (measureCorner (*filter, rate) - key);

                // At 88.2 kHz the gentlest slopes need a sinc cutoff at Nyquist for the highest
                // corners; the figure there is reported on its own.
                const bool nearNyquist = rate == 88200.0 && slope < 0.1 && key >= 24000.0;
                const double bound = slope >= 0.25 ? 20.0 : 350.0;
                EXPECT_LE (error, bound) << rate << " Hz, key " << key << ", slope " << slope;

                double& worst = nearNyquist ? worstNearNyquist : slope >= 0.25 ? worstSteep : worstGentle;
                worst = std::max (worst, error);
            }
        }

        std::printf ("%6.0f Hz: worst corner error %.2f Hz at slope >= 0.25, %.2f Hz below", rate, worstSteep, worstGentle);
        if (rate == 88200.0)
            std::printf (", %.1f Hz for keys >= 24 kHz below slope 0.1", worstNearNyquist);
        std::printf ("\n");
    }
}
