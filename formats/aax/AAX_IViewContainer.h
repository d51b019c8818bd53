#pragma once

// The plug-in's view of the window its GUI lives in. AAX_VViewContainer implements it on the
// host's view-container interface.

#include "platform/aax/AAXResults.h"
#include "platform/aax/AAXTypes.h"

namespace kelmora::aax {

class AAX_IViewContainer
{
public:
    virtual ~AAX_IViewContainer() = default;

    virtual int32_t GetType() = 0;     // a view-container type code of AAXConstants.h
    virtual void* GetPtr() = 0;        // the native window
    virtual AAX_Result GetModifiers (uint32_t* modifiers) = 0;
    virtual AAX_Result SetViewSize (AAX_Point& size) = 0;
    virtual AAX_Result HandleParameterMouseDown (const char* parameterID, uint32_t modifiers) = 0;
    virtual AAX_Result HandleParameterMouseDrag (const char* parameterID, uint32_t modifiers) = 0;
    virtual AAX_Result HandleParameterMouseUp (const char* parameterID, uint32_t modifiers) = 0;
};

} // namespace kelmora::aax
