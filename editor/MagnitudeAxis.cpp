#include "editor/MagnitudeAxis.h"

#include <algorithm>
#include <cmath>

namespace kelmora::editor::magnitude
{
namespace
{
float clampCoordinate (float v) noexcept
{
    return std::isnan (v) ? -maxCoordinate : std::clamp (v, -maxCoordinate, maxCoordinate);
}

float sanitiseDecibels (double v) noexcept
{
    // Clamped before the conversion: a double beyond float's range has no float value.
    return std::isfinite (v) ? (float) std::clamp (v, (double) floorDecibels, -(double) floorDecibels) : floorDecibels;
}
} // namespace

bool isAxisUsable (float halfRate) noexcept
{
    return std::isfinite (halfRate) && halfRate > (float) axisStartHz;
}

float frequencyToX (double frequencyHz, float halfRate, float width) noexcept
{
    const float span = std::log10 (halfRate) - 4.0f;
    const float product = (float) (std::log10 (frequencyHz) - 4.0) / span * width;
    return std::trunc (clampCoordinate (product)) - 0.5f;
}

FrequencyLabels frequencyLabelsFor (float halfRate) noexcept
{
    static constexpr std::array<double, 5> lowRates { 10000.0, 20000.0, 30000.0, 40000.0, 50000.0 };
    static constexpr std::array<double, 5> highRates { 10000.0, 20000.0, 50000.0, 100000.0, 200000.0 };

    FrequencyLabels labels;
    if (! isAxisUsable (halfRate))
        return labels;

    for (const double f : halfRate < 88200.0f ? lowRates : highRates)
    {
        if (f > halfRate)
            break;
        labels.hz[(size_t) labels.count++] = f;
    }
    return labels;
}

float catmullRomAt (const double* decibels, int count, float t) noexcept
{
    if (! (t >= 0.0f && t < (float) count))
        return floorDecibels;

    const int k = (int) t;
    const float u = t - (float) k;
    if (k + 2 >= count)
        return floorDecibels;

    const float p0 = sanitiseDecibels (decibels[k > 0 ? k - 1 : k]);
    const float p1 = sanitiseDecibels (decibels[k]);
    const float p2 = sanitiseDecibels (decibels[k + 1]);
    const float p3 = sanitiseDecibels (decibels[k + 2]);
    const float m1 = (p2 - p0) / 2.0f;
    const float m2 = (p3 - p1) / 2.0f;
    const float a = m1 + m2 + 2.0f * (p1 - p2);
    const float b = -(3.0f * (p1 - p2) + 2.0f * m1 + m2);
    return ((a * u + b) * u + m1) * u + p1;
}

int sampleResponse (double sampleRate, const std::function<double (double)>& magnitudeAt, double* hz, double* decibels,
                    int capacity)
{
    const double span = std::log10 (sampleRate / 2.0) - 4.0;

    for (int i = 0; i < capacity; ++i)
    {
        const double f = std::pow (10.0, 4.0 + i * span / capacity);
        const double m = magnitudeAt (f);
        if (m < 0.0)
            return i;

        hz[i] = f;
        decibels[i] = m >= 1e-15 ? 20.0 * std::log10 (m) : (double) floorDecibels;
    }
    return capacity;
}
} // namespace kelmora::editor::magnitude
