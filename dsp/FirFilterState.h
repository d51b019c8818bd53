#pragma once

#include "dsp/FirKernel.h"
#include "dsp/FirPath.h"

#include <atomic>
#include <cstdint>

namespace kelmora::dsp
{

/** The product's stereo linear-phase FIR low-pass.

    Filters at sample rates from 88200 to 384000 Hz with a constant latency of N >> 1 samples
    (N the full tap count of the rate), mixes the filtered signal with the equally delayed dry
    signal, and keeps that latency while bypassed. At any other rate it passes audio through
    unchanged with no latency.

    No lock inside: design, process, reset and getMagnitude belong to the audio thread or to a
    thread holding the processor's callback lock. getAndClearChanged, isActive and
    getLatencySamples may be called from any thread. */
struct FirFilterState
{
    /** Starts as after init(): inactive pass-through. */
    FirFilterState() noexcept { init(); }
    FirFilterState (const FirFilterState&) = delete;
    FirFilterState& operator= (const FirFilterState&) = delete;

    /** Set from the bypass parameter: pass the delayed dry signal only. */
    bool bypass;

    /** A kernel for a supported sample rate is installed. Written by the audio side, read by
        the editor. */
    std::atomic<bool> active;

    /** The installed kernel and its delay line; audio thread only. */
    FirKernel kernel;

    /** Inputs of the last design at a supported rate: corner in Hz, slope 0..1, rate in Hz. */
    double lastFrequency;
    double lastSlope;
    double lastSampleRate;

    /** Gain of the delayed dry signal (0..1) and of the filtered one, always 1 - dryGain. */
    double dryGain;
    double wetGain;

    /** The latency in samples of what is installed (0 while inactive). Written by the audio
        side, read by host threads asking for the latency or the tail. */
    std::atomic<uint32_t> latency;

    /** The response changed since the editor last asked. Set by the audio side, cleared by
        the editor. */
    std::atomic<bool> changed;

    /** Empty kernel, inactive, not bypassed, fully wet, changed. Not while processing. */
    void init() noexcept;

    /** Designs and installs the kernel for a corner of frequencyHz (20000..25000 Hz), a slope
        of 0..1 and sampleRate; at a rate outside 88200..384000 Hz the filter turns inactive
        instead. Nothing happens when the inputs equal those of the last design. Never
        allocates. */
    void design (double frequencyHz, double slope, double sampleRate) noexcept;

    /** Bypass on: the output is the input delayed by the latency, whatever the mix. */
    void setBypass (bool shouldBypass) noexcept;

    /** Sets the dry gain (0..1); the filtered signal gets 1 - dry. */
    void setMix (double dry) noexcept;

    /** Filters numSamples stereo samples. Inputs and outputs may be the same buffers, and one
        buffer may serve as both channels (mono, filtered in place). With forceDry (or bypass)
        the output is the input delayed by the latency. Runs the loop getFirPath() names; all
        of them give the same output. */
    void process (const float* in0, const float* in1, float* out0, float* out1,
                  int32_t numSamples, bool forceDry) noexcept;

    /** Clears the delay line (silence in, silence out for the next latency samples). */
    void reset() noexcept;

    /** The latency in samples: N >> 1 while active, else 0. Any thread. */
    uint32_t getLatencySamples() const noexcept;

    /** Magnitude of the whole filter (filtered and dry paths) at frequencyHz: -1.0 above half
        the last design's rate, 1.0 while inactive. */
    double getMagnitude (double frequencyHz) const noexcept;

    /** Whether the response changed since the last clearing call; clears it when clear.
        Any thread (the editor polls it without a lock). */
    bool getAndClearChanged (bool clear) noexcept;

    /** Whether the filter runs (a supported rate was designed last); any thread. */
    bool isActive() const noexcept { return active.load (std::memory_order_acquire); }
};

} // namespace kelmora::dsp
