#include "formats/aax/AAX_VViewContainer.h"

#include "formats/aax/AAX_HostInterfaces.h"
#include "platform/aax/AAXConstants.h"

namespace kelmora::aax {

AAX_VViewContainer::AAX_VViewContainer (IACFUnknown* unknown)
    : container (QueryHostInterface<IAAXHostViewContainer> (unknown, kAAXID_ViewContainer))
{
}

AAX_VViewContainer::~AAX_VViewContainer() { ReleaseHostInterface (container); }

int32_t AAX_VViewContainer::GetType()
{
    return container != nullptr ? container->GetType() : kAAXViewContainer_None;
}

void* AAX_VViewContainer::GetPtr() { return container != nullptr ? container->GetPtr() : nullptr; }

AAX_Result AAX_VViewContainer::GetModifiers (uint32_t* modifiers)
{
    return container != nullptr ? container->GetModifiers (modifiers) : kAAXNotSupported;
}

AAX_Result AAX_VViewContainer::SetViewSize (AAX_Point& size)
{
    return container != nullptr ? container->SetViewSize (size) : kAAXSuccess;
}

AAX_Result AAX_VViewContainer::HandleParameterMouseDown (const char* id, uint32_t modifiers)
{
    return container != nullptr ? container->HandleParameterMouseDown (id, modifiers) : kAAXNotSupported;
}

AAX_Result AAX_VViewContainer::HandleParameterMouseDrag (const char* id, uint32_t modifiers)
{
    return container != nullptr ? container->HandleParameterMouseDrag (id, modifiers) : kAAXNotSupported;
}

AAX_Result AAX_VViewContainer::HandleParameterMouseUp (const char* id, uint32_t modifiers)
{
    return container != nullptr ? container->HandleParameterMouseUp (id, modifiers) : kAAXNotSupported;
}

} // namespace kelmora::aax
