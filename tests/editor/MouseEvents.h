#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace quietline::test
{
/** A synthetic mouse event at p on target, as JUCE would deliver it; originator is the
    component that first received it (the target itself by default). */
inline juce::MouseEvent mouseAt (juce::Component& target, juce::Point<float> p, juce::ModifierKeys mods = {},
                                 int clicks = 1, juce::Component* originator = nullptr)
{
    const auto now = juce::Time::getCurrentTime();
    return { juce::Desktop::getInstance().getMainMouseSource(), p, mods, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
             &target, originator != nullptr ? originator : &target, now, p, now, clicks, false };
}

inline juce::MouseWheelDetails wheelOf (float deltaY, bool reversed = false)
{
    juce::MouseWheelDetails w {};
    w.deltaY = deltaY;
    w.isReversed = reversed;
    return w;
}
} // namespace quietline::test
