// The Audio Unit class-info dictionary as a host hands it over: a saved dictionary whose entries
// the input replaces, through the built module in the reference Audio Unit host.
#include "core/ProductIdentity.h"
#include "fuzz/FuzzTargets.h"
#include "platform/au/CoreFoundation.h"
#include "tools/auhost/AuHost.h"

#include <cmath>
#include <cstring>
#include <stdexcept>

namespace quietline::fuzz
{
namespace
{
using kelmora::tools::AuPluginModule;
using kelmora::tools::HostedAudioUnit;

const char* const keys[] = { "version", "type", "subtype", "manufacturer", "data", "name", "jucePluginState",
                             "render-quality", "cpu-load", "element-name", "part" };
constexpr int numParameters = 4;

struct Loaded
{
    Loaded()
    {
        sharedHome();
        ::unsetenv ("DISPLAY");
        namespace id = kelmora::identity;
        kelmora::tools::AuSystem::describeComponentsAs ({ id::auType, id::productCode, id::makerCode, 0, 0 });
        std::string error;
        module = AuPluginModule::load (QUIETLINE_MODULE_PATH, "OrvelQuietlineAUFactory", "OrvelQuietlineAUEntry", error);
        if (module == nullptr)
            throw std::runtime_error (error);
        auto first = open();
        first->get (kAudioUnitProperty_ClassInfo, saved);
    }

    std::unique_ptr<HostedAudioUnit> open()
    {
        OSStatus status = -1;
        auto unit = HostedAudioUnit::open (*module, HostedAudioUnit::Route::factory, status);
        if (unit == nullptr || unit->configure (2, 96000) != noErr || unit->initialize() != noErr)
            throw std::runtime_error ("the module does not open in the Audio Unit host");
        return unit;
    }

    std::unique_ptr<AuPluginModule> module;
    CFPropertyListRef saved = nullptr;   // a valid dictionary, the starting point of every input
};

/** Replaces or adds entries of a copy of the saved dictionary as the bytes say: per entry a
    key, a kind (data, number, text, dictionary), a length and that many bytes. */
CFMutableDictionaryRef craft (CFPropertyListRef saved, const uint8_t* data, size_t size)
{
    auto dictionary = static_cast<CFMutableDictionaryRef> (const_cast<void*> (CFPropertyListCreateDeepCopy (nullptr, saved, kCFPropertyListMutableContainers)));
    for (size_t at = 0; at + 2 <= size;)
    {
        const auto key = CFStringMakeConstantString (keys[data[at] % std::size (keys)]);
        const int kind = data[at + 1] % 4;
        const size_t length = std::min<size_t> (at + 2 < size ? data[at + 2] : 0, size - std::min (size, at + 3));
        const uint8_t* bytes = data + std::min (size, at + 3);
        at += 3 + length;
        CFTypeRef value = nullptr;
        if (kind == 0)
            value = CFDataCreate (nullptr, bytes, (CFIndex) length);
        else if (kind == 1)
        {
            SInt32 n = 0;
            std::memcpy (&n, bytes, std::min (length, sizeof n));
            value = CFNumberCreate (nullptr, kCFNumberSInt32Type, &n);
        }
        else if (kind == 2)
            value = CFStringCreateWithCString (nullptr, std::string (reinterpret_cast<const char*> (bytes), length).c_str(), kCFStringEncodingUTF8);
        else
            value = CFDictionaryCreateMutable (nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
        CFDictionarySetValue (dictionary, key, value);
        CFRelease (value);
    }
    return dictionary;
}

std::vector<UInt8> stateBlock (HostedAudioUnit& unit)
{
    CFPropertyListRef state = nullptr;
    unit.get (kAudioUnitProperty_ClassInfo, state);
    std::vector<UInt8> bytes;
    if (auto d = static_cast<CFDataRef> (CFDictionaryGetValue (static_cast<CFDictionaryRef> (state), CFSTR ("jucePluginState"))))
        bytes.assign (CFDataGetBytePtr (d), CFDataGetBytePtr (d) + CFDataGetLength (d));
    CFRelease (state);
    return bytes;
}

std::vector<float> valuesOf (HostedAudioUnit& unit)
{
    std::vector<float> values (numParameters);
    for (int i = 0; i < numParameters; ++i)
        unit.getParameter ((AudioUnitParameterID) i, values[(size_t) i]);
    return values;
}
} // namespace

void auClassInfo (const uint8_t* data, size_t size)
{
    static Loaded loaded;
    auto target = loaded.open();
    const auto dictionary = craft (loaded.saved, data, size);
    target->set (kAudioUnitProperty_ClassInfo, CFPropertyListRef (dictionary));
    CFRelease (dictionary);

    const auto values = valuesOf (*target);
    for (float v : values)
        require (std::isfinite (v), "parameter finite");
    requireFiniteOutput ([&target] (auto io) { target->process (io, 0); return io; });

    CFPropertyListRef saved = nullptr;
    target->get (kAudioUnitProperty_ClassInfo, saved);
    const auto block = stateBlock (*target);
    require (! block.empty(), "a saved dictionary holds the state block");
    auto fresh = loaded.open();
    require (fresh->set (kAudioUnitProperty_ClassInfo, saved) == noErr, "a saved dictionary is taken by a fresh instance");
    CFRelease (saved);
    require (stateBlock (*fresh) == block, "a saved dictionary reads back identical in a fresh instance");
    require (valuesOf (*fresh) == values, "a fresh instance restores every value");
}
} // namespace quietline::fuzz
