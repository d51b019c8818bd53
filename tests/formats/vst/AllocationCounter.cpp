// Replaces the global operator new to count the allocations a thread makes while it asks for a
// count (its own file, so the compiler never sees the replaced pair inlined into callers).
#include <cstdlib>
#include <new>

namespace kelmora::vst::test
{
thread_local bool countingAllocations = false;
thread_local int allocations = 0;
} // namespace kelmora::vst::test

void* operator new (std::size_t size)
{
    kelmora::vst::test::allocations += kelmora::vst::test::countingAllocations ? 1 : 0;
    if (void* p = std::malloc (size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void operator delete (void* p) noexcept { std::free (p); }
void operator delete (void* p, std::size_t) noexcept { std::free (p); }
