#include "formats/aax/AAX_CEffectGUI.h"

#include "formats/aax/AAX_CString.h"
#include "formats/aax/AAX_HostInterfaces.h"

namespace kelmora::aax {

AAX_CEffectGUI::AAX_CEffectGUI() = default;

AAX_CEffectGUI::~AAX_CEffectGUI()
{
    AAX_CEffectGUI::Uninitialize();
    viewContainer.reset();
}

AAX_Result AAX_CEffectGUI::Initialize (IACFUnknown* unknown)
{
    // A host that initialises twice must not leave the first proxies and reference behind.
    AAX_CEffectGUI::Uninitialize();

    controller = std::make_unique<AAX_VController> (unknown);

    if (unknown == nullptr)
        return kAAXNoController;

    effectParameters = QueryHostInterface<AAX_IACFEffectParameters> (unknown, kAAXID_EffectParameters);
    transport = std::make_unique<AAX_VTransport> (unknown);
    CreateViewContents();
    return kAAXSuccess;
}

AAX_Result AAX_CEffectGUI::Uninitialize()
{
    ReleaseHostInterface (effectParameters);
    controller.reset();
    transport.reset();
    return kAAXSuccess;
}

AAX_Result AAX_CEffectGUI::NotificationReceived (uint32_t, const void*, uint32_t) { return kAAXSuccess; }

AAX_Result AAX_CEffectGUI::SetViewContainer (IACFUnknown* container)
{
    if (container != nullptr)
    {
        viewContainer.reset();
        viewContainer = std::make_unique<AAX_VViewContainer> (container);
        CreateViewContainer();
        UpdateAllParameters();
    }
    else
    {
        viewContainer.reset();
        DeleteViewContainer();
    }

    return kAAXSuccess;
}

AAX_Result AAX_CEffectGUI::GetViewSize (AAX_Point*) const { return kAAXSuccess; }
AAX_Result AAX_CEffectGUI::Draw (AAX_Rect*) { return kAAXSuccess; }
AAX_Result AAX_CEffectGUI::TimerWakeup() { return kAAXSuccess; }
AAX_Result AAX_CEffectGUI::ParameterUpdated (const char*) { return kAAXSuccess; }
AAX_Result AAX_CEffectGUI::GetCustomLabel (int32_t, AAX_IString*) const { return kAAXNullObject; }

AAX_Result AAX_CEffectGUI::SetControlHighlightInfo (const char*, bool, AAX_HighlightColor) { return kAAXSuccess; }

AAX_Result AAX_CEffectGUI::GUIOperation13() { return kAAXSuccess; }
AAX_Result AAX_CEffectGUI::GUIOperation14() { return kAAXSuccess; }

ACFResult AAX_CEffectGUI::InternalQueryInterface (const acfUID& interfaceID, void** out)
{
    if (out == nullptr)
        return kACFNullPointer;

    if (interfaceID == kAAXID_EffectGUI)
    {
        *out = static_cast<AAX_IACFEffectGUI*> (this);
        AddRef();
        return kAAXSuccess;
    }

    return CACFUnknown::InternalQueryInterface (interfaceID, out);
}

void AAX_CEffectGUI::UpdateAllParameters()
{
    if (effectParameters == nullptr)
        return;

    int32_t count = 0;

    if (effectParameters->GetNumberOfParameters (&count) != kAAXSuccess || count < 0)
        return;

    for (int32_t index = 0; index < count; ++index)
    {
        AAX_CString parameterID;

        if (effectParameters->GetParameterIDFromIndex (index, &parameterID) == kAAXSuccess)
            ParameterUpdated (parameterID.Get());
    }
}

int32_t AAX_CEffectGUI::GetViewContainerType() const
{
    return viewContainer != nullptr ? viewContainer->GetType() : 0;
}

void* AAX_CEffectGUI::GetViewContainerPtr() const
{
    return viewContainer != nullptr ? viewContainer->GetPtr() : nullptr;
}

} // namespace kelmora::aax
