#pragma once

#include <juce_core/juce_core.h>

#include <atomic>

namespace kelmora::core
{
/** A source of wall-clock milliseconds that tests can replace.

    Code in core that measures time (the settings-file poll, the undo history's merging of quick
    edits) asks Clock::nowMillis() instead of juce::Time, so a test can step time by hand with a
    ManualClock and a ScopedClockOverride instead of sleeping. */
class Clock
{
public:
    virtual ~Clock() = default;

    /** Milliseconds since the epoch (or any fixed origin); must never go backwards. */
    virtual juce::int64 getMillis() const noexcept = 0;

    /** The time of the clock currently in use: the system clock (juce::Time::currentTimeMillis)
        unless a ScopedClockOverride replaced it. Any thread; lock-free. */
    static juce::int64 nowMillis() noexcept;

    /** The system clock. */
    static const Clock& system() noexcept;

private:
    friend class ScopedClockOverride;
    static std::atomic<const Clock*>& current() noexcept;
};

/** A clock that stands still until told to move. Any thread. */
class ManualClock final : public Clock
{
public:
    explicit ManualClock (juce::int64 startMillis = 1000000) noexcept : now (startMillis) {}

    juce::int64 getMillis() const noexcept override { return now.load(); }

    /** Sets the time, in milliseconds. */
    void set (juce::int64 millis) noexcept { now.store (millis); }

    /** Moves the time forward by the given milliseconds. */
    void advance (juce::int64 millis) noexcept { now.fetch_add (millis); }

private:
    std::atomic<juce::int64> now;
};

/** Makes Clock::nowMillis() read the given clock for this object's lifetime, then restores the
    previous one. For tests: create it before the objects under test and let it outlive them;
    overrides nest but must not be created concurrently from several threads. */
class ScopedClockOverride
{
public:
    explicit ScopedClockOverride (const Clock& replacement) noexcept;
    ~ScopedClockOverride();

    ScopedClockOverride (const ScopedClockOverride&) = delete;
    ScopedClockOverride& operator= (const ScopedClockOverride&) = delete;

private:
    const Clock* previous;
};
} // namespace kelmora::core
