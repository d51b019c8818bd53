#include "tools/validator/Battery.h"
#include "core/ProductIdentity.h"

#include <algorithm>
#include <atomic>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <functional>
#include <random>
#include <thread>

namespace kelmora::tools
{
namespace
{
using Result = std::string;   // empty: passed; "skip: ...": skipped; anything else: why it failed
using Instance = std::unique_ptr<PluginInstance>;

constexpr double rates[] = { 44100, 48000, 88200, 96000, 176400, 192000, 352800, 384000 };
constexpr int blocks[] = { 1, 7, 64, 512, 4096 };
constexpr double filterRate = 96000;   // a rate where the filter runs and has latency

/** Two channels of signal and output. */
struct Buffers
{
    explicit Buffers (int frames) : in (2, std::vector<float> (frames)), out (2, std::vector<float> (frames)) {}
    std::vector<std::vector<float>> in, out;

    void run (PluginInstance& p, int frames)
    {
        const float* ins[] = { in[0].data(), in[1].data() };
        float* outs[] = { out[0].data(), out[1].data() };
        p.process (ins, outs, frames);
    }
};

/** Noise with stretches at tiny (but normal) levels, where careless filters make subnormals. */
void fillSignal (Buffers& b, int frames, std::mt19937& random)
{
    std::uniform_real_distribution<float> noise (0.5f, 1.0f);
    for (auto& channel : b.in)
        for (int i = 0; i < frames; ++i)
            channel[(size_t) i] = noise (random) * ((random() & 2) != 0 ? 1.0f : -1.0f) * ((random() & 4) != 0 ? 0.5f : 1e-30f);
}

Result cleanOutput (const Buffers& b, int frames)
{
    for (const auto& channel : b.out)
        for (int i = 0; i < frames; ++i)
        {
            if (! std::isfinite (channel[(size_t) i]))
                return "output not finite";
            if (std::fpclassify (channel[(size_t) i]) == FP_SUBNORMAL)
                return "subnormal output";
        }
    return {};
}

/** Noise through the plug-in, the output checked. */
Result runNoise (PluginInstance& p, Buffers& b, int frames, std::mt19937& random)
{
    fillSignal (b, frames, random);
    b.run (p, frames);
    return cleanOutput (b, frames);
}

Result parametersInRange (PluginInstance& p)
{
    for (int i = 0; i < p.numParameters(); ++i)
    {
        const float v = p.getParameter (i);
        if (! (v >= 0.0f && v <= 1.0f))
            return "parameter " + std::to_string (i) + " reads " + std::to_string (v);
    }
    return {};
}

/** The index of the largest absolute output sample of an impulse, and the energy from `from` on. */
std::pair<int, double> impulseResponse (PluginInstance& p, int length, int from)
{
    Buffers b (length);
    b.in[0][0] = b.in[1][0] = 1.0f;
    b.run (p, length);
    int peak = 0;
    double after = 0;
    for (int i = 0; i < length; ++i)
    {
        if (std::abs (b.out[0][(size_t) i]) > std::abs (b.out[0][(size_t) peak]))
            peak = i;
        if (i >= from)
            after += (double) b.out[0][(size_t) i] * b.out[0][(size_t) i];
    }
    return { peak, after };
}

Result identityAndDescriptions (PluginFormat& f)
{
    auto p = f.create();
    if (p->name() != identity::productName || p->vendor() != identity::makerName)
        return "name \"" + p->name() + "\" by \"" + p->vendor() + "\"";
    if (auto problems = p->identityProblems(); ! problems.empty())
        return "differs:" + problems;
    if (p->numParameters() <= 0)
        return "no parameters";
    for (int i = 0; i < p->numParameters(); ++i)
        if (p->parameterName (i).empty())
            return "parameter " + std::to_string (i) + " has no name";
    return {};
}

Result openClose (PluginFormat& f)
{
    for (int i = 0; i < 50; ++i)
    {
        auto p = f.create();
        if (p == nullptr)
            return "creation " + std::to_string (i) + " failed";
        p->prepare (rates[i % 8], 512);
    }
    return {};
}

Result programAndParameterTexts (PluginFormat& f)
{
    auto p = f.create();
    for (int program = 0; program < std::max (1, p->numPrograms()); ++program)
    {
        if (p->numPrograms() > 0 && p->programName (program).empty())
            return "program " + std::to_string (program) + " has no name";
        p->setProgram (program);
        if (auto r = parametersInRange (*p); ! r.empty())
            return "program " + std::to_string (program) + ": " + r;
        for (int i = 0; i < p->numParameters(); ++i)
            if (p->parameterText (i).empty())
                return "parameter " + std::to_string (i) + " has no text in program " + std::to_string (program);
    }
    return {};
}

Result processingAtEveryRateAndBlock (PluginFormat& f)
{
    auto p = f.create();
    std::mt19937 random (7);
    Buffers b (4096);
    for (double rate : rates)
        for (int block : blocks)
        {
            // The host's maximum changes between calls: exactly the block, then the largest.
            for (int maxBlock : { block, 4096 })
            {
                p->prepare (rate, maxBlock);
                for (int done = 0; done < 4096; done += block)
                {
                    if (auto r = runNoise (*p, b, block, random); ! r.empty())
                        return r + " at " + std::to_string ((int) rate) + " Hz, block " + std::to_string (block);
                }
            }
        }
    return {};
}

Result latencyAndTail (PluginFormat& f)
{
    auto p = f.create();
    for (double rate : rates)
    {
        p->prepare (rate, 1 << 16);
        const int latency = p->latency(), tail = p->tail();
        if (latency < 0 || tail < latency)
            return "latency " + std::to_string (latency) + ", tail " + std::to_string (tail);
        const auto [peak, after] = impulseResponse (*p, 1 << 16, latency + tail + 1);
        if (peak != latency || after > 1e-12)
            return std::to_string ((int) rate) + " Hz: peak at " + std::to_string (peak) + " for latency " + std::to_string (latency)
                 + ", energy past the tail " + std::to_string (after);
    }
    return {};
}

Result automationEvery32Samples (PluginFormat& f)
{
    auto p = f.create();
    p->prepare (filterRate, 512);
    std::mt19937 random (3);
    std::uniform_real_distribution<float> value (0.0f, 1.0f);
    Buffers b (32);
    for (int step = 0; step < 2000; ++step)
    {
        p->setParameter (step % p->numParameters(), value (random));
        if (auto r = runNoise (*p, b, 32, random); ! r.empty())
            return r + " after change " + std::to_string (step);
    }
    return {};
}

Result hostileParameterValues (PluginFormat& f)
{
    auto p = f.create();
    p->prepare (filterRate, 512);
    const float values[] = { NAN, INFINITY, -INFINITY, -1.0f, 2.0f, 1e30f, -0.0f, 0.999999f };
    std::mt19937 random (5);
    Buffers b (512);
    for (float v : values)
        for (int i = 0; i < p->numParameters(); ++i)
        {
            p->setParameter (i, v);
            if (auto r = parametersInRange (*p); ! r.empty())
                return "after " + std::to_string (v) + ": " + r;
            if (auto r = runNoise (*p, b, 512, random); ! r.empty())
                return r + " after " + std::to_string (v);
        }
    return {};
}

Result stateRoundTrips (PluginFormat& f)
{
    auto p = f.create();
    std::mt19937 random (11);
    std::uniform_real_distribution<float> value (0.0f, 1.0f);
    const auto values = [] (PluginInstance& i)
    {
        std::vector<float> v;
        for (int index = 0; index < i.numParameters(); ++index)
            v.push_back (i.getParameter (index));
        return v;
    };
    for (int round = 0; round < 20; ++round)
    {
        p->setProgram (round % std::max (1, p->numPrograms()));
        for (int i = 0; i < p->numParameters(); ++i)
            p->setParameter (i, value (random));
        const auto expected = values (*p);
        const auto saved = p->saveState();
        auto fresh = f.create();
        for (auto* into : { p.get(), fresh.get() })
        {
            into->restoreState (saved);
            const char* which = into == p.get() ? " the same instance" : " a fresh instance";
            if (into->saveState() != saved)
                return "round " + std::to_string (round) + ": the state differs after restoring into" + which;
            if (values (*into) != expected)
                return "round " + std::to_string (round) + ": parameters not restored into" + which;
        }
    }
    return {};
}

Result bypassKeepsLatency (PluginFormat& f)
{
    auto p = f.create();
    p->prepare (filterRate, 1 << 15);
    const int latency = p->latency();
    if (! p->setBypass (true))
        return "skip: bypass refused";
    if (p->latency() != latency)
        return "latency " + std::to_string (latency) + " became " + std::to_string (p->latency());
    if (const int peak = impulseResponse (*p, 1 << 15, 0).first; peak != latency)
        return "bypassed impulse at " + std::to_string (peak) + ", latency " + std::to_string (latency);
    return {};
}

/** Runs `work` on `threads` threads that start together; each does its own share. */
void together (std::vector<std::function<void()>> work)
{
    std::atomic<int> waiting { (int) work.size() };
    std::vector<std::thread> threads;
    for (auto& w : work)
        threads.emplace_back ([&waiting, &w]
        {
            waiting.fetch_sub (1);
            while (waiting.load() > 0)
                std::this_thread::yield();
            w();
        });
    for (auto& t : threads)
        t.join();
}

Result editorOpenClose (PluginFormat& f)
{
    auto p = f.create();
    if (! p->hasEditor())
        return "skip: no editor";
    p->prepare (filterRate, 512);
    for (const char* when : { "cold", "warm" })
        if (! p->openEditor())
            return std::string ("skip: no display (") + when + ")";
        else
            p->closeEditor();

    std::atomic<bool> done { false };
    std::string failure;
    together ({ [&]
                {
                    Buffers b (512);
                    std::mt19937 random (1);
                    while (! done.load())
                        if (auto r = runNoise (*p, b, 512, random); ! r.empty())
                            failure = r + " while the editor opened and closed";
                },
                [&]
                {
                    for (int i = 0; i < 10; ++i)
                        if (p->openEditor())
                            p->closeEditor();
                    done = true;
                } });
    return failure;
}

Result fourThreadsAtOnce (PluginFormat& f)
{
    auto p = f.create();
    p->prepare (filterRate, 256);
    const bool editor = p->hasEditor();
    std::atomic<int> failures { 0 };
    constexpr int operations = 400;
    together ({ [&]
                {
                    Buffers b (256);
                    std::mt19937 random (1);
                    for (int i = 0; i < operations; ++i)
                    {
                        failures += runNoise (*p, b, 256, random).empty() ? 0 : 1;
                    }
                },
                [&]
                {
                    std::mt19937 random (2);
                    for (int i = 0; i < operations; ++i)
                        p->setParameter (i % p->numParameters(), (float) (random() % 1000) / 1000.0f);
                },
                [&]
                {
                    for (int i = 0; i < operations / 8; ++i)
                    {
                        p->restoreState (p->saveState());
                        p->setProgram (i % std::max (1, p->numPrograms()));
                    }
                },
                [&]
                {
                    for (int i = 0; i < operations / 8; ++i)
                        if (editor && p->openEditor())
                            p->closeEditor();
                        else
                            failures += p->parameterText (i % p->numParameters()).empty() ? 1 : 0;
                } });
    if (failures > 0)
        return std::to_string (failures.load()) + " bad outputs or texts";
    return parametersInRange (*p);
}

Result commaDecimalLocale (PluginFormat& f)
{
    auto reference = f.create();
    reference->setProgram (1);
    const auto state = reference->saveState();
    std::vector<std::string> texts;
    for (int i = 0; i < reference->numParameters(); ++i)
        texts.push_back (reference->parameterText (i));

    if (std::setlocale (LC_ALL, "de_DE.UTF-8") == nullptr)
        return "no \",\" locale installed (de_DE.UTF-8)";
    auto p = f.create();
    p->restoreState (state);
    Result result;
    if (p->saveState() != state)
        result = "the state differs";
    for (int i = 0; i < p->numParameters() && result.empty(); ++i)
        if (p->parameterText (i) != texts[(size_t) i])
            result = "\"" + p->parameterText (i) + "\" instead of \"" + texts[(size_t) i] + "\"";
    std::setlocale (LC_ALL, "C");
    return result;
}

struct Check
{
    const char* name;
    Result (*run) (PluginFormat&);
    bool stress;
};

constexpr Check checks[] = {
    { "identity and descriptions", identityAndDescriptions, false },
    { "open and close 50 times", openClose, false },
    { "every program and parameter text", programAndParameterTexts, false },
    { "processing at every rate and block size, finite and no subnormals", processingAtEveryRateAndBlock, false },
    { "latency and tail as reported", latencyAndTail, false },
    { "parameter changes every 32 samples", automationEvery32Samples, false },
    { "NaN, infinite and out-of-range parameter values", hostileParameterValues, false },
    { "state restored byte-identical into the same and a fresh instance, 20 times", stateRoundTrips, false },
    { "bypass keeps the latency", bypassKeepsLatency, false },
    { "editor cold, warm and while audio runs", editorOpenClose, true },
    { "processing, automation, state and editor from four threads", fourThreadsAtOnce, true },
    { "a \",\" decimal locale", commaDecimalLocale, false },
};
} // namespace

int runBattery (const char* formatName, PluginFormat& format, bool stressOnly, int& passed)
{
    int failed = 0;
    for (const auto& check : checks)
    {
        if (stressOnly && ! check.stress)
            continue;
        const Result r = check.run (format);
        const bool skipped = r.rfind ("skip: ", 0) == 0;
        std::printf ("%s [%s] %s%s%s\n", r.empty() ? "PASS" : skipped ? "SKIP" : "FAIL", formatName, check.name,
                     r.empty() ? "" : ": ", skipped ? r.c_str() + 6 : r.c_str());
        std::fflush (stdout);
        passed += r.empty() ? 1 : 0;
        failed += r.empty() || skipped ? 0 : 1;
    }
    return failed;
}
} // namespace kelmora::tools
