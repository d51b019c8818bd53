#pragma once

#include "formats/au/AUBase.h"

#include <atomic>
#include <memory>
#include <vector>

namespace kelmora::au
{
class AUEffectBase;

/** The processing of one output channel for an effect that uses kernels. */
class AUKernelBase
{
public:
    explicit AUKernelBase (AUEffectBase& effect) : mAudioUnit (effect) {}
    virtual ~AUKernelBase() = default;

    virtual void Reset() {}
    // stride: samples between one frame and the next (the channel count when interleaved).
    // ioSilence arrives true when the input is silent; leave it true only for silent output.
    virtual void Process (const Float32* source, Float32* destination, UInt32 frames, UInt32 stride, bool& ioSilence) {}
    virtual void Process (const SInt32* source, SInt32* destination, UInt32 frames, UInt32 stride, bool& ioSilence) {}  // 8.24
    virtual void Process (const SInt16* source, SInt16* destination, UInt32 frames, UInt32 stride, bool& ioSilence) {}

    AUEffectBase& GetAudioUnit() const noexcept { return mAudioUnit; }
    UInt32 GetChannel() const noexcept { return mChannel; }
    void SetChannel (UInt32 channel) noexcept { mChannel = channel; }

private:
    AUEffectBase& mAudioUnit;
    UInt32 mChannel = 0;
};

/** The sample formats the kernel loops handle: none, 32-bit float, 16-bit integer, 8.24 fixed point. */
enum AUCommonPCMFormat : SInt32 { kAUPCMFormatNone = 0, kAUPCMFormatFloat32 = 1, kAUPCMFormatInt16 = 2, kAUPCMFormatFixed824 = 3 };
AUCommonPCMFormat IdentifyCommonPCMFormat (const AudioStreamBasicDescription& format) noexcept;

/** An effect: one input bus, one output bus. A render pulls the input, then passes it through
    (bypass), slices it at scheduled parameter events, or processes it whole; processing runs one
    kernel per output channel unless a subclass replaces ProcessBufferLists.

    The bypass and in-place flags are written by host threads and read once per render call. */
class AUEffectBase : public AUBase
{
public:
    AUEffectBase (AudioComponentInstance instance, bool processesInPlace = true);
    ~AUEffectBase() override;

    OSStatus Initialize() override;
    void Cleanup() override;
    OSStatus Reset (AudioUnitScope scope, AudioUnitElement element) override;

    OSStatus GetPropertyInfo (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                              UInt32& outDataSize, Boolean& outWritable) override;
    OSStatus GetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData) override;
    OSStatus SetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const void* inData,
                          UInt32 inDataSize) override;

    OSStatus Render (AudioUnitRenderActionFlags& ioFlags, const AudioTimeStamp& timeStamp, UInt32 frames) override;
    OSStatus ProcessBufferLists (AudioUnitRenderActionFlags& ioFlags, const AudioBufferList& input, AudioBufferList& output,
                                 UInt32 frames) override;
    OSStatus ProcessScheduledSlice (void* userData, UInt32 startFrame, UInt32 sliceFrames, UInt32 totalFrames) override;

    bool StreamFormatWritable (AudioUnitScope, AudioUnitElement) override { return ! IsInitialized(); }
    OSStatus ChangeStreamFormat (AudioUnitScope scope, AudioUnitElement element, const AudioStreamBasicDescription& oldFormat,
                                 const AudioStreamBasicDescription& newFormat) override;

    virtual AUKernelBase* NewKernel() { return nullptr; }
    // Whether a render passes the input through untouched.
    virtual bool ShouldBypassEffect() { return GetBypassEffect(); }
    virtual void SetBypassEffect (bool bypass) { mBypassEffect.store (bypass); }

    void MaintainKernels();
    /** True once latency plus tail worth of silent input has been processed since the input fell silent. */
    bool IsInputSilent (AudioUnitRenderActionFlags flags, UInt32 frames);

    bool GetBypassEffect() const noexcept { return mBypassEffect.load(); }
    bool ProcessesInPlace() const noexcept { return mProcessInPlace.load(); }
    void SetProcessesInPlace (bool inPlace) noexcept { mProcessInPlace.store (inPlace); }
    void SetParamHasSampleRateDependency (bool dependent) noexcept { mParamSRDep = dependent; }
    AUCommonPCMFormat GetCommonPCMFormat() const noexcept { return mCommonPCMFormat; }
    UInt32 GetNumberOfKernels() const noexcept { return static_cast<UInt32> (mKernelList.size()); }
    AUKernelBase* GetKernel (UInt32 index) const { return index < mKernelList.size() ? mKernelList[index].get() : nullptr; }

protected:
    AUInputElement* GetMainInput() const noexcept { return mMainInput; }
    AUOutputElement* GetMainOutput() const noexcept { return mMainOutput; }

private:
    template <typename Sample>
    void ProcessWithKernels (AudioUnitRenderActionFlags& ioFlags, const AudioBufferList& input, AudioBufferList& output,
                             UInt32 frames);

    std::vector<std::unique_ptr<AUKernelBase>> mKernelList;
    std::atomic<bool> mBypassEffect { false };
    bool mParamSRDep = false;
    std::atomic<bool> mProcessInPlace;
    SInt32 mSilentTimeout = 0;       // frames of silent input still to process
    bool mSilentTimeoutReset = true; // re-arm the count at the next silent call
    AUOutputElement* mMainOutput = nullptr;
    AUInputElement* mMainInput = nullptr;
    AUCommonPCMFormat mCommonPCMFormat = kAUPCMFormatNone;
    UInt32 mBytesPerChannelFrame = 0;  // one channel's sample
};
} // namespace kelmora::au
