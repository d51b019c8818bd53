#pragma once

// A set of numbered properties of a plug-in description. AAX_VPropertyMap implements it on a host
// property map; the collection and the descriptors that make one own it.

#include "platform/aax/AAXTypes.h"
#include "platform/aax/IACFUnknown.h"

namespace kelmora::aax {

class AAX_IPropertyMap
{
public:
    virtual ~AAX_IPropertyMap() = default;

    virtual bool GetProperty (uint32_t property, int32_t* value) const = 0;
    virtual AAX_Result AddProperty (uint32_t property, int32_t value) = 0;
    virtual AAX_Result RemoveProperty (uint32_t property) = 0;
    virtual AAX_Result AddPropertyWithIDArray (uint32_t property, const AAX_IdentifierTriad* ids, uint32_t count) = 0;
    virtual bool GetPropertyWithIDArray (uint32_t property, const AAX_IdentifierTriad** ids, uint32_t* count) const = 0;

    /** The host object behind the map (null without one). */
    virtual IACFUnknown* GetIUnknown() const = 0;
};

} // namespace kelmora::aax
