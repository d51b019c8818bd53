#pragma once

#include "formats/au/AUBase.h"
#include "formats/au/StatusLadder.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <vector>

namespace kelmora::au::test
{
constexpr OSType kType = 0x61756678, kSubtype = 0x4F713162, kManufacturer = 0x4F72766C;  // 'aufx' 'Oq1b' 'Orvl'

/** A unit with one input and one output whose render fills the output with a marker value. */
class TestUnit : public AUBase
{
public:
    TestUnit (UInt32 inputs, UInt32 outputs);

    bool StreamFormatWritable (AudioUnitScope, AudioUnitElement) override { return ! IsInitialized(); }
    OSStatus Render (AudioUnitRenderActionFlags& flags, const AudioTimeStamp& timeStamp, UInt32 frames) override;
    OSStatus ProcessScheduledSlice (void*, UInt32 start, UInt32 frames, UInt32) override;
    OSStatus GetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData) override;
    OSStatus SetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const void* data,
                          UInt32 size) override;
    UInt32 GetChannelLayoutTags (AudioUnitScope scope, AudioUnitElement element, AudioChannelLayoutTag* outTags) override;

    // Exposed for tests that must reach paths no property write can.
    using AUBase::SetAudioUnitAPIVersion;

    float marker = 0.25f;
    OSStatus renderStatus = noErr;
    int renders = 0;
    unsigned floatingPointMode = 0;  // MXCSR seen by the last render
    std::vector<std::pair<UInt32, UInt32>> slices;
    bool hasRenderQuality = false;
    UInt32 renderQuality = 0;
    std::vector<AudioChannelLayoutTag> layoutTags;
};

struct UnitDeleter
{
    void operator() (TestUnit* unit) const
    {
        unit->PreDestructor();
        delete unit;
    }
};
using UnitPtr = std::unique_ptr<TestUnit, UnitDeleter>;

// Builds a unit the way the audio-component route does: under the mutex, then post-constructed.
UnitPtr MakeUnit (UInt32 inputs = 1, UInt32 outputs = 1,
                 ComponentBase::InstanceType type = ComponentBase::kAudioComponentInstance);

/** Records property notifications. */
struct ListenerLog
{
    std::vector<std::tuple<AudioUnitPropertyID, AudioUnitScope, AudioUnitElement>> calls;
    static void Callback (void* self, AudioUnit, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element);
    void Listen (AUBase& unit, std::initializer_list<AudioUnitPropertyID> ids);
    size_t Count (AudioUnitPropertyID id) const;
};

/** A caller's stereo non-interleaved buffer list with its own memory. */
struct HostBuffers
{
    HostBuffers (UInt32 channels, UInt32 frames, bool withMemory = true);
    AudioBufferList& List() { return *reinterpret_cast<AudioBufferList*> (storage.data()); }
    std::vector<std::vector<float>> samples;
    std::vector<UInt8> storage;
};

AudioTimeStamp TimeAt (Float64 sampleTime);

template <typename Fn>
OSStatus Status (Fn&& fn)
{
    return CallWithStatusLadder (std::forward<Fn> (fn));
}

/** Checks, after the fixture's unit is gone, that a test leaves no CoreFoundation object behind. */
struct LeakCheck : ::testing::Test
{
    long before = CFStandInLiveObjectCount();
    ~LeakCheck() override { EXPECT_EQ (before, CFStandInLiveObjectCount()) << "CoreFoundation objects leaked"; }
};
} // namespace kelmora::au::test
