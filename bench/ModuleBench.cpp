// The built module through the reference host: nanoseconds per stereo sample of the whole
// processing call (default preset, blocks of 512) per rate, a state save and restore, and the
// creation of an instance (open and close included).
#include "tools/vsthost/HostedEffect.h"
#include "tools/vsthost/VstPluginModule.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using kelmora::tools::HostedEffect;
using kelmora::tools::VstPluginModule;

namespace
{
constexpr int blockSize = 512;

const VstPluginModule& module()
{
    static const auto loaded = [] {
        std::string error;
        auto m = VstPluginModule::load (QUIETLINE_MODULE_PATH, error);
        if (m == nullptr)
        {
            std::fprintf (stderr, "%s\n", error.c_str());
            std::exit (1);
        }
        return m;
    }();
    return *loaded;
}

std::unique_ptr<HostedEffect> instance (double rate)
{
    std::string error;
    auto e = HostedEffect::create (module(), error);
    e->open();
    e->start (rate, blockSize);
    return e;
}

void Process (benchmark::State& state)
{
    auto e = instance ((double) state.range (0));
    std::vector<float> left (blockSize, 0.25f), right (blockSize, -0.25f);
    float* ins[] = { left.data(), right.data() };
    float* outs[] = { left.data(), right.data() };

    for (auto _ : state)
    {
        e->process (ins, outs, blockSize);
        benchmark::ClobberMemory();
    }
    state.counters["ns_per_sample"] = benchmark::Counter ((double) state.iterations() * blockSize,
                                                          benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void StateSaveAndRestore (benchmark::State& state)
{
    auto e = instance (192000.0);
    for (auto _ : state)
        benchmark::DoNotOptimize (e->setChunk (e->getChunk()));
}

void CreateInstance (benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize (instance (192000.0));
}
} // namespace

BENCHMARK (Process)->Arg (96000)->Arg (192000)->Arg (384000)->Unit (benchmark::kMicrosecond);
BENCHMARK (StateSaveAndRestore)->Unit (benchmark::kMicrosecond);
BENCHMARK (CreateInstance)->Unit (benchmark::kMicrosecond);

int main (int argc, char** argv)
{
    // The plug-in reads and writes its settings under HOME: keep them out of the user's.
    char home[] = "/tmp/quietline-bench-XXXXXX";
    if (mkdtemp (home) != nullptr)
        setenv ("HOME", home, 1);

    benchmark::Initialize (&argc, argv);
    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all (home);
    return 0;
}
