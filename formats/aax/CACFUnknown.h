#pragma once

// The base of every plug-in-side object of the AAX host protocol: a reference count, the interface
// query, and a process-wide count of live objects that tells the host whether the module may be
// unloaded (ACFCanUnloadNow).
//
// An interface class derives from the host-visible interface and from CACFUnknown, and forwards
// its QueryInterface, AddRef and Release to GetOuterIUnknown(). It answers its own identifiers by
// overriding InternalQueryInterface and hands everything else to CACFUnknown's version. A new
// object has a count of 0; the first AddRef makes it 1, and the Release that brings it back to 0
// calls FinalRelease and then DeleteThis. References may be added and released on any thread.

#include "platform/aax/IACFUnknown.h"

#include <atomic>
#include <cstdint>

namespace kelmora::aax {

class CACFUnknown
{
public:
    CACFUnknown();
    virtual ~CACFUnknown();

    virtual ACFResult FinalConstruct();
    virtual void FinalRelease();
    virtual void DeleteThis();
    virtual ACFResult InternalQueryInterface (const acfUID& interfaceID, void** out);
    virtual uint32_t InternalAddRef();
    virtual uint32_t InternalRelease();

    /** The interface that answers this object's own query, AddRef and Release. */
    IACFUnknown* GetOuterIUnknown() const noexcept { return outerUnknown; }

    uint32_t GetRefCount() const noexcept { return refCount.load(); }

    /** Number of CACFUnknown objects alive in the process. */
    static int32_t GetActiveObjectCount() noexcept;

    CACFUnknown (const CACFUnknown&) = delete;
    CACFUnknown& operator= (const CACFUnknown&) = delete;

private:
    /** The inner unknown: forwards its three operations to the owner's Internal* operations. */
    class PrivateUnknown final : public IACFUnknown
    {
    public:
        explicit PrivateUnknown (CACFUnknown& ownerToUse) : owner (ownerToUse) {}

        ACFResult QueryInterface (const acfUID& interfaceID, void** out) override;
        uint32_t AddRef() override;
        uint32_t Release() override;

    private:
        CACFUnknown& owner;
    };

    std::atomic<uint32_t> refCount { 0 };
    IACFUnknown* outerUnknown;
    PrivateUnknown innerUnknown;
};

} // namespace kelmora::aax
