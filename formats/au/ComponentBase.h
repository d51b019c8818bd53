#pragma once

#include "platform/au/AudioUnitTypes.h"

#include <mutex>

namespace kelmora::au
{
/** The root of every Audio Unit object: the host's instance handle and the route that built it.

    Units are constructed only while the component mutex is held and the new-instance type is set
    to the building route's type; the constructor copies that type.
*/
class ComponentBase
{
public:
    enum InstanceType : UInt32
    {
        kComponentMgrInstance = 0,  // built through the Component Manager entry
        kAudioComponentInstance = 1 // built through the factory record
    };

    explicit ComponentBase (AudioComponentInstance instance);
    virtual ~ComponentBase() = default;

    ComponentBase (const ComponentBase&) = delete;
    ComponentBase& operator= (const ComponentBase&) = delete;

    virtual void PostConstructor() {}
    virtual void PreDestructor() {}
    virtual OSStatus Version() { return 1; }

    AudioComponentInstance GetComponentInstance() const noexcept { return mComponentInstance; }
    InstanceType GetInstanceType() const noexcept { return mInstanceType; }

    /** The unit's type, subtype and manufacturer as the system reports them; all zero when it cannot. */
    AudioComponentDescription GetComponentDescription() const;

    // The process-wide recursive mutex held while a unit is constructed, and the type the next
    // constructed unit takes (read and written only while the mutex is held).
    static void InitComponentMutex();
    static std::recursive_mutex& ComponentMutex();
    static InstanceType NewInstanceType() noexcept;
    static void SetNewInstanceType (InstanceType type) noexcept;

    // The record functions of the factory route (self: the record, the unit at self + 64) and
    // the Component Manager selectors every component answers (close, can-do, version).
    static OSStatus AP_Open (void* self, AudioComponentInstance instance);
    static OSStatus AP_Close (void* self);
    static OSStatus ComponentEntryDispatch (ComponentParameters* params, ComponentBase* object);

private:
    AudioComponentInstance mComponentInstance;
    InstanceType mInstanceType;
};

// The storage the Component Manager keeps for an instance, or null without the Component Manager.
void* CMgrGetComponentInstanceStorage (AudioComponentInstance instance);
void CMgrSetComponentInstanceStorage (AudioComponentInstance instance, void* object);
} // namespace kelmora::au
