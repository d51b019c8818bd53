#include "dsp/FirFilterState.h"

#include <cmath>
#include <cstring>
#include <emmintrin.h>

namespace kelmora::dsp
{

namespace
{
constexpr double twoPi = 6.283185307179586;

// Four taps per step into four independent two-lane accumulators (left, right). Reads up to
// three coefficients and pairs past count, which the rounding of both arrays covers.
inline __m128d firDotProductStereo (const double* coefficients, const double* pairs, uint32_t count) noexcept
{
    __m128d acc0 = _mm_setzero_pd();
    __m128d acc1 = _mm_setzero_pd();
    __m128d acc2 = _mm_setzero_pd();
    __m128d acc3 = _mm_setzero_pd();

    for (uint32_t k = 0; k < count; k += 4)
    {
        const double* p = pairs + 2 * k;
        acc0 = _mm_add_pd (acc0, _mm_mul_pd (_mm_set1_pd (coefficients[k]), _mm_load_pd (p)));
        acc1 = _mm_add_pd (acc1, _mm_mul_pd (_mm_set1_pd (coefficients[k + 1]), _mm_load_pd (p + 2)));
        acc2 = _mm_add_pd (acc2, _mm_mul_pd (_mm_set1_pd (coefficients[k + 2]), _mm_load_pd (p + 4)));
        acc3 = _mm_add_pd (acc3, _mm_mul_pd (_mm_set1_pd (coefficients[k + 3]), _mm_load_pd (p + 6)));
    }

    return _mm_add_pd (_mm_add_pd (acc0, acc1), _mm_add_pd (acc2, acc3));
}
} // namespace

void FirFilterState::init() noexcept
{
    kernel.clear();
    bypass = false;
    latency.store (0, std::memory_order_relaxed);
    active.store (false, std::memory_order_release);
    lastFrequency = 0.0;
    lastSlope = 0.0;
    lastSampleRate = 0.0;
    dryGain = 0.0;
    wetGain = 1.0;
    changed.store (true, std::memory_order_release);
}

void FirFilterState::design (double frequencyHz, double slope, double sampleRate) noexcept
{
    if (active.load (std::memory_order_relaxed) && frequencyHz == lastFrequency
        && slope == lastSlope && sampleRate == lastSampleRate)
        return;

    // Written so that a rate of NaN counts as unsupported too.
    if (! (sampleRate >= 88200.0 && sampleRate <= 384000.0))
    {
        latency.store (0, std::memory_order_relaxed);
        active.store (false, std::memory_order_release);
        changed.store (true, std::memory_order_release);
        return;
    }

    lastFrequency = frequencyHz;
    lastSlope = slope;
    lastSampleRate = sampleRate;

    const uint32_t fullLength = designTapCount (sampleRate);
    const double logWidth = designLogWidth (slope, sampleRate);
    const double cutoff = lookupDesignCutoff (frequencyHz, logWidth, sampleRate);

    double buffer[designBufferSize];
    uint32_t count = 0;
    const double* taps = designTrimmedKernel (buffer, fullLength, logWidth, cutoff, sampleRate, count);
    kernel.install (FirKernel::pack (taps, count, fullLength));

    latency.store (kernel.delayLength >> 1, std::memory_order_relaxed);
    active.store (true, std::memory_order_release);
    changed.store (true, std::memory_order_release);
}

void FirFilterState::setBypass (bool shouldBypass) noexcept
{
    bypass = shouldBypass;
}

void FirFilterState::setMix (double dry) noexcept
{
    dryGain = dry;
    wetGain = 1.0 - dry;
    changed.store (true, std::memory_order_release);
}

void FirFilterState::process (const float* in0, const float* in1, float* out0, float* out1,
                              int32_t numSamples, bool forceDry) noexcept
{
    if (numSamples < 1)
        return;

    if (! active.load (std::memory_order_relaxed))
    {
        for (int32_t i = 0; i < numSamples; ++i)
        {
            const float left = in0[i];
            const float right = in1[i];
            out0[i] = left;
            out1[i] = right;
        }
        return;
    }

    const uint32_t length = kernel.delayLength;
    const uint32_t dryOffset = 2 * (length >> 1);
    const uint32_t wetOffset = 2 * kernel.tapOffset;
    const uint32_t tapCount = kernel.tapCount;
    const double* coefficients = kernel.coefficients;
    double* line = kernel.delayLine;
    const bool dryOnly = bypass || forceDry;
    const __m128d wet = _mm_set1_pd (wetGain);
    const __m128d dry = _mm_set1_pd (dryGain);
    uint32_t writeIndex = kernel.writeIndex;

    for (int32_t i = 0; i < numSamples; ++i)
    {
        if (writeIndex == 0)
        {
            std::memcpy (line + 2 * length, line, 2 * length * sizeof (double));
            writeIndex = length;
        }

        --writeIndex;
        double* newest = line + 2 * writeIndex;
        newest[0] = (double) in0[i];
        newest[1] = (double) in1[i];

        const __m128d delayed = _mm_load_pd (newest + dryOffset);
        __m128d out = delayed;

        if (! dryOnly)
        {
            const __m128d filtered = firDotProductStereo (coefficients, newest + wetOffset, tapCount);
            out = _mm_add_pd (_mm_mul_pd (filtered, wet), _mm_mul_pd (delayed, dry));
        }

        alignas (16) double result[2];
        _mm_store_pd (result, out);
        out0[i] = (float) result[0];
        out1[i] = (float) result[1];
    }

    kernel.writeIndex = writeIndex;
}

void FirFilterState::reset() noexcept
{
    kernel.resetDelayLine();
}

uint32_t FirFilterState::getLatencySamples() const noexcept
{
    return latency.load (std::memory_order_relaxed);
}

double FirFilterState::getMagnitude (double frequencyHz) const noexcept
{
    if (frequencyHz > 0.5 * lastSampleRate)
        return -1.0;

    if (! active.load (std::memory_order_relaxed))
        return 1.0;

    const double c = std::cos (twoPi * frequencyHz / lastSampleRate);
    const double twoC = 2.0 * c;
    double s1 = 0.0;
    double s2 = 0.0;

    for (uint32_t k = 0; k < kernel.tapCount; ++k)
    {
        const double s = twoC * s1 + kernel.coefficients[k] - s2;
        s2 = s1;
        s1 = s;
    }

    const double power = s1 * s1 + s2 * s2 - twoC * s1 * s2;
    const double magnitude = power > 0.0 ? std::sqrt (power) : 1e-12;
    return magnitude * wetGain + dryGain;
}

bool FirFilterState::getAndClearChanged (bool clear) noexcept
{
    return clear ? changed.exchange (false, std::memory_order_acq_rel)
                 : changed.load (std::memory_order_acquire);
}

} // namespace kelmora::dsp
