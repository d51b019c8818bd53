#pragma once

#include <juce_core/juce_core.h>

#include <atomic>

namespace kelmora::core
{
/** A source of milliseconds that tests can replace.

    Code in core that measures time (the settings-file poll, the undo history's merging of quick
    edits) asks Clock::nowMillis() or Clock::counterMillis() instead of juce::Time, so a test can
    install a clock it steps by hand instead of sleeping. */
class Clock
{
public:
    virtual ~Clock() = default;

    /** Milliseconds since the epoch (or any fixed origin); must never go backwards. */
    virtual juce::int64 getMillis() const noexcept = 0;

    /** A millisecond counter that does not jump when the wall clock is set; wraps at 2^32, so
        only differences mean anything. By default the low 32 bits of getMillis. */
    virtual juce::uint32 getCounterMillis() const noexcept { return (juce::uint32) getMillis(); }

    /** The time of the clock currently in use: the system clock (juce::Time::currentTimeMillis)
        unless another one was installed. Any thread; lock-free. */
    static juce::int64 nowMillis() noexcept;

    /** The counter of the clock currently in use: juce::Time::getMillisecondCounter unless
        another clock was installed. Any thread; lock-free. */
    static juce::uint32 counterMillis() noexcept;

    /** The system clock. */
    static const Clock& system() noexcept;

    /** Makes nowMillis read the given clock, which must outlive its use; returns the previous
        one. Not for concurrent use with another install. */
    static const Clock& install (const Clock& replacement) noexcept;

private:
    static std::atomic<const Clock*>& current() noexcept;
};

} // namespace kelmora::core
