#include "formats/aax/AAX_VEffectDescriptor.h"

#include "formats/aax/AAX_HostInterfaces.h"

#include <memory>

namespace kelmora::aax {

AAX_VEffectDescriptor::AAX_VEffectDescriptor (IACFUnknown* hostUnknown) : host (hostUnknown)
{
    if (host != nullptr)
        host->AddRef();

    descriptor = CreateHostObject<IAAXHostEffectDescriptor> (host, kAAXID_EffectDescriptorClass, kAAXID_EffectDescriptor);
    descriptorV2 = QueryHostInterface<IAAXHostEffectDescriptor_V2> (descriptor, kAAXID_EffectDescriptor_V2);
}

AAX_VEffectDescriptor::~AAX_VEffectDescriptor()
{
    for (auto* component : componentDescriptors)
        delete component;

    for (auto* map : propertyMaps)
        delete map;

    componentDescriptors.clear();
    propertyMaps.clear();
    ReleaseHostInterface (descriptorV2);
    ReleaseHostInterface (descriptor);
    ReleaseHostInterface (host);
}

static IACFUnknown* hostObjectOf (AAX_IPropertyMap* map) { return map != nullptr ? map->GetIUnknown() : nullptr; }

#define FORWARD(call) return descriptor != nullptr ? descriptor->call : kAAXNullObject

AAX_IComponentDescriptor* AAX_VEffectDescriptor::NewComponentDescriptor()
{
    auto component = std::make_unique<AAX_VComponentDescriptor> (host);
    componentDescriptors.push_back (component.get());
    return component.release();
}

AAX_Result AAX_VEffectDescriptor::AddComponent (AAX_IComponentDescriptor* component)
{
    FORWARD (AddComponent (component != nullptr ? component->GetIUnknown() : nullptr));
}

AAX_Result AAX_VEffectDescriptor::AddName (const char* name) { FORWARD (AddName (name)); }
AAX_Result AAX_VEffectDescriptor::AddCategory (uint32_t category) { FORWARD (AddCategory (category)); }

AAX_Result AAX_VEffectDescriptor::AddCategoryBypassParameter (uint32_t category, const char* parameterID)
{
    FORWARD (AddCategoryBypassParameter (category, parameterID));
}

AAX_Result AAX_VEffectDescriptor::AddProcPtr (void* procedure, AAX_ProcedureID procedureID)
{
    FORWARD (AddProcPtr (procedure, procedureID));
}

AAX_IPropertyMap* AAX_VEffectDescriptor::NewPropertyMap()
{
    auto map = std::make_unique<AAX_VPropertyMap> (host);
    propertyMaps.push_back (map.get());
    return map.release();
}

AAX_Result AAX_VEffectDescriptor::SetProperties (AAX_IPropertyMap* properties)
{
    FORWARD (SetProperties (hostObjectOf (properties)));
}

AAX_Result AAX_VEffectDescriptor::AddResourceInfo (uint32_t type, const char* info) { FORWARD (AddResourceInfo (type, info)); }

AAX_Result AAX_VEffectDescriptor::AddMeterDescription (uint32_t meterID, const char* name, AAX_IPropertyMap* properties)
{
    FORWARD (AddMeterDescription (meterID, name, hostObjectOf (properties)));
}

AAX_Result AAX_VEffectDescriptor::AddControlMIDINode (uint32_t nodeID, uint32_t nodeType, const char* name,
                                                      uint32_t channelMask)
{
    return descriptorV2 != nullptr ? descriptorV2->AddControlMIDINode (nodeID, nodeType, name, channelMask)
                                   : kAAXNotSupported;
}

#undef FORWARD

IACFUnknown* AAX_VEffectDescriptor::GetIUnknown() const { return descriptor; }

} // namespace kelmora::aax
