#include "core/Clock.h"

namespace kelmora::core
{
namespace
{
class SystemClock final : public Clock
{
public:
    juce::int64 getMillis() const noexcept override { return juce::Time::currentTimeMillis(); }
    juce::uint32 getCounterMillis() const noexcept override { return juce::Time::getMillisecondCounter(); }
};
} // namespace

const Clock& Clock::system() noexcept
{
    static const SystemClock clock;
    return clock;
}

std::atomic<const Clock*>& Clock::current() noexcept
{
    static std::atomic<const Clock*> clock { &system() };
    return clock;
}

juce::int64 Clock::nowMillis() noexcept
{
    return current().load (std::memory_order_acquire)->getMillis();
}

juce::uint32 Clock::counterMillis() noexcept
{
    return current().load (std::memory_order_acquire)->getCounterMillis();
}

const Clock& Clock::install (const Clock& replacement) noexcept
{
    return *current().exchange (&replacement, std::memory_order_acq_rel);
}
} // namespace kelmora::core
