#pragma once

#include "core/Parameter.h"

namespace kelmora::core
{
/** A whole-number parameter, optionally with one name per value ("velocity|linear" names 0
    and 1 of a 0..1 range). Threads as Parameter. */
class DiscreteParameter : public Parameter
{
public:
    /** @param minimum, maximum  the integer range; minimum >= maximum is refused (0..1 is used)
        @param defaultValue      the default
        @param choices           "|"-separated names of minimum, minimum + 1, ...; null for none */
    DiscreteParameter (const char* id, const char* name, const char* unit, int minimum, int maximum,
                       int defaultValue, const char* choices, juce::uint32 flags);

    /** The value unchanged. */
    double getQuantisedValue() const noexcept override;

    /** With choices: the choice at floor (v - minimum + 0.5), empty outside the list. Without:
        the minimum or maximum text at the ends, else the whole number. */
    juce::String getText (double v) const override;

    /** A number (no comma conversion), or the minimum/maximum text when no number was read;
        then any choice name (ignoring case; a later match overrides an earlier one and a
        number) gives minimum + its index. The result is clamped to the range. When nothing
        matched, out receives the current value and the result is false. */
    bool parseText (const juce::String& text, double* out) const override;
};
} // namespace kelmora::core
