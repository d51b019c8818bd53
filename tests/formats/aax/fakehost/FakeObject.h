#pragma once

// Counted fake host objects. Every fake starts with one reference (its creator's), keeps a real
// count, deletes itself when the count reaches 0, and is listed in a process-wide registry while
// alive, so a test can prove at its end that every reference was given back:
//
//     LiveCheck check;            // records the fake and CACFUnknown counts
//     ... test ...
//     // ~LiveCheck: EXPECTs both counts back where they started
//
// FakeUnknown<Interface> implements the three IACFUnknown operations for a fake that answers
// IACFUnknown and whatever its answer() override returns.

#include "platform/aax/IACFUnknown.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace quietline::test::aax
{
class FakeCounted
{
public:
    explicit FakeCounted (const std::string& kind);   // named "<kind>#<serial>"
    virtual ~FakeCounted();

    const std::string& name() const { return objectName; }
    uint32_t refCount() const { return refs.load(); }

    FakeCounted (const FakeCounted&) = delete;
    FakeCounted& operator= (const FakeCounted&) = delete;

protected:
    uint32_t addRef();
    uint32_t release();   // deletes the object at 0

private:
    std::atomic<uint32_t> refs { 1 };
    std::string objectName;
};

/** Fakes alive in the process, and their names (for failure messages). */
int liveFakeObjects();
std::vector<std::string> liveFakeNames();

/** Names of the fakes destroyed since the last clear, in the order they went. */
std::vector<std::string> destroyedFakes();
void clearDestroyedFakes();

/** Expects, on destruction, the live fakes and live CACFUnknown objects back at their counts
    at construction. */
class LiveCheck
{
public:
    LiveCheck();
    ~LiveCheck();

private:
    int fakesAtStart, pluginObjectsAtStart;
};

template <class Interface>
class FakeUnknown : public Interface, public FakeCounted
{
public:
    explicit FakeUnknown (const std::string& kind) : FakeCounted (kind) {}

    ACFResult QueryInterface (const acfUID& interfaceID, void** out) override
    {
        if (out == nullptr)
            return kACFNullPointer;

        *out = nullptr;

        if (void* answered = answer (interfaceID))
        {
            *out = answered;
            addRef();
            return kAAXSuccess;
        }

        return kACFNoInterface;
    }

    uint32_t AddRef() override { return addRef(); }
    uint32_t Release() override { return release(); }

protected:
    /** The pointer to hand out for an identifier, or null to refuse it. */
    virtual void* answer (const acfUID& interfaceID)
    {
        return interfaceID == kAAXID_IACFUnknown ? static_cast<IACFUnknown*> (this) : nullptr;
    }
};
} // namespace quietline::test::aax
