#pragma once

namespace kelmora::vst::test
{
/** Counts the allocations made through operator new by the calling thread while counting is on
    (the test binary that links AllocationCounter.cpp replaces the global operator new). */
void startCountingAllocations();
/** Stops counting and returns how many allocations the thread made since the start. */
int stopCountingAllocations();
} // namespace kelmora::vst::test
