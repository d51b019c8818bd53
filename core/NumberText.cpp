#include "core/NumberText.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <locale.h>
#if defined(__APPLE__)
 #include <xlocale.h>
#endif

namespace kelmora::core
{
namespace
{
// Switches the calling thread to the "C" locale for the duration of one conversion; other
// threads and the process locale are left alone.
class ScopedCLocale
{
public:
    ScopedCLocale() noexcept
    {
        static const locale_t cLocale = newlocale (LC_ALL_MASK, "C", (locale_t) 0);

        if (cLocale != (locale_t) 0)
            previous = uselocale (cLocale);
    }

    ~ScopedCLocale()
    {
        if (previous != (locale_t) 0)
            uselocale (previous);
    }

    ScopedCLocale (const ScopedCLocale&) = delete;
    ScopedCLocale& operator= (const ScopedCLocale&) = delete;

private:
    locale_t previous = (locale_t) 0;
};
} // namespace

bool NumberText::parse (const juce::String& text, double* out)
{
    double v = 0.0;
    int read = 0;

    {
        ScopedCLocale cLocale;
        read = std::sscanf (text.toRawUTF8(), "%lf", &v);
    }

    if (read != 1 || ! std::isfinite (v))
        return false;

    if (out != nullptr)
        *out = v;

    return true;
}

juce::String NumberText::formatFixed (double v, int decimals)
{
    char buffer[400];
    int length = 0;

    {
        ScopedCLocale cLocale;
        length = std::snprintf (buffer, sizeof (buffer), "%.*f", juce::jlimit (0, 20, decimals), v);
    }

    if (length < 0)
        return {};

    return juce::String (buffer, (size_t) juce::jmin (length, (int) sizeof (buffer) - 1));
}

juce::String NumberText::formatInt (int n)
{
    return juce::String (n);
}

int NumberText::roundHalfUp (double v) noexcept
{
    const auto r = std::floor (v + 0.5);

    if (std::isnan (r))
        return 0;

    if (r >= (double) std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();

    if (r <= (double) std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();

    return (int) r;
}
} // namespace kelmora::core
