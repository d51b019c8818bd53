#pragma once

// The base interface of every object of the AAX host protocol, plus the two host objects the
// module reaches through it at load time: the component factory and the plug-in definition.
// Slot n of each class is method number n of the protocol (counted over the whole table, so the
// first method after Release is 3). No virtual destructors: an object is destroyed by its owner
// when Release brings its count to 0, never through these interfaces.

#include "platform/aax/ACFUID.h"
#include "platform/aax/AAXResults.h"

class IACFUnknown
{
public:
    virtual ACFResult QueryInterface (const acfUID& interfaceID, void** out) = 0;  // 0
    virtual uint32_t AddRef() = 0;                                                 // 1: the new count
    virtual uint32_t Release() = 0;                                                // 2: the new count

protected:
    ~IACFUnknown() = default;
};

/** The host's component factory (kAAXID_HostComponentFactory). */
class IAAXHostComponentFactory : public IACFUnknown
{
public:
    /** Makes a host object of the given class and hands out its interface with one reference. */
    virtual ACFResult CreateInstance (const acfUID& classID, IACFUnknown* outer,
                                      const acfUID& interfaceID, void** out) = 0;  // 3

protected:
    ~IAAXHostComponentFactory() = default;
};

/** The plug-in definition (kAAXID_PluginDefinition): ACFRegisterPlugin hands it to the host. */
class IAAXHostPluginDefinition : public IACFUnknown
{
protected:
    ~IAAXHostPluginDefinition() = default;
};
