#pragma once

// An effect descriptor made through the host's component factory. It owns the component
// descriptors and property maps made through it and deletes them (components first, each kind
// in the order made) before giving back its host interfaces (second version first, then the
// descriptor, then the host unknown). Without the host's descriptor the operations answer -20004;
// AddControlMIDINode needs the second version and answers -20009 without it.

#include "formats/aax/AAX_IEffectDescriptor.h"
#include "formats/aax/AAX_VComponentDescriptor.h"
#include "formats/aax/AAX_VPropertyMap.h"
#include "platform/aax/IAAXHostDescription.h"

#include <vector>

namespace kelmora::aax {

class AAX_VEffectDescriptor : public AAX_IEffectDescriptor
{
public:
    explicit AAX_VEffectDescriptor (IACFUnknown* host);
    ~AAX_VEffectDescriptor() override;

    AAX_IComponentDescriptor* NewComponentDescriptor() override;
    AAX_Result AddComponent (AAX_IComponentDescriptor* component) override;
    AAX_Result AddName (const char* name) override;
    AAX_Result AddCategory (uint32_t category) override;
    AAX_Result AddCategoryBypassParameter (uint32_t category, const char* parameterID) override;
    AAX_Result AddProcPtr (void* procedure, AAX_ProcedureID procedureID) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    AAX_Result SetProperties (AAX_IPropertyMap* properties) override;
    AAX_Result AddResourceInfo (uint32_t type, const char* info) override;
    AAX_Result AddMeterDescription (uint32_t meterID, const char* name, AAX_IPropertyMap* properties) override;
    AAX_Result AddControlMIDINode (uint32_t nodeID, uint32_t nodeType, const char* name, uint32_t channelMask) override;
    IACFUnknown* GetIUnknown() const override;

    AAX_VEffectDescriptor (const AAX_VEffectDescriptor&) = delete;
    AAX_VEffectDescriptor& operator= (const AAX_VEffectDescriptor&) = delete;

private:
    IACFUnknown* host = nullptr;
    IAAXHostEffectDescriptor* descriptor = nullptr;
    IAAXHostEffectDescriptor_V2* descriptorV2 = nullptr;
    std::vector<AAX_VComponentDescriptor*> componentDescriptors;
    std::vector<AAX_VPropertyMap*> propertyMaps;
};

} // namespace kelmora::aax
