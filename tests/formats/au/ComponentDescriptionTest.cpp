// Built three times: with no framework hooks, with only the Component Manager ones, and with all.

#include "formats/au/ComponentBase.h"
#include "platform/au/FrameworkHooks.h"

#include <gtest/gtest.h>

#include <map>

using namespace kelmora::au;

namespace
{
constexpr OSType typeEffect = 0x61756678;  // 'aufx'

int instances[4];
AudioComponentInstance instanceAt (int i) { return reinterpret_cast<AudioComponentInstance> (&instances[i]); }
// instance 3 belongs to no component; instance 2's component cannot describe itself
AudioComponent componentOf (AudioComponentInstance instance)
{
    return instance == instanceAt (3) ? nullptr : reinterpret_cast<AudioComponent> (instance);
}
OSStatus describe (AudioComponent component, AudioComponentDescription* out)
{
    if (reinterpret_cast<AudioComponentInstance> (component) == instanceAt (2))
        return -1;
    *out = { typeEffect, 0x4F713162 /* 'Oq1b' */, 0x4F72766C /* 'Orvl' */, 0, 0 };
    return 0;
}
OSErr componentInfo (Component component, ComponentDescription* out, Handle, Handle, Handle)
{
    if (reinterpret_cast<AudioComponentInstance> (component) == instanceAt (2))
        return -50;
    *out = { typeEffect, 0x636D6772 /* 'cmgr' */, 0x4F72766C, 1, 2 };
    return 0;
}
std::map<ComponentInstance, Handle> storage;
Handle getStorage (ComponentInstance instance) { return storage[instance]; }
void setStorage (ComponentInstance instance, Handle h) { storage[instance] = h; }

const AudioToolboxHooks audioToolbox { componentOf, describe };
const CoreServicesHooks coreServices { getStorage, componentInfo, setStorage };

struct InstallHooks
{
    InstallHooks()
    {
#if defined(INSTALLED_HOOKS_all)
        PlatformInstallAudioToolboxHooks (&audioToolbox);
#endif
#if defined(INSTALLED_HOOKS_all) || defined(INSTALLED_HOOKS_services)
        PlatformInstallCoreServicesHooks (&coreServices);
#endif
    }
} installHooksBeforeAnyUnit;

AudioComponentDescription describeUnitBuiltAs (ComponentBase::InstanceType type, int instance)
{
    std::lock_guard<std::recursive_mutex> lock (ComponentBase::ComponentMutex());
    const auto saved = ComponentBase::NewInstanceType();
    ComponentBase::SetNewInstanceType (type);
    ComponentBase unit (instanceAt (instance));
    ComponentBase::SetNewInstanceType (saved);
    EXPECT_EQ (type, unit.GetInstanceType());
    EXPECT_EQ (1, unit.Version());
    return unit.GetComponentDescription();
}

[[maybe_unused]] bool isZero (const AudioComponentDescription& d)
{
    return d.componentType == 0 && d.componentSubType == 0 && d.componentManufacturer == 0 && d.componentFlags == 0
           && d.componentFlagsMask == 0;
}
} // namespace

#if defined(INSTALLED_HOOKS_all)
TEST (ComponentDescription, EachRouteAsksItsOwnFramework)
{
    EXPECT_EQ (0x4F713162u, describeUnitBuiltAs (ComponentBase::kAudioComponentInstance, 0).componentSubType);
    const auto cmgr = describeUnitBuiltAs (ComponentBase::kComponentMgrInstance, 0);
    EXPECT_EQ (0x636D6772u, cmgr.componentSubType);
    EXPECT_EQ (1u, cmgr.componentFlags);
}

TEST (ComponentDescription, FailedQueriesAnswerZeros)
{
    EXPECT_TRUE (isZero (describeUnitBuiltAs (ComponentBase::kAudioComponentInstance, 2)));
    EXPECT_TRUE (isZero (describeUnitBuiltAs (ComponentBase::kAudioComponentInstance, 3)));
    EXPECT_TRUE (isZero (describeUnitBuiltAs (ComponentBase::kComponentMgrInstance, 2)));
}

TEST (ComponentDescription, InstanceStorageGoesThroughTheComponentManager)
{
    int object = 0;
    CMgrSetComponentInstanceStorage (instanceAt (1), &object);
    EXPECT_EQ (&object, CMgrGetComponentInstanceStorage (instanceAt (1)));
}
#elif defined(INSTALLED_HOOKS_services)
TEST (ComponentDescription, AudioComponentInstancesFallBackToTheComponentManager)
{
    EXPECT_EQ (0x636D6772u, describeUnitBuiltAs (ComponentBase::kAudioComponentInstance, 0).componentSubType);
    EXPECT_EQ (0x636D6772u, describeUnitBuiltAs (ComponentBase::kComponentMgrInstance, 1).componentSubType);
}
#else
TEST (ComponentDescription, WithoutFrameworksEverythingIsZero)
{
    EXPECT_TRUE (isZero (describeUnitBuiltAs (ComponentBase::kAudioComponentInstance, 0)));
    EXPECT_TRUE (isZero (describeUnitBuiltAs (ComponentBase::kComponentMgrInstance, 0)));
    int object = 0;
    CMgrSetComponentInstanceStorage (instanceAt (1), &object);
    EXPECT_EQ (nullptr, CMgrGetComponentInstanceStorage (instanceAt (1)));
}
#endif
