#pragma once

// The GUI interface a plug-in answers to the host (kAAXID_EffectGUI). The library's base class
// kelmora::aax::AAX_CEffectGUI implements it. Slot n is method number n.

#include "platform/aax/IACFUnknown.h"
#include "platform/aax/AAXTypes.h"

// The library's string interface (formats/aax/AAX_IString.h); the host only passes it by pointer.
namespace kelmora::aax { class AAX_IString; }

class AAX_IACFEffectGUI : public IACFUnknown
{
public:
    virtual AAX_Result Initialize (IACFUnknown* controller) = 0;                                       // 3
    virtual AAX_Result Uninitialize() = 0;                                                             // 4
    virtual AAX_Result NotificationReceived (uint32_t type, const void* data, uint32_t size) = 0;      // 5
    virtual AAX_Result SetViewContainer (IACFUnknown* viewContainer) = 0;                              // 6
    virtual AAX_Result GetViewSize (AAX_Point* size) const = 0;                                        // 7
    virtual AAX_Result Draw (AAX_Rect* area) = 0;                                                      // 8
    virtual AAX_Result TimerWakeup() = 0;                                                              // 9
    virtual AAX_Result ParameterUpdated (const char* parameterID) = 0;                                 // 10
    virtual AAX_Result GetCustomLabel (int32_t selector, kelmora::aax::AAX_IString* label) const = 0;  // 11
    virtual AAX_Result SetControlHighlightInfo (const char* parameterID, bool highlighted,
                                                AAX_HighlightColor color) = 0;                         // 12
    // Host operations whose meaning the plug-in does not use; the base answers 0.
    virtual AAX_Result GUIOperation13() = 0;                                                           // 13
    virtual AAX_Result GUIOperation14() = 0;                                                           // 14

protected:
    ~AAX_IACFEffectGUI() = default;
};
