#include "formats/au/ComponentBase.h"

#include "platform/au/FrameworkHooks.h"

namespace kelmora::au
{
namespace
{
std::once_flag componentMutexOnce;
std::recursive_mutex* componentMutex = nullptr;
ComponentBase::InstanceType newInstanceType = ComponentBase::kComponentMgrInstance;

// Guarded by a plain flag: the first query of every audio-component instance comes from its
// constructor, which runs under the component mutex.
bool audioToolboxLookupDone = false;
AudioComponentInstanceGetComponentProc instanceGetComponent = nullptr;
AudioComponentGetDescriptionProc getDescription = nullptr;

std::once_flag componentMgrOnce;
GetComponentInstanceStorageProc getInstanceStorage = nullptr;
GetComponentInfoProc getComponentInfo = nullptr;
SetComponentInstanceStorageProc setInstanceStorage = nullptr;

void LoadComponentManagerSymbols()
{
    if (auto* framework = PlatformOpenCoreServices())
    {
        getInstanceStorage = framework->GetComponentInstanceStorage;
        getComponentInfo = framework->GetComponentInfo;
        setInstanceStorage = framework->SetComponentInstanceStorage;
    }
}

void LoadAudioToolboxSymbolsOnce()
{
    if (audioToolboxLookupDone)
        return;
    audioToolboxLookupDone = true;
    if (auto* framework = PlatformOpenAudioToolbox())
    {
        instanceGetComponent = framework->AudioComponentInstanceGetComponent;
        if (instanceGetComponent != nullptr)
            getDescription = framework->AudioComponentGetDescription;
    }
}
} // namespace

ComponentBase::ComponentBase (AudioComponentInstance instance)
    : mComponentInstance (instance), mInstanceType (newInstanceType)
{
    (void) GetComponentDescription();  // makes the one-time framework lookup while the mutex is held
}

AudioComponentDescription ComponentBase::GetComponentDescription() const
{
    AudioComponentDescription description {};

    if (mInstanceType == kAudioComponentInstance)
    {
        LoadAudioToolboxSymbolsOnce();
        if (instanceGetComponent != nullptr && getDescription != nullptr)
        {
            if (auto component = instanceGetComponent (mComponentInstance))
                if (getDescription (component, &description) == noErr)
                    return description;
            return AudioComponentDescription {};
        }
    }

    std::call_once (componentMgrOnce, LoadComponentManagerSymbols);
    if (getComponentInfo == nullptr)
        return AudioComponentDescription {};
    if (getComponentInfo (reinterpret_cast<Component> (mComponentInstance), &description, nullptr, nullptr, nullptr) == 0)
        return description;
    return AudioComponentDescription {};
}

void ComponentBase::InitComponentMutex()
{
    // A static, not a heap object: it goes with the module when a host unloads it.
    std::call_once (componentMutexOnce, [] {
        static std::recursive_mutex mutex;
        componentMutex = &mutex;
    });
}

std::recursive_mutex& ComponentBase::ComponentMutex()
{
    InitComponentMutex();
    return *componentMutex;
}

ComponentBase::InstanceType ComponentBase::NewInstanceType() noexcept { return newInstanceType; }
void ComponentBase::SetNewInstanceType (InstanceType type) noexcept { newInstanceType = type; }

void* CMgrGetComponentInstanceStorage (AudioComponentInstance instance)
{
    std::call_once (componentMgrOnce, LoadComponentManagerSymbols);
    if (getInstanceStorage == nullptr)
        return nullptr;
    return reinterpret_cast<void*> (getInstanceStorage (instance));
}

void CMgrSetComponentInstanceStorage (AudioComponentInstance instance, void* object)
{
    std::call_once (componentMgrOnce, LoadComponentManagerSymbols);
    if (setInstanceStorage != nullptr)
        setInstanceStorage (instance, reinterpret_cast<Handle> (object));
}
} // namespace kelmora::au
