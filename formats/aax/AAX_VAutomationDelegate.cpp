#include "formats/aax/AAX_VAutomationDelegate.h"

#include "formats/aax/AAX_HostInterfaces.h"

namespace kelmora::aax {

AAX_VAutomationDelegate::AAX_VAutomationDelegate (IACFUnknown* unknown)
    : delegate (QueryHostInterface<IAAXHostAutomationDelegate> (unknown, kAAXID_AutomationDelegate))
{
}

AAX_VAutomationDelegate::~AAX_VAutomationDelegate() { ReleaseHostInterface (delegate); }

#define FORWARD(call) return delegate != nullptr ? delegate->call : kAAXNullObject

AAX_Result AAX_VAutomationDelegate::RegisterParameter (const char* id) const { FORWARD (RegisterParameter (id)); }
AAX_Result AAX_VAutomationDelegate::UnregisterParameter (const char* id) const { FORWARD (UnregisterParameter (id)); }

AAX_Result AAX_VAutomationDelegate::PostSetValueRequest (const char* id, double value) const
{
    FORWARD (PostSetValueRequest (id, value));
}

AAX_Result AAX_VAutomationDelegate::PostCurrentValue (const char* id, double value) const
{
    FORWARD (PostCurrentValue (id, value));
}

AAX_Result AAX_VAutomationDelegate::PostTouchRequest (const char* id) const { FORWARD (PostTouchRequest (id)); }
AAX_Result AAX_VAutomationDelegate::PostReleaseRequest (const char* id) const { FORWARD (PostReleaseRequest (id)); }
AAX_Result AAX_VAutomationDelegate::GetTouchState (const char* id, bool* touched) const { FORWARD (GetTouchState (id, touched)); }

#undef FORWARD

} // namespace kelmora::aax
