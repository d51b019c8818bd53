#pragma once

#include "core/Parameter.h"

namespace kelmora::core
{
/** A frequency in Hz on a logarithmic axis, shown in Hz up to 2500 Hz and in kHz (0.1 kHz
    steps) above. The flag invertedRange and the decimals play no part. Threads as Parameter. */
class FrequencyParameter : public Parameter
{
public:
    /** @param minimum, maximum  the range in Hz; a range that does not satisfy
                                 0 < minimum < maximum (finite) is refused and 20..20000 Hz used
        @param defaultValue      the default in Hz; the initial position uses the logarithmic
                                 mapping */
    FrequencyParameter (const char* id, const char* name, int decimals, const char* choices,
                        juce::uint32 flags, double minimum, double maximum, double defaultValue);

    /** Also sets the logarithmic ends; refuses a range that does not satisfy 0 < min < max. */
    void setRange (double minimum, double maximum) override;

    /** Whole Hz up to 2500 Hz, else rounded to 0.1 kHz. */
    double getQuantisedValue() const noexcept override;

    /** exp (ln min + n (ln max - ln min)); the ends at or beyond 0 and 1. NaN gives NaN. */
    double normalisedToValue (float n) const noexcept override;

    /** (ln (clamped v) - ln min) / (ln max - ln min). NaN gives NaN. */
    float valueToNormalised (double v) const noexcept override;

    /** Plain form, as stored in states: whole Hz up to 2500 Hz, else Hz rounded to 100 Hz
        ("21000" for 21049). */
    juce::String getText (double v) const override;

    /** Kilo form with unit: "2000 Hz", "21.0 kHz"; the minimum/maximum text at the ends; no
        unit when the unit is empty. */
    juce::String getTextWithUnit (double v) const override;

    /** A number (',' read as '.'); text containing 'k' (any case) is kHz, and a number below the
        minimum whose thousandfold lies within the range is taken as kHz too ("21.5" is 21500
        Hz). The result is clamped. Else the minimum/maximum text; else the current value and
        false. */
    bool parseText (const juce::String& text, double* out) const override;

private:
    juce::String formatNumber (double v, bool kiloMode) const;

    double logMinimum = 0.0, logMaximum = 1.0;
};
} // namespace kelmora::core
