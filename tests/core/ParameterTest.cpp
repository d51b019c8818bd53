#include "core/BooleanParameter.h"
#include "core/DiscreteParameter.h"
#include "core/FrequencyParameter.h"
#include "core/Parameter.h"
#include "support/JuceAssertions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

using namespace kelmora::core;

namespace
{
FrequencyParameter makeFrequency (double minimum = 20000.0, double maximum = 25000.0)
{
    return FrequencyParameter ("freqParam", "Frequency", 1, nullptr, 0, minimum, maximum, 21000.0);
}
} // namespace

TEST (Parameter, TextsAndParsingOfEveryKind)
{
    Parameter choices ("p", "P", "%", 1, "Min|Mid|Max", 0, 0.0, 100.0, 40.0);
    Parameter whole ("p", "P", nullptr, 0, nullptr, 0, 0.0, 100.0, 0.0);
    BooleanParameter bypass ("bypassParam", "Bypass", nullptr, false, "Off|On", 0);
    DiscreteParameter mode ("sliderMode", nullptr, nullptr, 0, 1, 0, "velocity|linear", 0);
    DiscreteParameter repeated ("r", nullptr, nullptr, 10, 13, 10, "a|b|a|3", 0); // later choices win
    DiscreteParameter sensitivity ("mouseSensitivity", nullptr, nullptr, 1, 200, 100, nullptr, 0);
    auto freq = makeFrequency(), wide = makeFrequency (20.0, 25000.0);

    struct Text { const Parameter& p; double value; bool withUnit; const char* text; };
    const Text texts[] = {
        // Choice texts on a plain parameter: the middle one at the centre.
        { choices, 12.34, true, "12.3 %" }, { choices, 50.0, true, "Mid %" }, { whole, 12.5, true, "13" }, { bypass, 0.49, false, "Off" }, { bypass, 0.5, false, "On" }, { mode, 0.0, false, "velocity" },
        { mode, 1.0, false, "linear" }, { mode, 2.0, false, "" }, { sensitivity, 100.4, false, "100" },
        { freq, 21049.0, false, "21000" }, { freq, 21049.0, true, "21.0 kHz" }, { wide, 1999.6, true, "2000 Hz" },
        { wide, 2500.4, true, "2.5 kHz" },
    };
    for (const auto& c : texts)
        EXPECT_EQ (c.withUnit ? c.p.getTextWithUnit (c.value) : c.p.getText (c.value), c.text) << c.text;

    struct Parse { const Parameter& p; const char* text; bool ok; double value; }; // on failure: the current value
    const Parse parses[] = {
        { choices, "21.5", true, 21.5 }, { choices, "21,5", true, 21.5 }, { choices, "  7 %", true, 7.0 },
        { choices, "-3", true, 0.0 }, { choices, "1e3", true, 100.0 }, { choices, "mid", true, 50.0 },
        { choices, "", false, 40.0 }, { choices, "abc", false, 40.0 }, { choices, "nan", false, 40.0 },
        { choices, "-INF", false, 40.0 }, { choices, "infinity", false, 40.0 }, { choices, "1e400", false, 40.0 },
        { choices, "-NAN(1)", false, 40.0 }, { choices, "-1e309", false, 40.0 }, { choices, "-", false, 40.0 },
        { bypass, "on", true, 1.0 }, { bypass, "OFF", true, 0.0 }, { bypass, "0.7", true, 0.7 },
        { bypass, "maybe", false, 0.0 }, { mode, "LINEAR", true, 1.0 }, { mode, "Velocity", true, 0.0 },
        { mode, "7", true, 1.0 }, { mode, "0,9", true, 0.0 }, { mode, "fast", false, 0.0 }, { mode, "nan", false, 0.0 },
        { repeated, "A", true, 12.0 }, { repeated, "3", true, 13.0 },
        { freq, "21.5", true, 21500.0 }, { freq, "21.5k", true, 21500.0 }, { freq, "21,5", true, 21500.0 },
        { freq, "21.5 KHZ", true, 21500.0 }, { freq, "30k", true, 25000.0 }, { freq, "22000", true, 22000.0 },
        { freq, "5", true, 20000.0 }, { freq, "no number", false, 21000.0 }, { freq, "nank", false, 21000.0 },
        { freq, "1e400k", false, 21000.0 },
    };
    for (const auto& c : parses)
    {
        double v = -1.0;
        EXPECT_EQ (c.p.parseText (c.text, &v), c.ok) << c.text;
        EXPECT_DOUBLE_EQ (v, c.value) << c.text;
    }
    float n = -1.0f;
    EXPECT_FALSE (choices.textToNormalised ("junk", &n));
    EXPECT_FLOAT_EQ (n, 0.4f);

    EXPECT_DOUBLE_EQ (Parameter ("p", nullptr, nullptr, 1, nullptr, 0, 0.0, 100.0, 150.0).getValue(), 100.0);
    freq.setNormalisedValue (freq.valueToNormalised (21049.0));
    EXPECT_NEAR (freq.getQuantisedValue(), 21000.0, 1e-9);
    sensitivity.setNormalisedValue (sensitivity.valueToNormalised (57.3));
    EXPECT_NEAR (sensitivity.getQuantisedValue(), 57.3, 1e-4); // not rounded
    EXPECT_EQ (sensitivity.getIntValue(), 57);
    bypass.setNormalisedValue (bypass.valueToNormalised (0.7));
    EXPECT_TRUE (bypass.getBoolValue());
}

// The wheel step: 1, 2 or 5 times a power of ten of the range.
TEST (Parameter, StepFractionRoundsToOneTwoFive)
{
    const std::tuple<double, int, double> cases[] = { // maximum (minimum 0), decimals, step
        { 400.0, 0, 5.0 / 400.0 }, { 800.0, 0, 10.0 / 800.0 }, { 320.0, 1, 2.0 / 320.0 }, { 640.0, 1, 5.0 / 640.0 }, // 4 to 5, 8 to 10, 3.2 to 2, 6.4 to 5
    };
    for (const auto& [maximum, decimals, expected] : cases)
        EXPECT_NEAR (Parameter ("p", "P", nullptr, decimals, nullptr, 0, 0.0, maximum, 0.0).getStepFraction(), expected, 1e-6 * expected) << maximum;
}

TEST (Parameter, MappingsRoundTripClampAndSnap)
{
    Parameter up ("p", "P", nullptr, 2, nullptr, 0, -12.0, 24.0, 0.0);
    auto f = makeFrequency();
    for (const auto& [p, values] : { std::pair<Parameter*, std::vector<double>> { &up, { -12.0, -3.5, 7.25, 24.0 } }, { &f, { 20000.0, 21000.0, 25000.0 } } })
        for (double v : values)
            EXPECT_NEAR (p->normalisedToValue (p->valueToNormalised (v)), v, 1e-5 * std::abs (v));
    EXPECT_FLOAT_EQ (up.valueToNormalised (100.0), 1.0f);
    EXPECT_NEAR (f.normalisedToValue (0.5f), std::sqrt (20000.0 * 25000.0), 0.01); // logarithmic
    EXPECT_NEAR (f.normalisedToValue (f.getNormalisedValue()), 21000.0, 0.01);
    EXPECT_DOUBLE_EQ (f.normalisedToValue (-1.0f), 20000.0);
    up.setNormalisedValue (1.5f);
    EXPECT_DOUBLE_EQ (up.getValue(), 24.0);
    up.setRangeKeepingPosition (0.0, 10.0, 0);
    EXPECT_DOUBLE_EQ (up.getValue(), 10.0);

    // Snapping goes to the nearest of 0, 1 and the snap points, the earlier one on a tie.
    EXPECT_FLOAT_EQ (up.snapNormalised (0.5f), 0.0f);
    up.addSnapPoint (2.5);
    up.addSnapPoint (7.5);
    for (auto [from, to] : { std::pair (0.3f, 0.25f), { 0.125f, 0.0f }, { 0.5f, 0.25f }, { 0.875f, 0.75f } })
        EXPECT_FLOAT_EQ (up.snapNormalised (from), to) << from;
}

TEST (Parameter, ConsumersClearOnlyTheirChangeBitAndNonFiniteInputIsIgnored)
{
    Parameter p ("p", "P", nullptr, 1, nullptr, 0, 0.0, 10.0, 4.0);
    EXPECT_FALSE (p.isChanged (Parameter::allChanged));
    p.setNormalisedValue (0.25f);
    EXPECT_TRUE (p.testAndClearChanged (Parameter::audioChanged));
    EXPECT_FALSE (p.testAndClearChanged (Parameter::audioChanged));
    EXPECT_TRUE (p.testAndClearChanged (Parameter::editorChanged)); // untouched by the audio consumer
    p.testAndClearChanged (Parameter::allChanged);

    for (float bad : { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                       -std::numeric_limits<float>::infinity() })
        p.setNormalisedValue (bad);
    EXPECT_DOUBLE_EQ (p.getValue(), 2.5);
    EXPECT_FALSE (p.isChanged (Parameter::allChanged));
}

TEST (Parameter, DegenerateRangesAreRefused)
{
    const double ranges[][2] = { { 5.0, 5.0 }, { 10.0, 0.0 }, { std::nan (""), 1.0 }, { -1e308, 1e308 } };
    for (const auto& r : ranges)
    {
        const quietline::test::ExpectedJuceAssertion programmingError ("Parameter.cpp");
        Parameter p ("p", "P", nullptr, 0, nullptr, 0, r[0], r[1], 0.5);
        EXPECT_EQ (std::make_tuple (p.getMinimum(), p.getMaximum(), p.getStepFraction()), std::make_tuple (0.0, 1.0, 1.0f)) << r[0];
    }
    for (double minimum : { 0.0, -5.0, 30000.0 })
    {
        const quietline::test::ExpectedJuceAssertion programmingError ("FrequencyParameter.cpp");
        auto f = makeFrequency (minimum, 25000.0);
        EXPECT_EQ (std::make_pair (f.getMinimum(), f.getMaximum()), std::make_pair (20.0, 20000.0)) << minimum;
    }

    // Extreme but usable ranges and decimals still give a finite step without looping.
    Parameter wide ("p", "P", nullptr, 400, nullptr, 0, -1e300, 1e300, 0.0);
    EXPECT_EQ (wide.getDecimals(), 15);
    EXPECT_TRUE (std::isfinite (wide.getStepFraction()));
}
