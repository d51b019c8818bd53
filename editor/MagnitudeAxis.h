#pragma once

#include <array>
#include <functional>

namespace kelmora::editor
{
/** The pure arithmetic of the magnitude display: its logarithmic frequency axis from 10 kHz to
    half the sample rate, its label set, and the Catmull-Rom resampling of the curve. Kept apart
    from the painting so that every odd rate can be checked without drawing. */
namespace magnitude
{
/** The left edge of the axis, in Hz. */
constexpr double axisStartHz = 10000.0;

/** Whether an axis ending at halfRate (Hz) exists: it must be finite and above 10 kHz, or the
    axis formula divides by zero or by a negative span. */
bool isAxisUsable (float halfRate) noexcept;

/** The x position of frequencyHz on an axis of the given width ending at halfRate:
    trunc ((log10 f - 4) / (log10 halfRate - 4) * width) - 0.5, in single precision.
    The product is clamped to +-maxCoordinate (NaN to the left bound) so it always converts to
    an int. Only meaningful when isAxisUsable (halfRate). */
float frequencyToX (double frequencyHz, float halfRate, float width) noexcept;

/** The bound frequencyToX clamps to, in pixels. */
constexpr float maxCoordinate = 100000.0f;

/** The frequencies (Hz) the background labels, left to right. */
struct FrequencyLabels
{
    std::array<double, 5> hz {};
    int count = 0;
};

/** 10k..50k in steps of 10k below 88.2 kHz of half rate, else 10k, 20k, 50k, 100k, 200k; the
    list stops at the first one above halfRate. Empty when the axis is unusable. */
FrequencyLabels frequencyLabelsFor (float halfRate) noexcept;

/** The lowest level drawn, in dB: non-finite values count as this, and no value goes below it
    (or above its negation). */
constexpr float floorDecibels = -300.0f;

/** The uniform Catmull-Rom value at position t (0 <= t, int(t) + 2 < count) of the points
    dB[0..count), in single precision; the first segment repeats dB[0] as its outer point. */
float catmullRomAt (const double* decibels, int count, float t) noexcept;
/** Samples a magnitude response at capacity logarithmically spaced frequencies from 10 kHz up
    to just below half the rate, f(i) = 10^(4 + i (log10 (sampleRate / 2) - 4) / capacity),
    until magnitudeAt (linear, for a frequency in Hz) answers negatively. Stores each f(i) and
    its level 20 log10 m, or floorDecibels for m below 1e-15 (or NaN). Returns the number of
    points stored. */
int sampleResponse (double sampleRate, const std::function<double (double hz)>& magnitudeAt, double* hz,
                    double* decibels, int capacity);
} // namespace magnitude
} // namespace kelmora::editor
