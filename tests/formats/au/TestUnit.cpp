#include "TestUnit.h"

#include "platform/au/FrameworkHooks.h"

#include <algorithm>
#include <xmmintrin.h>
#include <cstring>

namespace kelmora::au::test
{
namespace
{
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

int instanceHandle;
} // namespace

TestUnit::TestUnit (UInt32 inputs, UInt32 outputs)
    : AUBase (reinterpret_cast<AudioComponentInstance> (&instanceHandle), inputs, outputs)
{
}

OSStatus TestUnit::Render (AudioUnitRenderActionFlags&, const AudioTimeStamp&, UInt32 frames)
{
    ++renders;
    floatingPointMode = _mm_getcsr();
    if (renderStatus != noErr)
        return renderStatus;
    auto& list = GetOutput (0)->GetBufferList();
    for (UInt32 b = 0; b < list.mNumberBuffers; ++b)
    {
        auto* samples = static_cast<float*> (list.mBuffers[b].mData);
        std::fill (samples, samples + list.mBuffers[b].mDataByteSize / sizeof (float), marker + float (b));
    }
    return noErr;
}

OSStatus TestUnit::ProcessScheduledSlice (void*, UInt32 start, UInt32 frames, UInt32)
{
    slices.emplace_back (start, frames);
    return noErr;
}

OSStatus TestUnit::GetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData)
{
    if (id == kAudioUnitProperty_RenderQuality && hasRenderQuality)
    {
        std::memcpy (outData, &renderQuality, sizeof renderQuality);
        return noErr;
    }
    return AUBase::GetProperty (id, scope, element, outData);
}

OSStatus TestUnit::SetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const void* data,
                                UInt32 size)
{
    if (id == kAudioUnitProperty_RenderQuality && hasRenderQuality && size == sizeof renderQuality)
    {
        std::memcpy (&renderQuality, data, sizeof renderQuality);
        return noErr;
    }
    return AUBase::SetProperty (id, scope, element, data, size);
}

UInt32 TestUnit::GetChannelLayoutTags (AudioUnitScope scope, AudioUnitElement element, AudioChannelLayoutTag* outTags)
{
    GetIOElement (scope, element);
    if (outTags != nullptr)
        std::copy (layoutTags.begin(), layoutTags.end(), outTags);
    return static_cast<UInt32> (layoutTags.size());
}

UnitPtr MakeUnit (UInt32 inputs, UInt32 outputs, ComponentBase::InstanceType type)
{
    std::lock_guard<std::recursive_mutex> lock (ComponentBase::ComponentMutex());
    const auto saved = ComponentBase::NewInstanceType();
    ComponentBase::SetNewInstanceType (type);
    UnitPtr unit (new TestUnit (inputs, outputs));
    ComponentBase::SetNewInstanceType (saved);
    unit->PostConstructor();
    return unit;
}

void ListenerLog::Callback (void* self, AudioUnit, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element)
{
    static_cast<ListenerLog*> (self)->calls.emplace_back (id, scope, element);
}

void ListenerLog::Listen (AUBase& unit, std::initializer_list<AudioUnitPropertyID> ids)
{
    for (auto id : ids)
        unit.AddPropertyListener (id, Callback, this);
}

size_t ListenerLog::Count (AudioUnitPropertyID id) const
{
    return static_cast<size_t> (std::count_if (calls.begin(), calls.end(), [id] (auto& c) { return std::get<0> (c) == id; }));
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

AudioTimeStamp TimeAt (Float64 sampleTime)
{
    AudioTimeStamp t {};
    t.mSampleTime = sampleTime;
    t.mFlags = kAudioTimeStampSampleTimeValid;
    return t;
}
} // namespace kelmora::au::test
