// Runs the FIR low-pass at 192 kHz with the default preset (21 kHz corner, slope 75 %, mix
// 100 %) on an embedded signal, periodic white noise and a stepped sine, and prints the
// measured attenuation and latency.
#include "dsp/FirFilterState.h"

#include <cmath>
#include <complex>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

using kelmora::dsp::FirFilterState;

namespace
{
constexpr double rate = 192000.0;
constexpr int period = 19200; // 10 Hz bins: every probe frequency falls on a bin
const double probes[] = { 10000, 20000, 21000, 22000, 24000, 30000, 40000 };

// Plays one period of the signal repeatedly and returns the output period that lines up with
// it once the filter has settled (two periods in, shifted by the latency).
std::vector<float> settledPeriod (FirFilterState& filter, const std::vector<float>& signal)
{
    filter.reset();
    const int latency = (int) filter.getLatencySamples();
    const int total = 2 * period + latency;
    std::vector<float> in ((size_t) total), out ((size_t) total);
    for (int i = 0; i < total; ++i)
        in[(size_t) i] = signal[(size_t) (i % period)];

    filter.process (in.data(), in.data(), out.data(), out.data(), total, false);
    return { out.begin() + period + latency, out.end() };
}

std::complex<double> bin (const std::vector<float>& x, double frequency)
{
    std::complex<double> sum = 0.0;
    for (int i = 0; i < period; ++i)
        sum += (double) x[(size_t) i] * std::polar (1.0, -2.0 * M_PI * frequency * i / rate);
    return sum;
}

double rms (const std::vector<float>& x)
{
    double sum = 0.0;
    for (float s : x)
        sum += (double) s * s;
    return std::sqrt (sum / (double) x.size());
}

double decibels (double ratio) { return 20.0 * std::log10 (ratio); }
} // namespace

int main()
{
    auto filter = std::make_unique<FirFilterState>();
    filter->design (21000.0, 0.75, rate);
    filter->setMix (0.0);

    std::printf ("Orvel Quietline 1.0.0 by Kelmora Labs: FIR low-pass at %.0f Hz\n", rate);
    std::printf ("corner 21000 Hz, slope 75 %%, mix 100 %%: %u of %u taps\n",
                 filter->kernel.tapCount, filter->kernel.delayLength);

    std::vector<float> impulse ((size_t) period, 0.0f), response ((size_t) period);
    impulse[0] = 1.0f;
    filter->reset();
    filter->process (impulse.data(), impulse.data(), response.data(), response.data(), period, false);
    size_t peak = 0;
    for (size_t i = 1; i < response.size(); ++i)
        if (response[i] > response[peak])
            peak = i;
    std::printf ("latency %u samples (%.3f ms); impulse response peaks at sample %zu\n\n",
                 filter->getLatencySamples(), 1000.0 * filter->getLatencySamples() / rate, peak);

    std::mt19937 rng (1);
    std::uniform_real_distribution<float> dist (-0.5f, 0.5f);
    std::vector<float> noise ((size_t) period);
    for (auto& s : noise)
        s = dist (rng);
    const std::vector<float> filteredNoise = settledPeriod (*filter, noise);

    std::printf ("%9s %14s %14s\n", "frequency", "white noise", "sine");
    for (double f : probes)
    {
        std::vector<float> sine ((size_t) period);
        for (int i = 0; i < period; ++i)
            sine[(size_t) i] = (float) (0.5 * std::sin (2.0 * M_PI * f * i / rate));

        const double noiseGain = std::abs (bin (filteredNoise, f)) / std::abs (bin (noise, f));
        const double sineGain = rms (settledPeriod (*filter, sine)) / rms (sine);
        std::printf ("%6.0f Hz %11.2f dB %11.2f dB\n", f, decibels (noiseGain), decibels (sineGain));
    }
    return 0;
}
