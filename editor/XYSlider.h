#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace kelmora::editor
{
/** A drag surface holding two values, x and y, each 0..1, changed together by dragging across
    it; it paints nothing itself (the magnitude display derives from it and paints the picture).

    A drag of pixelsPerUnit pixels spans the whole range; the offset always counts from the
    mouse-down point, so a drag that leaves the range and comes back retraces the same values.
    Right raises x, up raises y. Alt-click resets to the defaults and starts the drag from there;
    a double-click resets as a gesture of its own.

    Listeners hear every change synchronously, the last added first; when one of them deletes the
    pad the remaining ones are not called. Message thread only. */
class XYSlider : public juce::Component,
                 public juce::ChangeBroadcaster
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void xySliderValueChanged (XYSlider*) = 0;
        virtual void xySliderDragStarted (XYSlider*) = 0;
        virtual void xySliderDragEnded (XYSlider*) = 0;
    };

    XYSlider();
    ~XYSlider() override;

    /** Adds the listener unless it is there already. */
    void addListener (Listener*);
    void removeListener (Listener*);

    /** Store the value (rounded to float) and repaint, without clamping or notifying: for
        following parameter changes made elsewhere. */
    void setValueX (float);
    void setValueY (float);
    float getValueX() const noexcept;
    float getValueY() const noexcept;

    /** What alt-click and double-click restore. */
    void setDefaultValues (float x, float y);

    /** Whether dragging changes that axis. */
    void setAxesEnabled (bool x, bool y);

    /** True from mouse-down to mouse-up. */
    bool isDragging() const noexcept { return dragging; }

    /** Ends a drag that no mouse-up will end (its window is going): listeners hear the drag
        end as at a release where the pointer last was. Nothing when no drag is under way. */
    void endDrag();

    /** Switches off unbounded mouse movement wherever it is on and puts the pointer back at the
        pad's centre; does nothing when no source has it on. */
    void restoreMouseAfterDrag();

    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;
    void mouseDoubleClick (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;
    void resized() override;

protected:
    int pixelsPerUnit = 200;

private:
    enum class Note { valueChanged, dragStarted, dragEnded };

    /** Tells every listener; false when one of them deleted the pad. */
    bool notify (Note);
    void resetToDefaults();

    juce::ListenerList<Listener> listeners;
    juce::Point<int> mouseDownPosition;
    double valueXAtMouseDown = 0.0, valueYAtMouseDown = 0.0;
    bool dragging = false;
    double valueX = 0.0, valueY = 0.0;
    double defaultX = 0.0, defaultY = 0.0;
    bool enableX = true, enableY = true;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (XYSlider)
};
} // namespace kelmora::editor
