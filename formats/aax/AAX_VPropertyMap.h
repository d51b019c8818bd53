#pragma once

// A property map made through the host's component factory. Without the host's map the writing
// operations answer -20004 and the reading ones false; without its second version the two
// identifier-array operations answer -20009 and false.

#include "formats/aax/AAX_IPropertyMap.h"
#include "platform/aax/IAAXHostDescription.h"

namespace kelmora::aax {

class AAX_VPropertyMap : public AAX_IPropertyMap
{
public:
    explicit AAX_VPropertyMap (IACFUnknown* host);
    ~AAX_VPropertyMap() override;

    bool GetProperty (uint32_t property, int32_t* value) const override;
    AAX_Result AddProperty (uint32_t property, int32_t value) override;
    AAX_Result RemoveProperty (uint32_t property) override;
    AAX_Result AddPropertyWithIDArray (uint32_t property, const AAX_IdentifierTriad* ids, uint32_t count) override;
    bool GetPropertyWithIDArray (uint32_t property, const AAX_IdentifierTriad** ids, uint32_t* count) const override;
    IACFUnknown* GetIUnknown() const override;

    AAX_VPropertyMap (const AAX_VPropertyMap&) = delete;
    AAX_VPropertyMap& operator= (const AAX_VPropertyMap&) = delete;

private:
    IAAXHostPropertyMap* map = nullptr;
    IAAXHostPropertyMap_V2* mapV2 = nullptr;
};

} // namespace kelmora::aax
