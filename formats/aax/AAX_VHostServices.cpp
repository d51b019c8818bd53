#include "formats/aax/AAX_VHostServices.h"

#include "formats/aax/AAX_HostInterfaces.h"

namespace kelmora::aax {

namespace
{
AAX_VHostServices* holder = nullptr;
}

AAX_VHostServices::AAX_VHostServices (IACFUnknown* host)
    : services (CreateHostObject<IAAXHostServices> (host, kAAXID_HostServicesClass, kAAXID_HostServices))
{
}

AAX_VHostServices::~AAX_VHostServices() { ReleaseHostInterface (services); }

AAX_Result AAX_VHostServices::HandleAssertFailure (const char* file, int32_t line, const char* note) const
{
    return services != nullptr ? services->HandleAssertFailure (file, line, note) : kAAXNullObject;
}

AAX_Result AAX_VHostServices::Trace (int32_t priority, const char* message) const
{
    return services != nullptr ? services->Trace (priority, message) : kAAXNullObject;
}

AAX_VHostServices* GetHostServices() { return holder; }

void StartHostServices (IACFUnknown* host)
{
    if (holder == nullptr && host != nullptr)
        holder = new AAX_VHostServices (host);
}

void StopHostServices()
{
    if (holder != nullptr)
    {
        auto* services = holder;
        holder = nullptr;
        delete services;
    }
}

} // namespace kelmora::aax
