#include "platform/au/AudioUnitRuntime.h"

#include <gtest/gtest.h>

namespace
{
AudioUnit lastUnit = nullptr;
OSStatus getProperty (AudioUnit unit, AudioUnitPropertyID id, AudioUnitScope, AudioUnitElement, void*, UInt32*)
{
    lastUnit = unit;
    return static_cast<OSStatus> (id);
}
OSStatus render (AudioUnit unit, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32 bus, UInt32, AudioBufferList*)
{
    lastUnit = unit;
    return static_cast<OSStatus> (100 + bus);
}
} // namespace

TEST (AudioUnitRuntime, CallsReachTheInstalledHostOrAnswerUnimplemented)
{
    auto unit = reinterpret_cast<AudioUnit> (&lastUnit);
    UInt32 size = 0;
    EXPECT_EQ (kAudio_UnimplementedError, AudioUnitGetProperty (unit, 8, 2, 0, nullptr, &size));
    EXPECT_EQ (kAudio_UnimplementedError, AudioUnitRender (unit, nullptr, nullptr, 0, 0, nullptr));

    const AudioUnitRuntime runtime { getProperty, render };
    AudioUnitRuntimeInstall (&runtime);
    EXPECT_EQ (8, AudioUnitGetProperty (unit, 8, 2, 0, nullptr, &size));
    EXPECT_EQ (103, AudioUnitRender (unit, nullptr, nullptr, 3, 0, nullptr));
    EXPECT_EQ (unit, lastUnit);

    const AudioUnitRuntime partial { getProperty, nullptr };
    AudioUnitRuntimeInstall (&partial);
    EXPECT_EQ (kAudio_UnimplementedError, AudioUnitRender (unit, nullptr, nullptr, 3, 0, nullptr));
    AudioUnitRuntimeInstall (nullptr);
}
