#pragma once

// The library's GUI interface class: the host-visible GUI interface joined with CACFUnknown, whose
// outer unknown answers the three base operations.

#include "formats/aax/CACFUnknown.h"
#include "platform/aax/AAX_IACFEffectGUI.h"

namespace kelmora::aax {

class AAX_IEffectGUI : public AAX_IACFEffectGUI, public CACFUnknown
{
public:
    ACFResult QueryInterface (const acfUID& interfaceID, void** out) override
    {
        return GetOuterIUnknown()->QueryInterface (interfaceID, out);
    }

    uint32_t AddRef() override { return GetOuterIUnknown()->AddRef(); }
    uint32_t Release() override { return GetOuterIUnknown()->Release(); }
};

} // namespace kelmora::aax
