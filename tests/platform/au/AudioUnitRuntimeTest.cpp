#include "platform/au/AudioUnitRuntime.h"

#include <gtest/gtest.h>

namespace
{
OSStatus GetProperty (AudioUnit, AudioUnitPropertyID id, AudioUnitScope, AudioUnitElement, void*, UInt32*)
{
    return static_cast<OSStatus> (id);
}
} // namespace

// The installed path is exercised by the unit tests' connected inputs.
TEST (AudioUnitRuntime, MissingHostFunctionsAnswerUnimplemented)
{
    int source = 0;
    auto unit = reinterpret_cast<AudioUnit> (&source);
    UInt32 size = 0;
    EXPECT_EQ (kAudio_UnimplementedError, AudioUnitGetProperty (unit, 8, 2, 0, nullptr, &size));
    const AudioUnitRuntime partial { GetProperty, nullptr, nullptr };
    AudioUnitRuntimeInstall (&partial);
    EXPECT_EQ (8, AudioUnitGetProperty (unit, 8, 2, 0, nullptr, &size));
    EXPECT_EQ (kAudio_UnimplementedError, AudioUnitRender (unit, nullptr, nullptr, 3, 0, nullptr));
    AudioUnitRuntimeInstall (nullptr);
    EXPECT_EQ (kAudio_UnimplementedError, AudioUnitGetProperty (unit, 8, 2, 0, nullptr, &size));
}
