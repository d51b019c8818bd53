#include "core/FrequencyParameter.h"

#include "core/NumberText.h"

#include <cmath>

namespace kelmora::core
{
namespace
{
constexpr double kiloThreshold = 2500.0;
constexpr double fallbackMinimum = 20.0, fallbackMaximum = 20000.0;

bool isUsableLogRange (double minimum, double maximum) noexcept
{
    return std::isfinite (minimum) && std::isfinite (maximum) && minimum > 0.0 && minimum < maximum;
}

// A logarithmic axis needs 0 < minimum < maximum: ln (0) would make every mapping infinite.
double usableMinimum (double minimum, double maximum) noexcept
{
    jassert (isUsableLogRange (minimum, maximum));
    return isUsableLogRange (minimum, maximum) ? minimum : fallbackMinimum;
}

double usableMaximum (double minimum, double maximum) noexcept
{
    return isUsableLogRange (minimum, maximum) ? maximum : fallbackMaximum;
}
} // namespace

FrequencyParameter::FrequencyParameter (const char* id, const char* name, int decimals, const char* choices,
                                        juce::uint32 flags, double minimum, double maximum, double defaultValue)
    : Parameter (id, name, "Hz", decimals, choices, flags, usableMinimum (minimum, maximum),
                 usableMaximum (minimum, maximum), defaultValue)
{
    FrequencyParameter::setRange (this->minimum, this->maximum);

    // The base constructor could only use the linear mapping.
    normalised.store (FrequencyParameter::valueToNormalised (getValue()));
}

void FrequencyParameter::setRange (double newMinimum, double newMaximum)
{
    if (! isUsableLogRange (newMinimum, newMaximum))
        return;

    logMinimum = std::log (newMinimum);
    logMaximum = std::log (newMaximum);
    minimum = newMinimum;
    maximum = newMaximum;
}

double FrequencyParameter::getQuantisedValue() const noexcept
{
    const auto v = getValue();

    if (v <= kiloThreshold)
        return quantiseToDecimals (v, 0);

    return quantiseToDecimals (v / 1000.0, 1) * 1000.0;
}

double FrequencyParameter::normalisedToValue (float n) const noexcept
{
    if (n <= 0.0f)
        return minimum;

    if (n >= 1.0f)
        return maximum;

    return std::exp (logMinimum + (double) n * (logMaximum - logMinimum));
}

float FrequencyParameter::valueToNormalised (double v) const noexcept
{
    return (float) ((std::log (clampToRange (v)) - logMinimum) / (logMaximum - logMinimum));
}

juce::String FrequencyParameter::formatNumber (double v, bool kiloMode) const
{
    if (minimum >= v && minText.isNotEmpty())
        return minText;

    if (v >= maximum && maxText.isNotEmpty())
        return maxText;

    if (v <= kiloThreshold)
        return NumberText::formatInt (NumberText::roundHalfUp (v));

    if (kiloMode)
        return NumberText::formatFixed (quantiseToDecimals (v / 1000.0, 1), 1);

    return NumberText::formatInt (NumberText::roundHalfUp (quantiseToDecimals (v / 1000.0, 1) * 1000.0));
}

juce::String FrequencyParameter::getText (double v) const
{
    return formatNumber (v, false);
}

juce::String FrequencyParameter::getTextWithUnit (double v) const
{
    const bool atEndText = (minimum >= v && minText.isNotEmpty()) || (v >= maximum && maxText.isNotEmpty());

    if (unit.isEmpty() || atEndText)
        return formatNumber (v, true);

    return formatNumber (v, true) + (v <= kiloThreshold ? " Hz" : " kHz");
}

bool FrequencyParameter::parseText (const juce::String& text, double* out) const
{
    double result = getValue();
    bool ok = true;
    double number = 0.0;

    if (NumberText::parse (text.replaceCharacter (',', '.'), &number))
    {
        if (text.containsIgnoreCase ("k"))
            number *= 1000.0;
        else if (number < minimum && number * 1000.0 >= minimum && number * 1000.0 <= maximum)
            number *= 1000.0;

        result = clampToRange (number);
    }
    else if (minText.isNotEmpty() && text.equalsIgnoreCase (minText))
        result = minimum;
    else if (maxText.isNotEmpty() && text.equalsIgnoreCase (maxText))
        result = maximum;
    else
        ok = false;

    if (out != nullptr)
        *out = result;

    return ok;
}
} // namespace kelmora::core
