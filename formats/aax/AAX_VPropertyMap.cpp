#include "formats/aax/AAX_VPropertyMap.h"

#include "formats/aax/AAX_HostInterfaces.h"

namespace kelmora::aax {

AAX_VPropertyMap::AAX_VPropertyMap (IACFUnknown* host)
    : map (CreateHostObject<IAAXHostPropertyMap> (host, kAAXID_PropertyMapClass, kAAXID_PropertyMap)),
      mapV2 (QueryHostInterface<IAAXHostPropertyMap_V2> (map, kAAXID_PropertyMap_V2))
{
}

AAX_VPropertyMap::~AAX_VPropertyMap()
{
    ReleaseHostInterface (mapV2);
    ReleaseHostInterface (map);
}

// The host answers its boolean in the low byte of a 32-bit value.
static bool lowByte (int32_t answer) { return (answer & 0xFF) != 0; }

bool AAX_VPropertyMap::GetProperty (uint32_t property, int32_t* value) const
{
    return map != nullptr && lowByte (map->GetProperty (property, value));
}

AAX_Result AAX_VPropertyMap::AddProperty (uint32_t property, int32_t value)
{
    return map != nullptr ? map->AddProperty (property, value) : kAAXNullObject;
}

AAX_Result AAX_VPropertyMap::RemoveProperty (uint32_t property)
{
    return map != nullptr ? map->RemoveProperty (property) : kAAXNullObject;
}

AAX_Result AAX_VPropertyMap::AddPropertyWithIDArray (uint32_t property, const AAX_IdentifierTriad* ids, uint32_t count)
{
    return mapV2 != nullptr ? mapV2->AddPropertyWithIDArray (property, ids, count) : kAAXNotSupported;
}

bool AAX_VPropertyMap::GetPropertyWithIDArray (uint32_t property, const AAX_IdentifierTriad** ids, uint32_t* count) const
{
    return mapV2 != nullptr && lowByte (mapV2->GetPropertyWithIDArray (property, ids, count));
}

IACFUnknown* AAX_VPropertyMap::GetIUnknown() const { return map; }

} // namespace kelmora::aax
