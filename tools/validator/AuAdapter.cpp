// The Audio Unit adapter: the reference Audio Unit host. A unit's name and maker live in the
// system's component registry, not in the unit, so identity is what the registry and the unit's
// version and class-info codes say.
#include "tools/validator/PluginInstance.h"
#include "core/ProductIdentity.h"
#include "platform/au/CoreFoundation.h"
#include "tools/auhost/AuHost.h"

#include <charconv>
#include <cmath>
#include <utility>

namespace kelmora::tools
{
namespace
{
class AuInstance : public PluginInstance
{
public:
    AuInstance (std::shared_ptr<AuPluginModule> m, std::unique_ptr<HostedAudioUnit> u) : module (std::move (m)), unit (std::move (u))
    {
        prepare (44100, 1024);
    }
    ~AuInstance() override { unit.reset(); }   // closes before the module may unload

    std::string name() override { return identity::productName; }
    std::string vendor() override { return identity::makerName; }
    std::string identityProblems() override
    {
        std::string problems;
        if (unit->componentVersion() != identity::versionNumber) problems += " version";
        CFPropertyListRef info = nullptr;
        unit->get (kAudioUnitProperty_ClassInfo, info);
        const std::pair<const char*, uint32_t> codes[] = { { "type", identity::auType }, { "subtype", identity::productCode },
                                                           { "manufacturer", identity::makerCode } };
        for (const auto& [key, code] : codes)
        {
            SInt32 n = 0;
            auto number = static_cast<CFNumberRef> (CFDictionaryGetValue (static_cast<CFDictionaryRef> (info), CFStringMakeConstantString (key)));
            if (number == nullptr || ! CFNumberGetValue (number, kCFNumberSInt32Type, &n) || (uint32_t) n != code)
                problems += std::string (" ") + key;
        }
        CFRelease (info);
        return problems;
    }

    int numParameters() override
    {
        UInt32 size = 0;
        Boolean writable = false;
        unit->getPropertyInfo (kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0, &size, &writable);
        return (int) (size / sizeof (AudioUnitParameterID));
    }
    std::string parameterName (int i) override { return info (i).name; }
    /** A unit reports a range and a unit; the host writes the value. */
    std::string parameterText (int i) override
    {
        AudioUnitParameterValue v = 0;
        unit->getParameter ((AudioUnitParameterID) i, v);
        char text[32];
        return std::string (text, std::to_chars (text, text + sizeof text, v).ptr);   // locale-free
    }
    float getParameter (int i) override
    {
        const auto range = info (i);
        AudioUnitParameterValue v = 0;
        unit->getParameter ((AudioUnitParameterID) i, v);
        return range.maxValue > range.minValue ? (v - range.minValue) / (range.maxValue - range.minValue) : v;
    }
    void setParameter (int i, float v) override
    {
        const auto range = info (i);
        unit->setParameter ((AudioUnitParameterID) i, range.minValue + v * (range.maxValue - range.minValue));
    }

    int numPrograms() override { return (int) presets().size(); }
    void setProgram (int i) override
    {
        CFArrayRef list = nullptr;
        unit->get (kAudioUnitProperty_FactoryPresets, list);
        if (auto preset = static_cast<const AUPreset*> (CFArrayGetValueAtIndex (list, i)))
            unit->set (kAudioUnitProperty_PresentPreset, *preset);
        CFRelease (list);
    }
    std::string programName (int i) override { return presets().at ((size_t) i); }

    void prepare (double newRate, int maxBlock) override
    {
        rate = newRate;
        unit->uninitialize();
        unit->configure (2, newRate, (UInt32) maxBlock);
        unit->initialize();
    }
    void process (const float* const* in, float* const* out, int frames) override
    {
        std::vector<std::vector<float>> io { { in[0], in[0] + frames }, { in[1], in[1] + frames } };
        unit->process (io, sampleTime);
        sampleTime += frames;
        for (int c = 0; c < 2; ++c)
            std::copy (io[(size_t) c].begin(), io[(size_t) c].end(), out[c]);
    }
    int latency() override { return seconds (kAudioUnitProperty_Latency); }
    int tail() override { return seconds (kAudioUnitProperty_TailTime); }
    bool setBypass (bool on) override { return unit->set (kAudioUnitProperty_BypassEffect, UInt32 (on ? 1 : 0)) == noErr; }

    /** The processor's block inside the class-info dictionary. */
    std::vector<uint8_t> saveState() override
    {
        CFPropertyListRef info = nullptr;
        unit->get (kAudioUnitProperty_ClassInfo, info);
        std::vector<uint8_t> bytes;
        if (auto d = static_cast<CFDataRef> (CFDictionaryGetValue (static_cast<CFDictionaryRef> (info), CFSTR ("jucePluginState"))))
            bytes.assign (CFDataGetBytePtr (d), CFDataGetBytePtr (d) + CFDataGetLength (d));
        CFRelease (info);
        return bytes;
    }
    /** The unit's own dictionary with the block replaced, as a host restores a saved one. */
    void restoreState (const std::vector<uint8_t>& state) override
    {
        CFPropertyListRef info = nullptr;
        unit->get (kAudioUnitProperty_ClassInfo, info);
        auto copy = static_cast<CFMutableDictionaryRef> (const_cast<void*> (CFPropertyListCreateDeepCopy (nullptr, info, kCFPropertyListMutableContainers)));
        auto data = CFDataCreate (nullptr, state.data(), (CFIndex) state.size());
        CFDictionarySetValue (copy, CFSTR ("jucePluginState"), data);
        unit->set (kAudioUnitProperty_ClassInfo, CFPropertyListRef (copy));
        for (CFTypeRef ref : { CFTypeRef (data), CFTypeRef (copy), CFTypeRef (info) })
            CFRelease (ref);
    }

    bool hasEditor() override { return false; }
    bool openEditor() override { return false; }
    void closeEditor() override {}

private:
    AudioUnitParameterInfo info (int i)
    {
        AudioUnitParameterInfo result {};
        unit->get (kAudioUnitProperty_ParameterInfo, result, kAudioUnitScope_Global, (AudioUnitElement) i);
        if ((result.flags & kAudioUnitParameterFlag_CFNameRelease) != 0)   // the name is ours to release
            CFRelease (std::exchange (result.cfNameString, nullptr));
        return result;
    }

    std::vector<std::string> presets()
    {
        CFArrayRef list = nullptr;
        std::vector<std::string> names;
        if (unit->get (kAudioUnitProperty_FactoryPresets, list) != noErr)
            return names;
        for (CFIndex i = 0; i < CFArrayGetCount (list); ++i)
        {
            char name[64] {};
            CFStringGetCString (static_cast<const AUPreset*> (CFArrayGetValueAtIndex (list, i))->presetName, name, sizeof name, kCFStringEncodingUTF8);
            names.push_back (name);
        }
        CFRelease (list);
        return names;
    }

    int seconds (AudioUnitPropertyID id)
    {
        Float64 s = -1;
        unit->get (id, s);
        return (int) std::lround (s * rate);
    }

    std::shared_ptr<AuPluginModule> module;
    std::unique_ptr<HostedAudioUnit> unit;
    double rate = 44100;
    Float64 sampleTime = 0;
};

class AuFormat : public PluginFormat
{
public:
    explicit AuFormat (std::shared_ptr<AuPluginModule> m) : module (std::move (m)) {}
    std::unique_ptr<PluginInstance> create() override
    {
        OSStatus status = -1;
        auto unit = HostedAudioUnit::open (*module, HostedAudioUnit::Route::componentManager, status);
        return unit != nullptr ? std::make_unique<AuInstance> (module, std::move (unit)) : nullptr;
    }

private:
    std::shared_ptr<AuPluginModule> module;
};
} // namespace

std::unique_ptr<PluginFormat> loadAu (const std::string& path, std::string& error)
{
    AuSystem::describeComponentsAs ({ identity::auType, identity::productCode, identity::makerCode, 0, 0 });
    std::shared_ptr<AuPluginModule> module = AuPluginModule::load (path, "OrvelQuietlineAUFactory", "OrvelQuietlineAUEntry", error);
    return module != nullptr ? std::make_unique<AuFormat> (module) : nullptr;
}
} // namespace kelmora::tools
