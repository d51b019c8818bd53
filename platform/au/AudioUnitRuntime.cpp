#include "platform/au/AudioUnitRuntime.h"

#include <atomic>

namespace
{
std::atomic<const AudioUnitRuntime*> installed { nullptr };
}

extern "C" {

void AudioUnitRuntimeInstall (const AudioUnitRuntime* runtime) { installed.store (runtime, std::memory_order_release); }

OSStatus AudioUnitGetProperty (AudioUnit unit, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                               void* outData, UInt32* ioDataSize)
{
    auto* runtime = installed.load (std::memory_order_acquire);
    if (runtime == nullptr || runtime->getProperty == nullptr)
        return kAudio_UnimplementedError;
    return runtime->getProperty (unit, id, scope, element, outData, ioDataSize);
}

OSStatus AudioUnitRender (AudioUnit unit, AudioUnitRenderActionFlags* ioActionFlags, const AudioTimeStamp* inTimeStamp,
                          UInt32 inOutputBusNumber, UInt32 inNumberFrames, AudioBufferList* ioData)
{
    auto* runtime = installed.load (std::memory_order_acquire);
    if (runtime == nullptr || runtime->render == nullptr)
        return kAudio_UnimplementedError;
    return runtime->render (unit, ioActionFlags, inTimeStamp, inOutputBusNumber, inNumberFrames, ioData);
}
}
