#pragma once

#include "tools/vsthost/HostedEffect.h"

#include <vector>

namespace kelmora::tools
{
using Channels = std::vector<std::vector<float>>;

/** The embedded default signal at the given rate: 1.5 s of white noise (fixed seed, peak 0.25)
    followed by a 3 s exponential sine sweep (peak 0.5) from 20 Hz to 45 % of the rate. */
std::vector<float> defaultSignal (double sampleRate);

/** A sine of the given frequency and peak amplitude. */
std::vector<float> sine (double frequency, double sampleRate, size_t length, float amplitude = 0.5f);

/** Peak amplitude of the component at one frequency over n samples (single-bin DFT). */
double toneAmplitude (const float* samples, size_t n, double frequency, double sampleRate);

/** Runs the input through the effect in blocks of at most the effect's block size. The effect
    must be started; its record's input and output counts decide how many buffers it is given,
    missing input channels are silent and extra output channels are dropped. */
Channels render (HostedEffect& effect, const Channels& input);

/** render as a host's bounce gives it: the effect's latency in silence is fed after the input
    and as much is dropped from the start, so the output lines up with the input and is as long. */
Channels renderCompensated (HostedEffect& effect, const Channels& input);

/** Attenuation in dB (positive = quieter) of a steady tone through the effect at its current
    rate, measured after the effect's latency and its settling time. Restarts the effect. */
double measureAttenuationDb (HostedEffect& effect, double frequency);
} // namespace kelmora::tools
