#pragma once

// The reference Audio Unit host: loads a module by path, finds a component through either the
// factory record or the Component Manager entry, and drives it. It links no JUCE and none of
// the layer: it sees the module only through its two exports. The program that links it stands
// in for the system: it exports the frameworks a module looks up (see FrameworkHooks.h) and
// must be linked with its symbols exported.

#include "platform/au/AudioUnitTypes.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kelmora::tools
{
/** The system side: what every instance is described as, and the events units sent. */
struct AuSystem
{
    static void describeComponentsAs (const AudioComponentDescription& description);
    static std::vector<AudioUnitEvent> takeEvents();
};

class AuPluginModule
{
public:
    ~AuPluginModule();
    /** Null, with the reason in error, when the module or either export is missing. */
    static std::unique_ptr<AuPluginModule> load (const std::string& path, const std::string& factoryName,
                                                 const std::string& entryName, std::string& error);

    AudioComponentFactoryFunction factory = nullptr;
    ComponentEntryProc entry = nullptr;

private:
    void* handle = nullptr;
};

/** One open instance, reached through one of the two routes. */
class HostedAudioUnit
{
public:
    enum class Route { factory, componentManager };

    ~HostedAudioUnit();
    /** Null when the open failed; status holds why. */
    static std::unique_ptr<HostedAudioUnit> open (AuPluginModule& module, Route route, OSStatus& status);

    AudioComponentInstance instance() const noexcept { return reinterpret_cast<AudioComponentInstance> (const_cast<HostedAudioUnit*> (this)); }

    OSStatus initialize();
    OSStatus uninitialize();
    /** The component's version; only the Component Manager route has the call (else -4). */
    OSStatus componentVersion() { return record != nullptr ? OSStatus (-4) : call (kComponentVersionSelect, {}); }
    OSStatus getPropertyInfo (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, UInt32* size, Boolean* writable);
    OSStatus getProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* data, UInt32* size);
    OSStatus setProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const void* data, UInt32 size);
    OSStatus getParameter (AudioUnitParameterID id, AudioUnitParameterValue& value);
    OSStatus setParameter (AudioUnitParameterID id, AudioUnitParameterValue value);
    OSStatus addPropertyListener (AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc, void* userData);

    template <typename T>
    OSStatus get (AudioUnitPropertyID id, T& value, AudioUnitScope scope = 0, AudioUnitElement element = 0)
    {
        UInt32 size = sizeof value;
        return getProperty (id, scope, element, &value, &size);
    }
    template <typename T>
    OSStatus set (AudioUnitPropertyID id, const T& value, AudioUnitScope scope = 0, AudioUnitElement element = 0)
    {
        return setProperty (id, scope, element, &value, sizeof value);
    }

    /** Float, non-interleaved, on the input and the output, and a render callback for the input. */
    OSStatus configure (UInt32 channels, Float64 sampleRate, UInt32 maxFrames = 1024);
    /** Renders the channels in place (all of one length, at most the maximum slice). */
    OSStatus process (std::vector<std::vector<float>>& channels, Float64 sampleTime);
    /** Renders frames into the caller's list from `in` (one vector per channel); allocates nothing. */
    OSStatus render (const std::vector<std::vector<float>>& in, AudioBufferList& list, UInt32 frames, Float64 sampleTime);

private:
    HostedAudioUnit() = default;
    static OSStatus feedInput (void* self, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32 frames,
                               AudioBufferList* list);
    // A Component Manager call: the selector, then the words after the instance.
    OSStatus call (SInt16 selector, std::initializer_list<uintptr_t> args);
    template <typename Method>
    Method method (SInt16 selector) const { return reinterpret_cast<Method> (record->Lookup (selector)); }

    AuPluginModule* module = nullptr;
    AudioComponentPlugInInterface* record = nullptr;  // factory route
    void* storage = nullptr;                          // Component Manager route
    const std::vector<std::vector<float>>* input = nullptr;
};
} // namespace kelmora::tools
