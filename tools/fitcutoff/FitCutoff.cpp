// Fits the design cutoff table: for every sample rate and every 100 Hz key it finds, over the
// slope range, the sinc cutoff that puts the finished filter's -0.1 dB point on the key, fits a
// ninth-degree polynomial in the log window width and writes the table as C++ source.
#include "dsp/DesignCutoffTable.h"
#include "dsp/FirDesign.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

using namespace kelmora::dsp;

namespace
{
constexpr int degree = 9;
constexpr int fitSlopes = 161;
constexpr int checkSlopes = 401;

// Rows measured on the original filter; kept exactly as they were stored.
struct KeptRow
{
    double rate, key;
    const char* text;
};

const KeptRow keptRows[] = {
    { 96000.0, 21000.0, "-31631735.35644773, 83140836.84294301, -96061173.18265976, 64192354.26590635, "
                        "-27355403.19467175, 7710694.067382482, -1437679.626852726, 170989.4704193302, "
                        "-11771.38482062724, 357.3920092805113" },
    { 192000.0, 21000.0, "-11646689.2697828, 10592861.89117091, 5617300.538562873, -12780086.35426425, "
                         "8302125.888440602, -2924522.76511436, 622016.6779769858, -80122.89326688721, "
                         "5780.322285112058, -179.8441048521556" },
    { 384000.0, 25000.0, "445941.1258441961, 252497.2828281427, -156310.2587767904, -272038.4465689645, "
                         "270409.4025556812, -106970.8046056512, 23049.22262826676, -2848.865261333498, "
                         "190.4535178406019, -5.354882307960907" },
};

const KeptRow* findKeptRow (double rate, double key)
{
    for (const auto& row : keptRows)
        if (row.rate == rate && row.key == key)
            return &row;
    return nullptr;
}

// Zero-phase response of a (symmetric) kernel at f, by the cosine recurrence.
double magnitudeAt (const double* taps, uint32_t n, double f, double rate)
{
    const uint32_t c = n / 2;
    const double w = 2.0 * M_PI * f / rate;
    const double twoCos = 2.0 * std::cos (w);
    double previous = 1.0;      // cos (0 w)
    double current = std::cos (w);
    double sum = taps[c];

    for (uint32_t k = 1; k <= c; ++k)
    {
        sum += (taps[c - k] + taps[c + k]) * current;
        const double next = twoCos * current - previous;
        previous = current;
        current = next;
    }

    return std::fabs (sum);
}

// The first frequency where the finished filter falls below -0.1 dB (half the rate if never).
double cornerOf (const double* taps, uint32_t n, double rate)
{
    const double nyquist = 0.5 * rate;
    const double step = 250.0;
    double below = -1.0;
    double above = 0.0;

    for (double f = step; f <= nyquist; f += step)
    {
        if (magnitudeAt (taps, n, f, rate) < cornerMagnitude)
        {
            below = f;
            break;
        }
        above = f;
    }

    if (below < 0.0)
    {
        if (magnitudeAt (taps, n, nyquist, rate) >= cornerMagnitude)
            return nyquist;
        below = nyquist;
    }

    for (int i = 0; i < 60 && below - above > 1e-7; ++i)
    {
        const double mid = 0.5 * (above + below);
        (magnitudeAt (taps, n, mid, rate) < cornerMagnitude ? below : above) = mid;
    }

    return 0.5 * (above + below);
}

double cornerFor (double cutoff, double logWidth, double rate)
{
    double buffer[designBufferSize];
    uint32_t count = 0;
    const double* taps = designTrimmedKernel (buffer, designTapCount (rate), logWidth, cutoff, rate, count);
    return cornerOf (taps, count, rate);
}

struct Target
{
    double x = 0, cutoff = 0, sensitivity = 1, tolerance = 20;
};

// The sinc cutoff whose corner lands on key (Illinois regula falsi), clamped below Nyquist.
Target solveCutoff (double key, double slope, double rate)
{
    Target t;
    t.x = designLogWidth (slope, rate);
    t.tolerance = slope >= 0.25 ? 20.0 : 350.0;

    const double limit = 0.5 * rate - 1.0;
    double lo = key, hi = limit;
    double fLo = cornerFor (lo, t.x, rate) - key;
    while (fLo > 0.0 && lo > 1000.0)
    {
        lo -= 2000.0;
        fLo = cornerFor (lo, t.x, rate) - key;
    }
    double fHi = cornerFor (hi, t.x, rate) - key;

    if (fHi < 0.0)
    {
        t.cutoff = hi;
        return t;
    }

    int side = 0;
    double c = lo;
    for (int i = 0; i < 100; ++i)
    {
        c = (lo * fHi - hi * fLo) / (fHi - fLo);
        const double fc = cornerFor (c, t.x, rate) - key;
        if (std::fabs (fc) < 1e-5 || hi - lo < 1e-6)
            break;

        if (fc < 0.0)
        {
            lo = c;
            fLo = fc;
            if (side == -1)
                fHi *= 0.5;
            side = -1;
        }
        else
        {
            hi = c;
            fHi = fc;
            if (side == 1)
                fLo *= 0.5;
            side = 1;
        }
    }

    t.cutoff = c;
    const double step = c + 1.0 <= limit ? 1.0 : -1.0;
    t.sensitivity = std::max (0.05, (cornerFor (c + step, t.x, rate) - cornerFor (c, t.x, rate)) / step);
    return t;
}

using Real = long double;

// Weighted least squares in Chebyshev polynomials of the scaled variable s = (x - mid) / half.
std::vector<Real> fitChebyshev (const std::vector<Target>& targets, const std::vector<Real>& weights,
                                Real mid, Real half)
{
    constexpr int m = degree + 1;
    Real a[m][m + 1] = {};

    for (size_t i = 0; i < targets.size(); ++i)
    {
        const Real s = ((Real) targets[i].x - mid) / half;
        Real basis[m];
        basis[0] = 1;
        basis[1] = s;
        for (int j = 2; j < m; ++j)
            basis[j] = 2 * s * basis[j - 1] - basis[j - 2];

        for (int r = 0; r < m; ++r)
        {
            for (int c = 0; c < m; ++c)
                a[r][c] += weights[i] * basis[r] * basis[c];
            a[r][m] += weights[i] * basis[r] * (Real) targets[i].cutoff;
        }
    }

    for (int col = 0; col < m; ++col)
    {
        int pivot = col;
        for (int r = col + 1; r < m; ++r)
            if (std::fabs (a[r][col]) > std::fabs (a[pivot][col]))
                pivot = r;
        std::swap (a[col], a[pivot]);

        for (int r = 0; r < m; ++r)
        {
            if (r == col)
                continue;
            const Real factor = a[r][col] / a[col][col];
            for (int c = col; c <= m; ++c)
                a[r][c] -= factor * a[col][c];
        }
    }

    std::vector<Real> coefficients (m);
    for (int r = 0; r < m; ++r)
        coefficients[r] = a[r][m] / a[r][r];
    return coefficients;
}

// Chebyshev series in s = (x - mid) / half, expanded to monomials in x.
std::vector<double> toMonomials (const std::vector<Real>& chebyshev, Real mid, Real half)
{
    constexpr int m = degree + 1;
    Real t[m][m] = {}; // t[j][i]: coefficient of s^i in T_j (s)
    t[0][0] = 1;
    t[1][1] = 1;
    for (int j = 2; j < m; ++j)
        for (int i = 0; i < m; ++i)
            t[j][i] = (i > 0 ? 2 * t[j - 1][i - 1] : 0) - t[j - 2][i];

    Real inS[m] = {};
    for (int j = 0; j < m; ++j)
        for (int i = 0; i < m; ++i)
            inS[i] += chebyshev[j] * t[j][i];

    // s^j = (x - mid)^j / half^j
    Real inX[m] = {};
    for (int j = 0; j < m; ++j)
    {
        Real binomial = 1;
        for (int i = 0; i <= j; ++i)
        {
            inX[i] += inS[j] * binomial * std::pow (-mid, (Real) (j - i)) / std::pow (half, (Real) j);
            binomial = binomial * (j - i) / (i + 1);
        }
    }

    std::vector<double> out (m);
    for (int i = 0; i < m; ++i)
        out[i] = (double) inX[i];
    return out;
}

double worstScaledError (const std::vector<Target>& targets, const std::vector<double>& c)
{
    double worst = 0.0;
    for (const auto& t : targets)
        worst = std::max (worst, std::fabs (evaluateCutoffPolynomial (c.data(), t.x) - t.cutoff) * t.sensitivity / t.tolerance);
    return worst;
}

// Lawson's iteration: reweights the least-squares fit towards the smallest worst error
// relative to each slope's tolerance.
std::vector<double> fitRow (const std::vector<Target>& targets, double a, double b)
{
    const Real mid = 0.5L * ((Real) a + (Real) b);
    const Real half = 0.5L * ((Real) b - (Real) a);
    std::vector<Real> lawson (targets.size(), 1.0L / (Real) targets.size());
    std::vector<double> best;
    double bestError = 1e300;

    for (int iteration = 0; iteration < 200; ++iteration)
    {
        std::vector<Real> weights (targets.size());
        for (size_t i = 0; i < targets.size(); ++i)
        {
            const Real scale = (Real) targets[i].sensitivity / (Real) targets[i].tolerance;
            weights[i] = lawson[i] * scale * scale;
        }

        const auto coefficients = toMonomials (fitChebyshev (targets, weights, mid, half), mid, half);
        const double error = worstScaledError (targets, coefficients);
        if (error < bestError)
        {
            bestError = error;
            best = coefficients;
        }

        Real total = 0;
        for (size_t i = 0; i < targets.size(); ++i)
        {
            const double e = std::fabs (evaluateCutoffPolynomial (coefficients.data(), targets[i].x) - targets[i].cutoff)
                             * targets[i].sensitivity / targets[i].tolerance;
            lawson[i] *= (Real) std::max (e, 1e-12);
            total += lawson[i];
        }
        for (auto& l : lawson)
            l /= total;
    }

    return best;
}

struct RowResult
{
    std::vector<double> coefficients;
    const KeptRow* kept = nullptr;
    double worstSteep = 0, worstGentle = 0, worstExempt = 0; // Hz, |corner - key|
};

bool isExempt (double rate, double key, double slope)
{
    return rate == 88200.0 && key >= 24000.0 && slope < 0.1;
}

RowResult fitKey (double rate, double key)
{
    RowResult result;
    result.kept = findKeptRow (rate, key);

    if (result.kept == nullptr)
    {
        std::vector<Target> targets;
        for (int i = 0; i < fitSlopes; ++i)
            targets.push_back (solveCutoff (key, (double) i / (fitSlopes - 1), rate));
        result.coefficients = fitRow (targets, designLogWidth (0.0, rate), designLogWidth (1.0, rate));
    }
    else
    {
        double parsed[degree + 1];
        const char* p = result.kept->text;
        for (double& c : parsed)
        {
            char* end = nullptr;
            c = std::strtod (p, &end);
            p = end + 1;
        }
        result.coefficients.assign (parsed, parsed + degree + 1);
    }

    for (int i = 0; i < checkSlopes; ++i)
    {
        const double slope = (double) i / (checkSlopes - 1);
        const double x = designLogWidth (slope, rate);
        const double error = std::fabs (cornerFor (evaluateCutoffPolynomial (result.coefficients.data(), x), x, rate) - key);
        double& worst = isExempt (rate, key, slope) ? result.worstExempt
                        : slope >= 0.25           ? result.worstSteep
                                                  : result.worstGentle;
        worst = std::max (worst, error);
    }

    return result;
}

std::string formatRow (const RowResult& row)
{
    if (row.kept != nullptr)
        return row.kept->text;

    std::string text;
    char number[40];
    for (size_t i = 0; i < row.coefficients.size(); ++i)
    {
        std::snprintf (number, sizeof (number), "%s%.17g", i == 0 ? "" : ", ", row.coefficients[i]);
        text += number;
    }
    return text;
}
} // namespace

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: %s <output .cpp>\n", argv[0]);
        return 2;
    }

    std::vector<std::vector<RowResult>> rows (designCutoffBlockCount, std::vector<RowResult> (designCutoffRowCount));
    std::atomic<uint32_t> next { 0 };
    const uint32_t jobs = designCutoffBlockCount * designCutoffRowCount;
    const unsigned threadCount = std::max (1u, std::min (3u, std::thread::hardware_concurrency()));

    std::vector<std::thread> threads;
    for (unsigned t = 0; t < threadCount; ++t)
        threads.emplace_back ([&] {
            for (uint32_t job = next++; job < jobs; job = next++)
            {
                const uint32_t block = job / designCutoffRowCount;
                const uint32_t key = job % designCutoffRowCount;
                rows[block][key] = fitKey (designCutoffRates[block], 20000.0 + 100.0 * key);
            }
        });
    for (auto& t : threads)
        t.join();

    std::string summary;
    for (uint32_t b = 0; b < designCutoffBlockCount; ++b)
    {
        double steep = 0, gentle = 0, exempt = 0, keptSteep = 0;
        for (const auto& row : rows[b])
        {
            if (row.kept != nullptr)
            {
                keptSteep = std::max (keptSteep, row.worstSteep);
                continue;
            }
            steep = std::max (steep, row.worstSteep);
            gentle = std::max (gentle, row.worstGentle);
            exempt = std::max (exempt, row.worstExempt);
        }

        char line[256];
        int length = std::snprintf (line, sizeof (line),
                                    "// %6.0f Hz: worst corner error %.2f Hz at slope >= 0.25, %.2f Hz below",
                                    designCutoffRates[b], steep, gentle);
        if (exempt > 0.0)
            length += std::snprintf (line + length, sizeof (line) - (size_t) length,
                                     " (%.1f Hz for keys >= 24 kHz below slope 0.1)", exempt);
        std::snprintf (line + length, sizeof (line) - (size_t) length, "\n");
        summary += line;
        std::fputs (line + 3, stdout);
        if (keptSteep > 0.0)
            std::printf ("         kept row: worst corner error %.2f Hz at slope >= 0.25\n", keptSteep);
    }

    FILE* out = std::fopen (argv[1], "w");
    if (out == nullptr)
    {
        std::perror (argv[1]);
        return 1;
    }

    std::fprintf (out, "// Written by tools/fitcutoff (quietline_fitcutoff); do not edit by hand.\n");
    std::fprintf (out, "// Measured with the finished filter over %d slopes per key:\n%s", checkSlopes, summary.c_str());
    std::fprintf (out, "// The 96 kHz and 192 kHz rows for 21000 Hz and the 384 kHz row for 25000 Hz are kept as\n"
                       "// measured on the original filter.\n\n");
    std::fprintf (out, "#include \"dsp/DesignCutoffTable.h\"\n\nnamespace kelmora::dsp\n{\n\n");
    std::fprintf (out, "const double designCutoffTable[designCutoffBlockCount * designCutoffBlockSize] = {\n");
    for (uint32_t b = 0; b < designCutoffBlockCount; ++b)
    {
        std::fprintf (out, "    %.1f,\n", designCutoffRates[b]);
        for (uint32_t k = 0; k < designCutoffRowCount; ++k)
            std::fprintf (out, "    %.1f, %s,\n", 20000.0 + 100.0 * k, formatRow (rows[b][k]).c_str());
    }
    std::fprintf (out, "};\n\n} // namespace kelmora::dsp\n");
    std::fclose (out);
    return 0;
}
