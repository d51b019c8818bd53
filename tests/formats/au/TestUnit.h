#pragma once

#include "formats/au/AUBase.h"
#include "formats/au/StatusLadder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <tuple>
#include <vector>

namespace kelmora::au::test
{
constexpr OSType kType = 0x61756678, kSubtype = 0x4F713162, kManufacturer = 0x4F72766C;  // 'aufx' 'Oq1b' 'Orvl'

/** A unit with one input and one output; its render fills output buffer b with 0.25 + b. */
class TestUnit : public AUBase
{
public:
    explicit TestUnit (AudioComponentInstance instance) : AUBase (instance, 1, 1) {}

    bool StreamFormatWritable (AudioUnitScope, AudioUnitElement) override { return ! IsInitialized(); }
    OSStatus Render (AudioUnitRenderActionFlags& flags, const AudioTimeStamp& timeStamp, UInt32 frames) override;
    OSStatus ProcessScheduledSlice (void*, UInt32 start, UInt32 frames, UInt32) override;
    OSStatus GetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData) override;
    OSStatus SetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const void* data,
                          UInt32 size) override;
    UInt32 GetChannelLayoutTags (AudioUnitScope scope, AudioUnitElement element, AudioChannelLayoutTag* outTags) override;

    OSStatus renderStatus = noErr;
    int renders = 0;
    unsigned floatingPointMode = 0;  // MXCSR seen by the last render
    std::vector<std::pair<UInt32, UInt32>> slices;
    bool hasRenderQuality = false;
    UInt32 renderQuality = 0;
    std::vector<AudioChannelLayoutTag> layoutTags;
};

using UnitPtr = std::unique_ptr<TestUnit, void (*) (TestUnit*)>;

// This program installs only the audio-component framework; it places and describes every instance.
AudioComponentInstance DefaultInstance();

// Builds a unit the way a host does: under the mutex, then post-constructed.
template <class Unit = TestUnit>
std::unique_ptr<Unit, void (*) (Unit*)> MakeUnit()
{
    std::lock_guard<std::recursive_mutex> lock (ComponentBase::ComponentMutex());
    const auto saved = ComponentBase::NewInstanceType();
    ComponentBase::SetNewInstanceType (ComponentBase::kAudioComponentInstance);
    std::unique_ptr<Unit, void (*) (Unit*)> unit (new Unit (DefaultInstance()), [] (Unit* u) { u->PreDestructor(); delete u; });
    ComponentBase::SetNewInstanceType (saved);
    unit->PostConstructor();
    return unit;
}

struct ListenerLog
{
    std::vector<std::tuple<AudioUnitPropertyID, AudioUnitScope, AudioUnitElement>> calls;

    static void Callback (void* self, AudioUnit, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element)
    {
        static_cast<ListenerLog*> (self)->calls.emplace_back (id, scope, element);
    }
    void Listen (AUBase& unit, std::initializer_list<AudioUnitPropertyID> ids)
    {
        for (auto id : ids)
            unit.AddPropertyListener (id, Callback, this);
    }
    size_t Count (AudioUnitPropertyID id) const
    {
        return size_t (std::count_if (calls.begin(), calls.end(), [id] (auto& c) { return std::get<0> (c) == id; }));
    }
};

/** A caller's non-interleaved buffer list, with memory of its own (filled with -1) or none. */
struct HostBuffers
{
    HostBuffers (UInt32 channels, UInt32 frames, bool withMemory = true);
    AudioBufferList& List() { return *reinterpret_cast<AudioBufferList*> (storage.data()); }
    std::vector<std::vector<float>> samples;
    std::vector<UInt8> storage;
};

inline AudioTimeStamp TimeAt (Float64 sampleTime)
{
    AudioTimeStamp t {};
    t.mSampleTime = sampleTime;
    t.mFlags = kAudioTimeStampSampleTimeValid;
    return t;
}

/** One render call into the buffers at the given sample time, as a host makes it. */
inline OSStatus RenderInto (AUBase& unit, HostBuffers& buffers, UInt32 frames, Float64 time = 0)
{
    AudioUnitRenderActionFlags flags = 0;
    const auto stamp = TimeAt (time);
    return CallWithStatusLadder ([&] { return unit.DoRender (flags, stamp, 0, frames, buffers.List()); });
}

inline std::vector<UInt8> BigEndianWords (std::initializer_list<UInt32> words)
{
    std::vector<UInt8> out;
    for (auto w : words)
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back (UInt8 (w >> shift));
    return out;
}

inline UInt32 Bits (float f)
{
    UInt32 b;
    std::memcpy (&b, &f, 4);
    return b;
}

/** Checks, after the fixture's unit is gone, that a test leaves no CoreFoundation object behind. */
struct LeakCheck : ::testing::Test
{
    long before = CFStandInLiveObjectCount();
    ~LeakCheck() override { EXPECT_EQ (before, CFStandInLiveObjectCount()) << "CoreFoundation objects leaked"; }
};
} // namespace kelmora::au::test
