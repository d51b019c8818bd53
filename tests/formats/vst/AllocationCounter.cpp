// Replaces the global operator new to count the allocations a thread makes while it asks for a
// count (its own file, so the compiler never sees the replaced pair inlined into callers).
#include <cstdlib>
#include <new>

namespace
{
thread_local bool counting = false;
thread_local int counted = 0;
} // namespace

void* operator new (std::size_t size)
{
    counted += counting ? 1 : 0;
    if (void* p = std::malloc (size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void operator delete (void* p) noexcept { std::free (p); }
void operator delete (void* p, std::size_t) noexcept { std::free (p); }

namespace kelmora::vst::test
{
void startCountingAllocations() { counted = 0; counting = true; }
int stopCountingAllocations() { counting = false; return counted; }
} // namespace kelmora::vst::test
