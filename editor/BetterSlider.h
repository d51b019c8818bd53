#pragma once

#include "core/ParamList.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace kelmora::editor
{
/** A slider bound to one parameter of a ParamList. Its value is the parameter's normalised
    position (0..1); its text box shows and parses the parameter's texts; a double-click returns
    to the parameter's default; the wheel steps by the parameter's UI step; and while the ctrl key
    or the right button is held during a drag it snaps to the parameter's snap points (when it
    has any).

    Each wheel event is one step and one gesture of its own (drag started, value changed, drag
    ended), whatever the size of the notch, except during a drag, whose gesture takes the step;
    isWheelStepping tells a listener that the gesture is a wheel step's. Unbound, the slider
    shows two decimals and steps by 0.05. Message thread only. */
class BetterSlider : public juce::Slider
{
public:
    explicit BetterSlider (const juce::String& name = {});
    ~BetterSlider() override;

    /** Binds the slider to parameter index of *list. The list is read through *list on every
        use, so the pointer it points to must outlive the slider. */
    void attachToParameter (core::ParamList** list, int index);

    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;
    void mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails&) override;
    double getValueFromText (const juce::String&) override;
    juce::String getTextFromValue (double) override;
    double snapValue (double attemptedValue, DragMode) override;

    /** True while a wheel event's step and its gesture run. */
    bool isWheelStepping() const noexcept { return wheelStepping; }

private:
    /** The bound parameter, or null when unbound. */
    core::Parameter* boundParameter() const;

    double wheelStep = 0.05;
    core::ParamList** paramListRef = nullptr;
    int paramIndex = -1;
    bool mouseActive = false;
    bool wheelStepping = false;
    juce::ModifierKeys lastModifiers;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BetterSlider)
};
} // namespace kelmora::editor
