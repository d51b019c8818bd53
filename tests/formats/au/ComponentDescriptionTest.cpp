// The framework look-ups happen once per process: this program has only the Component Manager, so
// audio-component instances fall back to it. The unit tests have only the audio-component framework.

#include "formats/au/ComponentBase.h"
#include "platform/au/FrameworkHooks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

using namespace kelmora::au;

namespace
{
int instances[3];
AudioComponentInstance InstanceAt (int i) { return reinterpret_cast<AudioComponentInstance> (&instances[i]); }

OSErr ComponentInfo (Component component, ComponentDescription* out, Handle, Handle, Handle)
{
    if (reinterpret_cast<AudioComponentInstance> (component) == InstanceAt (2))
        return -50;
    *out = { 0x61756678 /* 'aufx' */, 0x636D6772 /* 'cmgr' */, 0x4F72766C /* 'Orvl' */, 1, 2 };
    return 0;
}
std::map<ComponentInstance, Handle> storage;
Handle GetStorage (ComponentInstance instance) { return storage[instance]; }
void SetStorage (ComponentInstance instance, Handle h) { storage[instance] = h; }
const CoreServicesHooks coreServices { GetStorage, ComponentInfo, SetStorage };

struct InstallHooks
{
    InstallHooks() { PlatformInstallCoreServicesHooks (&coreServices); }
} installHooksBeforeAnyUnit;

AudioComponentDescription DescribeUnitBuiltAs (ComponentBase::InstanceType type, int instance)
{
    std::lock_guard<std::recursive_mutex> lock (ComponentBase::ComponentMutex());
    ComponentBase::SetNewInstanceType (type);
    ComponentBase unit (InstanceAt (instance));
    EXPECT_EQ (type, unit.GetInstanceType());
    return unit.GetComponentDescription();
}
} // namespace

TEST (ComponentDescription, WithoutTheAudioComponentFrameworkBothRoutesAskTheComponentManager)
{
    EXPECT_EQ (0x636D6772u, DescribeUnitBuiltAs (ComponentBase::kAudioComponentInstance, 0).componentSubType);
    const auto direct = DescribeUnitBuiltAs (ComponentBase::kComponentMgrInstance, 1);
    EXPECT_EQ (0x636D6772u, direct.componentSubType);
    EXPECT_EQ (1u, direct.componentFlags);

    const AudioComponentDescription zeros {};
    for (auto type : { ComponentBase::kAudioComponentInstance, ComponentBase::kComponentMgrInstance })
    {
        const auto failed = DescribeUnitBuiltAs (type, 2);
        EXPECT_EQ (0, std::memcmp (&zeros, &failed, sizeof zeros)) << "a failed query answers zeros";
    }

    int object = 0;
    CMgrSetComponentInstanceStorage (InstanceAt (1), &object);
    EXPECT_EQ (&object, CMgrGetComponentInstanceStorage (InstanceAt (1)));
}
