#pragma once

// One effect of the plug-in's description: its components, names, categories, procedures,
// properties and meters. AAX_VEffectDescriptor implements it on a host effect descriptor.

#include "formats/aax/AAX_IComponentDescriptor.h"

namespace kelmora::aax {

class AAX_IEffectDescriptor
{
public:
    virtual ~AAX_IEffectDescriptor() = default;

    virtual AAX_IComponentDescriptor* NewComponentDescriptor() = 0;
    virtual AAX_Result AddComponent (AAX_IComponentDescriptor* component) = 0;
    virtual AAX_Result AddName (const char* name) = 0;
    virtual AAX_Result AddCategory (uint32_t category) = 0;
    virtual AAX_Result AddCategoryBypassParameter (uint32_t category, const char* parameterID) = 0;
    virtual AAX_Result AddProcPtr (void* procedure, AAX_ProcedureID procedureID) = 0;
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;
    virtual AAX_Result SetProperties (AAX_IPropertyMap* properties) = 0;
    virtual AAX_Result AddResourceInfo (uint32_t type, const char* info) = 0;
    virtual AAX_Result AddMeterDescription (uint32_t meterID, const char* name, AAX_IPropertyMap* properties) = 0;
    virtual AAX_Result AddControlMIDINode (uint32_t nodeID, uint32_t nodeType, const char* name, uint32_t channelMask) = 0;

    /** The host object behind the descriptor (its first version; null without one). */
    virtual IACFUnknown* GetIUnknown() const = 0;
};

} // namespace kelmora::aax
