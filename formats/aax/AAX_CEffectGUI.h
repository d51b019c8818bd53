#pragma once

// The base of a plug-in's GUI object. Initialize makes the controller and transport proxies on the
// host's unknown and fetches the plug-in's own effect-parameters interface through it; the host's
// window arrives through SetViewContainer. A derived class supplies the three view operations.
// The host calls everything here on its user-interface thread.

#include "formats/aax/AAX_IEffectGUI.h"
#include "formats/aax/AAX_VController.h"
#include "formats/aax/AAX_VTransport.h"
#include "formats/aax/AAX_VViewContainer.h"
#include "platform/aax/AAX_IACFEffectParameters.h"

#include <memory>

namespace kelmora::aax {

class AAX_CEffectGUI : public AAX_IEffectGUI
{
public:
    AAX_CEffectGUI();

    /** Makes the controller proxy, answers -20011 for a null unknown, then fetches the effect
        parameters, makes the transport proxy and calls CreateViewContents. A second call first
        gives back what the first one made. */
    AAX_Result Initialize (IACFUnknown* controller) override;
    AAX_Result Uninitialize() override;
    AAX_Result NotificationReceived (uint32_t type, const void* data, uint32_t size) override;

    /** A container: replaces the view-container proxy, then CreateViewContainer and
        UpdateAllParameters. Null: drops the proxy, then DeleteViewContainer. */
    AAX_Result SetViewContainer (IACFUnknown* viewContainer) override;
    AAX_Result GetViewSize (AAX_Point* size) const override;
    AAX_Result Draw (AAX_Rect* area) override;
    AAX_Result TimerWakeup() override;
    AAX_Result ParameterUpdated (const char* parameterID) override;
    AAX_Result GetCustomLabel (int32_t selector, AAX_IString* label) const override;
    AAX_Result SetControlHighlightInfo (const char* parameterID, bool highlighted, AAX_HighlightColor color) override;
    AAX_Result GUIOperation13() override;
    AAX_Result GUIOperation14() override;

    ACFResult InternalQueryInterface (const acfUID& interfaceID, void** out) override;

    /** Uninitializes and gives back the view container, if one is still attached. */
    ~AAX_CEffectGUI() override;

    /** Calls ParameterUpdated for every parameter of the effect, in index order. */
    virtual void UpdateAllParameters();

    AAX_IACFEffectParameters* GetEffectParameters() const { return effectParameters; }
    AAX_VViewContainer* GetViewContainer() const { return viewContainer.get(); }
    int32_t GetViewContainerType() const;
    void* GetViewContainerPtr() const;

protected:
    virtual void CreateViewContents() = 0;
    virtual void CreateViewContainer() = 0;
    virtual void DeleteViewContainer() = 0;

private:
    std::unique_ptr<AAX_VController> controller;
    AAX_IACFEffectParameters* effectParameters = nullptr;
    std::unique_ptr<AAX_VViewContainer> viewContainer;
    std::unique_ptr<AAX_VTransport> transport;
};

} // namespace kelmora::aax
