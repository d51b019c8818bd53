#pragma once

// The host's automation delegate as the plug-in sees it, made on the IACFUnknown the host hands
// to an effect. Without the host's interface every operation answers -20004.

#include "formats/aax/AAX_IAutomationDelegate.h"
#include "platform/aax/IAAXHostRuntime.h"

namespace kelmora::aax {

class AAX_VAutomationDelegate : public AAX_IAutomationDelegate
{
public:
    explicit AAX_VAutomationDelegate (IACFUnknown* unknown);
    ~AAX_VAutomationDelegate() override;

    AAX_Result RegisterParameter (const char* parameterID) const override;
    AAX_Result UnregisterParameter (const char* parameterID) const override;
    AAX_Result PostSetValueRequest (const char* parameterID, double normalizedValue) const override;
    AAX_Result PostCurrentValue (const char* parameterID, double normalizedValue) const override;
    AAX_Result PostTouchRequest (const char* parameterID) const override;
    AAX_Result PostReleaseRequest (const char* parameterID) const override;
    AAX_Result GetTouchState (const char* parameterID, bool* touched) const override;

    AAX_VAutomationDelegate (const AAX_VAutomationDelegate&) = delete;
    AAX_VAutomationDelegate& operator= (const AAX_VAutomationDelegate&) = delete;

private:
    IAAXHostAutomationDelegate* delegate = nullptr;
};

} // namespace kelmora::aax
