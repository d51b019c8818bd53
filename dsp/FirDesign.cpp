#include "dsp/FirDesign.h"

#include "dsp/DesignCutoffTable.h"

#include <cmath>
#include <emmintrin.h>

namespace kelmora::dsp
{

namespace
{
constexpr double twoPi = 6.283185307179586;
constexpr double pi = 3.141592653589793;
constexpr double kaiserBeta = 14.0;
constexpr double trimThreshold = 3.162277660168379e-6; // -110 dB

// The same series for two inputs at once, lane by lane in the same order: each lane stops
// after its own first term below 1e-6, so both results equal the scalar ones bit for bit.
__m128d besselI0Pair (__m128d q)
{
    __m128d sum = _mm_set1_pd (1.0);
    __m128d term = sum;
    __m128d running = _mm_castsi128_pd (_mm_set1_epi32 (-1));
    const __m128d small = _mm_set1_pd (1e-6);

    for (int k = 1; k <= 79; ++k)
    {
        const __m128d next = _mm_mul_pd (term, _mm_div_pd (q, _mm_set1_pd ((double) k * (double) k)));
        term = _mm_or_pd (_mm_and_pd (running, next), _mm_andnot_pd (running, term));
        sum = _mm_or_pd (_mm_and_pd (running, _mm_add_pd (sum, term)), _mm_andnot_pd (running, sum));
        running = _mm_andnot_pd (_mm_cmplt_pd (term, small), running);

        if (_mm_movemask_pd (running) == 0)
            break;
    }

    return sum;
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

    // Taps waiting for their series, two at a time; `second` shares the value of `first`.
    struct Request
    {
        double q;
        uint32_t first, second;
    };
    Request pending[2];
    int pendingCount = 0;

    const auto flush = [&] {
        alignas (16) double w[2];
        const double q1 = pendingCount > 1 ? pending[1].q : pending[0].q;
        _mm_store_pd (w, _mm_div_pd (besselI0Pair (_mm_set_pd (q1, pending[0].q)), _mm_set1_pd (i0Beta)));
        for (int e = 0; e < pendingCount; ++e)
        {
            taps[pending[e].first] = w[e] * taps[pending[e].first];
            if (pending[e].second != pending[e].first)
                taps[pending[e].second] = w[e] * taps[pending[e].second];
        }
        pendingCount = 0;
    };
    const auto request = [&] (double q, uint32_t first, uint32_t second) {
        pending[pendingCount++] = { q, first, second };
        if (pendingCount == 2)
            flush();
    };

    // The series' input for tap i; false (and the tap zeroed) outside the window.
    const auto quarterSquareAt = [&] (uint32_t i, double& q) {
        const double p = ((double) i - centre) / width + 0.5;
        if (p < 0.0 || p > 1.0)
        {
            taps[i] = 0.0 * taps[i];
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

    if (pendingCount > 0)
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
