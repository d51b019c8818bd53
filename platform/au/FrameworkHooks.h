#pragma once

// Stand-ins for the system frameworks the Audio Unit layer opens at run time. Opening a
// framework answers its hook table, or null when the framework is absent; a unit looks the
// functions up once and falls back (and finally answers zeros) when they are missing.

#include "platform/au/AudioUnitTypes.h"

extern "C" {

struct AudioUnitRuntime;

typedef AudioComponent (*AudioComponentInstanceGetComponentProc) (AudioComponentInstance instance);
typedef OSStatus (*AudioComponentGetDescriptionProc) (AudioComponent component, AudioComponentDescription* outDescription);

typedef Handle (*GetComponentInstanceStorageProc) (ComponentInstance instance);
typedef OSErr (*GetComponentInfoProc) (Component component, ComponentDescription* outDescription, Handle name,
                                       Handle info, Handle icon);
typedef void (*SetComponentInstanceStorageProc) (ComponentInstance instance, Handle storage);

// "/System/Library/Frameworks/AudioUnit.framework/AudioUnit"
struct AudioToolboxHooks
{
    AudioComponentInstanceGetComponentProc AudioComponentInstanceGetComponent;
    AudioComponentGetDescriptionProc AudioComponentGetDescription;
};

// "/System/Library/Frameworks/CoreServices.framework/CoreServices"
struct CoreServicesHooks
{
    GetComponentInstanceStorageProc GetComponentInstanceStorage;
    GetComponentInfoProc GetComponentInfo;
    SetComponentInstanceStorageProc SetComponentInstanceStorage;
};

// A host installs the tables (null: the framework is absent) before the first unit is built;
// the tables must outlive the process's use of them.
void PlatformInstallAudioToolboxHooks (const AudioToolboxHooks* hooks);
void PlatformInstallCoreServicesHooks (const CoreServicesHooks* hooks);

// A table installed in this copy of the stand-in wins; without one, the process's own (below).
const AudioToolboxHooks* PlatformOpenAudioToolbox();
const CoreServicesHooks* PlatformOpenCoreServices();

// The system as a host program provides it to the modules it loads: each module links its own
// copy of the stand-in, so a host exports this function (by the name below) from its program and
// every copy finds the tables there. Any table may be null.
struct PlatformFrameworks
{
    const AudioToolboxHooks* audioToolbox;
    const CoreServicesHooks* coreServices;
    const AudioUnitRuntime* runtime;
};
typedef const PlatformFrameworks* (*PlatformFrameworksProc)();
#define kPlatformFrameworksSymbol "QuietlinePlatformFrameworks"

// The process's tables (looked up once), or null when the program exports none.
const PlatformFrameworks* PlatformProcessFrameworks();
}
