#include "platform/au/FrameworkHooks.h"

#include <atomic>

namespace
{
std::atomic<const AudioToolboxHooks*> audioToolbox { nullptr };
std::atomic<const CoreServicesHooks*> coreServices { nullptr };
}

extern "C" {

void PlatformInstallAudioToolboxHooks (const AudioToolboxHooks* hooks) { audioToolbox.store (hooks, std::memory_order_release); }
void PlatformInstallCoreServicesHooks (const CoreServicesHooks* hooks) { coreServices.store (hooks, std::memory_order_release); }

const AudioToolboxHooks* PlatformOpenAudioToolbox() { return audioToolbox.load (std::memory_order_acquire); }
const CoreServicesHooks* PlatformOpenCoreServices() { return coreServices.load (std::memory_order_acquire); }
}
