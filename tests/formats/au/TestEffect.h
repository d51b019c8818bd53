#pragma once

#include "TestUnit.h"

#include "formats/au/AUMIDIBase.h"

#include <string>

namespace kelmora::au::test
{
/** Doubles each sample and adds its channel index; counts resets. */
struct DoublingKernel : AUKernelBase
{
    using AUKernelBase::AUKernelBase;
    template <typename T>
    void Run (const T* in, T* out, UInt32 frames, UInt32 stride, bool& silence)
    {
        for (UInt32 i = 0; i < frames; ++i)
            out[i * stride] = T (in[i * stride] * 2 + T (GetChannel()));
    }
    void Process (const Float32* s, Float32* d, UInt32 n, UInt32 stride, bool& silence) override { Run (s, d, n, stride, silence); }
    void Process (const SInt32* s, SInt32* d, UInt32 n, UInt32 stride, bool& silence) override { Run (s, d, n, stride, silence); }
    void Process (const SInt16* s, SInt16* d, UInt32 n, UInt32 stride, bool& silence) override { Run (s, d, n, stride, silence); }
    void Reset() override { ++resets; }
    int resets = 0;
};

/** A MIDI effect with kernels, chosen channel configurations and tail, that logs its
    MIDI handlers and can fail its slices or its construction. */
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

    OSStatus HandleNoteOn (UInt8 c, UInt8 n, UInt8 v, UInt32) override { return Log ("on", c, n, v); }
    OSStatus HandleNoteOff (UInt8 c, UInt8 n, UInt8 v, UInt32) override { return Log ("off", c, n, v); }
    OSStatus HandleControlChange (UInt8 c, UInt8 n, UInt8 v, UInt32) override { return Log ("cc", c, n, v); }
    OSStatus HandleAllNotesOff (UInt8 c) override { return Log ("allnotesoff", c, 0, 0); }
    OSStatus HandleSysEx (const UInt8* data, UInt32 length) override { return Log ("sysex", data[0], UInt8 (length), 0); }

    std::vector<AUChannelInfo> configurations { { 2, 2 }, { 1, 1 } };
    Float64 tail = 0;
    int resets = 0, processCalls = 0, failingCall = 0;
    std::vector<std::string> midi;

    static inline int alive = 0;
    static inline bool throwOnConstruct = false, throwOnPostConstruct = false;

private:
    OSStatus Log (const char* what, int a, int b, int c)
    {
        midi.push_back (std::string (what) + " " + std::to_string (a) + " " + std::to_string (b) + " " + std::to_string (c));
        return noErr;
    }
};

inline AudioStreamBasicDescription FloatFormat (UInt32 channels, Float64 rate = 44100.0)
{
    return { rate, kAudioFormatLinearPCM, kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked | kAudioFormatFlagIsNonInterleaved,
             4, 1, 4, channels, 32, 0 };
}
} // namespace kelmora::au::test
