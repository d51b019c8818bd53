#pragma once

#include "core/Clock.h"

namespace quietline::test
{
/** A clock that stands still until told to move. Any thread. */
class ManualClock final : public kelmora::core::Clock
{
public:
    explicit ManualClock (juce::int64 startMillis = 1000000) noexcept : now (startMillis) {}

    juce::int64 getMillis() const noexcept override { return now.load(); }
    void set (juce::int64 millis) noexcept { now.store (millis); }
    void advance (juce::int64 millis) noexcept { now.fetch_add (millis); }

private:
    std::atomic<juce::int64> now;
};

/** Makes Clock::nowMillis() read the given clock for this object's lifetime. Create it before
    the objects under test and let it outlive them. */
class ScopedClockOverride
{
public:
    explicit ScopedClockOverride (const kelmora::core::Clock& replacement) noexcept
        : previous (kelmora::core::Clock::install (replacement)) {}
    ~ScopedClockOverride() { kelmora::core::Clock::install (previous); }

    ScopedClockOverride (const ScopedClockOverride&) = delete;
    ScopedClockOverride& operator= (const ScopedClockOverride&) = delete;

private:
    const kelmora::core::Clock& previous;
};
} // namespace quietline::test
