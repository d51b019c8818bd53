#include "tools/vsthost/Signals.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace kelmora::tools
{
namespace
{
constexpr double twoPi = 6.283185307179586476925286766559;
} // namespace

std::vector<float> defaultSignal (double sampleRate)
{
    const auto noiseLength = (size_t) (1.5 * sampleRate);
    const auto sweepLength = (size_t) (3.0 * sampleRate);
    std::vector<float> signal;
    signal.reserve (noiseLength + sweepLength);

    std::mt19937 random (20261206u);
    std::uniform_real_distribution<float> noise (-0.25f, 0.25f);
    for (size_t i = 0; i < noiseLength; ++i)
        signal.push_back (noise (random));

    // Exponential sweep: the phase is the integral of f(t) = f0 * (f1 / f0)^(t / T).
    const double f0 = 20.0, f1 = 0.45 * sampleRate, duration = (double) sweepLength / sampleRate;
    const double k = std::log (f1 / f0);
    for (size_t i = 0; i < sweepLength; ++i)
    {
        const double t = (double) i / sampleRate;
        const double phase = twoPi * f0 * duration / k * (std::exp (t / duration * k) - 1.0);
        signal.push_back ((float) (0.5 * std::sin (phase)));
    }

    return signal;
}

std::vector<float> sine (double frequency, double sampleRate, size_t length, float amplitude)
{
    std::vector<float> out (length);
    for (size_t i = 0; i < length; ++i)
        out[i] = (float) (amplitude * std::sin (twoPi * frequency * (double) i / sampleRate));
    return out;
}

double toneAmplitude (const float* samples, size_t n, double frequency, double sampleRate)
{
    double re = 0.0, im = 0.0;
    const double w = twoPi * frequency / sampleRate;

    for (size_t i = 0; i < n; ++i)
    {
        re += samples[i] * std::cos (w * (double) i);
        im -= samples[i] * std::sin (w * (double) i);
    }

    return 2.0 * std::sqrt (re * re + im * im) / (double) n;
}

Channels render (HostedEffect& effect, const Channels& input)
{
    const size_t length = input.empty() ? 0 : input[0].size();
    const auto block = (size_t) std::max (1, effect.blockSize());
    const auto numIn = (size_t) std::max (0, effect.numInputs());
    const auto numOut = (size_t) std::max (0, effect.numOutputs());

    Channels inBuffers (numIn, std::vector<float> (block)), outBuffers (numOut, std::vector<float> (block));
    std::vector<float*> inPointers, outPointers;
    for (auto& b : inBuffers) inPointers.push_back (b.data());
    for (auto& b : outBuffers) outPointers.push_back (b.data());

    Channels output (std::min (input.size(), numOut), std::vector<float> (length));

    for (size_t start = 0; start < length; start += block)
    {
        const size_t n = std::min (block, length - start);

        for (size_t c = 0; c < numIn; ++c)
        {
            if (c < input.size())
                std::copy_n (input[c].begin() + (std::ptrdiff_t) start, n, inBuffers[c].begin());
            else
                std::fill_n (inBuffers[c].begin(), n, 0.0f);
        }

        effect.process (inPointers.data(), outPointers.data(), (int32_t) n);

        for (size_t c = 0; c < output.size(); ++c)
            std::copy_n (outBuffers[c].begin(), n, output[c].begin() + (std::ptrdiff_t) start);
    }

    return output;
}

Channels renderCompensated (HostedEffect& effect, const Channels& input)
{
    const auto latency = (size_t) std::max (0, effect.latency());
    Channels padded = input;
    for (auto& channel : padded)
        channel.resize (channel.size() + latency, 0.0f);

    auto output = render (effect, padded);
    for (auto& channel : output)
        channel.erase (channel.begin(), channel.begin() + (std::ptrdiff_t) latency);
    return output;
}

double measureAttenuationDb (HostedEffect& effect, double frequency)
{
    effect.suspend();
    effect.resume();

    const auto latency = (size_t) std::max (0, effect.latency());
    const size_t window = 16384;
    // The kernel spans twice the latency; after that the output is the steady response.
    const size_t settle = 2 * latency + 64;
    const size_t length = settle + latency + window;

    const auto tone = sine (frequency, effect.sampleRate(), length);
    const auto out = render (effect, Channels { tone, tone });

    const double in = toneAmplitude (tone.data() + settle, window, frequency, effect.sampleRate());
    const double through = toneAmplitude (out[0].data() + settle + latency, window, frequency, effect.sampleRate());

    return -20.0 * std::log10 (std::max (through, 1e-30) / in);
}
} // namespace kelmora::tools
