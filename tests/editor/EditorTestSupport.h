#pragma once

#include "editor/XYSlider.h"
#include "support/ReleaseSharedFonts.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

namespace quietline::test
{
/** A synthetic mouse event at p on target; originator is the component that first received it.
    A drag event says the mouse moved since it went down (a bar slider ignores clicks). */
inline juce::MouseEvent mouseAt (juce::Component& target, juce::Point<float> p, juce::ModifierKeys mods = {},
                                 juce::Component* originator = nullptr, bool dragged = false)
{
    const auto now = juce::Time::getCurrentTime();
    return { juce::Desktop::getInstance().getMainMouseSource(), p, mods, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
             &target, originator != nullptr ? originator : &target, now, p, now, 1, dragged };
}

inline juce::MouseWheelDetails wheelOf (float deltaY, bool reversed = false, float deltaX = 0.0f)
{
    juce::MouseWheelDetails w {};
    w.deltaX = deltaX;
    w.deltaY = deltaY;
    w.isReversed = reversed;
    return w;
}

/** Delivers every message posted so far (change, action and menu results travel through the
    queue): runs the loop until a marker posted behind them arrives. The deadline is a watchdog. */
inline void deliverPostedMessages()
{
    auto arrived = std::make_shared<bool> (false);
    juce::MessageManager::callAsync ([arrived] { *arrived = true; });
    for (const auto watchdog = juce::Time::getMillisecondCounter() + 10000;
         ! *arrived && juce::Time::getMillisecondCounter() < watchdog;)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
    ASSERT_TRUE (*arrived) << "watchdog: the message queue did not deliver within 10 s";
}
/** What the host hears from the processor: parameter calls in order, and how often it was told to refresh. */
struct HostSpy : juce::AudioProcessorListener
{
    juce::StringArray log;
    int changes = 0;
    void audioProcessorParameterChanged (juce::AudioProcessor*, int i, float) override { log.add ("set " + juce::String (i)); }
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override { ++changes; }
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int i) override { log.add ("begin " + juce::String (i)); }
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int i) override { log.add ("end " + juce::String (i)); }
};

/** Writes each pad notification, a value change as the values the listener reads then. */
struct PadLog : kelmora::editor::XYSlider::Listener
{
    juce::StringArray log;
    std::function<void()> onChange;
    void xySliderValueChanged (kelmora::editor::XYSlider* s) override
    {
        log.add (juce::String (s->getValueX()) + " " + juce::String (s->getValueY()));
        if (onChange)
            onChange();
    }
    void xySliderDragStarted (kelmora::editor::XYSlider*) override { log.add ("started"); }
    void xySliderDragEnded (kelmora::editor::XYSlider*) override { log.add ("ended"); }
};
} // namespace quietline::test
