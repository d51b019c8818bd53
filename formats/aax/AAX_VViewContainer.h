#pragma once

// The host window the GUI lives in, made on the container object the host hands to
// SetViewContainer. Without the host's interface: type 0, no window, SetViewSize 0 and -20009
// for the other operations.

#include "formats/aax/AAX_IViewContainer.h"
#include "platform/aax/IAAXHostRuntime.h"

namespace kelmora::aax {

class AAX_VViewContainer : public AAX_IViewContainer
{
public:
    explicit AAX_VViewContainer (IACFUnknown* unknown);
    ~AAX_VViewContainer() override;

    int32_t GetType() override;
    void* GetPtr() override;
    AAX_Result GetModifiers (uint32_t* modifiers) override;
    AAX_Result SetViewSize (AAX_Point& size) override;
    AAX_Result HandleParameterMouseDown (const char* parameterID, uint32_t modifiers) override;
    AAX_Result HandleParameterMouseDrag (const char* parameterID, uint32_t modifiers) override;
    AAX_Result HandleParameterMouseUp (const char* parameterID, uint32_t modifiers) override;

    AAX_VViewContainer (const AAX_VViewContainer&) = delete;
    AAX_VViewContainer& operator= (const AAX_VViewContainer&) = delete;

private:
    IAAXHostViewContainer* container = nullptr;
};

} // namespace kelmora::aax
