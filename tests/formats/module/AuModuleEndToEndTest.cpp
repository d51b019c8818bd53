// The built product module as an Audio Unit host sees it: loaded by path, the component found
// through the factory record and through the Component Manager entry, driven end to end.
#include "core/ProductIdentity.h"
#include "formats/module/BuiltModule.h"
#include "support/TempHome.h"
#include "tools/auhost/AuHost.h"

#include "platform/au/CoreFoundation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace kelmora::tools::test
{
namespace
{
using Route = HostedAudioUnit::Route;
constexpr Float64 rate = 96000;
constexpr UInt32 latency = 45;  // half the delay line at 96 kHz

struct Case
{
    Route route;
    UInt32 channels;
};

CFTypeRef Value (CFPropertyListRef dictionary, const char* key)
{
    return CFDictionaryGetValue (static_cast<CFDictionaryRef> (dictionary), CFStringMakeConstantString (key));
}

std::vector<UInt8> Bytes (CFTypeRef data)
{
    auto d = static_cast<CFDataRef> (data);
    return d != nullptr ? std::vector<UInt8> (CFDataGetBytePtr (d), CFDataGetBytePtr (d) + CFDataGetLength (d)) : std::vector<UInt8> {};
}

class AuModule : public ::testing::TestWithParam<Case>
{
protected:
    void SetUp() override
    {
        ::unsetenv ("DISPLAY");
        AuSystem::describeComponentsAs ({ identity::auType, identity::productCode, identity::makerCode, 0, 0 });
        Load();
    }

    void Load()
    {
        std::string error;
        module = AuPluginModule::load (QUIETLINE_MODULE_PATH, "OrvelQuietlineAUFactory", "OrvelQuietlineAUEntry", error);
        ASSERT_NE (nullptr, module) << error;
    }

    void Unload()
    {
        units.clear();
        module.reset();
        EXPECT_FALSE (moduleIsMapped()) << "the module stayed loaded";
    }

    HostedAudioUnit& Open (bool initialise = true)
    {
        OSStatus status = -1;
        units.push_back (HostedAudioUnit::open (*module, GetParam().route, status));
        if (units.back() == nullptr)
            throw std::runtime_error ("open failed: " + std::to_string (status));
        auto& unit = *units.back();
        EXPECT_EQ (noErr, unit.configure (GetParam().channels, rate));
        if (initialise)
        {
            EXPECT_EQ (noErr, unit.initialize());
        }
        return unit;
    }

    // An impulse at frame 10 of 256; the output's peak frame per channel.
    std::vector<size_t> ImpulsePeaks (HostedAudioUnit& unit, Float64 start = 0)
    {
        std::vector<std::vector<float>> io (GetParam().channels, std::vector<float> (256, 0.0f));
        for (auto& c : io)
            c[10] = 1.0f;
        EXPECT_EQ (noErr, unit.process (io, start));
        std::vector<size_t> peaks;
        for (auto& c : io)
            peaks.push_back (size_t (std::max_element (c.begin(), c.end(), [] (float a, float b) { return std::abs (a) < std::abs (b); }) - c.begin()));
        return peaks;
    }

    CFPropertyListRef Save (HostedAudioUnit& unit)
    {
        CFPropertyListRef state = nullptr;
        EXPECT_EQ (noErr, unit.get (kAudioUnitProperty_ClassInfo, state));
        return state;
    }

    // Destroyed bottom up: the instances close before the module unloads.
    quietline::test::TempHome home;
    std::unique_ptr<AuPluginModule> module;
    std::vector<std::unique_ptr<HostedAudioUnit>> units;
};
} // namespace

TEST_P (AuModule, ReportsTheDeclaredVersionAndItsLatencyAndKeepsTheDelayWhenTheHostBypasses)
{
    auto& unit = Open();
    // Only the Component Manager route has the version call.
    EXPECT_EQ (unit.componentVersion(), GetParam().route == Route::componentManager ? identity::versionNumber : -4);
    Float64 seconds = 0;
    ASSERT_EQ (noErr, unit.get (kAudioUnitProperty_Latency, seconds));
    EXPECT_DOUBLE_EQ (latency / rate, seconds);
    EXPECT_EQ (std::vector<size_t> (GetParam().channels, 10 + latency), ImpulsePeaks (unit));

    ASSERT_EQ (noErr, unit.set (kAudioUnitProperty_BypassEffect, UInt32 (1)));
    EXPECT_EQ (std::vector<size_t> (GetParam().channels, 10 + latency), ImpulsePeaks (unit, 256)) << "bypass keeps the delay";

    Boolean writable = false;
    UInt32 size = 0;
    EXPECT_EQ (kAudioUnitErr_InvalidProperty, unit.getPropertyInfo (56, 0, 0, &size, &writable)) << "no editor view";

    // A host sizes its buffer from the information call: it covers every configuration.
    ASSERT_EQ (noErr, unit.getPropertyInfo (kAudioUnitProperty_SupportedNumChannels, 0, 0, &size, &writable));
    EXPECT_EQ (2 * sizeof (AUChannelInfo), size);
    std::vector<SInt16> configurations (size / sizeof (SInt16), -1);
    ASSERT_EQ (noErr, unit.getProperty (kAudioUnitProperty_SupportedNumChannels, 0, 0, configurations.data(), &size));
    EXPECT_EQ ((std::vector<SInt16> { 2, 2, 1, 1 }), configurations);
}

TEST_P (AuModule, ParametersAndPresetsReachTheProcessor)
{
    auto& unit = Open();
    AudioUnitParameterInfo info {};
    EXPECT_EQ (kAudioUnitErr_InvalidParameter, unit.get (kAudioUnitProperty_ParameterInfo, info, 0, 4));
    ASSERT_EQ (noErr, unit.setParameter (0, 0.3f));
    float value = 0;
    ASSERT_EQ (noErr, unit.getParameter (0, value));
    EXPECT_FLOAT_EQ (0.3f, value);

    int notices = 0;
    ASSERT_EQ (noErr, unit.addPropertyListener (kAudioUnitProperty_PresentPreset, [] (void* n, AudioUnit, AudioUnitPropertyID, AudioUnitScope, AudioUnitElement) {
        ++*static_cast<int*> (n);
    }, &notices));
    CFArrayRef presets = nullptr;
    ASSERT_EQ (noErr, unit.get (kAudioUnitProperty_FactoryPresets, presets));
    const auto count = SInt32 (CFArrayGetCount (presets));
    ASSERT_GT (count, 4);
    const auto chosen = *static_cast<const AUPreset*> (CFArrayGetValueAtIndex (presets, 4));
    ASSERT_EQ (noErr, unit.set (kAudioUnitProperty_PresentPreset, chosen));
    EXPECT_EQ (1, notices);
    AUPreset current {};
    ASSERT_EQ (noErr, unit.get (kAudioUnitProperty_PresentPreset, current));
    EXPECT_EQ (4, current.presetNumber);
    EXPECT_TRUE (CFEqual (current.presetName, chosen.presetName));
    CFRelease (current.presetName);
    ASSERT_EQ (noErr, unit.getParameter (0, value));
    EXPECT_NE (0.3f, value) << "the preset's values";
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, unit.set (kAudioUnitProperty_PresentPreset, AUPreset { count, chosen.presetName }));
    CFRelease (presets);
}

TEST_P (AuModule, ClassInfoRestoresIntoAFreshInstanceAfterTheModuleWasUnloaded)
{
    auto& original = Open();
    ASSERT_EQ (noErr, original.setParameter (1, 0.25f));
    ASSERT_EQ (noErr, original.setParameter (2, 0.75f));
    auto saved = Save (original);
    // The host keeps the module's dictionary (its keys and name included) while the module is gone.
    Unload();
    const auto block = Bytes (Value (saved, "jucePluginState"));
    ASSERT_FALSE (block.empty());
    SInt32 manufacturer = 0;
    CFNumberGetValue (static_cast<CFNumberRef> (Value (saved, "manufacturer")), kCFNumberSInt32Type, &manufacturer);
    EXPECT_EQ (identity::makerCode, UInt32 (manufacturer));

    ASSERT_NO_FATAL_FAILURE (Load());
    auto& fresh = Open (false);
    // Another maker's or another subtype's state is refused and leaves the processor as it was;
    // the type is not examined (the same unit may be registered under another one).
    auto untouched = Save (fresh);
    const struct { const char* field; OSStatus status; } others[] = {
        { "manufacturer", kAudioUnitErr_InvalidPropertyValue }, { "subtype", kAudioUnitErr_InvalidPropertyValue }, { "type", noErr },
    };
    for (const auto& [field, status] : others)
    {
        auto other = static_cast<CFMutableDictionaryRef> (const_cast<void*> (CFPropertyListCreateDeepCopy (nullptr, saved, kCFPropertyListMutableContainers)));
        const SInt32 code = 0x58787878;  // 'Xxxx'
        auto number = CFNumberCreate (nullptr, kCFNumberSInt32Type, &code);
        CFDictionarySetValue (other, CFStringMakeConstantString (field), number);
        CFRelease (number);
        EXPECT_EQ (status, fresh.set (kAudioUnitProperty_ClassInfo, CFPropertyListRef (other))) << field;
        CFRelease (other);
        auto now = Save (fresh);
        EXPECT_EQ (status == noErr ? block : Bytes (Value (untouched, "jucePluginState")), Bytes (Value (now, "jucePluginState"))) << field;
        CFRelease (now);
    }
    CFRelease (untouched);

    ASSERT_EQ (noErr, fresh.set (kAudioUnitProperty_ClassInfo, saved));
    float value = 0;
    ASSERT_EQ (noErr, fresh.getParameter (2, value));
    EXPECT_FLOAT_EQ (0.75f, value);
    auto restored = Save (fresh);
    EXPECT_EQ (block, Bytes (Value (restored, "jucePluginState"))) << "values, presets, A/B and undo come back whole";
    EXPECT_EQ (noErr, fresh.initialize());
    CFRelease (saved);
    CFRelease (restored);
}

INSTANTIATE_TEST_SUITE_P (Routes, AuModule,
                          ::testing::Values (Case { Route::factory, 2 }, Case { Route::factory, 1 }, Case { Route::componentManager, 2 },
                                             Case { Route::componentManager, 1 }),
                          [] (const ::testing::TestParamInfo<Case>& info) {
                              return std::string (info.param.route == Route::factory ? "Factory" : "ComponentManager")
                                     + (info.param.channels == 1 ? "Mono" : "Stereo");
                          });
} // namespace kelmora::tools::test
