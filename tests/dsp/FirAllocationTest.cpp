// Counts heap allocations around the filter's audio-thread operations. Replaces the global
// allocation functions, so it is a program of its own and is left out of sanitizer builds.
#include "dsp/FirFilterState.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

namespace
{
std::atomic<bool> counting { false };
std::atomic<int> allocations { 0 };

void* allocate (std::size_t size)
{
    allocations += counting.load() ? 1 : 0;
    if (void* p = std::malloc (size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new (std::size_t size) { return allocate (size); }
void* operator new[] (std::size_t size) { return allocate (size); }
void operator delete (void* p) noexcept { std::free (p); }
void operator delete[] (void* p) noexcept { std::free (p); }
void operator delete (void* p, std::size_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::size_t) noexcept { std::free (p); }

TEST (FirAllocation, DesignAndProcessNeverAllocate)
{
    auto filter = std::make_unique<kelmora::dsp::FirFilterState>();
    std::vector<float> left (256, 0.5f), right (256, -0.5f);

    counting = true;
    volatile float* probe = std::vector<float> (16).data();
    (void) probe;
    ASSERT_EQ (allocations.exchange (0), 1) << "the counting allocator is not in use";

    for (double rate : { 96000.0, 384000.0, 44100.0, 88200.0, 352800.0, 192000.0, 176400.0, 384000.0 })
        for (double slope : { 0.0, 0.5, 1.0 })
        {
            filter->design (20000.0 + 10000.0 * slope * slope, slope, rate);
            filter->process (left.data(), right.data(), left.data(), right.data(), 256, false);
            filter->setBypass (slope > 0.4);
        }
    filter->reset();
    counting = false;
    EXPECT_EQ (allocations.load(), 0);
}
