#include "formats/aax/AAX_Exports.h"
#include "formats/aax/CACFUnknown.h"
#include "support/Concurrency.h"

#include <gtest/gtest.h>

#include <atomic>

using kelmora::aax::CACFUnknown;

namespace
{
/** A plug-in object that notes whether FinalRelease ran before its destruction. */
struct Probe : CACFUnknown
{
    explicit Probe (int& state) : destroyed (state) {}
    ~Probe() override { destroyed = finalReleased ? 2 : 1; }
    void FinalRelease() override { finalReleased = true; }
    int& destroyed;
    bool finalReleased = false;
};
} // namespace

TEST (CACFUnknown, CountsReferencesAndAnswersOnlyItsOwnInterfaces)
{
    const int32_t before = ACFCanUnloadNow (nullptr);
    int destroyed = 0;
    auto* probe = new Probe (destroyed);
    IACFUnknown* outer = probe->GetOuterIUnknown();
    EXPECT_TRUE (probe->GetRefCount() == 0 && ACFCanUnloadNow (nullptr) == before + 1);
    EXPECT_EQ (outer->AddRef(), 1u);

    void* answer = reinterpret_cast<void*> (0x1);
    EXPECT_TRUE (outer->QueryInterface (kAAXID_Controller, &answer) == kACFNoInterface && answer == nullptr);
    EXPECT_EQ (outer->QueryInterface (kAAXID_IACFUnknown, nullptr), kACFNullPointer);
    EXPECT_TRUE (outer->QueryInterface (kAAXID_IACFUnknown, &answer) == kAAXSuccess && answer == outer && probe->GetRefCount() == 2);
    EXPECT_TRUE (static_cast<IACFUnknown*> (answer)->Release() == 1 && destroyed == 0);
    EXPECT_TRUE (outer->Release() == 0 && destroyed == 2) << "FinalRelease runs, then the object is deleted";
    EXPECT_EQ (ACFCanUnloadNow (nullptr), before);
}

// Hosts add and release references on whatever thread they like: one shared object must be
// deleted exactly once, and the live-object count must come back to where it was.
TEST (CACFUnknownThreads, ReferencesFromManyThreadsBalance)
{
    const int32_t liveBefore = CACFUnknown::GetActiveObjectCount();
    int sharedState = 0;
    std::atomic<int> deletions { 0 };
    auto* shared = new Probe (sharedState);
    shared->InternalAddRef();
    const auto churn = [&] {
        for (int i = 0; i < 20000; ++i)
        {
            int own = 0;
            auto* probe = new Probe (own);
            shared->GetOuterIUnknown()->AddRef(), probe->InternalAddRef();
            shared->GetOuterIUnknown()->Release(), probe->InternalRelease();
            deletions += own != 0 ? 1 : 0;
        }
    };
    quietline::test::runTogether ({ churn, churn, churn, churn });

    EXPECT_TRUE (deletions.load() == 4 * 20000 && shared->InternalRelease() == 0 && sharedState == 2);
    EXPECT_EQ (CACFUnknown::GetActiveObjectCount(), liveBefore);
}
