#pragma once

// The plug-in's package as it describes itself: its effects, maker, names and version. The
// description routine receives one; AAX_VCollection implements it on a host collection and owns
// every descriptor and property map made through it.

#include "formats/aax/AAX_IEffectDescriptor.h"

namespace kelmora::aax {

class AAX_ICollection
{
public:
    virtual ~AAX_ICollection() = default;

    virtual AAX_IEffectDescriptor* NewDescriptor() = 0;
    virtual AAX_Result AddEffect (const char* effectID, AAX_IEffectDescriptor* descriptor) = 0;
    virtual AAX_Result SetManufacturerName (const char* name) = 0;
    virtual AAX_Result AddPackageName (const char* name) = 0;
    virtual AAX_Result SetPackageVersion (uint32_t version) = 0;
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;
    virtual AAX_Result SetProperties (AAX_IPropertyMap* properties) = 0;
};

} // namespace kelmora::aax
