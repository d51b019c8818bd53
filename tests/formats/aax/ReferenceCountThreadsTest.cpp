#include "formats/aax/CACFUnknown.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using kelmora::aax::CACFUnknown;

namespace
{
class Counted : public CACFUnknown
{
public:
    explicit Counted (std::atomic<int>& deletionsToCount) : deletions (deletionsToCount) {}
    ~Counted() override { deletions.fetch_add (1); }

private:
    std::atomic<int>& deletions;
};
} // namespace

// Hosts add and release references on whatever thread they like: one shared object must be
// deleted exactly once, and the live-object count must come back to where it was.
TEST (CACFUnknownThreads, ReferencesFromManyThreadsBalance)
{
    const int32_t liveBefore = CACFUnknown::GetActiveObjectCount();
    std::atomic<int> deletions { 0 };
    auto* shared = new Counted (deletions);
    shared->InternalAddRef();

    std::vector<std::thread> threads;

    for (int t = 0; t < 4; ++t)
    {
        threads.emplace_back ([&]
        {
            for (int i = 0; i < 20000; ++i)
            {
                shared->GetOuterIUnknown()->AddRef();
                auto* own = new Counted (deletions);
                own->InternalAddRef();
                shared->GetOuterIUnknown()->Release();
                own->InternalRelease();
            }
        });
    }

    for (auto& thread : threads)
        thread.join();

    EXPECT_EQ (deletions.load(), 4 * 20000);
    EXPECT_EQ (shared->GetRefCount(), 1u);
    EXPECT_EQ (shared->InternalRelease(), 0u);
    EXPECT_EQ (deletions.load(), 4 * 20000 + 1);
    EXPECT_EQ (CACFUnknown::GetActiveObjectCount(), liveBefore);
}
