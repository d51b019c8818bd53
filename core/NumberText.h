#pragma once

#include <juce_core/juce_core.h>

namespace kelmora::core
{
/** Number parsing and formatting that ignores the process locale.

    Hosts may switch the C locale to one with a comma as decimal separator; printf/scanf style
    conversions would then write and read "21,5" where our files and texts use "21.5". Every
    function here behaves as in the "C" locale whatever the process or thread locale is.

    All functions are pure and may be called from any thread; none is meant for the audio thread
    (they allocate). */
struct NumberText
{
    /** Reads a number from the start of the text the way sscanf with "%lf" does in the "C"
        locale (leading blanks, sign, digits, '.', exponent; trailing text is ignored).
        Returns false, leaving out untouched, when no number was read or when it reads as
        "nan", "inf" or a value too large for a double: such text counts as no number.
        @param out receives the number; may be null */
    static bool parse (const juce::String& text, double* out);

    /** "%.*f" of v in the "C" locale, e.g. formatFixed (21.04, 1) is "21.0".
        @param decimals digits after the point, clamped to 0..20 */
    static juce::String formatFixed (double v, int decimals);

    /** "%d" of n. */
    static juce::String formatInt (int n);

    /** floor (v + 0.5) as a 32-bit int, saturating at the int range; NaN gives 0.
        The plain cast would be undefined behaviour outside the int range. */
    static int roundHalfUp (double v) noexcept;
};
} // namespace kelmora::core
