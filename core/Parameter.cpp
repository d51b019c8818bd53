#include "core/Parameter.h"

#include "core/NumberText.h"

#include <cmath>

namespace kelmora::core
{
namespace
{
constexpr int maxDecimals = 15;

juce::String textOrEmpty (const char* text)
{
    return text != nullptr ? juce::String::fromUTF8 (text) : juce::String();
}

bool isUsableRange (double minimum, double maximum) noexcept
{
    return std::isfinite (minimum) && std::isfinite (maximum) && minimum < maximum
        && std::isfinite (maximum - minimum);
}

double powerOfTen (int exponent) noexcept
{
    return std::pow (10.0, (double) exponent);
}

// The shared fallback for bad indices: every operation that would change it does nothing.
class InvalidParameter final : public Parameter
{
public:
    InvalidParameter() : Parameter ("invalid", nullptr, nullptr, 0, nullptr, 0, 0.0, 1.0, 0.0) {}

    void setNormalisedValue (float) noexcept override {}
    void setRangeKeepingPosition (double, double, int) override {}
    void setRange (double, double) override {}
    void markChanged (juce::uint32) noexcept override {}
};
} // namespace

Parameter::Parameter (const char* idText, const char* nameText, const char* unitText, int decimalsToUse,
                      const char* choiceText, juce::uint32 flagsToUse, double minimumValue,
                      double maximumValue, double defaultToUse)
{
    // A range that cannot be mapped is a programming error; keep a usable one rather than
    // dividing by zero in every mapping.
    jassert (isUsableRange (minimumValue, maximumValue));

    if (! isUsableRange (minimumValue, maximumValue))
    {
        minimumValue = 0.0;
        maximumValue = 1.0;
    }

    Parameter::setRange (minimumValue, maximumValue);
    centre = (minimumValue + maximumValue) * 0.5;

    id = textOrEmpty (idText);
    jassert (id.isNotEmpty());
    name = nameText != nullptr ? textOrEmpty (nameText) : id;
    unit = textOrEmpty (unitText);

    defaultValue = std::isfinite (defaultToUse) ? defaultToUse : minimumValue;
    decimals = juce::jlimit (0, maxDecimals, decimalsToUse);
    flags = flagsToUse;
    value.store (clampToRange (defaultValue));

    if (choiceText != nullptr)
    {
        choices.addTokens (textOrEmpty (choiceText), "|", "\"");

        switch (choices.size())
        {
            case 1: minText = choices[0]; break;
            case 2: minText = choices[0]; maxText = choices[1]; break;
            case 3: minText = choices[0]; midText = choices[1]; maxText = choices[2]; break;
            default: break;
        }
    }

    changeMask.store (0);
    normalised.store (Parameter::valueToNormalised (value.load()));
}

Parameter::~Parameter() = default;

//==============================================================================
juce::String Parameter::getId() const                 { return id; }
juce::String Parameter::getName() const               { return name; }
juce::String Parameter::getUnit() const               { return unit; }
juce::uint32 Parameter::getFlags() const noexcept     { return flags; }
float Parameter::getNormalisedValue() const noexcept  { return normalised.load(); }

void Parameter::setNormalisedValue (float n) noexcept
{
    if (! std::isfinite (n))
        return;

    normalised.store (n);
    value.store (normalisedToValue (n));
    markChanged (allChanged);
}

float Parameter::getStepFraction() const
{
    const double range = maximum - minimum;
    double s = powerOfTen (decimals) * range;

    if (! std::isfinite (s))
        s = std::numeric_limits<double>::max();

    while (s > 100.0)
        s *= 0.5;

    if ((flags & plainStep) != 0)
        return (float) (1.0 / s);

    double r = std::abs (range) / s;
    int e = 0;

    while (r >= 10.0)
    {
        r /= 10.0;
        ++e;
    }

    while (r < 1.0 && r > 0.0)
    {
        --e;
        r *= 10.0;
    }

    const double d1 = std::abs (r - 1.0), d2 = std::abs (r - 2.0);
    const double d5 = std::abs (r - 5.0), d10 = std::abs (r - 10.0);

    double m = d1 > d2 ? 2.0 : 1.0;
    double best = juce::jmin (d1, d2);

    if (best > d5)
    {
        m = 5.0;
        best = d5;
    }

    if (best > d10)
        m = 10.0;

    const double step = powerOfTen (e) * m;
    return (float) (step / range);
}

void Parameter::setRangeKeepingPosition (double newMinimum, double newMaximum, int newDecimals)
{
    const auto position = getNormalisedValue();
    setRange (newMinimum, newMaximum);
    decimals = juce::jlimit (0, maxDecimals, newDecimals);
    setNormalisedValue (position);
}

double Parameter::quantise (double v) const noexcept
{
    return quantiseToDecimals (v, decimals);
}

double Parameter::quantiseToDecimals (double v, int d) const noexcept
{
    if ((flags & noQuantise) != 0)
        return v;

    const double scale = powerOfTen (d);
    return std::floor (v * scale + 0.5) / scale;
}

int Parameter::getNumSteps() const noexcept { return 0; }

void Parameter::setRange (double newMinimum, double newMaximum)
{
    if (! isUsableRange (newMinimum, newMaximum))
        return;

    minimum = newMinimum;
    maximum = newMaximum;
}

double Parameter::getQuantisedValue() const noexcept { return quantise (getValue()); }
int Parameter::getIntValue() const noexcept          { return NumberText::roundHalfUp (getQuantisedValue()); }
bool Parameter::getBoolValue() const noexcept        { return getValue() >= 0.5; }
double Parameter::getValue() const noexcept          { return value.load(); }
bool Parameter::isAtMinimum() const noexcept         { return minimum >= getValue(); }
bool Parameter::isAtMaximum() const noexcept         { return getValue() >= maximum; }
double Parameter::getMinimum() const noexcept        { return minimum; }
double Parameter::getMaximum() const noexcept        { return maximum; }
double Parameter::getDefaultValue() const noexcept   { return defaultValue; }
int Parameter::getMinimumInt() const noexcept        { return NumberText::roundHalfUp (minimum); }
int Parameter::getMaximumInt() const noexcept        { return NumberText::roundHalfUp (maximum); }
int Parameter::getDefaultInt() const noexcept        { return NumberText::roundHalfUp (defaultValue); }
juce::String Parameter::getValueText() const         { return getText (getValue()); }
juce::String Parameter::getValueTextWithUnit() const { return getTextWithUnit (getValue()); }

double Parameter::normalisedToValue (float n) const noexcept
{
    const double x = (flags & invertedRange) != 0 ? 1.0 - (double) n : (double) n;

    if (x <= 0.0)
        return minimum;

    if (x >= 1.0)
        return maximum;

    return minimum + x * (maximum - minimum);
}

float Parameter::valueToNormalised (double v) const noexcept
{
    const double x = (clampToRange (v) - minimum) / (maximum - minimum);
    return (float) ((flags & invertedRange) != 0 ? 1.0 - x : x);
}

juce::String Parameter::getTextForNormalised (float n) const         { return getText (normalisedToValue (n)); }
juce::String Parameter::getTextWithUnitForNormalised (float n) const { return getTextWithUnit (normalisedToValue (n)); }

juce::String Parameter::getText (double v) const
{
    if (minimum >= v && minText.isNotEmpty())
        return minText;

    if (v >= maximum && maxText.isNotEmpty())
        return maxText;

    if (v == centre && midText.isNotEmpty())
        return midText;

    if (decimals != 0)
        return NumberText::formatFixed (quantise (v), decimals);

    return NumberText::formatInt (NumberText::roundHalfUp (v));
}

juce::String Parameter::getTextWithUnit (double v) const
{
    const bool atEndText = (minimum >= v && minText.isNotEmpty()) || (v >= maximum && maxText.isNotEmpty());

    if (unit.isEmpty() || atEndText)
        return getText (v);

    return getText (v) + " " + unit;
}

bool Parameter::parseText (const juce::String& text, double* out) const
{
    double result = getValue();
    bool ok = true;
    double number = 0.0;

    if (NumberText::parse (text.replaceCharacter (',', '.'), &number))
        result = clampToRange (number);
    else if (minText.isNotEmpty() && text.equalsIgnoreCase (minText))
        result = minimum;
    else if (maxText.isNotEmpty() && text.equalsIgnoreCase (maxText))
        result = maximum;
    else if (midText.isNotEmpty() && text.equalsIgnoreCase (midText))
        result = centre;
    else
        ok = false;

    if (out != nullptr)
        *out = result;

    return ok;
}

bool Parameter::textToNormalised (const juce::String& text, float* out) const
{
    double v = 0.0;
    const bool ok = parseText (text, &v);

    if (out != nullptr)
        *out = valueToNormalised (v);

    return ok;
}

bool Parameter::isChanged (juce::uint32 mask) const noexcept
{
    return (changeMask.load() & mask) != 0;
}

bool Parameter::testAndClearChanged (juce::uint32 mask) noexcept
{
    return (changeMask.fetch_and (~mask) & mask) != 0;
}

void Parameter::markChanged (juce::uint32) noexcept
{
    changeMask.fetch_or (allChanged);
}

//==============================================================================
float Parameter::snapNormalised (float n) const
{
    float best = 0.0f;
    float bestDistance = n;

    for (auto point : snapPoints)
    {
        const auto candidate = valueToNormalised (point);
        const auto distance = std::abs (candidate - n);

        if (distance < bestDistance)
        {
            best = candidate;
            bestDistance = distance;
        }
    }

    if (std::abs (1.0f - n) < bestDistance)
        best = 1.0f;

    return best;
}

void Parameter::addSnapPoint (double realValue)
{
    if (! isInvalid() && std::isfinite (realValue))
        snapPoints.add (realValue);
}

int Parameter::getNumSnapPoints() const noexcept          { return snapPoints.size(); }
double Parameter::getCentre() const noexcept              { return centre; }
int Parameter::getDecimals() const noexcept               { return decimals; }
const juce::StringArray& Parameter::getChoices() const noexcept { return choices; }

Parameter& Parameter::getInvalid() noexcept
{
    static InvalidParameter invalid;
    return invalid;
}

double Parameter::clampToRange (double v) const noexcept
{
    if (v < minimum)
        v = minimum;

    if (v > maximum)
        v = maximum;

    return v;
}

bool Parameter::isInvalid() const noexcept
{
    return this == &getInvalid();
}
} // namespace kelmora::core
