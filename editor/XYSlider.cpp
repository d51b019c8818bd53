#include "editor/XYSlider.h"

namespace kelmora::editor
{
namespace
{
double toFloatPrecision (double v) noexcept { return (double) (float) v; }
}

XYSlider::XYSlider() = default;
XYSlider::~XYSlider() = default;

void XYSlider::addListener (Listener* l)    { listeners.add (l); }
void XYSlider::removeListener (Listener* l) { listeners.remove (l); }

void XYSlider::setValueX (float x)
{
    valueX = x;
    repaint();
}

void XYSlider::setValueY (float y)
{
    valueY = y;
    repaint();
}

float XYSlider::getValueX() const noexcept { return (float) valueX; }
float XYSlider::getValueY() const noexcept { return (float) valueY; }

void XYSlider::setDefaultValues (float x, float y)
{
    defaultX = x;
    defaultY = y;
}

void XYSlider::setAxesEnabled (bool x, bool y)
{
    enableX = x;
    enableY = y;
}

bool XYSlider::notify (Note note)
{
    const juce::Component::BailOutChecker checker (this);
    listeners.callChecked (checker, [this, note] (Listener& l)
    {
        switch (note)
        {
            case Note::valueChanged: l.xySliderValueChanged (this); break;
            case Note::dragStarted:  l.xySliderDragStarted (this); break;
            case Note::dragEnded:    l.xySliderDragEnded (this); break;
        }
    });
    return ! checker.shouldBailOut();
}

void XYSlider::resetToDefaults()
{
    valueX = toFloatPrecision (defaultX);
    repaint();
    valueY = toFloatPrecision (defaultY);
    repaint();
}

void XYSlider::mouseDown (const juce::MouseEvent& e)
{
    if (e.mods.isAltDown())
    {
        resetToDefaults();

        if (! notify (Note::valueChanged))
            return;
    }

    dragging = true;
    mouseDownPosition = e.getPosition();
    valueXAtMouseDown = valueX;
    valueYAtMouseDown = valueY;
    notify (Note::dragStarted);
}

void XYSlider::mouseDrag (const juce::MouseEvent& e)
{
    const auto position = e.getPosition();
    const double perPixel = 1.0 / pixelsPerUnit;

    if (enableX)
        valueX = valueXAtMouseDown + (position.x - mouseDownPosition.x) * perPixel;

    if (enableY)
        valueY = valueYAtMouseDown - (position.y - mouseDownPosition.y) * perPixel;

    valueX = juce::jlimit (0.0, 1.0, valueX);
    valueY = juce::jlimit (0.0, 1.0, valueY);

    if (enableX)
    {
        valueX = toFloatPrecision (valueX);
        repaint();
    }

    if (enableY)
    {
        valueY = toFloatPrecision (valueY);
        repaint();
    }

    notify (Note::valueChanged);
}

void XYSlider::mouseUp (const juce::MouseEvent&)
{
    dragging = false;
    restoreMouseAfterDrag();
    notify (Note::dragEnded);
}

void XYSlider::endDrag()
{
    if (! dragging)
        return;

    dragging = false;
    notify (Note::dragEnded);
}

void XYSlider::mouseDoubleClick (const juce::MouseEvent&)
{
    // The double-click arrives after the second mouse-up, outside any drag: it is a gesture of
    // its own, so the host sees one touch and undo gets one step.
    resetToDefaults();

    if (notify (Note::dragStarted) && notify (Note::valueChanged))
        notify (Note::dragEnded);
}

void XYSlider::restoreMouseAfterDrag()
{
    for (auto source : juce::Desktop::getInstance().getMouseSources())
    {
        if (source.isUnboundedMouseMovementEnabled())
        {
            source.enableUnboundedMouseMovement (false, false);
            source.setScreenPosition (localPointToGlobal (juce::Point<int> (getWidth() / 2, getHeight() / 2)).toFloat());
        }
    }
}

void XYSlider::paint (juce::Graphics&) {}
void XYSlider::resized() {}
} // namespace kelmora::editor
