#pragma once

#include "TestUnit.h"

#include "formats/au/AUMIDIBase.h"

namespace kelmora::au::test
{
/** Doubles each sample and adds its channel index. */
struct DoublingKernel : AUKernelBase
{
    using AUKernelBase::AUKernelBase;
    void Process (const Float32* in, Float32* out, UInt32 frames, UInt32 stride, bool&) override
    {
        for (UInt32 i = 0; i < frames; ++i)
            out[i * stride] = in[i * stride] * 2 + Float32 (GetChannel());
    }
};

/** A MIDI effect with kernels, chosen channel configurations and tail, that can fail its
    slices or its construction. */
class TestEffect : public AUMIDIEffectBase
{
public:
    explicit TestEffect (AudioComponentInstance instance) : AUMIDIEffectBase (instance, false)
    {
        if (throwOnConstruct)
            throw std::bad_alloc();
        ++alive;
    }
    ~TestEffect() override { --alive; }

    void PostConstructor() override
    {
        AUMIDIEffectBase::PostConstructor();
        if (throwOnPostConstruct)
            throw std::bad_alloc();
    }

    UInt32 SupportedNumChannels (const AUChannelInfo** out) override
    {
        if (out != nullptr)
            *out = configurations.data();
        return UInt32 (configurations.size());
    }
    AUKernelBase* NewKernel() override { return new DoublingKernel (*this); }
    Float64 GetTailTime() override { return tail; }
    OSStatus Reset (AudioUnitScope scope, AudioUnitElement element) override
    {
        ++resets;
        return AUMIDIEffectBase::Reset (scope, element);
    }
    OSStatus ProcessBufferLists (AudioUnitRenderActionFlags& flags, const AudioBufferList& in, AudioBufferList& out,
                                 UInt32 frames) override
    {
        if (++processCalls == failingCall)
            return -7;
        return AUMIDIEffectBase::ProcessBufferLists (flags, in, out, frames);
    }

    std::vector<AUChannelInfo> configurations { { 2, 2 }, { 1, 1 } };
    Float64 tail = 0;
    int resets = 0, processCalls = 0, failingCall = 0;

    static inline int alive = 0;
    static inline bool throwOnConstruct = false, throwOnPostConstruct = false;
};

inline AudioStreamBasicDescription FloatFormat (UInt32 channels, Float64 rate = 44100.0)
{
    return { rate, kAudioFormatLinearPCM, kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked | kAudioFormatFlagIsNonInterleaved,
             4, 1, 4, channels, 32, 0 };
}
} // namespace kelmora::au::test
