#pragma once

// Helpers for holding host interfaces: creating a host object through the host's component
// factory, querying an interface (null when refused), and giving a reference back.

#include "platform/aax/IACFUnknown.h"

namespace kelmora::aax {

/** Queries the host unknown for its component factory and asks it for a new object of the class,
    handing out the requested interface; the factory is released in every case. Leaves *out null
    and answers an error when the host, its factory or the class is missing. */
ACFResult CreateHostObject (IACFUnknown* host, const acfUID& classID, const acfUID& interfaceID, void** out);

template <class Interface>
Interface* CreateHostObject (IACFUnknown* host, const acfUID& classID, const acfUID& interfaceID)
{
    void* made = nullptr;

    if (CreateHostObject (host, classID, interfaceID, &made) != kAAXSuccess)
        return nullptr;

    return static_cast<Interface*> (made);
}

/** The object's interface for the identifier with one reference, or null. */
template <class Interface>
Interface* QueryHostInterface (IACFUnknown* object, const acfUID& interfaceID)
{
    if (object == nullptr)
        return nullptr;

    void* answer = nullptr;

    if (object->QueryInterface (interfaceID, &answer) != kAAXSuccess)
        return nullptr;

    return static_cast<Interface*> (answer);
}

template <class Interface>
void ReleaseHostInterface (Interface*& object)
{
    if (object != nullptr)
    {
        auto* held = object;
        object = nullptr;
        held->Release();
    }
}

} // namespace kelmora::aax
