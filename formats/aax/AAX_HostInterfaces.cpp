#include "formats/aax/AAX_HostInterfaces.h"

namespace kelmora::aax {

ACFResult CreateHostObject (IACFUnknown* host, const acfUID& classID, const acfUID& interfaceID, void** out)
{
    if (out == nullptr)
        return kAAXNullObject;

    *out = nullptr;
    auto* factory = QueryHostInterface<IAAXHostComponentFactory> (host, kAAXID_HostComponentFactory);

    if (factory == nullptr)
        return kAAXNullObject;

    const ACFResult result = factory->CreateInstance (classID, nullptr, interfaceID, out);
    factory->Release();

    if (result != kAAXSuccess)
        *out = nullptr;

    return result;
}

} // namespace kelmora::aax
