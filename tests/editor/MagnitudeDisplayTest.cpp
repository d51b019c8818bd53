#include "editor/MagnitudeAxis.h"
#include "editor/MagnitudeDisplay.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
namespace magnitude = kelmora::editor::magnitude;
using kelmora::editor::MagnitudeDisplay;
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

TEST (MagnitudeAxis, PositionsTruncateTheProductAndStayConvertible)
{
    struct Row { double f; double rate; float width; float x; };
    const Row rows[] = {
        { 21000, 96000, 344, 161.5f }, { 21000, 192000, 344, 111.5f }, // the corner at two rates
        { 10000, 96000, 344, -0.5f },  { 48000, 96000, 344, 343.5f },  // the two ends
        { 200000, 96000, 344, 655.5f }  ,                               // grid lines beyond the edge
        { 0, 96000, 344, -magnitude::maxCoordinate - 0.5f },            // log of zero
        { -5, 96000, 344, -magnitude::maxCoordinate - 0.5f },           // log of a negative
        { inf, 96000, 344, magnitude::maxCoordinate - 0.5f },
        { 1e300, 20002, 344, magnitude::maxCoordinate - 0.5f },         // a tiny span
    };
    for (const auto& row : rows)
        EXPECT_EQ (magnitude::frequencyToX (row.f, (float) (row.rate * 0.5), row.width), row.x) << row.f << " " << row.rate;
}

TEST (MagnitudeAxis, LabelSetsFollowTheRateAndVanishWithoutAnAxis)
{
    struct Row { double rate; bool usable; std::vector<double> labels; };
    const Row rows[] = {
        { 44100, true, { 10e3, 20e3 } },        { 96000, true, { 10e3, 20e3, 30e3, 40e3 } },
        { 176400, true, { 10e3, 20e3, 50e3 } }, { 192000, true, { 10e3, 20e3, 50e3 } },
        { 384000, true, { 10e3, 20e3, 50e3, 100e3 } },
        { 20002, true, { 10e3 } },              { 20000, false, {} }, { 16000, false, {} }, { 8000, false, {} },
        { 0, false, {} }, { -96000, false, {} }, { nan, false, {} }, { inf, false, {} },
    };
    for (const auto& row : rows)
    {
        const float half = (float) (row.rate * 0.5);
        EXPECT_EQ (magnitude::isAxisUsable (half), row.usable) << row.rate;
        const auto labels = magnitude::frequencyLabelsFor (half);
        EXPECT_EQ (std::vector<double> (labels.hz.begin(), labels.hz.begin() + labels.count), row.labels) << row.rate;
    }
}

TEST (MagnitudeAxis, CatmullRomPassesThroughItsPointsAndHandlesEndsAndBadValues)
{
    const double ramp[] = { 0, -10, -20, -30, -40 };
    const double odd[] = { nan, -inf, 1e300, -1000, -20, -20 };
    struct Row { const double* dB; int count; float t; float value; };
    const Row rows[] = {
        { ramp, 5, 0.0f, 0.0f },   { ramp, 5, 1.0f, -10.0f }, { ramp, 5, 2.0f, -20.0f }, // through the points
        { ramp, 5, 1.5f, -15.0f }, { ramp, 5, 2.25f, -22.5f },                           // inner segments stay linear
        { ramp, 5, 0.5f, -4.375f },                 // the first segment repeats its first point
        { ramp, 5, 3.0f, -300.0f },                 // no segment without a point after the next
        { ramp, 5, -1.0f, -300.0f }, { ramp, 5, (float) nan, -300.0f }, { ramp, 2, 0.0f, -300.0f },
        { odd, 6, 0.0f, -300.0f }, { odd, 6, 1.0f, -300.0f },                             // non-finite as the floor
        { odd, 6, 2.0f, 300.0f },  { odd, 6, 3.0f, -300.0f },                             // clamped to +-300 dB
    };
    for (const auto& row : rows)
        EXPECT_EQ (magnitude::catmullRomAt (row.dB, row.count, row.t), row.value) << (&row - rows);
}

//==============================================================================
struct MagnitudeDisplayTest : ::testing::Test
{
    MagnitudeDisplayTest()
    {
        display.setSize (366, 142);
        for (int i = 0; i < 180; ++i)
        {
            hz[i] = std::pow (10.0, 4.0 + i * (std::log10 (48000.0) - 4.0) / 180.0);
            dB[i] = hz[i] < 21000.0 ? 0.0 : -120.0;
        }
    }

    /** Whether the pixel at (x, y) of the display shows the curve's blue. */
    bool isBlue (int x, int y)
    {
        const auto c = display.createComponentSnapshot (display.getLocalBounds()).getPixelAt (x, y);
        return c.getAlpha() > 0 && c.getBlue() > c.getRed() + 20;
    }

    MagnitudeDisplay display;
    double hz[180] {}, dB[180] {};
};

TEST_F (MagnitudeDisplayTest, DrawsTheFilledCurveBelowItsLineOnlyWithAnAxisAndThreePoints)
{
    const int passband = 22 + 50, stopband = 22 + 300, belowLine = 19 + 60, aboveLine = 19 + 2;
    EXPECT_FALSE (isBlue (passband, belowLine)) << "no curve yet";

    display.setSampleRate (96000.0);
    display.setCurve (hz, dB, 180, 180);
    EXPECT_TRUE (isBlue (passband, belowLine));
    EXPECT_FALSE (isBlue (passband, aboveLine));
    EXPECT_FALSE (isBlue (stopband, belowLine));

    struct Row { double rate; int count; bool drawn; };
    const Row rows[] = { { 96000, 3, true }, { 96000, 2, false }, { 96000, 0, false }, { 96000, 500, true },
                         { 20000, 180, false }, { 16000, 180, false }, { 8000, 180, false }, { nan, 180, false },
                         { 1e300, 180, true } };
    for (const auto& row : rows)
    {
        display.setSampleRate (row.rate);
        display.setCurve (hz, dB, 180, row.count);
        EXPECT_EQ (isBlue (passband, belowLine), row.drawn) << row.rate << " " << row.count;
    }

    display.setSampleRate (96000.0);
    display.setCurve (hz, dB, 180, 180);
    for (const double corner : { nan, inf, -1.0, 0.0, 1e300 })
    {
        display.setCornerFrequency (corner);
        EXPECT_TRUE (isBlue (passband, belowLine)) << corner;
    }
}

TEST_F (MagnitudeDisplayTest, LowRatesShowTheMessageAndDimWhileBypassDimsEverything)
{
    struct Row { double rate; bool bypassed; bool message; float curveAlpha, displayAlpha; };
    const Row rows[] = {
        { 44100, false, true, 0.3f, 1.0f },  { 96000, false, false, 1.0f, 1.0f }, { 88200, false, false, 1.0f, 1.0f },
        { 88199, false, true, 0.3f, 1.0f },  { 96000, true, false, 1.0f, 0.3f },  { 44100, true, true, 0.3f, 0.3f },
    };
    EXPECT_TRUE (display.getMessage().isVisible()) << "the initial rate is too low";
    for (const auto& row : rows)
    {
        display.setSampleRate (row.rate);
        display.setBypassed (row.bypassed);
        EXPECT_EQ (display.getMessage().isVisible(), row.message) << row.rate;
        // JUCE keeps alpha in eight bits.
        EXPECT_NEAR (display.getPlot().getAlpha(), row.curveAlpha, 0.01f) << row.rate;
        EXPECT_NEAR (display.getBackground().getAlpha(), row.curveAlpha, 0.01f) << row.rate;
        EXPECT_NEAR (display.getAlpha(), row.displayAlpha, 0.01f) << row.rate;
        EXPECT_EQ (display.getPlot().getSampleRate(), row.rate);
    }
}
} // namespace
