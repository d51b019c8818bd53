#pragma once

#include "formats/aax/CACFUnknown.h"
#include "platform/aax/AAX_IACFEffectParameters.h"

namespace kelmora::aax {

/** The effect-parameters interface joined with the reference-counted object base: its own
    query, AddRef and Release go through the object's controlling unknown. */
class AAX_IEffectParameters : public AAX_IACFEffectParameters_V2, public CACFUnknown
{
public:
    ACFResult QueryInterface (const acfUID& interfaceID, void** out) override
    {
        return GetOuterIUnknown()->QueryInterface (interfaceID, out);
    }

    uint32_t AddRef() override { return GetOuterIUnknown()->AddRef(); }
    uint32_t Release() override { return GetOuterIUnknown()->Release(); }

protected:
    ~AAX_IEffectParameters() override = default;
};

} // namespace kelmora::aax
