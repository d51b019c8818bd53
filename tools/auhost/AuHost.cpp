#include "tools/auhost/AuHost.h"

#include "platform/au/AudioUnitRuntime.h"
#include "platform/au/FrameworkHooks.h"

#include <dlfcn.h>

#include <cstring>
#include <map>
#include <utility>

namespace kelmora::tools
{
namespace
{
std::mutex systemLock;
AudioComponentDescription describedAs {};
std::map<ComponentInstance, Handle> instanceStorage;
std::vector<AudioUnitEvent> events;

int componentToken;
AudioComponent GetComponent (AudioComponentInstance) { return reinterpret_cast<AudioComponent> (&componentToken); }
OSStatus Describe (AudioComponent, AudioComponentDescription* out)
{
    const std::lock_guard<std::mutex> lock (systemLock);
    *out = describedAs;
    return noErr;
}
Handle GetStorage (ComponentInstance instance)
{
    const std::lock_guard<std::mutex> lock (systemLock);
    const auto found = instanceStorage.find (instance);
    return found != instanceStorage.end() ? found->second : nullptr;
}
OSErr GetInfo (Component, ComponentDescription* out, Handle, Handle, Handle) { return OSErr (Describe (nullptr, out)); }
void SetStorage (ComponentInstance instance, Handle storage)
{
    const std::lock_guard<std::mutex> lock (systemLock);
    instanceStorage[instance] = storage;
}
OSStatus Notify (void*, void*, const AudioUnitEvent* event)
{
    const std::lock_guard<std::mutex> lock (systemLock);
    events.push_back (*event);
    return noErr;
}

const AudioToolboxHooks audioToolbox { GetComponent, Describe };
const CoreServicesHooks coreServices { GetStorage, GetInfo, SetStorage };
const AudioUnitRuntime runtime { nullptr, nullptr, Notify };
const PlatformFrameworks frameworks { &audioToolbox, &coreServices, &runtime };

template <typename T>
uintptr_t Word (T value)
{
    if constexpr (std::is_pointer_v<T>)
        return reinterpret_cast<uintptr_t> (value);
    else
        return uintptr_t (value);
}
} // namespace

void AuSystem::describeComponentsAs (const AudioComponentDescription& description)
{
    const std::lock_guard<std::mutex> lock (systemLock);
    describedAs = description;
}

std::vector<AudioUnitEvent> AuSystem::takeEvents()
{
    const std::lock_guard<std::mutex> lock (systemLock);
    return std::exchange (events, {});
}

//==============================================================================
std::unique_ptr<AuPluginModule> AuPluginModule::load (const std::string& path, const std::string& factoryName,
                                                      const std::string& entryName, std::string& error)
{
    std::unique_ptr<AuPluginModule> module (new AuPluginModule());
    module->handle = dlopen (path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module->handle == nullptr)
    {
        error = dlerror();
        return nullptr;
    }
    module->factory = reinterpret_cast<AudioComponentFactoryFunction> (dlsym (module->handle, factoryName.c_str()));
    module->entry = reinterpret_cast<ComponentEntryProc> (dlsym (module->handle, entryName.c_str()));
    if (module->factory == nullptr || module->entry == nullptr)
    {
        error = "the module lacks " + (module->factory == nullptr ? factoryName : entryName);
        return nullptr;
    }
    return module;
}

AuPluginModule::~AuPluginModule()
{
    if (handle != nullptr)
        dlclose (handle);
}

//==============================================================================
std::unique_ptr<HostedAudioUnit> HostedAudioUnit::open (AuPluginModule& module, Route route, OSStatus& status)
{
    std::unique_ptr<HostedAudioUnit> unit (new HostedAudioUnit());
    unit->module = &module;
    if (route == Route::factory)
    {
        auto* record = module.factory (nullptr);
        if (record == nullptr)
        {
            status = kAudio_MemFullError;
            return nullptr;
        }
        status = record->Open (record, unit->instance());  // a failed open releases the record
        if (status == noErr)
            unit->record = record;
    }
    else
    {
        status = unit->call (kComponentOpenSelect, {});
        unit->storage = GetStorage (unit->instance());
        if (status == noErr && unit->storage == nullptr)
            status = -1;
    }
    return status == noErr ? std::move (unit) : nullptr;
}

HostedAudioUnit::~HostedAudioUnit()
{
    if (record != nullptr)
        record->Close (record);
    else if (storage != nullptr)
    {
        call (kComponentCloseSelect, {});
        SetStorage (instance(), nullptr);
    }
}

OSStatus HostedAudioUnit::call (SInt16 selector, std::initializer_list<uintptr_t> args)
{
    uintptr_t words[8] {};
    auto* block = reinterpret_cast<ComponentParameters*> (words);
    block->what = selector;
    block->params[0] = reinterpret_cast<uintptr_t> (instance());
    size_t i = 1;
    for (auto a : args)
        block->params[i++] = a;
    return module->entry (block, storage);
}

OSStatus HostedAudioUnit::initialize()
{
    return record != nullptr ? method<AudioUnitInitializeMethod> (kAudioUnitInitializeSelect) (record)
                             : call (kAudioUnitInitializeSelect, {});
}

OSStatus HostedAudioUnit::uninitialize()
{
    return record != nullptr ? method<AudioUnitInitializeMethod> (kAudioUnitUninitializeSelect) (record)
                             : call (kAudioUnitUninitializeSelect, {});
}

OSStatus HostedAudioUnit::getPropertyInfo (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, UInt32* size,
                                           Boolean* writable)
{
    if (record != nullptr)
        return method<AudioUnitGetPropertyInfoMethod> (kAudioUnitGetPropertyInfoSelect) (record, id, scope, element, size, writable);
    return call (kAudioUnitGetPropertyInfoSelect, { id, scope, element, Word (size), Word (writable) });
}

OSStatus HostedAudioUnit::getProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* data, UInt32* size)
{
    if (record != nullptr)
        return method<AudioUnitGetPropertyMethod> (kAudioUnitGetPropertySelect) (record, id, scope, element, data, size);
    return call (kAudioUnitGetPropertySelect, { id, scope, element, Word (data), Word (size) });
}

OSStatus HostedAudioUnit::setProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const void* data,
                                       UInt32 size)
{
    if (record != nullptr)
        return method<AudioUnitSetPropertyMethod> (kAudioUnitSetPropertySelect) (record, id, scope, element, data, size);
    return call (kAudioUnitSetPropertySelect, { id, scope, element, Word (data), size });
}

OSStatus HostedAudioUnit::getParameter (AudioUnitParameterID id, AudioUnitParameterValue& value)
{
    if (record != nullptr)
        return method<AudioUnitGetParameterMethod> (kAudioUnitGetParameterSelect) (record, id, 0, 0, &value);
    return call (kAudioUnitGetParameterSelect, { id, 0, 0, Word (&value) });
}

OSStatus HostedAudioUnit::setParameter (AudioUnitParameterID id, AudioUnitParameterValue value)
{
    if (record != nullptr)
        return method<AudioUnitSetParameterMethod> (kAudioUnitSetParameterSelect) (record, id, 0, 0, value, 0);
    UInt32 bits;
    std::memcpy (&bits, &value, sizeof bits);
    return call (kAudioUnitSetParameterSelect, { id, 0, 0, bits, 0 });
}

OSStatus HostedAudioUnit::addPropertyListener (AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc, void* userData)
{
    if (record != nullptr)
        return method<AudioUnitAddPropertyListenerMethod> (kAudioUnitAddPropertyListenerSelect) (record, id, proc, userData);
    return call (kAudioUnitAddPropertyListenerSelect, { id, Word (proc), Word (userData) });
}

OSStatus HostedAudioUnit::configure (UInt32 channels, Float64 sampleRate, UInt32 maxFrames)
{
    const AudioStreamBasicDescription format { sampleRate, kAudioFormatLinearPCM,
                                               kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked | kAudioFormatFlagIsNonInterleaved,
                                               4, 1, 4, channels, 32, 0 };
    const AURenderCallbackStruct callback { &HostedAudioUnit::feedInput, this };
    for (const OSStatus status : { set (kAudioUnitProperty_StreamFormat, format, kAudioUnitScope_Input),
                                   set (kAudioUnitProperty_StreamFormat, format, kAudioUnitScope_Output),
                                   set (kAudioUnitProperty_MaximumFramesPerSlice, maxFrames),
                                   set (kAudioUnitProperty_SetRenderCallback, callback, kAudioUnitScope_Input) })
        if (status != noErr)
            return status;
    return noErr;
}

OSStatus HostedAudioUnit::feedInput (void* self, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32 frames,
                                     AudioBufferList* list)
{
    auto& source = *static_cast<HostedAudioUnit*> (self)->input;
    if (list->mNumberBuffers != source.size())
        return kAudio_ParamError;
    for (UInt32 c = 0; c < list->mNumberBuffers; ++c)
        std::memcpy (list->mBuffers[c].mData, source[c].data(), frames * sizeof (float));
    return noErr;
}

OSStatus HostedAudioUnit::process (std::vector<std::vector<float>>& channels, Float64 sampleTime)
{
    const auto in = channels;
    const UInt32 frames = channels.empty() ? 0 : UInt32 (channels[0].size());
    std::vector<UInt8> storageBytes (offsetof (AudioBufferList, mBuffers) + sizeof (AudioBuffer) * std::max<size_t> (1, channels.size()));
    auto& list = *reinterpret_cast<AudioBufferList*> (storageBytes.data());
    list.mNumberBuffers = UInt32 (channels.size());
    for (size_t c = 0; c < channels.size(); ++c)
        list.mBuffers[c] = { 1, UInt32 (frames * sizeof (float)), channels[c].data() };
    return render (in, list, frames, sampleTime);
}

OSStatus HostedAudioUnit::render (const std::vector<std::vector<float>>& in, AudioBufferList& list, UInt32 frames, Float64 sampleTime)
{
    input = &in;
    AudioTimeStamp stamp {};
    stamp.mSampleTime = sampleTime;
    stamp.mFlags = kAudioTimeStampSampleTimeValid;
    AudioUnitRenderActionFlags flags = 0;
    const OSStatus status = record != nullptr
                                ? method<AudioUnitRenderMethod> (kAudioUnitRenderSelect) (record, &flags, &stamp, 0, frames, &list)
                                : call (kAudioUnitRenderSelect, { Word (&flags), Word (&stamp), 0, frames, Word (&list) });
    input = nullptr;
    return status;
}
} // namespace kelmora::tools

// The system's frameworks, found by the modules this program loads.
extern "C" __attribute__ ((visibility ("default"))) const PlatformFrameworks* QuietlinePlatformFrameworks()
{
    return &kelmora::tools::frameworks;
}
