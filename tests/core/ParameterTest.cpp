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
constexpr float nanF = std::numeric_limits<float>::quiet_NaN();
constexpr float infF = std::numeric_limits<float>::infinity();

FrequencyParameter makeFrequency (double minimum = 20000.0, double maximum = 25000.0, double def = 21000.0)
{
    return FrequencyParameter ("freqParam", "Frequency", 1, nullptr, 0, minimum, maximum, def);
}

struct ParseCase
{
    const char* text;
    bool ok;
    double expected;
};
} // namespace

//==============================================================================
TEST (Parameter, ConstructionFillsFieldsAndStartsUnchanged)
{
    Parameter p ("mixParam", nullptr, nullptr, 1, nullptr, Parameter::noUndo, 0.0, 100.0, 150.0);

    EXPECT_EQ (p.getId(), "mixParam");
    EXPECT_EQ (p.getName(), "mixParam");
    EXPECT_EQ (p.getUnit(), "");
    EXPECT_EQ (p.getFlags(), (juce::uint32) Parameter::noUndo);
    EXPECT_DOUBLE_EQ (p.getDefaultValue(), 150.0); // kept unclamped
    EXPECT_DOUBLE_EQ (p.getValue(), 100.0);
    EXPECT_FLOAT_EQ (p.getNormalisedValue(), 1.0f);
    EXPECT_DOUBLE_EQ (p.getCentre(), 50.0);
    EXPECT_FALSE (p.isChanged (0xFFFFFFFF));
    EXPECT_TRUE (p.isAtMaximum());
    EXPECT_EQ (p.getDefaultInt(), 150);
    EXPECT_EQ (p.getNumSteps(), 0);
}

TEST (Parameter, TextsFollowDecimalsQuantisingAndUnit)
{
    Parameter one ("p", "P", "%", 1, nullptr, 0, 0.0, 100.0, 0.0);
    EXPECT_EQ (one.getText (12.34), "12.3");
    EXPECT_EQ (one.getText (12.35), "12.4");
    EXPECT_EQ (one.getTextWithUnit (12.34), "12.3 %");

    Parameter unquantised ("p", "P", nullptr, 1, nullptr, Parameter::noQuantise, 0.0, 100.0, 0.0);
    EXPECT_EQ (unquantised.getText (12.34), "12.3");
    EXPECT_DOUBLE_EQ (unquantised.quantise (12.34), 12.34);

    Parameter whole ("p", "P", nullptr, 0, nullptr, 0, 0.0, 100.0, 0.0);
    EXPECT_EQ (whole.getText (12.5), "13");
    EXPECT_EQ (whole.getText (12.49), "12");
    EXPECT_EQ (whole.getTextWithUnit (12.5), "13"); // no unit, no blank

    one.setNormalisedValue (0.1234f);
    EXPECT_EQ (one.getValueText(), "12.3");
    EXPECT_EQ (one.getValueTextWithUnit(), "12.3 %");
    EXPECT_EQ (one.getTextForNormalised (0.5f), "50.0");
    EXPECT_EQ (one.getTextWithUnitForNormalised (0.5f), "50.0 %");
    EXPECT_NEAR (one.getQuantisedValue(), 12.3, 1e-12);
    EXPECT_EQ (one.getIntValue(), 12);
}

TEST (Parameter, ChoiceTokensSetMinMidAndMaxTexts)
{
    Parameter single ("p", "P", "dB", 0, "Off", 0, -60.0, 0.0, 0.0);
    EXPECT_EQ (single.getText (-60.0), "Off");
    EXPECT_EQ (single.getText (-70.0), "Off");
    EXPECT_EQ (single.getTextWithUnit (-60.0), "Off");
    EXPECT_EQ (single.getText (0.0), "0");

    Parameter two ("p", "P", "%", 0, "Dry|Wet", 0, 0.0, 100.0, 0.0);
    EXPECT_EQ (two.getText (0.0), "Dry");
    EXPECT_EQ (two.getText (100.0), "Wet");
    EXPECT_EQ (two.getText (50.0), "50");

    Parameter three ("p", "P", "%", 0, "Left|\"Centre|Mid\"|Right", 0, -50.0, 50.0, 0.0);
    EXPECT_EQ (three.getChoices().size(), 3);
    EXPECT_EQ (three.getText (-50.0), "Left");
    EXPECT_EQ (three.getText (0.0), "\"Centre|Mid\"");
    EXPECT_EQ (three.getTextWithUnit (0.0), "\"Centre|Mid\" %"); // a centre text does get the unit
    EXPECT_EQ (three.getTextWithUnit (50.0), "Right");
    EXPECT_EQ (three.getText (0.1), "0");

    Parameter four ("p", "P", nullptr, 0, "a|b|c|d", 0, 0.0, 3.0, 0.0);
    EXPECT_EQ (four.getChoices().size(), 4);
    EXPECT_EQ (four.getText (0.0), "0");
    EXPECT_EQ (four.getText (3.0), "3");
}

TEST (Parameter, ParsesNumbersCommasAndChoiceTexts)
{
    Parameter p ("p", "P", "%", 1, "Min|Mid|Max", 0, 0.0, 100.0, 40.0);
    const ParseCase cases[] = {
        { "21.5", true, 21.5 },   { "21,5", true, 21.5 },   { "  7 %", true, 7.0 },
        { "-3", true, 0.0 },      { "1e3", true, 100.0 },   { "min", true, 0.0 },
        { "MAX", true, 100.0 },   { "mid", true, 50.0 },    { "Max ", false, 40.0 },
        { "", false, 40.0 },      { "abc", false, 40.0 },   { "nan", false, 40.0 },
        { "inf", false, 40.0 },   { "-infinity", false, 40.0 }, { "1e999", false, 40.0 },
    };

    for (const auto& c : cases)
    {
        double v = -1.0;
        EXPECT_EQ (p.parseText (c.text, &v), c.ok) << c.text;
        EXPECT_DOUBLE_EQ (v, c.expected) << c.text;
    }

    float n = -1.0f;
    EXPECT_FALSE (p.textToNormalised ("junk", &n));
    EXPECT_FLOAT_EQ (n, 0.4f); // the current value's position even on failure
    EXPECT_TRUE (p.textToNormalised ("75", &n));
    EXPECT_FLOAT_EQ (n, 0.75f);
    EXPECT_TRUE (p.parseText ("5", nullptr));
}

TEST (Parameter, StepFractionRoundsToOneTwoFive)
{
    struct StepCase { double minimum, maximum; int decimals; juce::uint32 flags; double expected; };
    const StepCase cases[] = {
        { 20000.0, 25000.0, 1, 0, 0.01 },
        { 0.0, 100.0, 1, 0, 0.02 },
        { 0.0, 1.0, 0, 0, 1.0 },
        { 1.0, 200.0, 0, 0, 1.0 / 99.5 },
        { 0.0, 400.0, 0, 0, 5.0 / 400.0 },   // mantissa 4 rounds to 5
        { 0.0, 800.0, 0, 0, 10.0 / 800.0 },  // mantissa 8 rounds to 10
        { 0.0, 320.0, 1, 0, 2.0 / 320.0 },   // mantissa 3.2 rounds to 2
        { 0.0, 640.0, 1, 0, 5.0 / 640.0 },   // mantissa 6.4 rounds to 5
        { 0.0, 400.0, 0, Parameter::plainStep, 0.01 },
        { 0.0, 0.25, 2, 0, 0.04 },
    };

    for (const auto& c : cases)
    {
        Parameter p ("p", "P", nullptr, c.decimals, nullptr, c.flags, c.minimum, c.maximum, c.minimum);
        EXPECT_NEAR (p.getStepFraction(), c.expected, 1e-6 * c.expected) << c.minimum << ".." << c.maximum;
    }
}

TEST (Parameter, LinearMappingRoundTripsAndClampsIncludingInverted)
{
    Parameter up ("p", "P", nullptr, 2, nullptr, 0, -12.0, 24.0, 0.0);
    Parameter down ("p", "P", nullptr, 2, nullptr, Parameter::invertedRange, -12.0, 24.0, 0.0);

    for (double v : { -12.0, -3.5, 0.0, 7.25, 24.0 })
    {
        EXPECT_NEAR (up.normalisedToValue (up.valueToNormalised (v)), v, 1e-5);
        EXPECT_NEAR (down.normalisedToValue (down.valueToNormalised (v)), v, 1e-5);
        EXPECT_NEAR (up.valueToNormalised (v) + down.valueToNormalised (v), 1.0f, 1e-6);
    }

    EXPECT_FLOAT_EQ (down.valueToNormalised (24.0), 0.0f);
    EXPECT_DOUBLE_EQ (down.normalisedToValue (0.0f), 24.0);
    EXPECT_DOUBLE_EQ (down.normalisedToValue (1.0f), -12.0);
    EXPECT_FLOAT_EQ (up.valueToNormalised (100.0), 1.0f);
    EXPECT_DOUBLE_EQ (up.normalisedToValue (-0.5f), -12.0);

    up.setNormalisedValue (1.5f);
    EXPECT_FLOAT_EQ (up.getNormalisedValue(), 1.5f);
    EXPECT_DOUBLE_EQ (up.getValue(), 24.0);

    up.setRangeKeepingPosition (0.0, 10.0, 0);
    EXPECT_DOUBLE_EQ (up.getValue(), 10.0);
    EXPECT_EQ (up.getDecimals(), 0);
    EXPECT_TRUE (up.isChanged (Parameter::editorChanged));
}

TEST (Parameter, ChangeMaskSetsAllBitsAndEachConsumerClearsItsOwn)
{
    Parameter p ("p", "P", nullptr, 0, nullptr, 0, 0.0, 1.0, 0.0);

    p.markChanged (Parameter::audioChanged);
    EXPECT_TRUE (p.isChanged (Parameter::editorChanged));
    EXPECT_TRUE (p.isChanged (0x8000));
    EXPECT_FALSE (p.isChanged (0x10000));

    EXPECT_TRUE (p.testAndClearChanged (Parameter::audioChanged));
    EXPECT_FALSE (p.testAndClearChanged (Parameter::audioChanged));
    EXPECT_TRUE (p.isChanged (Parameter::editorChanged));
    EXPECT_TRUE (p.testAndClearChanged (Parameter::editorChanged));
    EXPECT_FALSE (p.isChanged (Parameter::audioChanged | Parameter::editorChanged));

    p.setNormalisedValue (0.25f);
    EXPECT_TRUE (p.isChanged (Parameter::audioChanged));
    EXPECT_TRUE (p.testAndClearChanged (0xFFFF));
    EXPECT_FALSE (p.isChanged (0xFFFFFFFF));
}

TEST (Parameter, NonFiniteInputIsIgnored)
{
    Parameter p ("p", "P", nullptr, 1, nullptr, 0, 0.0, 10.0, 4.0);
    FrequencyParameter f = makeFrequency();

    for (float bad : { nanF, infF, -infF })
    {
        p.setNormalisedValue (bad);
        f.setNormalisedValue (bad);
    }

    EXPECT_DOUBLE_EQ (p.getValue(), 4.0);
    EXPECT_FLOAT_EQ (p.getNormalisedValue(), 0.4f);
    EXPECT_DOUBLE_EQ (f.getValue(), 21000.0);
    EXPECT_FALSE (p.isChanged (0xFFFF));
    EXPECT_FALSE (f.isChanged (0xFFFF));

    double v = 0.0;
    for (const char* text : { "nan", "NaN", "inf", "-INF", "infinity", "1e400", "nank", "1e400k" })
    {
        EXPECT_FALSE (f.parseText (text, &v)) << text;
        EXPECT_DOUBLE_EQ (v, 21000.0) << text;
    }

    // NaN stays recognisable as "no value", so the setters above can drop it.
    EXPECT_TRUE (std::isnan (p.valueToNormalised (std::numeric_limits<double>::quiet_NaN())));
}

TEST (Parameter, DegenerateRangesAreRefused)
{
    const double nanValue = std::numeric_limits<double>::quiet_NaN();
    const double ranges[][2] = { { 5.0, 5.0 }, { 10.0, 0.0 }, { nanValue, 1.0 },
                                 { 0.0, std::numeric_limits<double>::infinity() },
                                 { -1e308, 1e308 } };

    for (const auto& r : ranges)
    {
        Parameter p ("p", "P", nullptr, 15, nullptr, 0, r[0], r[1], 0.5);
        EXPECT_DOUBLE_EQ (p.getMinimum(), 0.0);
        EXPECT_DOUBLE_EQ (p.getMaximum(), 1.0);
        EXPECT_TRUE (std::isfinite (p.getStepFraction()));
        EXPECT_FLOAT_EQ (p.getNormalisedValue(), 0.5f);
    }

    Parameter p ("p", "P", nullptr, 0, nullptr, 0, 0.0, 10.0, 5.0);
    p.setRange (3.0, 3.0);
    p.setRange (8.0, 2.0);
    EXPECT_DOUBLE_EQ (p.getMinimum(), 0.0);
    EXPECT_DOUBLE_EQ (p.getMaximum(), 10.0);

    // Extreme but finite ranges and decimals still give a finite step without looping.
    Parameter wide ("p", "P", nullptr, 400, nullptr, 0, -1e300, 1e300, 0.0);
    EXPECT_EQ (wide.getDecimals(), 15);
    EXPECT_TRUE (std::isfinite (wide.getStepFraction()));

    for (const auto& r : { std::pair { 0.0, 25000.0 }, std::pair { -5.0, 10.0 }, std::pair { 100.0, 100.0 } })
    {
        FrequencyParameter f ("f", "F", 0, nullptr, 0, r.first, r.second, 1000.0);
        EXPECT_DOUBLE_EQ (f.getMinimum(), 20.0);
        EXPECT_DOUBLE_EQ (f.getMaximum(), 20000.0);
        EXPECT_TRUE (std::isfinite (f.valueToNormalised (0.0)));
    }

    FrequencyParameter f = makeFrequency();
    f.setRange (0.0, 30000.0);
    EXPECT_DOUBLE_EQ (f.getMinimum(), 20000.0);

    DiscreteParameter d ("d", "D", nullptr, 3, 3, 3, nullptr, 0);
    EXPECT_DOUBLE_EQ (d.getMaximum(), 1.0);
}

TEST (Parameter, SnapsToNearestCandidateKeepingEarlierOnTies)
{
    Parameter p ("p", "P", nullptr, 0, nullptr, 0, 0.0, 100.0, 0.0);
    EXPECT_FLOAT_EQ (p.snapNormalised (0.5f), 0.0f);
    EXPECT_FLOAT_EQ (p.snapNormalised (0.51f), 1.0f);
    EXPECT_FLOAT_EQ (p.snapNormalised (-0.2f), 0.0f);

    p.addSnapPoint (25.0);
    p.addSnapPoint (75.0);
    EXPECT_EQ (p.getNumSnapPoints(), 2);
    EXPECT_FLOAT_EQ (p.snapNormalised (0.3f), 0.25f);
    EXPECT_FLOAT_EQ (p.snapNormalised (0.125f), 0.0f);  // tie between 0 and 0.25 keeps 0
    EXPECT_FLOAT_EQ (p.snapNormalised (0.5f), 0.25f);   // tie between the points keeps the first
    EXPECT_FLOAT_EQ (p.snapNormalised (0.875f), 0.75f); // tie with 1 keeps the point
    EXPECT_FLOAT_EQ (p.snapNormalised (0.9f), 1.0f);
}

TEST (Parameter, TheSharedInvalidParameterNeverChanges)
{
    auto& invalid = Parameter::getInvalid();
    invalid.setNormalisedValue (0.7f);
    invalid.markChanged (Parameter::allChanged);
    invalid.setRange (5.0, 10.0);
    invalid.setRangeKeepingPosition (5.0, 10.0, 2);
    invalid.addSnapPoint (0.5);

    EXPECT_EQ (invalid.getId(), "invalid");
    EXPECT_DOUBLE_EQ (invalid.getValue(), 0.0);
    EXPECT_DOUBLE_EQ (invalid.getMaximum(), 1.0);
    EXPECT_EQ (invalid.getDecimals(), 0);
    EXPECT_EQ (invalid.getNumSnapPoints(), 0);
    EXPECT_FALSE (invalid.isChanged (0xFFFF));
    EXPECT_EQ (invalid.getValueText(), "0");
}

//==============================================================================
TEST (BooleanParameter, ShowsAndParsesItsTwoStates)
{
    BooleanParameter b ("bypassParam", "Bypass", nullptr, false, "Off|On", 0);
    EXPECT_EQ (b.getText (0.0), "Off");
    EXPECT_EQ (b.getText (0.49), "Off");
    EXPECT_EQ (b.getText (0.5), "On");
    EXPECT_EQ (b.getValueText(), "Off");

    double v = 0.0;
    EXPECT_TRUE (b.parseText ("on", &v));
    EXPECT_DOUBLE_EQ (v, 1.0);
    EXPECT_TRUE (b.parseText ("OFF", &v));
    EXPECT_DOUBLE_EQ (v, 0.0);
    EXPECT_TRUE (b.parseText ("0.7", &v));
    EXPECT_DOUBLE_EQ (v, 0.7);
    b.setNormalisedValue (b.valueToNormalised (v));
    EXPECT_TRUE (b.getBoolValue());
    EXPECT_FALSE (b.parseText ("maybe", &v));
    EXPECT_NEAR (v, 0.7, 1e-6);

    b.setRange (10.0, 20.0);
    EXPECT_DOUBLE_EQ (b.getMaximum(), 1.0);

    BooleanParameter plain ("b", nullptr, nullptr, true, nullptr, 0);
    EXPECT_DOUBLE_EQ (plain.getValue(), 1.0);
    EXPECT_EQ (plain.getText (1.0), "");
}

TEST (DiscreteParameter, ShowsAndParsesNamesAndNumbers)
{
    DiscreteParameter mode ("sliderMode", nullptr, nullptr, 0, 1, 0, "velocity|linear", 0);
    EXPECT_EQ (mode.getText (0.0), "velocity");
    EXPECT_EQ (mode.getText (1.0), "linear");
    EXPECT_EQ (mode.getText (2.0), "");
    EXPECT_EQ (mode.getText (-1.0), "");

    const ParseCase cases[] = {
        { "LINEAR", true, 1.0 }, { "Velocity", true, 0.0 }, { "1", true, 1.0 },
        { "7", true, 1.0 },      { "0,9", true, 0.0 },      { "fast", false, 0.0 },
        { "nan", false, 0.0 },
    };

    for (const auto& c : cases)
    {
        double v = -1.0;
        EXPECT_EQ (mode.parseText (c.text, &v), c.ok) << c.text;
        EXPECT_DOUBLE_EQ (v, c.expected) << c.text;
    }

    // A later choice overrides an earlier one and a number.
    DiscreteParameter repeated ("r", nullptr, nullptr, 10, 13, 10, "a|b|a|3", 0);
    double v = 0.0;
    EXPECT_TRUE (repeated.parseText ("A", &v));
    EXPECT_DOUBLE_EQ (v, 12.0);
    EXPECT_TRUE (repeated.parseText ("3", &v));
    EXPECT_DOUBLE_EQ (v, 13.0);

    DiscreteParameter sensitivity ("mouseSensitivity", nullptr, nullptr, 1, 200, 100, nullptr, 0);
    EXPECT_EQ (sensitivity.getText (100.4), "100");
    EXPECT_EQ (sensitivity.getValueText(), "100");
    EXPECT_TRUE (sensitivity.parseText ("250", &v));
    EXPECT_DOUBLE_EQ (v, 200.0);
    sensitivity.setNormalisedValue (sensitivity.valueToNormalised (57.3));
    EXPECT_NEAR (sensitivity.getQuantisedValue(), 57.3, 1e-4); // not rounded
    EXPECT_EQ (sensitivity.getIntValue(), 57);
}

//==============================================================================
TEST (FrequencyParameter, ShowsHertzAndKilohertz)
{
    auto f = makeFrequency();
    EXPECT_EQ (f.getText (21049.0), "21000");
    EXPECT_EQ (f.getTextWithUnit (21049.0), "21.0 kHz");
    EXPECT_EQ (f.getText (21051.0), "21100");
    EXPECT_EQ (f.getValueTextWithUnit(), "21.0 kHz");

    auto wide = makeFrequency (20.0, 25000.0, 1000.0);
    EXPECT_EQ (wide.getTextWithUnit (1999.6), "2000 Hz");
    EXPECT_EQ (wide.getText (2500.0), "2500");
    EXPECT_EQ (wide.getTextWithUnit (2500.4), "2.5 kHz");
    EXPECT_DOUBLE_EQ (wide.getQuantisedValue(), 1000.0);

    FrequencyParameter named ("f", nullptr, 0, "Low|High", 0, 20.0, 20000.0, 20.0);
    EXPECT_EQ (named.getTextWithUnit (20.0), "Low");
    EXPECT_EQ (named.getText (20000.0), "High");
    EXPECT_EQ (named.getTextWithUnit (440.0), "440 Hz");
}

TEST (FrequencyParameter, ParsesKilohertzGuessesAndClamps)
{
    auto f = makeFrequency();
    const ParseCase cases[] = {
        { "21.5", true, 21500.0 },  { "21.5k", true, 21500.0 }, { "21,5", true, 21500.0 },
        { "21.5 KHZ", true, 21500.0 }, { "30k", true, 25000.0 }, { "22000", true, 22000.0 },
        { "5", true, 20000.0 },     { "19999", true, 20000.0 }, { "no number", false, 21000.0 },
    };

    for (const auto& c : cases)
    {
        double v = -1.0;
        EXPECT_EQ (f.parseText (c.text, &v), c.ok) << c.text;
        EXPECT_DOUBLE_EQ (v, c.expected) << c.text;
    }
}

TEST (FrequencyParameter, LogarithmicMappingFromTheStart)
{
    auto f = makeFrequency();
    const auto expected = (float) (std::log (21000.0 / 20000.0) / std::log (25000.0 / 20000.0));
    EXPECT_FLOAT_EQ (f.getNormalisedValue(), expected);

    for (double v : { 20000.0, 21000.0, 22360.68, 25000.0 })
        EXPECT_NEAR (f.normalisedToValue (f.valueToNormalised (v)), v, 0.01);

    EXPECT_NEAR (f.normalisedToValue (0.5f), std::sqrt (20000.0 * 25000.0), 0.01);
    EXPECT_DOUBLE_EQ (f.normalisedToValue (-1.0f), 20000.0);
    EXPECT_DOUBLE_EQ (f.normalisedToValue (2.0f), 25000.0);

    f.setNormalisedValue (f.valueToNormalised (21049.0));
    EXPECT_NEAR (f.getQuantisedValue(), 21000.0, 1e-9);
}
