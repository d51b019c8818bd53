#pragma once

// The host-side functions a unit calls: on another unit (its connected source), and to tell the
// host's event listeners about changes. On the target platform the system provides them; here a
// host installs its own implementation, or exports it from its program (FrameworkHooks.h).

#include "platform/au/AudioUnitTypes.h"

extern "C" {

struct AudioUnitRuntime
{
    OSStatus (*getProperty) (AudioUnit unit, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                             void* outData, UInt32* ioDataSize);
    OSStatus (*render) (AudioUnit unit, AudioUnitRenderActionFlags* ioActionFlags, const AudioTimeStamp* inTimeStamp,
                        UInt32 inOutputBusNumber, UInt32 inNumberFrames, AudioBufferList* ioData);
    OSStatus (*eventListenerNotify) (void* sendingListener, void* sendingObject, const AudioUnitEvent* event);
};

// Installs the functions behind the calls below (null removes them). Install before the calls
// can happen; the table must outlive its use.
void AudioUnitRuntimeInstall (const AudioUnitRuntime* runtime);

// Without an installed runtime, or a missing function in it, these answer kAudio_UnimplementedError.
OSStatus AudioUnitGetProperty (AudioUnit unit, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                               void* outData, UInt32* ioDataSize);
OSStatus AudioUnitRender (AudioUnit unit, AudioUnitRenderActionFlags* ioActionFlags, const AudioTimeStamp* inTimeStamp,
                          UInt32 inOutputBusNumber, UInt32 inNumberFrames, AudioBufferList* ioData);
OSStatus AUEventListenerNotify (void* sendingListener, void* sendingObject, const AudioUnitEvent* event);
}
