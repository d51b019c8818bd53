#include "formats/aax/AAX_VCollection.h"

#include "formats/aax/AAX_HostInterfaces.h"

#include <memory>

namespace kelmora::aax {

AAX_VCollection::AAX_VCollection (IACFUnknown* hostUnknown) : host (hostUnknown)
{
    if (host != nullptr)
        host->AddRef();

    collection = CreateHostObject<IAAXHostCollection> (host, kAAXID_CollectionClass, kAAXID_Collection);
}

AAX_VCollection::~AAX_VCollection()
{
    for (auto* descriptor : effectDescriptors)
        delete descriptor;

    for (auto* map : propertyMaps)
        delete map;

    effectDescriptors.clear();
    propertyMaps.clear();
    ReleaseHostInterface (collection);
    ReleaseHostInterface (host);
}

#define FORWARD(call) return collection != nullptr ? collection->call : kAAXNullObject

AAX_IEffectDescriptor* AAX_VCollection::NewDescriptor()
{
    auto descriptor = std::make_unique<AAX_VEffectDescriptor> (host);
    effectDescriptors.push_back (descriptor.get());
    return descriptor.release();
}

AAX_Result AAX_VCollection::AddEffect (const char* effectID, AAX_IEffectDescriptor* descriptor)
{
    if (descriptor == nullptr)
        return kAAXNullObject;

    FORWARD (AddEffect (effectID, descriptor->GetIUnknown()));
}

AAX_Result AAX_VCollection::SetManufacturerName (const char* name) { FORWARD (SetManufacturerName (name)); }
AAX_Result AAX_VCollection::AddPackageName (const char* name) { FORWARD (AddPackageName (name)); }
AAX_Result AAX_VCollection::SetPackageVersion (uint32_t version) { FORWARD (SetPackageVersion (version)); }

AAX_IPropertyMap* AAX_VCollection::NewPropertyMap()
{
    auto map = std::make_unique<AAX_VPropertyMap> (host);
    propertyMaps.push_back (map.get());
    return map.release();
}

AAX_Result AAX_VCollection::SetProperties (AAX_IPropertyMap* properties)
{
    FORWARD (SetProperties (properties != nullptr ? properties->GetIUnknown() : nullptr));
}

#undef FORWARD

IACFUnknown* AAX_VCollection::GetIUnknown() const { return collection; }

} // namespace kelmora::aax
