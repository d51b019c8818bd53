// Nanoseconds per stereo sample of the FIR low-pass at each supported rate (slope 1, 21 kHz,
// blocks of 512): the engine, a naive scalar convolution of the same kernel, and two
// juce::dsp::FIR::Filter<double>. Prints the ratios to the naive loop at the end.
#include "dsp/FirFilterState.h"

#include <juce_dsp/juce_dsp.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

using kelmora::dsp::FirFilterState;

namespace
{
constexpr int blockSize = 512;
const int64_t rates[] = { 88200, 96000, 176400, 192000, 352800, 384000 };

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

std::unique_ptr<FirFilterState> designedFilter (double rate)
{
    auto filter = std::make_unique<FirFilterState>();
    filter->design (21000.0, 1.0, rate);
    return filter;
}

void countSamples (benchmark::State& state)
{
    state.SetItemsProcessed (state.iterations() * blockSize);
}

void Engine (benchmark::State& state)
{
    Signal s;
    auto filter = designedFilter ((double) state.range (0));

    for (auto _ : state)
    {
        filter->process (s.left.data(), s.right.data(), s.outLeft.data(), s.outRight.data(), blockSize, false);
        benchmark::DoNotOptimize (s.outLeft.data());
        benchmark::ClobberMemory();
    }
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
    auto filter = designedFilter ((double) state.range (0));
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
    auto filter = designedFilter ((double) state.range (0));
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

void registerAll()
{
    for (auto [name, function] : { std::pair { "Engine", Engine }, std::pair { "Naive", Naive }, std::pair { "Juce", Juce } })
        for (int64_t rate : rates)
            benchmark::RegisterBenchmark (name, function)->Arg (rate)->Unit (benchmark::kNanosecond);
}

// Keeps the time per iteration of every run so the ratios can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, double> nanosecondsPerSample;

    void ReportRuns (const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns (runs);
        for (const auto& run : runs)
        {
            if (run.error_occurred || (run.run_type == Run::RT_Aggregate && run.aggregate_name != "mean"))
                continue;
            const double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier (run.time_unit);
            nanosecondsPerSample[run.run_name.function_name + "/" + run.run_name.args] = seconds * 1e9 / blockSize;
        }
    }

    void printRatios() const
    {
        std::printf ("\nns per stereo sample (slope 1, blocks of %d); ratio = naive / other\n", blockSize);
        std::printf ("%8s %10s %10s %10s %10s %10s\n", "rate", "engine", "naive", "juce", "engine x", "juce x");
        for (int64_t rate : rates)
        {
            const std::string arg = std::to_string (rate);
            const auto find = [&] (const char* name) {
                const auto it = nanosecondsPerSample.find (std::string (name) + "/" + arg);
                return it == nanosecondsPerSample.end() ? 0.0 : it->second;
            };
            const double engine = find ("Engine"), naive = find ("Naive"), juce = find ("Juce");
            if (naive <= 0.0)
                continue;
            std::printf ("%8lld %10.2f %10.2f %10.2f %10.2f %10.2f\n", (long long) rate, engine, naive, juce,
                         engine > 0.0 ? naive / engine : 0.0, juce > 0.0 ? naive / juce : 0.0);
        }
    }
};
} // namespace

int main (int argc, char** argv)
{
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
