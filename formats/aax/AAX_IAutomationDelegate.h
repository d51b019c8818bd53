#pragma once

// The plug-in's view of the host's parameter automation: registration, set requests, current
// values and touch gestures. Parameter identifiers are NUL-terminated texts.
// AAX_VAutomationDelegate implements it on the host's automation-delegate interface.

#include "platform/aax/AAXResults.h"

namespace kelmora::aax {

class AAX_IAutomationDelegate
{
public:
    virtual ~AAX_IAutomationDelegate() = default;

    virtual AAX_Result RegisterParameter (const char* parameterID) const = 0;
    virtual AAX_Result UnregisterParameter (const char* parameterID) const = 0;
    virtual AAX_Result PostSetValueRequest (const char* parameterID, double normalizedValue) const = 0;
    virtual AAX_Result PostCurrentValue (const char* parameterID, double normalizedValue) const = 0;
    virtual AAX_Result PostTouchRequest (const char* parameterID) const = 0;
    virtual AAX_Result PostReleaseRequest (const char* parameterID) const = 0;
    virtual AAX_Result GetTouchState (const char* parameterID, bool* touched) const = 0;
};

} // namespace kelmora::aax
