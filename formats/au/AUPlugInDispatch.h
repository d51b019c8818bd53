#pragma once

#include "formats/au/AUBase.h"
#include "formats/au/StatusLadder.h"

#include <new>

namespace kelmora::au
{
/** The record the factory hands a host: the interface the host calls, how to build and destroy
    the unit, and from byte 64 the unit itself. One malloc'ed block. */
struct AUPlugInRecord
{
    AudioComponentPlugInInterface mPlugInInterface;
    void* (*mConstruct) (void* storage, AudioComponentInstance instance);
    void (*mDestruct) (void* storage);
    void* mReserved[2];
};
static_assert (sizeof (AUPlugInRecord) == 64, "the unit starts at byte 64 of the record");

inline void* UnitStorage (void* record) noexcept { return static_cast<Byte*> (record) + sizeof (AUPlugInRecord); }

/** The method for a selector of the factory route, or null. */
AudioComponentMethod AUMethodLookup (SInt16 selector);

/** Allocates and fills a record for a unit of unitSize bytes; null when memory cannot be had. */
AudioComponentPlugInInterface* AUPlugInFactory (size_t unitSize, void* (*construct) (void*, AudioComponentInstance),
                                                void (*destruct) (void*));

/** The Component Manager entry: open builds a unit with create and registers it as the
    instance's storage; everything else goes to the unit in storage. */
OSStatus AUComponentEntryDispatch (ComponentParameters* params, void* storage, AUBase* (*create) (AudioComponentInstance));

/** Both routes for one unit class, whose ComponentBase must sit at its start (true for a class
    derived from AUBase through its first bases). */
template <class Unit>
struct AUComponentEntry
{
    static void* AUInstanceConstruct (void* storage, AudioComponentInstance instance)
    {
        if (storage == nullptr)
            return nullptr;
        auto* unit = new (storage) Unit (instance);
        if (static_cast<void*> (static_cast<ComponentBase*> (unit)) != storage)
        {
            unit->~Unit();
            ThrowStatus (-1);
        }
        return storage;
    }
    static void AUInstanceDestruct (void* storage) { static_cast<Unit*> (static_cast<ComponentBase*> (storage))->~Unit(); }
    static AUBase* Create (AudioComponentInstance instance) { return new Unit (instance); }

    static AudioComponentPlugInInterface* Factory (const AudioComponentDescription*)
    {
        return AUPlugInFactory (sizeof (Unit), &AUInstanceConstruct, &AUInstanceDestruct);
    }
    static OSStatus Entry (ComponentParameters* params, void* storage)
    {
        return AUComponentEntryDispatch (params, storage, &Create);
    }
};
} // namespace kelmora::au
