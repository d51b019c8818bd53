#pragma once

// The package description handed to the plug-in's description routine, made through the host's
// component factory. It owns the effect descriptors and property maps made through it and deletes
// them (descriptors first, each kind in the order made) before giving back the host collection and
// the host unknown. Without the host's collection the operations answer -20004, and so does
// AddEffect for a null descriptor.

#include "formats/aax/AAX_ICollection.h"
#include "formats/aax/AAX_VEffectDescriptor.h"
#include "formats/aax/AAX_VPropertyMap.h"
#include "platform/aax/IAAXHostDescription.h"

#include <vector>

namespace kelmora::aax {

class AAX_VCollection : public AAX_ICollection
{
public:
    explicit AAX_VCollection (IACFUnknown* host);
    ~AAX_VCollection() override;

    AAX_IEffectDescriptor* NewDescriptor() override;
    AAX_Result AddEffect (const char* effectID, AAX_IEffectDescriptor* descriptor) override;
    AAX_Result SetManufacturerName (const char* name) override;
    AAX_Result AddPackageName (const char* name) override;
    AAX_Result SetPackageVersion (uint32_t version) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    AAX_Result SetProperties (AAX_IPropertyMap* properties) override;

    /** The host collection (null without one). */
    IACFUnknown* GetIUnknown() const;

    AAX_VCollection (const AAX_VCollection&) = delete;
    AAX_VCollection& operator= (const AAX_VCollection&) = delete;

private:
    IACFUnknown* host = nullptr;
    IAAXHostCollection* collection = nullptr;
    std::vector<AAX_VEffectDescriptor*> effectDescriptors;
    std::vector<AAX_VPropertyMap*> propertyMaps;
};

} // namespace kelmora::aax
