#include "formats/au/AUEffectBase.h"

#include "formats/au/CAException.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace kelmora::au
{
namespace
{
// (in, out) against one published configuration; negative counts are wildcards.
bool ConfigurationMatches (const AUChannelInfo& c, SInt16 in, SInt16 out)
{
    if (c.inChannels < 0 && c.outChannels < 0)
    {
        if ((c.inChannels == -1 && c.outChannels == -2) || (c.inChannels == -2 && c.outChannels == -1))
            return true;
        return c.inChannels == -1 && c.outChannels == -1 && in == out;
    }
    return (c.inChannels == in || c.inChannels == -1) && (c.outChannels == out || c.outChannels == -1);
}

template <typename Fn>
void ForEachBuffer (AudioBufferList& list, Fn&& fn)
{
    for (UInt32 i = 0; i < list.mNumberBuffers; ++i)
        fn (list.mBuffers[i]);
}

// What a sliced render hands every slice, and how far the slices have moved the pointers.
struct SliceState
{
    AudioUnitRenderActionFlags& flags;
    AudioBufferList& input;
    AudioBufferList& output;
    UInt32 bytesPerChannelFrame;
    UInt32 framesAdvanced = 0;
};

void MovePointers (AudioBufferList& list, SInt64 frames, UInt32 bytesPerChannelFrame)
{
    ForEachBuffer (list, [&] (AudioBuffer& b) {
        b.mData = static_cast<Byte*> (b.mData) + SInt64 (b.mNumberChannels) * bytesPerChannelFrame * frames;
    });
}

void SetSizes (AudioBufferList& list, UInt32 frames, UInt32 bytesPerChannelFrame)
{
    ForEachBuffer (list, [&] (AudioBuffer& b) { b.mDataByteSize = b.mNumberChannels * bytesPerChannelFrame * frames; });
}
} // namespace

AUCommonPCMFormat IdentifyCommonPCMFormat (const AudioStreamBasicDescription& f) noexcept
{
    if (f.mFormatID != kAudioFormatLinearPCM || f.mFramesPerPacket != 1 || f.mBytesPerPacket != f.mBytesPerFrame
        || f.mBitsPerChannel / 8 > f.mBytesPerFrame || f.mChannelsPerFrame == 0)
        return kAUPCMFormatNone;

    UInt32 sampleSize = f.mBytesPerFrame;
    if ((f.mFormatFlags & kAudioFormatFlagIsNonInterleaved) == 0)
    {
        if (f.mBytesPerFrame % f.mChannelsPerFrame != 0)
            return kAUPCMFormatNone;
        sampleSize = f.mBytesPerFrame / f.mChannelsPerFrame;
    }
    if ((f.mFormatFlags & kAudioFormatFlagIsBigEndian) != 0 || UInt64 (sampleSize) * 8 != f.mBitsPerChannel)
        return kAUPCMFormatNone;

    const UInt32 fractionBits = (f.mFormatFlags & kLinearPCMFormatFlagsSampleFractionMask) >> kLinearPCMFormatFlagsSampleFractionShift;
    const bool isFloat = (f.mFormatFlags & kAudioFormatFlagIsFloat) != 0;
    const bool isSigned = (f.mFormatFlags & kAudioFormatFlagIsSignedInteger) != 0;
    if (isFloat && ! isSigned && fractionBits == 0 && sampleSize == 4)
        return kAUPCMFormatFloat32;
    if (! isFloat && isSigned && sampleSize == 4 && fractionBits == 24)
        return kAUPCMFormatFixed824;
    if (! isFloat && isSigned && sampleSize == 2 && fractionBits == 0)
        return kAUPCMFormatInt16;
    return kAUPCMFormatNone;
}

AUEffectBase::AUEffectBase (AudioComponentInstance instance, bool processesInPlace)
    : AUBase (instance, 1, 1), mProcessInPlace (processesInPlace)
{
}

AUEffectBase::~AUEffectBase() { Cleanup(); }

OSStatus AUEffectBase::Initialize()
{
    const auto in = static_cast<SInt16> (GetInput (0)->NumberChannels());
    const auto out = static_cast<SInt16> (GetOutput (0)->NumberChannels());

    const AUChannelInfo* configurations = nullptr;
    const UInt32 count = SupportedNumChannels (&configurations);
    if (count == 0 || configurations == nullptr)
    {
        if (in != out || in == 0)
            return kAudioUnitErr_FormatNotSupported;
    }
    else
    {
        bool matched = false;
        for (UInt32 i = 0; i < count && ! matched; ++i)
            matched = ConfigurationMatches (configurations[i], in, out);
        if (! matched)
            return kAudioUnitErr_FormatNotSupported;
    }

    MaintainKernels();
    mMainOutput = GetOutput (0);
    mMainInput = GetInput (0);
    const auto& format = mMainOutput->GetStreamFormat();
    mCommonPCMFormat = IdentifyCommonPCMFormat (format);
    // The slice arithmetic moves each buffer by its channels times one channel's sample, so an
    // interleaved frame is not counted once per channel.
    const bool interleaved = (format.mFormatFlags & kAudioFormatFlagIsNonInterleaved) == 0;
    mBytesPerChannelFrame = interleaved && format.mChannelsPerFrame > 0 ? format.mBytesPerFrame / format.mChannelsPerFrame
                                                                        : format.mBytesPerFrame;
    return noErr;
}

void AUEffectBase::Cleanup()
{
    mKernelList.clear();
    mMainOutput = nullptr;
    mMainInput = nullptr;
}

OSStatus AUEffectBase::Reset (AudioUnitScope scope, AudioUnitElement element)
{
    for (auto& kernel : mKernelList)
        if (kernel != nullptr)
            kernel->Reset();
    return AUBase::Reset (scope, element);
}

void AUEffectBase::MaintainKernels()
{
    const UInt32 channels = GetOutput (0)->NumberChannels();
    if (mKernelList.size() > channels)
        mKernelList.resize (channels);
    while (mKernelList.size() < channels)
        mKernelList.emplace_back (NewKernel());
    for (UInt32 i = 0; i < mKernelList.size(); ++i)
        if (mKernelList[i] != nullptr)
            mKernelList[i]->SetChannel (i);
}

//==============================================================================
OSStatus AUEffectBase::GetPropertyInfo (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                        UInt32& outDataSize, Boolean& outWritable)
{
    if (scope == kAudioUnitScope_Global && (id == kAudioUnitProperty_BypassEffect || id == kAudioUnitProperty_InPlaceProcessing))
    {
        outDataSize = sizeof (UInt32);
        outWritable = true;
        return noErr;
    }
    return AUBase::GetPropertyInfo (id, scope, element, outDataSize, outWritable);
}

OSStatus AUEffectBase::GetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData)
{
    if (scope == kAudioUnitScope_Global && (id == kAudioUnitProperty_BypassEffect || id == kAudioUnitProperty_InPlaceProcessing))
    {
        const UInt32 value = id == kAudioUnitProperty_BypassEffect ? GetBypassEffect() : ProcessesInPlace();
        std::memcpy (outData, &value, sizeof value);
        return noErr;
    }
    return AUBase::GetProperty (id, scope, element, outData);
}

OSStatus AUEffectBase::SetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const void* inData,
                                    UInt32 inDataSize)
{
    if (scope == kAudioUnitScope_Global && (id == kAudioUnitProperty_BypassEffect || id == kAudioUnitProperty_InPlaceProcessing))
    {
        // Both read a 32-bit word, so a shorter one is refused rather than read past.
        if (inDataSize < sizeof (UInt32))
            return kAudioUnitErr_InvalidPropertyValue;
        UInt32 value;
        std::memcpy (&value, inData, sizeof value);
        if (id == kAudioUnitProperty_InPlaceProcessing)
        {
            SetProcessesInPlace (value != 0);
            return noErr;
        }
        if ((value != 0) != GetBypassEffect())
        {
            if (value == 0 && IsInitialized())
                Reset (kAudioUnitScope_Global, 0);  // the state went stale while bypassed
            SetBypassEffect (value != 0);
        }
        return noErr;
    }
    return AUBase::SetProperty (id, scope, element, inData, inDataSize);
}

OSStatus AUEffectBase::ChangeStreamFormat (AudioUnitScope scope, AudioUnitElement element,
                                           const AudioStreamBasicDescription& oldFormat,
                                           const AudioStreamBasicDescription& newFormat)
{
    const OSStatus status = AUBase::ChangeStreamFormat (scope, element, oldFormat, newFormat);
    if (status == noErr && mParamSRDep && oldFormat.mSampleRate != newFormat.mSampleRate)
        PropertyChanged (kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0);
    return status;
}

//==============================================================================
OSStatus AUEffectBase::Render (AudioUnitRenderActionFlags& ioFlags, const AudioTimeStamp& timeStamp, UInt32 frames)
{
    auto* input = Inputs().GetNumberOfElements() > 0 ? GetInput (0) : nullptr;
    if (input == nullptr || ! input->IsActive())
        return kAudioUnitErr_NoConnection;
    if (const OSStatus status = input->PullInput (ioFlags, timeStamp, 0, frames); status != noErr)
        return status;
    // What the source handed back obeys the caller's rule, and it must carry samples.
    if (const OSStatus status = CheckBufferList (input->GetBufferList(), input->GetStreamFormat(), frames, false); status != noErr)
        return status;

    auto* output = GetOutput (0);
    const bool inPlace = ProcessesInPlace();
    if (inPlace && output->WillAllocateBuffer())
        output->SetBufferList (input->GetBufferList());

    OSStatus status = noErr;
    if (ShouldBypassEffect())
    {
        if (! inPlace)
            input->CopyBufferContentsTo (output->GetBufferList());
    }
    else if (! GetParamEventList().empty())
    {
        SliceState state { ioFlags, input->GetBufferList(), output->GetBufferList(), mBytesPerChannelFrame };
        struct Rewind
        {
            SliceState& s;
            ~Rewind()
            {
                const SInt64 back = -SInt64 (s.framesAdvanced);
                MovePointers (s.input, back, s.bytesPerChannelFrame);
                MovePointers (s.output, back, s.bytesPerChannelFrame);
            }
        } rewind { state };
        status = ProcessForScheduledParams (GetParamEventList(), frames, &state);
        SetSizes (state.input, frames, mBytesPerChannelFrame);
        SetSizes (state.output, frames, mBytesPerChannelFrame);
    }
    else
        status = ProcessBufferLists (ioFlags, input->GetBufferList(), output->GetBufferList(), frames);

    if ((ioFlags & kAudioUnitRenderAction_OutputIsSilence) != 0 && ! inPlace)
        ForEachBuffer (output->GetBufferList(), [] (AudioBuffer& b) {
            if (b.mData != nullptr)
                std::memset (b.mData, 0, b.mDataByteSize);
        });
    return status;
}

OSStatus AUEffectBase::ProcessScheduledSlice (void* userData, UInt32, UInt32 sliceFrames, UInt32)
{
    auto& state = *static_cast<SliceState*> (userData);
    SetSizes (state.input, sliceFrames, state.bytesPerChannelFrame);
    SetSizes (state.output, sliceFrames, state.bytesPerChannelFrame);
    const OSStatus status = ProcessBufferLists (state.flags, state.input, state.output, sliceFrames);
    MovePointers (state.input, sliceFrames, state.bytesPerChannelFrame);
    MovePointers (state.output, sliceFrames, state.bytesPerChannelFrame);
    state.framesAdvanced += sliceFrames;
    return status;
}

OSStatus AUEffectBase::ProcessBufferLists (AudioUnitRenderActionFlags& ioFlags, const AudioBufferList& input,
                                           AudioBufferList& output, UInt32 frames)
{
    switch (mCommonPCMFormat)
    {
        case kAUPCMFormatFloat32: ProcessWithKernels<Float32> (ioFlags, input, output, frames); break;
        case kAUPCMFormatFixed824: ProcessWithKernels<SInt32> (ioFlags, input, output, frames); break;
        case kAUPCMFormatInt16: ProcessWithKernels<SInt16> (ioFlags, input, output, frames); break;
        default: throw CAException (kAudio_UnimplementedError);
    }
    return noErr;
}

template <typename Sample>
void AUEffectBase::ProcessWithKernels (AudioUnitRenderActionFlags& ioFlags, const AudioBufferList& input,
                                       AudioBufferList& output, UInt32 frames)
{
    const bool silent = IsInputSilent (ioFlags, frames);
    ioFlags |= kAudioUnitRenderAction_OutputIsSilence;

    auto run = [&] (AUKernelBase& kernel, const void* source, void* destination, UInt32 stride) {
        bool silence = silent;
        kernel.Process (static_cast<const Sample*> (source), static_cast<Sample*> (destination), frames, stride, silence);
        if (! silence)
            ioFlags &= ~UInt32 (kAudioUnitRenderAction_OutputIsSilence);
    };

    const bool interleaved = input.mNumberBuffers == 1;
    const UInt32 stride = interleaved ? input.mBuffers[0].mNumberChannels : 1;
    for (UInt32 i = 0; i < mKernelList.size(); ++i)
    {
        auto* kernel = mKernelList[i].get();
        if (kernel == nullptr)
            continue;
        if (interleaved)
        {
            if (i < stride && output.mNumberBuffers == 1)
                run (*kernel, static_cast<const Sample*> (input.mBuffers[0].mData) + i,
                     static_cast<Sample*> (output.mBuffers[0].mData) + i, stride);
        }
        else if (i < input.mNumberBuffers && i < output.mNumberBuffers)
            run (*kernel, input.mBuffers[i].mData, output.mBuffers[i].mData, 1);
    }
}

bool AUEffectBase::IsInputSilent (AudioUnitRenderActionFlags flags, UInt32 frames)
{
    if ((flags & kAudioUnitRenderAction_OutputIsSilence) == 0)
    {
        mSilentTimeoutReset = true;
        return false;
    }
    if (mSilentTimeoutReset)
    {
        const auto* output = mMainOutput != nullptr ? mMainOutput : GetOutput (0);
        const double timeout = output->GetStreamFormat().mSampleRate * (GetLatency() + GetTailTime());
        mSilentTimeout = std::isfinite (timeout) && timeout > 0
                             ? static_cast<SInt32> (std::min<double> (timeout, std::numeric_limits<SInt32>::max()))
                             : 0;
        mSilentTimeoutReset = false;
    }
    if (mSilentTimeout <= 0)
        return true;
    mSilentTimeout -= static_cast<SInt32> (std::min<UInt32> (frames, UInt32 (std::numeric_limits<SInt32>::max())));
    return false;
}
} // namespace kelmora::au
