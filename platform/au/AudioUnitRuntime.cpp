#include "platform/au/AudioUnitRuntime.h"

#include "platform/au/FrameworkHooks.h"

#include <atomic>

namespace
{
std::atomic<const AudioUnitRuntime*> installed { nullptr };

const AudioUnitRuntime* Runtime()
{
    if (auto* runtime = installed.load (std::memory_order_acquire))
        return runtime;
    auto* process = PlatformProcessFrameworks();
    return process != nullptr ? process->runtime : nullptr;
}
}

extern "C" {

void AudioUnitRuntimeInstall (const AudioUnitRuntime* runtime) { installed.store (runtime, std::memory_order_release); }

OSStatus AudioUnitGetProperty (AudioUnit unit, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                               void* outData, UInt32* ioDataSize)
{
    auto* runtime = Runtime();
    if (runtime == nullptr || runtime->getProperty == nullptr)
        return kAudio_UnimplementedError;
    return runtime->getProperty (unit, id, scope, element, outData, ioDataSize);
}

OSStatus AudioUnitRender (AudioUnit unit, AudioUnitRenderActionFlags* ioActionFlags, const AudioTimeStamp* inTimeStamp,
                          UInt32 inOutputBusNumber, UInt32 inNumberFrames, AudioBufferList* ioData)
{
    auto* runtime = Runtime();
    if (runtime == nullptr || runtime->render == nullptr)
        return kAudio_UnimplementedError;
    return runtime->render (unit, ioActionFlags, inTimeStamp, inOutputBusNumber, inNumberFrames, ioData);
}

OSStatus AUEventListenerNotify (void* sendingListener, void* sendingObject, const AudioUnitEvent* event)
{
    auto* runtime = Runtime();
    if (runtime == nullptr || runtime->eventListenerNotify == nullptr)
        return kAudio_UnimplementedError;
    return runtime->eventListenerNotify (sendingListener, sendingObject, event);
}
}
