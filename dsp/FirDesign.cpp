#include "dsp/FirDesign.h"

#include "dsp/DesignCutoffTable.h"
#include "dsp/FirPath.h"

#include <cmath>
#include <cstring>

namespace kelmora::dsp
{

namespace
{
constexpr double twoPi = 6.283185307179586;
constexpr double pi = 3.141592653589793;
constexpr double kaiserBeta = 14.0;
constexpr double trimThreshold = 3.162277660168379e-6; // -110 dB

template <int lanes> struct LanesOf;
template <> struct LanesOf<2> { typedef double Type __attribute__ ((vector_size (16))); typedef int64_t Mask __attribute__ ((vector_size (16))); };
template <> struct LanesOf<4> { typedef double Type __attribute__ ((vector_size (32))); typedef int64_t Mask __attribute__ ((vector_size (32))); };
template <> struct LanesOf<8> { typedef double Type __attribute__ ((vector_size (64))); typedef int64_t Mask __attribute__ ((vector_size (64))); };

// besselI0FromQuarterSquare for `lanes` inputs at once, lane by lane in the same order: each
// lane stops after its own first term below 1e-6, so every result equals the scalar one bit
// for bit. count is a multiple of lanes. Written once over GCC vectors and compiled per
// instruction set by the callers' target attributes.
template <int lanes>
__attribute__ ((always_inline)) inline void besselI0Lanes (const double* q, double* out, int count)
{
    using Vector = typename LanesOf<lanes>::Type;
    using Mask = typename LanesOf<lanes>::Mask;

    for (int i = 0; i < count; i += lanes)
    {
        Vector x;
        std::memcpy (&x, q + i, sizeof x);
        Vector sum = 1.0 - Vector {};
        Vector term = sum;
        Mask running = Mask {} - 1;

        for (int k = 1; k <= 79; ++k)
        {
            const Vector next = term * (x / ((double) k * (double) k - Vector {}));
            term = (Vector) (((Mask) next & running) | ((Mask) term & ~running));
            const Vector added = sum + term;
            sum = (Vector) (((Mask) added & running) | ((Mask) sum & ~running));
            running &= ~(Mask) (term < 1e-6 - Vector {});

            int64_t any = 0;
            for (int l = 0; l < lanes; ++l)
                any |= running[l];
            if (any == 0)
                break;
        }

        std::memcpy (out + i, &sum, sizeof sum);
    }
}

void besselI0Sse2 (const double* q, double* out, int count) { besselI0Lanes<2> (q, out, count); }
__attribute__ ((target ("avx"))) void besselI0Avx (const double* q, double* out, int count) { besselI0Lanes<4> (q, out, count); }
__attribute__ ((target ("avx512f"))) void besselI0Avx512 (const double* q, double* out, int count) { besselI0Lanes<8> (q, out, count); }

constexpr int besselBatchLanes = 8;

void besselI0Batch (const double* q, double* out, int count)
{
    switch (getFirPath())
    {
        case FirPath::avx512: besselI0Avx512 (q, out, count); break;
        case FirPath::avx: besselI0Avx (q, out, count); break;
        default: besselI0Sse2 (q, out, count); break;
    }
}
} // namespace

double besselI0FromQuarterSquare (double q)
{
    double sum = 1.0;
    double term = 1.0;

    for (int k = 1; k <= 79; ++k)
    {
        term *= q / ((double) k * (double) k);
        sum += term;

        if (term < 1e-6)
            break;
    }

    return sum;
}

void clearTaps (double* taps, int32_t n)
{
    for (int32_t i = 0; i < n; ++i)
        taps[i] = 0.0;
}

void designSincKernel (double* taps, uint32_t n, int32_t mode, double cutoffHz, double sampleRate)
{
    const bool highPass = mode == 1;
    const double r = cutoffHz / sampleRate;
    const double signedR = highPass ? -r : r;
    const uint32_t half = n / 2;

    if ((n & 1u) != 0)
        taps[half] = highPass ? 1.0 - 2.0 * r : 2.0 * r;

    if (n < 2)
        return;

    for (uint32_t k = 0; k < half; ++k)
    {
        const double t = (double) k - (double) (n - 1) * 0.5;
        const double value = std::sin (twoPi * signedR * t) / (pi * t);
        taps[k] = value;
        taps[n - 1 - k] = value;
    }
}

void applyKaiserWindow (double* taps, uint32_t n, double width, double beta)
{
    const double halfBeta = beta * 0.5;
    const double i0Beta = besselI0FromQuarterSquare (halfBeta * halfBeta);
    const double centre = (double) (n - 1) * 0.5;

    // Taps waiting for their series, evaluated a batch at a time; `second` shares the value of
    // `first`.
    constexpr int batchSize = 64;
    double inputs[batchSize];
    double values[batchSize];
    uint32_t first[batchSize];
    uint32_t second[batchSize];
    int pending = 0;

    const auto flush = [&] {
        const int padded = (pending + besselBatchLanes - 1) / besselBatchLanes * besselBatchLanes;
        for (int e = pending; e < padded; ++e)
            inputs[e] = 0.0;
        besselI0Batch (inputs, values, padded);
        for (int e = 0; e < pending; ++e)
        {
            const double w = values[e] / i0Beta;
            taps[first[e]] = w * taps[first[e]];
            if (second[e] != first[e])
                taps[second[e]] = w * taps[second[e]];
        }
        pending = 0;
    };
    const auto request = [&] (double q, uint32_t a, uint32_t b) {
        inputs[pending] = q;
        first[pending] = a;
        second[pending] = b;
        if (++pending == batchSize)
            flush();
    };

    // The series' input for tap i; false (and the tap zeroed) outside the window.
    const auto quarterSquareAt = [&] (uint32_t i, double& q) {
        const double p = ((double) i - centre) / width + 0.5;
        if (p < 0.0 || p > 1.0)
        {
            taps[i] = 0.0;
            return false;
        }
        const double u = 2.0 * p - 1.0;
        const double halfArg = halfBeta * std::sqrt (1.0 - u * u);
        q = halfArg * halfArg;
        return true;
    };

    // The window is symmetric: a mirrored pair of taps shares one series whenever both
    // positions round to the same input, which gives the same value bit for bit.
    for (uint32_t i = 0, j = n - 1; i <= j && j < n; ++i, --j)
    {
        double front = 0.0, back = 0.0;
        const bool frontInside = quarterSquareAt (i, front);
        const bool backInside = i != j && quarterSquareAt (j, back);

        if (frontInside && backInside && front == back)
        {
            request (front, i, j);
            continue;
        }
        if (frontInside)
            request (front, i, i);
        if (backInside)
            request (back, j, j);
    }

    if (pending > 0)
        flush();
}

void trimSmallTaps (double*& taps, uint32_t& count, double threshold)
{
    const uint32_t half = count / 2;
    uint32_t i = 0;

    while (i < half && std::fabs (taps[i]) < threshold)
        ++i;

    taps += i;
    count -= 2 * i;
}

void normaliseToUnitSum (double* taps, int32_t n)
{
    if (n <= 0)
        return;

    double sum = 0.0;
    for (int32_t i = 0; i < n; ++i)
        sum += taps[i];

    const double scale = 1.0 / sum;
    for (int32_t i = 0; i < n; ++i)
        taps[i] *= scale;
}

double evaluateCutoffPolynomial (const double* c, double x)
{
    const double x2 = x * x;
    const double x3 = x2 * x;
    const double x4 = x3 * x;
    const double x5 = x4 * x;
    const double x6 = x5 * x;
    const double x7 = x6 * x;
    const double x8 = x7 * x;
    const double x9 = x8 * x;

    double fc = c[0] + c[1] * x;
    fc += c[2] * x2;
    fc += c[3] * x3 + c[4] * x4;
    fc += c[5] * x5 + c[6] * x6;
    fc += c[7] * x7 + c[8] * x8;
    fc += c[9] * x9;
    return fc;
}

namespace
{
const double* findCutoffBlock (double sampleRate)
{
    for (uint32_t b = 0; b < designCutoffBlockCount; ++b)
        if (designCutoffTable[b * designCutoffBlockSize] == sampleRate)
            return designCutoffTable + b * designCutoffBlockSize;

    return nullptr;
}

double blockCutoff (const double* block, double cornerHz, double logWidth)
{
    const double* rows = block + 1;
    const double firstKey = rows[0];
    const double lastKey = rows[(designCutoffRowCount - 1) * designCutoffRowSize];
    const double corner = cornerHz < firstKey ? firstKey : (cornerHz > lastKey ? lastKey : cornerHz);

    uint32_t best = 0;
    double bestDistance = std::fabs (corner - rows[0]);

    for (uint32_t k = 1; k < designCutoffRowCount; ++k)
    {
        const double distance = std::fabs (corner - rows[k * designCutoffRowSize]);
        if (distance < bestDistance)
        {
            best = k;
            bestDistance = distance;
        }
    }

    return evaluateCutoffPolynomial (rows + best * designCutoffRowSize + 1, logWidth);
}
} // namespace

double lookupDesignCutoff (double cornerHz, double logWidth, double sampleRate)
{
    if (const double* block = findCutoffBlock (sampleRate))
        return blockCutoff (block, cornerHz, logWidth);

    // Between two tabulated rates: the window spans the same time at the same slope whatever
    // the rate, so each neighbour is asked at its own log width for that slope, and their
    // cutoffs are blended by where the rate lies between them.
    double below = 0.0, above = 0.0;
    for (double rate : designCutoffRates)
    {
        if (rate < sampleRate && rate > below)
            below = rate;
        if (rate > sampleRate && (above == 0.0 || rate < above))
            above = rate;
    }

    if (below == 0.0 || above == 0.0)
        return 25000.0;

    const double t = (sampleRate - below) / (above - below);
    const double fromBelow = blockCutoff (findCutoffBlock (below), cornerHz, logWidth + std::log (below / sampleRate));
    const double fromAbove = blockCutoff (findCutoffBlock (above), cornerHz, logWidth + std::log (above / sampleRate));
    return fromBelow + t * (fromAbove - fromBelow);
}

uint32_t designTapCount (double sampleRate)
{
    auto n = (uint32_t) std::floor (sampleRate / 192000.0 * 180.0 + 0.5);
    if ((n & 1u) == 0)
        ++n;
    return n;
}

double designLogWidth (double slope, double sampleRate)
{
    const double a = std::log (18.0 * sampleRate / 192000.0);
    const double b = std::log (180.0 * sampleRate / 192000.0);
    return a + slope * (b - a);
}

double* designTrimmedKernel (double* buffer, uint32_t fullLength, double logWidth,
                             double cutoffHz, double sampleRate, uint32_t& count)
{
    clearTaps (buffer, (int32_t) fullLength);
    designSincKernel (buffer, fullLength, 0, cutoffHz, sampleRate);
    applyKaiserWindow (buffer, fullLength, std::exp (logWidth) + 1.0, kaiserBeta);

    double* taps = buffer;
    count = fullLength;
    trimSmallTaps (taps, count, trimThreshold);
    normaliseToUnitSum (taps, (int32_t) count);
    return taps;
}

} // namespace kelmora::dsp
