// The FIR low-pass at every supported rate, slope 0.75 (the default preset) and 1, corner
// 21 kHz, blocks of 512: nanoseconds per stereo sample for every loop this CPU can run (the
// plain reference loop and the SSE2, AVX and AVX-512 ones), a naive scalar convolution and
// two juce::dsp::FIR::Filter<double>; microseconds per redesign (and per redesign the way the
// window was computed before); and the worst time of one
// block of 64 over 10,000 blocks with a corner change before each. Prints the ratios to the
// reference loop at the end. --fir_path=reference|sse2|avx|avx512 makes the design and every
// measurement but the per-loop engine rows run on that loop.
#include "dsp/FirFilterState.h"

#include <juce_dsp/juce_dsp.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace kelmora::dsp;

namespace
{
constexpr int blockSize = 512;
const int64_t rates[] = { 88200, 96000, 176400, 192000, 352800, 384000 };
const int64_t slopes[] = { 75, 100 }; // percent
const FirPath paths[] = { FirPath::reference, FirPath::sse2, FirPath::avx, FirPath::avx512 };

struct Signal
{
    std::vector<float> left = std::vector<float> (blockSize), right = std::vector<float> (blockSize);
    std::vector<float> outLeft = std::vector<float> (blockSize), outRight = std::vector<float> (blockSize);

    Signal()
    {
        std::mt19937 rng (7);
        std::uniform_real_distribution<float> dist (-1.0f, 1.0f);
        for (int i = 0; i < blockSize; ++i)
        {
            left[(size_t) i] = dist (rng);
            right[(size_t) i] = dist (rng);
        }
    }
};

std::unique_ptr<FirFilterState> designedFilter (const benchmark::State& state)
{
    auto filter = std::make_unique<FirFilterState>();
    filter->design (21000.0, (double) state.range (1) / 100.0, (double) state.range (0));
    return filter;
}

void countSamples (benchmark::State& state)
{
    state.SetItemsProcessed (state.iterations() * blockSize);
}

void Engine (benchmark::State& state, FirPath path)
{
    Signal s;
    auto filter = designedFilter (state);
    const FirPath before = getFirPath();
    forceFirPath (path);

    for (auto _ : state)
    {
        filter->process (s.left.data(), s.right.data(), s.outLeft.data(), s.outRight.data(), blockSize, false);
        benchmark::DoNotOptimize (s.outLeft.data());
        benchmark::ClobberMemory();
    }
    forceFirPath (before);
    countSamples (state);
}

// Direct convolution over a linear history: each block is appended behind the last taps-1
// samples, and every output sums all taps in one plain loop.
struct NaiveChannel
{
    std::vector<double> history;
    size_t taps;

    explicit NaiveChannel (size_t tapCount) : history (tapCount - 1 + blockSize, 0.0), taps (tapCount) {}

    void process (const double* kernel, const float* in, float* out)
    {
        std::copy (history.end() - (long) (taps - 1), history.end(), history.begin());
        for (int i = 0; i < blockSize; ++i)
            history[taps - 1 + (size_t) i] = in[i];

        for (int i = 0; i < blockSize; ++i)
        {
            const double* x = history.data() + i + taps - 1;
            double sum = 0.0;
            for (size_t k = 0; k < taps; ++k)
                sum += kernel[k] * x[-(long) k];
            out[i] = (float) sum;
        }
    }
};

void Naive (benchmark::State& state)
{
    Signal s;
    auto filter = designedFilter (state);
    const auto& kernel = filter->kernel;
    NaiveChannel left (kernel.tapCount), right (kernel.tapCount);

    for (auto _ : state)
    {
        left.process (kernel.coefficients, s.left.data(), s.outLeft.data());
        right.process (kernel.coefficients, s.right.data(), s.outRight.data());
        benchmark::DoNotOptimize (s.outLeft.data());
        benchmark::ClobberMemory();
    }
    countSamples (state);
}

void Juce (benchmark::State& state)
{
    Signal s;
    auto filter = designedFilter (state);
    const auto& kernel = filter->kernel;

    using Fir = juce::dsp::FIR::Filter<double>;
    auto coefficients = new juce::dsp::FIR::Coefficients<double> (kernel.coefficients, kernel.tapCount);
    Fir left (coefficients), right (coefficients);
    const juce::dsp::ProcessSpec spec { (double) state.range (0), (juce::uint32) blockSize, 1 };
    left.prepare (spec);
    right.prepare (spec);

    juce::AudioBuffer<double> buffer (2, blockSize);

    for (auto _ : state)
    {
        for (int i = 0; i < blockSize; ++i)
        {
            buffer.setSample (0, i, s.left[(size_t) i]);
            buffer.setSample (1, i, s.right[(size_t) i]);
        }

        juce::dsp::AudioBlock<double> block (buffer);
        auto leftBlock = block.getSingleChannelBlock (0);
        auto rightBlock = block.getSingleChannelBlock (1);
        left.process (juce::dsp::ProcessContextReplacing<double> (leftBlock));
        right.process (juce::dsp::ProcessContextReplacing<double> (rightBlock));

        for (int i = 0; i < blockSize; ++i)
        {
            s.outLeft[(size_t) i] = (float) buffer.getSample (0, i);
            s.outRight[(size_t) i] = (float) buffer.getSample (1, i);
        }
        benchmark::DoNotOptimize (s.outLeft.data());
        benchmark::ClobberMemory();
    }
    countSamples (state);
}

// The window as it was computed before it used its symmetry: the Bessel series for every
// tap, one at a time. Kept here only to time the redesign against it.
void plainKaiserWindow (double* taps, uint32_t n, double width)
{
    const double halfBeta = 7.0;
    const double i0Beta = besselI0FromQuarterSquare (halfBeta * halfBeta);
    for (uint32_t i = 0; i < n; ++i)
    {
        const double p = ((double) i - (double) (n - 1) * 0.5) / width + 0.5;
        double w = 0.0;
        if (! (p < 0.0 || p > 1.0))
        {
            const double u = 2.0 * p - 1.0;
            const double halfArg = halfBeta * std::sqrt (1.0 - u * u);
            w = besselI0FromQuarterSquare (halfArg * halfArg) / i0Beta;
        }
        taps[i] = w * taps[i];
    }
}

// The whole design and install as FirFilterState::design did it, with the plain window.
void designPlain (FirFilterState& filter, double corner, double slope, double rate)
{
    const uint32_t fullLength = designTapCount (rate);
    const double logWidth = designLogWidth (slope, rate);
    double buffer[designBufferSize];
    clearTaps (buffer, (int32_t) fullLength);
    designSincKernel (buffer, fullLength, 0, lookupDesignCutoff (corner, logWidth, rate), rate);
    plainKaiserWindow (buffer, fullLength, std::exp (logWidth) + 1.0);
    double* taps = buffer;
    uint32_t count = fullLength;
    trimSmallTaps (taps, count, 3.162277660168379e-6);
    normaliseToUnitSum (taps, (int32_t) count);
    filter.kernel.install (FirKernel::pack (taps, count, fullLength));
}

// One redesign per iteration: the corner alternates so that none is skipped as unchanged.
void Design (benchmark::State& state, bool plain)
{
    auto filter = designedFilter (state);
    const double slope = (double) state.range (1) / 100.0, rate = (double) state.range (0);
    double corner = 21000.0;

    for (auto _ : state)
    {
        corner = corner == 21000.0 ? 21100.0 : 21000.0;
        if (plain)
            designPlain (*filter, corner, slope, rate);
        else
            filter->design (corner, slope, rate);
        benchmark::ClobberMemory();
    }
}

// What a host sees under corner automation: redesign plus 64 samples, worst of 10,000.
void WorstBlock (benchmark::State& state)
{
    Signal s;
    auto filter = designedFilter (state);
    const double slope = (double) state.range (1) / 100.0, rate = (double) state.range (0);
    double worst = 0.0;

    for (auto _ : state)
        for (int block = 0; block < 10000; ++block)
        {
            const auto start = std::chrono::steady_clock::now();
            filter->design (20000.0 + (double) (block % 51) * 100.0, slope, rate);
            filter->process (s.left.data(), s.right.data(), s.outLeft.data(), s.outRight.data(), 64, false);
            const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
            worst = std::max (worst, took.count());
        }
    state.counters["worst_us"] = worst;
}

void registerAll()
{
    const auto add = [] (const std::string& name, auto function) {
        for (int64_t rate : rates)
            for (int64_t slope : slopes)
                benchmark::RegisterBenchmark (name.c_str(), function)->Args ({ rate, slope })->Unit (benchmark::kNanosecond);
    };

    for (FirPath path : paths)
        if (isFirPathAvailable (path))
            add (std::string ("Engine_") + getFirPathName (path), [path] (benchmark::State& state) { Engine (state, path); });
    add ("Naive", Naive);
    add ("Juce", Juce);
    add ("Design", [] (benchmark::State& state) { Design (state, false); });
    add ("DesignPlain", [] (benchmark::State& state) { Design (state, true); });
    for (int64_t rate : rates)
        for (int64_t slope : slopes)
            benchmark::RegisterBenchmark ("WorstBlock", WorstBlock)->Args ({ rate, slope })->Iterations (1)->Unit (benchmark::kMicrosecond);
}

// Keeps the time per iteration of every run so the ratios can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, double> nanoseconds;
    std::map<std::string, double> worst;

    void ReportRuns (const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns (runs);
        for (const auto& run : runs)
        {
            // With --benchmark_repetitions the median, which the machine's other load moves least,
            // replaces the single runs (the aggregates come last).
            if (run.error_occurred || (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median"))
                continue;
            const double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier (run.time_unit);
            const std::string key = run.run_name.function_name + "/" + run.run_name.args;
            nanoseconds[key] = seconds * 1e9;
            if (const auto it = run.counters.find ("worst_us"); it != run.counters.end())
                worst[key] = it->second;
        }
    }

    void printRatios() const
    {
        std::printf ("\nns per stereo sample (corner 21 kHz, blocks of %d); x = reference loop / other\n", blockSize);
        std::printf ("%7s %5s %9s %9s %9s %9s %9s %9s %7s %7s %7s %7s %7s %9s %9s %9s\n", "rate", "slope", "reference",
                     "sse2", "avx", "avx512", "naive", "juce", "sse2 x", "avx x", "512 x", "naive x", "juce x",
                     "design us", "plain us", "worst us");
        for (int64_t rate : rates)
            for (int64_t slope : slopes)
            {
                const std::string args = std::to_string (rate) + "/" + std::to_string (slope);
                const auto find = [&] (const std::map<std::string, double>& from, const std::string& name) {
                    const auto it = from.find (name + "/" + args);
                    return it == from.end() ? 0.0 : it->second;
                };
                const auto perSample = [&] (const std::string& name) { return find (nanoseconds, name) / blockSize; };
                const double reference = perSample ("Engine_reference");
                const double others[] = { perSample ("Engine_sse2"), perSample ("Engine_avx"), perSample ("Engine_avx512"),
                                          perSample ("Naive"), perSample ("Juce") };
                std::printf ("%7lld %5.2f %9.2f", (long long) rate, (double) slope / 100.0, reference);
                for (double v : others)
                    std::printf (" %9.2f", v);
                for (double v : others)
                    std::printf (" %7.2f", v > 0.0 ? reference / v : 0.0);
                std::printf (" %9.2f %9.2f %9.1f\n", find (nanoseconds, "Design") / 1000.0,
                             find (nanoseconds, "DesignPlain") / 1000.0, find (worst, "WorstBlock"));
            }
    }
};

// Takes --fir_path=<name> out of the arguments and forces that path; false for a name this CPU
// cannot run.
bool applyFirPathFlag (int& argc, char** argv)
{
    const std::string flag = "--fir_path=";
    int kept = 1;

    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (arg.rfind (flag, 0) != 0)
        {
            argv[kept++] = argv[i];
            continue;
        }
        const auto name = arg.substr (flag.size());
        const auto* named = std::find_if (std::begin (paths), std::end (paths),
                                          [&] (FirPath p) { return name == getFirPathName (p); });
        if (named == std::end (paths) || ! forceFirPath (*named))
        {
            std::fprintf (stderr, "--fir_path: \"%s\" is not a path this CPU runs (reference, sse2, avx, avx512)\n", name.c_str());
            return false;
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    return true;
}
} // namespace

int main (int argc, char** argv)
{
    if (! applyFirPathFlag (argc, argv))
        return 1;
    std::fprintf (stderr, "FIR path: %s\n", getFirPathName (getFirPath()));

    registerAll();
    benchmark::Initialize (&argc, argv);
    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks (&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
