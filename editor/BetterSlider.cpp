#include "editor/BetterSlider.h"

#include "editor/PopupMenuClick.h"

#include "core/OutsideText.h"

#include <optional>

namespace kelmora::editor
{
BetterSlider::BetterSlider (const juce::String& name) : juce::Slider (name) {}
BetterSlider::~BetterSlider() = default;

core::Parameter* BetterSlider::boundParameter() const
{
    if (paramListRef == nullptr || *paramListRef == nullptr)
        return nullptr;

    return (*paramListRef)->getParam (paramIndex);
}

void BetterSlider::attachToParameter (core::ParamList** list, int index)
{
    paramListRef = list;
    paramIndex = index;
    auto* p = boundParameter();

    if (p == nullptr)
        return;

    const int steps = p->getNumSteps();
    setRange (0.0, 1.0, steps == 0 ? 0.0 : 1.0 / steps);
    wheelStep = p->getStepFraction();
    setDoubleClickReturnValue (true, p->valueToNormalised (p->getDefaultValue()));

    if (steps == 0)
        setTextBoxIsEditable (true);
}

juce::String BetterSlider::getTextFromValue (double v)
{
    if (auto* p = boundParameter())
        return p->getTextWithUnitForNormalised ((float) v);

    return juce::String (v, 2);
}

double BetterSlider::getValueFromText (const juce::String& text)
{
    // The box's text may have been pasted from the desktop: only text that reads whole counts.
    const auto checked = core::OutsideText::fromString (text);
    float normalised = 0.0f;

    if (auto* p = boundParameter(); p != nullptr && checked.has_value() && p->textToNormalised (*checked, &normalised))
        return normalised;

    return getValue();
}

double BetterSlider::snapValue (double v, DragMode)
{
    auto* p = boundParameter();

    if (p == nullptr || p->getNumSnapPoints() == 0 || ! mouseActive || ! isPopupMenuClick (lastModifiers))
        return v;

    return p->snapNormalised ((float) v);
}

void BetterSlider::mouseDown (const juce::MouseEvent& e)
{
    mouseActive = true;
    lastModifiers = e.mods;
    juce::Slider::mouseDown (e);
}

void BetterSlider::mouseDrag (const juce::MouseEvent& e)
{
    mouseActive = true;
    lastModifiers = e.mods;
    juce::Slider::mouseDrag (e);
}

void BetterSlider::mouseUp (const juce::MouseEvent& e)
{
    juce::Slider::mouseUp (e);
    mouseActive = false;
}

void BetterSlider::mouseWheelMove (const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel)
{
    if (wheel.deltaY == 0.0f)
        return;

    // A bar slider's text box covers it and is watched by the slider as a mouse listener, so a
    // wheel event over it arrives as the box's own event; a box that also hands the event up to
    // its parent (a plain label does, JUCE's own slider label does not) sends it a second time.
    // Counting only the box's own copy gives one step either way.
    if (getSliderStyle() == LinearBarVertical && e.eventComponent != e.originalComponent)
        return;

    const double direction = wheel.deltaY > 0.0f ? 1.0 : -1.0;
    const double interval = getInterval();
    double step = interval != 0.0 ? direction * interval
                                  : direction * wheelStep * (e.mods.isShiftDown() ? 0.1 : 1.0);

    if (wheel.isReversed)
        step = -step;

    const double value = juce::jlimit (getMinimum(), getMaximum(), getValue() + step);

    // One host gesture per wheel event, except inside a drag: the step then belongs to the drag's
    // gesture, since a gesture of its own would nest in it and its end would close the drag's.
    const juce::ScopedValueSetter<bool> stepping (wheelStepping, true);
    std::optional<ScopedDragNotification> gesture;
    if (getThumbBeingDragged() < 0)
        gesture.emplace (*this);
    setValue (snapValue (value, notDragging), juce::sendNotificationSync);
}
} // namespace kelmora::editor
