#include "platform/au/FrameworkHooks.h"

#include <dlfcn.h>

#include <atomic>
#include <mutex>

namespace
{
std::atomic<const AudioToolboxHooks*> audioToolbox { nullptr };
std::atomic<const CoreServicesHooks*> coreServices { nullptr };

std::once_flag processLookup;
const PlatformFrameworks* processFrameworks = nullptr;
}

extern "C" {

void PlatformInstallAudioToolboxHooks (const AudioToolboxHooks* hooks) { audioToolbox.store (hooks, std::memory_order_release); }
void PlatformInstallCoreServicesHooks (const CoreServicesHooks* hooks) { coreServices.store (hooks, std::memory_order_release); }

const PlatformFrameworks* PlatformProcessFrameworks()
{
    std::call_once (processLookup, [] {
        if (auto proc = reinterpret_cast<PlatformFrameworksProc> (dlsym (RTLD_DEFAULT, kPlatformFrameworksSymbol)))
            processFrameworks = proc();
    });
    return processFrameworks;
}

const AudioToolboxHooks* PlatformOpenAudioToolbox()
{
    if (auto* hooks = audioToolbox.load (std::memory_order_acquire))
        return hooks;
    auto* process = PlatformProcessFrameworks();
    return process != nullptr ? process->audioToolbox : nullptr;
}

const CoreServicesHooks* PlatformOpenCoreServices()
{
    if (auto* hooks = coreServices.load (std::memory_order_acquire))
        return hooks;
    auto* process = PlatformProcessFrameworks();
    return process != nullptr ? process->coreServices : nullptr;
}
}
