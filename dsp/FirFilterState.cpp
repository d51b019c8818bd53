#include "dsp/FirFilterState.h"

#include <algorithm>
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

// One block of audio for the loops below.
struct Block
{
    const float* in0;
    const float* in1;
    float* out0;
    float* out1;
    int64_t numSamples;
    bool dryOnly;
    double wetGain, dryGain;
};

// The plain loop: one output per pass. The wider loops must match it bit for bit.
void processReference (FirKernel& kernel, const Block& b) noexcept
{
    const uint32_t length = kernel.delayLength;
    const uint32_t dryOffset = 2 * (length >> 1);
    const uint32_t wetOffset = 2 * kernel.tapOffset;
    const uint32_t tapCount = kernel.tapCount;
    const double* coefficients = kernel.coefficients;
    double* line = kernel.delayLine;
    const __m128d wet = _mm_set1_pd (b.wetGain);
    const __m128d dry = _mm_set1_pd (b.dryGain);
    uint32_t writeIndex = kernel.writeIndex;

    for (int64_t i = 0; i < b.numSamples; ++i)
    {
        if (writeIndex == 0)
        {
            std::memcpy (line + 2 * length, line, 2 * length * sizeof (double));
            writeIndex = length;
        }

        --writeIndex;
        double* newest = line + 2 * writeIndex;
        newest[0] = (double) b.in0[i];
        newest[1] = (double) b.in1[i];

        const __m128d delayed = _mm_load_pd (newest + dryOffset);
        __m128d out = delayed;

        if (! b.dryOnly)
        {
            const __m128d filtered = firDotProductStereo (coefficients, newest + wetOffset, tapCount);
            out = _mm_add_pd (_mm_mul_pd (filtered, wet), _mm_mul_pd (delayed, dry));
        }

        alignas (16) double result[2];
        _mm_store_pd (result, out);
        b.out0[i] = (float) result[0];
        b.out1[i] = (float) result[1];
    }

    kernel.writeIndex = writeIndex;
}

template <int lanes> struct VectorOf;
template <> struct VectorOf<2> { typedef double Type __attribute__ ((vector_size (16))); };
template <> struct VectorOf<4> { typedef double Type __attribute__ ((vector_size (32))); };
template <> struct VectorOf<8> { typedef double Type __attribute__ ((vector_size (64))); };

// The wide loops, written once over GCC vectors of `lanes` doubles (lanes / 2 stereo pairs)
// and compiled per instruction set by the callers' target attributes; always inlined so that
// the vectors never cross a function boundary.
//
// A pass computes `lanes` consecutive outputs. Their newest pairs are adjacent in the delay
// line (it runs backwards in time), so one unaligned load at tap k holds tap k of lanes / 2
// outputs, two loads cover the pass, and each coefficient is loaded once per pass. Every
// output keeps the reference's four accumulators, tap order and separate multiply and add,
// so the results are the same bit for bit. Passes never straddle the line's wrap; the
// samples left over (and bypass) take one-output passes with the same arithmetic.
template <int lanes>
__attribute__ ((always_inline)) inline void processWide (FirKernel& kernel, const Block& b) noexcept
{
    using Vector = typename VectorOf<lanes>::Type;
    using Pair = VectorOf<2>::Type;
    constexpr int64_t pairsPerVector = lanes / 2;
    constexpr int64_t outputsPerPass = lanes;

    const int64_t length = kernel.delayLength;
    const int64_t dryOffset = 2 * (length >> 1);
    const int64_t wetOffset = 2 * (int64_t) kernel.tapOffset;
    const int64_t tapCount = kernel.tapCount;
    const double* coefficients = kernel.coefficients;
    const double* paired = kernel.pairedCoefficients;
    double* line = kernel.delayLine;
    int64_t writeIndex = kernel.writeIndex;

    const auto load = [] (const double* p, auto& v) { std::memcpy (&v, p, sizeof v); };

    for (int64_t i = 0; i < b.numSamples;)
    {
        if (writeIndex == 0)
        {
            std::memcpy (line + 2 * length, line, (size_t) (2 * length) * sizeof (double));
            writeIndex = length;
        }

        const int64_t group = std::min (std::min (b.numSamples - i, writeIndex), outputsPerPass);

        for (int64_t j = 0; j < group; ++j)
        {
            double* newest = line + 2 * (writeIndex - 1 - j);
            newest[0] = (double) b.in0[i + j];
            newest[1] = (double) b.in1[i + j];
        }

        if (group == outputsPerPass && ! b.dryOnly)
        {
            // Vector r holds outputs (r + 1) * pairsPerVector - 1 down to r * pairsPerVector.
            const double* first[2];
            for (int64_t r = 0; r < 2; ++r)
                first[r] = line + 2 * (writeIndex - (r + 1) * pairsPerVector);

            Vector acc[4][2] = {};
            for (int64_t k = 0; k < tapCount; k += 4)
                for (int64_t a = 0; a < 4; ++a)
                {
                    // Broadcast: x - 0.0 is x for every x, -0.0 included.
                    const Vector c = coefficients[k + a] - Vector {};
                    for (int64_t r = 0; r < 2; ++r)
                    {
                        Vector x;
                        load (first[r] + wetOffset + 2 * (k + a), x);
                        acc[a][r] = acc[a][r] + c * x;
                    }
                }

            for (int64_t r = 0; r < 2; ++r)
            {
                const Vector filtered = (acc[0][r] + acc[1][r]) + (acc[2][r] + acc[3][r]);
                Vector delayed;
                load (first[r] + dryOffset, delayed);
                const Vector out = filtered * b.wetGain + delayed * b.dryGain;

                for (int64_t q = 0; q < pairsPerVector; ++q)
                {
                    const int64_t output = i + (r + 1) * pairsPerVector - 1 - q;
                    b.out0[output] = (float) out[2 * q];
                    b.out1[output] = (float) out[2 * q + 1];
                }
            }
        }
        else
        {
            for (int64_t j = 0; j < group; ++j)
            {
                const double* newest = line + 2 * (writeIndex - 1 - j);
                Pair out;
                load (newest + dryOffset, out);

                if (! b.dryOnly)
                {
                    Pair acc[4] = {};
                    for (int64_t k = 0; k < tapCount; k += 4)
                        for (int64_t a = 0; a < 4; ++a)
                        {
                            Pair c, x;
                            load (paired + 2 * (k + a), c);
                            load (newest + wetOffset + 2 * (k + a), x);
                            acc[a] = acc[a] + c * x;
                        }
                    const Pair filtered = (acc[0] + acc[1]) + (acc[2] + acc[3]);
                    out = filtered * b.wetGain + out * b.dryGain;
                }

                b.out0[i + j] = (float) out[0];
                b.out1[i + j] = (float) out[1];
            }
        }

        writeIndex -= group;
        i += group;
    }

    kernel.writeIndex = (uint32_t) writeIndex;
}

void processSse2 (FirKernel& kernel, const Block& b) noexcept
{
    processWide<2> (kernel, b);
}

__attribute__ ((target ("avx"))) void processAvx (FirKernel& kernel, const Block& b) noexcept
{
    processWide<4> (kernel, b);
}

__attribute__ ((target ("avx512f"))) void processAvx512 (FirKernel& kernel, const Block& b) noexcept
{
    processWide<8> (kernel, b);
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

    const Block block { in0, in1, out0, out1, numSamples, bypass || forceDry, wetGain, dryGain };

    switch (getFirPath())
    {
        case FirPath::reference: processReference (kernel, block); break;
        case FirPath::sse2: processSse2 (kernel, block); break;
        case FirPath::avx: processAvx (kernel, block); break;
        case FirPath::avx512: processAvx512 (kernel, block); break;
    }
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
