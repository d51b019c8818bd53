#include "core/BooleanParameter.h"
#include "core/DiscreteParameter.h"
#include "core/FrequencyParameter.h"
#include "core/Parameter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace kelmora::core;

namespace
{
FrequencyParameter makeFrequency (double minimum = 20000.0, double maximum = 25000.0)
{
    return FrequencyParameter ("freqParam", "Frequency", 1, nullptr, 0, minimum, maximum, 21000.0);
}

struct ParseCase
{
    const char* text;
    bool ok;
    double expected;
};

void expectParses (const Parameter& p, std::initializer_list<ParseCase> cases)
{
    for (const auto& c : cases)
    {
        double v = -1.0;
        EXPECT_EQ (p.parseText (c.text, &v), c.ok) << c.text;
        EXPECT_DOUBLE_EQ (v, c.expected) << c.text;
    }
}
} // namespace

//==============================================================================
TEST (Parameter, TextsFollowRuleOrderDecimalsAndUnit)
{
    Parameter p ("mixParam", nullptr, "%", 1, nullptr, 0, 0.0, 100.0, 150.0);
    EXPECT_DOUBLE_EQ (p.getValue(), 100.0); // the default is kept, the value clamped
    EXPECT_EQ (p.getTextWithUnit (12.34), "12.3 %");

    Parameter unquantised ("p", "P", nullptr, 1, nullptr, Parameter::noQuantise, 0.0, 100.0, 0.0);
    EXPECT_EQ (unquantised.getText (12.34), "12.3");
    EXPECT_DOUBLE_EQ (unquantised.quantise (12.34), 12.34);

    Parameter whole ("p", "P", nullptr, 0, nullptr, 0, 0.0, 100.0, 0.0);
    EXPECT_EQ (whole.getTextWithUnit (12.5), "13");

    // One token sets the minimum text, two add the maximum, three put the middle one at the centre.
    Parameter one ("p", "P", "dB", 0, "Off", 0, -60.0, 0.0, 0.0);
    EXPECT_EQ (one.getTextWithUnit (-70.0), "Off");
    EXPECT_EQ (one.getTextWithUnit (0.0), "0 dB");

    Parameter three ("p", "P", "%", 0, "Left|Centre|Right", 0, -50.0, 50.0, 0.0);
    EXPECT_EQ (three.getTextWithUnit (0.0), "Centre %"); // a centre text does get the unit
    EXPECT_EQ (three.getTextWithUnit (50.0), "Right");
    EXPECT_EQ (three.getText (0.1), "0");

    Parameter four ("p", "P", nullptr, 0, "a|b|c|d", 0, 0.0, 3.0, 0.0);
    EXPECT_EQ (four.getText (0.0), "0");
}

TEST (Parameter, ParsesNumbersCommasAndChoiceTexts)
{
    Parameter p ("p", "P", "%", 1, "Min|Mid|Max", 0, 0.0, 100.0, 40.0);
    expectParses (p, { { "21.5", true, 21.5 }, { "21,5", true, 21.5 }, { "  7 %", true, 7.0 },
                       { "-3", true, 0.0 },    { "1e3", true, 100.0 },  { "min", true, 0.0 },
                       { "MAX", true, 100.0 }, { "mid", true, 50.0 },   { "Max ", false, 40.0 },
                       { "", false, 40.0 },    { "abc", false, 40.0 } });

    float n = -1.0f;
    EXPECT_FALSE (p.textToNormalised ("junk", &n));
    EXPECT_FLOAT_EQ (n, 0.4f); // the current value's position even on failure
}

TEST (Parameter, StepFractionRoundsToOneTwoFive)
{
    struct StepCase { double minimum, maximum; int decimals; juce::uint32 flags; double expected; };
    const StepCase cases[] = {
        { 20000.0, 25000.0, 1, 0, 0.01 },    { 0.0, 100.0, 1, 0, 0.02 },
        { 0.0, 1.0, 0, 0, 1.0 },             { 1.0, 200.0, 0, 0, 1.0 / 99.5 },
        { 0.0, 400.0, 0, 0, 5.0 / 400.0 },   // mantissa 4 rounds to 5
        { 0.0, 800.0, 0, 0, 10.0 / 800.0 },  // 8 rounds to 10
        { 0.0, 320.0, 1, 0, 2.0 / 320.0 },   // 3.2 rounds to 2
        { 0.0, 640.0, 1, 0, 5.0 / 640.0 },   // 6.4 rounds to 5
        { 0.0, 400.0, 0, Parameter::plainStep, 0.01 },
    };

    for (const auto& c : cases)
    {
        Parameter p ("p", "P", nullptr, c.decimals, nullptr, c.flags, c.minimum, c.maximum, c.minimum);
        EXPECT_NEAR (p.getStepFraction(), c.expected, 1e-6 * c.expected) << c.minimum << ".." << c.maximum;
    }
}

TEST (Parameter, LinearMappingRoundTripsIncludingInverted)
{
    Parameter up ("p", "P", nullptr, 2, nullptr, 0, -12.0, 24.0, 0.0);
    Parameter down ("p", "P", nullptr, 2, nullptr, Parameter::invertedRange, -12.0, 24.0, 0.0);

    for (double v : { -12.0, -3.5, 7.25, 24.0 })
    {
        EXPECT_NEAR (up.normalisedToValue (up.valueToNormalised (v)), v, 1e-5);
        EXPECT_NEAR (down.normalisedToValue (down.valueToNormalised (v)), v, 1e-5);
    }

    EXPECT_FLOAT_EQ (down.valueToNormalised (24.0), 0.0f);
    EXPECT_FLOAT_EQ (up.valueToNormalised (100.0), 1.0f);

    up.setNormalisedValue (1.5f);
    EXPECT_FLOAT_EQ (up.getNormalisedValue(), 1.5f);
    EXPECT_DOUBLE_EQ (up.getValue(), 24.0);

    up.setRangeKeepingPosition (0.0, 10.0, 0);
    EXPECT_DOUBLE_EQ (up.getValue(), 10.0);
}

TEST (Parameter, ChangeMaskSetsAllBitsAndEachConsumerClearsItsOwn)
{
    Parameter p ("p", "P", nullptr, 0, nullptr, 0, 0.0, 1.0, 0.0);
    EXPECT_FALSE (p.isChanged (0xFFFFFFFF));

    p.markChanged (Parameter::audioChanged);
    EXPECT_TRUE (p.isChanged (0x8000));
    EXPECT_FALSE (p.isChanged (0x10000));
    EXPECT_TRUE (p.testAndClearChanged (Parameter::audioChanged));
    EXPECT_FALSE (p.testAndClearChanged (Parameter::audioChanged));
    EXPECT_TRUE (p.testAndClearChanged (Parameter::editorChanged));

    p.setNormalisedValue (0.25f);
    EXPECT_TRUE (p.isChanged (Parameter::audioChanged));
}

TEST (Parameter, NonFiniteInputIsIgnored)
{
    Parameter p ("p", "P", nullptr, 1, nullptr, 0, 0.0, 10.0, 4.0);
    constexpr auto inf = std::numeric_limits<float>::infinity();

    for (float bad : { std::numeric_limits<float>::quiet_NaN(), inf, -inf })
        p.setNormalisedValue (bad);

    EXPECT_DOUBLE_EQ (p.getValue(), 4.0);
    EXPECT_FLOAT_EQ (p.getNormalisedValue(), 0.4f);
    EXPECT_FALSE (p.isChanged (0xFFFF));

    expectParses (p, { { "nan", false, 4.0 }, { "-INF", false, 4.0 }, { "infinity", false, 4.0 },
                       { "1e400", false, 4.0 } });
    expectParses (makeFrequency(), { { "nank", false, 21000.0 }, { "1e400k", false, 21000.0 } });
    expectParses (DiscreteParameter ("d", nullptr, nullptr, 0, 9, 3, nullptr, 0), { { "nan", false, 3.0 } });
}

TEST (Parameter, DegenerateRangesAreRefused)
{
    const double ranges[][2] = { { 5.0, 5.0 }, { 10.0, 0.0 }, { std::numeric_limits<double>::quiet_NaN(), 1.0 },
                                 { -1e308, 1e308 } };

    for (const auto& r : ranges)
    {
        Parameter p ("p", "P", nullptr, 0, nullptr, 0, r[0], r[1], 0.5);
        EXPECT_DOUBLE_EQ (p.getMinimum(), 0.0);
        EXPECT_DOUBLE_EQ (p.getMaximum(), 1.0);
        EXPECT_FLOAT_EQ (p.getStepFraction(), 1.0f);
    }

    // Extreme but usable ranges and decimals still give a finite step without looping.
    Parameter wide ("p", "P", nullptr, 400, nullptr, 0, -1e300, 1e300, 0.0);
    EXPECT_EQ (wide.getDecimals(), 15);
    EXPECT_TRUE (std::isfinite (wide.getStepFraction()));

    for (double minimum : { 0.0, -5.0, 30000.0 })
    {
        auto f = makeFrequency (minimum, 25000.0);
        EXPECT_DOUBLE_EQ (f.getMinimum(), 20.0) << minimum;
        EXPECT_DOUBLE_EQ (f.getMaximum(), 20000.0) << minimum;
    }

    auto f = makeFrequency();
    f.setRange (0.0, 30000.0); // later changes are refused too
    EXPECT_DOUBLE_EQ (f.getMinimum(), 20000.0);
}

TEST (Parameter, SnapsToNearestCandidateKeepingEarlierOnTies)
{
    Parameter p ("p", "P", nullptr, 0, nullptr, 0, 0.0, 100.0, 0.0);
    EXPECT_FLOAT_EQ (p.snapNormalised (0.5f), 0.0f);

    p.addSnapPoint (25.0);
    p.addSnapPoint (75.0);
    EXPECT_FLOAT_EQ (p.snapNormalised (0.3f), 0.25f);
    EXPECT_FLOAT_EQ (p.snapNormalised (0.125f), 0.0f);  // tie between 0 and 0.25 keeps 0
    EXPECT_FLOAT_EQ (p.snapNormalised (0.5f), 0.25f);   // tie between the points keeps the first
    EXPECT_FLOAT_EQ (p.snapNormalised (0.875f), 0.75f); // tie with 1 keeps the point
}

TEST (Parameter, TheSharedInvalidParameterNeverChanges)
{
    auto& invalid = Parameter::getInvalid();
    invalid.setNormalisedValue (0.7f);
    invalid.markChanged (Parameter::allChanged);
    invalid.setRangeKeepingPosition (5.0, 10.0, 2);
    invalid.addSnapPoint (0.5);

    EXPECT_DOUBLE_EQ (invalid.getMaximum(), 1.0);
    EXPECT_EQ (invalid.getNumSnapPoints(), 0);
    EXPECT_FALSE (invalid.isChanged (0xFFFF));
    EXPECT_EQ (invalid.getValueText(), "0");
}

//==============================================================================
TEST (BooleanParameter, ShowsAndParsesItsTwoStates)
{
    BooleanParameter b ("bypassParam", "Bypass", nullptr, false, "Off|On", 0);
    EXPECT_EQ (b.getText (0.49), "Off");
    EXPECT_EQ (b.getText (0.5), "On");
    expectParses (b, { { "on", true, 1.0 }, { "OFF", true, 0.0 }, { "0.7", true, 0.7 }, { "maybe", false, 0.0 } });

    b.setNormalisedValue (b.valueToNormalised (0.7));
    EXPECT_TRUE (b.getBoolValue());
    b.setRange (10.0, 20.0);
    EXPECT_DOUBLE_EQ (b.getMaximum(), 1.0);
}

TEST (DiscreteParameter, ShowsAndParsesNamesAndNumbers)
{
    DiscreteParameter mode ("sliderMode", nullptr, nullptr, 0, 1, 0, "velocity|linear", 0);
    EXPECT_EQ (mode.getText (0.0), "velocity");
    EXPECT_EQ (mode.getText (1.0), "linear");
    EXPECT_EQ (mode.getText (2.0), "");
    expectParses (mode, { { "LINEAR", true, 1.0 }, { "Velocity", true, 0.0 }, { "7", true, 1.0 },
                          { "0,9", true, 0.0 }, { "fast", false, 0.0 } });

    // A later choice overrides an earlier one and a number.
    DiscreteParameter repeated ("r", nullptr, nullptr, 10, 13, 10, "a|b|a|3", 0);
    expectParses (repeated, { { "A", true, 12.0 }, { "3", true, 13.0 } });

    DiscreteParameter sensitivity ("mouseSensitivity", nullptr, nullptr, 1, 200, 100, nullptr, 0);
    EXPECT_EQ (sensitivity.getText (100.4), "100");
    sensitivity.setNormalisedValue (sensitivity.valueToNormalised (57.3));
    EXPECT_NEAR (sensitivity.getQuantisedValue(), 57.3, 1e-4); // not rounded
    EXPECT_EQ (sensitivity.getIntValue(), 57);
}

//==============================================================================
TEST (FrequencyParameter, ShowsHertzAndKilohertz)
{
    auto f = makeFrequency();
    f.setNormalisedValue (f.valueToNormalised (21049.0));
    EXPECT_EQ (f.getText (21049.0), "21000");
    EXPECT_EQ (f.getTextWithUnit (21049.0), "21.0 kHz");
    EXPECT_NEAR (f.getQuantisedValue(), 21000.0, 1e-9);

    auto wide = makeFrequency (20.0, 25000.0);
    EXPECT_EQ (wide.getTextWithUnit (1999.6), "2000 Hz");
    EXPECT_EQ (wide.getTextWithUnit (2500.4), "2.5 kHz");

    FrequencyParameter named ("f", nullptr, 0, "Low|High", 0, 20.0, 20000.0, 20.0);
    EXPECT_EQ (named.getTextWithUnit (20.0), "Low");
    EXPECT_EQ (named.getText (20000.0), "High");
}

TEST (FrequencyParameter, ParsesKilohertzGuessesAndClamps)
{
    expectParses (makeFrequency(), { { "21.5", true, 21500.0 },  { "21.5k", true, 21500.0 },
                                     { "21,5", true, 21500.0 },  { "21.5 KHZ", true, 21500.0 },
                                     { "30k", true, 25000.0 },   { "22000", true, 22000.0 },
                                     { "5", true, 20000.0 },     { "no number", false, 21000.0 } });
}

TEST (FrequencyParameter, LogarithmicMappingFromTheStart)
{
    auto f = makeFrequency();
    EXPECT_FLOAT_EQ (f.getNormalisedValue(), (float) (std::log (21000.0 / 20000.0) / std::log (25000.0 / 20000.0)));
    EXPECT_NEAR (f.normalisedToValue (0.5f), std::sqrt (20000.0 * 25000.0), 0.01);
    EXPECT_DOUBLE_EQ (f.normalisedToValue (-1.0f), 20000.0);

    for (double v : { 20000.0, 21000.0, 25000.0 })
        EXPECT_NEAR (f.normalisedToValue (f.valueToNormalised (v)), v, 0.01);
}
