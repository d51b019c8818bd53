#include "TestUnit.h"

#include "platform/au/FrameworkHooks.h"

#include <xmmintrin.h>

namespace kelmora::au::test
{
namespace
{
int instanceHandle;
AudioComponent ComponentOf (AudioComponentInstance instance) { return reinterpret_cast<AudioComponent> (instance); }
OSStatus Describe (AudioComponent, AudioComponentDescription* out)
{
    *out = { kType, kSubtype, kManufacturer, 0, 0 };
    return noErr;
}
const AudioToolboxHooks audioToolbox { ComponentOf, Describe };

struct InstallHooks
{
    InstallHooks() { PlatformInstallAudioToolboxHooks (&audioToolbox); }
} installHooksBeforeAnyUnit;
} // namespace

AudioComponentInstance DefaultInstance() { return reinterpret_cast<AudioComponentInstance> (&instanceHandle); }

OSStatus TestUnit::Render (AudioUnitRenderActionFlags&, const AudioTimeStamp&, UInt32)
{
    ++renders;
    floatingPointMode = _mm_getcsr();
    if (renderStatus != noErr)
        return renderStatus;
    auto& list = GetOutput (0)->GetBufferList();
    for (UInt32 b = 0; b < list.mNumberBuffers; ++b)
        std::fill_n (static_cast<float*> (list.mBuffers[b].mData), list.mBuffers[b].mDataByteSize / sizeof (float), 0.25f + float (b));
    return noErr;
}

OSStatus TestUnit::ProcessScheduledSlice (void*, UInt32 start, UInt32 frames, UInt32)
{
    slices.emplace_back (start, frames);
    return noErr;
}

OSStatus TestUnit::GetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData)
{
    if (id != kAudioUnitProperty_RenderQuality || ! hasRenderQuality)
        return AUBase::GetProperty (id, scope, element, outData);
    std::memcpy (outData, &renderQuality, sizeof renderQuality);
    return noErr;
}

OSStatus TestUnit::SetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const void* data,
                                UInt32 size)
{
    if (id != kAudioUnitProperty_RenderQuality || ! hasRenderQuality || size != sizeof renderQuality)
        return AUBase::SetProperty (id, scope, element, data, size);
    std::memcpy (&renderQuality, data, sizeof renderQuality);
    return noErr;
}

UInt32 TestUnit::GetChannelLayoutTags (AudioUnitScope scope, AudioUnitElement element, AudioChannelLayoutTag* outTags)
{
    GetIOElement (scope, element);  // throws for a missing element
    if (outTags != nullptr)
        std::copy (layoutTags.begin(), layoutTags.end(), outTags);
    return static_cast<UInt32> (layoutTags.size());
}

HostBuffers::HostBuffers (UInt32 channels, UInt32 frames, bool withMemory)
    : samples (channels, std::vector<float> (frames, -1.0f)),
      storage (offsetof (AudioBufferList, mBuffers) + sizeof (AudioBuffer) * std::max (channels, 1u))
{
    auto& list = List();
    list.mNumberBuffers = channels;
    for (UInt32 c = 0; c < channels; ++c)
        list.mBuffers[c] = { 1, UInt32 (frames * sizeof (float)), withMemory ? samples[c].data() : nullptr };
}
} // namespace kelmora::au::test
