#pragma once

#include <juce_events/juce_events.h>

#include <gtest/gtest.h>

namespace quietline::test
{
/** Delivers every message posted so far (change and action messages travel through the queue):
    posts a marker behind them and runs the loop until the marker arrives. The deadline is only a
    watchdog. Message thread only. */
inline void deliverPostedMessages()
{
    auto arrived = std::make_shared<bool> (false);
    juce::MessageManager::callAsync ([arrived] { *arrived = true; });
    const auto watchdog = juce::Time::getMillisecondCounter() + 10000;

    while (! *arrived && juce::Time::getMillisecondCounter() < watchdog)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (5);

    ASSERT_TRUE (*arrived) << "watchdog: the message queue did not deliver within 10 s";
}
} // namespace quietline::test
