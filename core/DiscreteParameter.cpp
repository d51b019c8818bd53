#include "core/DiscreteParameter.h"

#include "core/NumberText.h"

namespace kelmora::core
{
DiscreteParameter::DiscreteParameter (const char* id, const char* name, const char* unit, int minimum,
                                      int maximum, int defaultValue, const char* choices, juce::uint32 flags)
    : Parameter (id, name, unit, 0, choices, flags, (double) minimum, (double) maximum, (double) defaultValue)
{
}

double DiscreteParameter::getQuantisedValue() const noexcept
{
    return getValue();
}

juce::String DiscreteParameter::getText (double v) const
{
    if (choices.isEmpty())
    {
        if (minimum >= v && minText.isNotEmpty())
            return minText;

        if (v >= maximum && maxText.isNotEmpty())
            return maxText;

        return NumberText::formatInt (NumberText::roundHalfUp (v));
    }

    return choices[NumberText::roundHalfUp (v - minimum)];
}

bool DiscreteParameter::parseText (const juce::String& text, double* out) const
{
    double result = getValue();
    bool matched = NumberText::parse (text, &result);

    if (! matched)
    {
        if (minText.isNotEmpty() && text.equalsIgnoreCase (minText))
        {
            result = minimum;
            matched = true;
        }
        else if (maxText.isNotEmpty() && text.equalsIgnoreCase (maxText))
        {
            result = maximum;
            matched = true;
        }
    }

    for (int i = 0; i < choices.size(); ++i)
    {
        if (text.equalsIgnoreCase (choices[i]))
        {
            result = minimum + i;
            matched = true;
        }
    }

    if (matched)
        result = clampToRange (result);
    else
        result = getValue();

    if (out != nullptr)
        *out = result;

    return matched;
}
} // namespace kelmora::core
