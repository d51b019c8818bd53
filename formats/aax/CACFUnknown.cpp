#include "formats/aax/CACFUnknown.h"

namespace kelmora::aax {

namespace
{
std::atomic<int32_t> liveObjects { 0 };
}

CACFUnknown::CACFUnknown() : outerUnknown (&innerUnknown), innerUnknown (*this)
{
    liveObjects.fetch_add (1);
}

CACFUnknown::~CACFUnknown()
{
    liveObjects.fetch_sub (1);
}

int32_t CACFUnknown::GetActiveObjectCount() noexcept { return liveObjects.load(); }

ACFResult CACFUnknown::FinalConstruct() { return kAAXSuccess; }

void CACFUnknown::FinalRelease() {}

void CACFUnknown::DeleteThis() { delete this; }

ACFResult CACFUnknown::InternalQueryInterface (const acfUID& interfaceID, void** out)
{
    if (out == nullptr)
        return kACFNullPointer;

    *out = nullptr;

    if (interfaceID == kAAXID_IACFUnknown)
    {
        *out = static_cast<IACFUnknown*> (&innerUnknown);
        innerUnknown.AddRef();
        return kAAXSuccess;
    }

    return kACFNoInterface;
}

uint32_t CACFUnknown::InternalAddRef()
{
    return refCount.fetch_add (1) + 1;
}

uint32_t CACFUnknown::InternalRelease()
{
    const uint32_t count = refCount.fetch_sub (1) - 1;

    if (count == 0)
    {
        FinalRelease();
        DeleteThis();
    }

    return count;
}

ACFResult CACFUnknown::PrivateUnknown::QueryInterface (const acfUID& interfaceID, void** out)
{
    return owner.InternalQueryInterface (interfaceID, out);
}

uint32_t CACFUnknown::PrivateUnknown::AddRef() { return owner.InternalAddRef(); }

uint32_t CACFUnknown::PrivateUnknown::Release() { return owner.InternalRelease(); }

} // namespace kelmora::aax
