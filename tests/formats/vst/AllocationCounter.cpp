#include "formats/vst/AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace
{
thread_local bool counting = false;
thread_local int counted = 0;
} // namespace

void* operator new (std::size_t size)
{
    if (counting)
        ++counted;
    if (void* p = std::malloc (size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void operator delete (void* p) noexcept { std::free (p); }
void operator delete (void* p, std::size_t) noexcept { std::free (p); }

namespace kelmora::vst::test
{
void startCountingAllocations()
{
    counted = 0;
    counting = true;
}

int stopCountingAllocations()
{
    counting = false;
    return counted;
}
} // namespace kelmora::vst::test
