#pragma once

#include "skins/LookAndFeelOverlay.h"
#include "skins/OwnedSkin.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace kelmora::editor
{
/** The base of every dialog and of the hover help: a component the editor lays over its whole
    area, so that the widgets beneath cannot be reached while it is shown.

    An overlay never calls the editor. A change message asks the editor to close it; an action
    message carries a command (the dialog's prefix and a verb, "addUserPresetOverlay_add"). Both
    reach the editor through the message queue, so an overlay is never deleted inside its own
    callback. Its painting is buffered to an image, and its children inherit its dialog skin.
    Message thread only. */
class AbstractOverlay : public juce::Component,
                        public juce::Button::Listener,
                        public juce::ChangeBroadcaster,
                        public juce::ActionBroadcaster
{
public:
    AbstractOverlay();
    ~AbstractOverlay() override;

    void buttonClicked (juce::Button*) override;

    /** Text with a light edge below it: white one pixel lower, then colour (or 0x55000000 when
        useColour is false) on top; in the shared bold or plain face, with an ellipsis when it
        does not fit. */
    virtual void drawShadowedText (juce::Graphics&, const juce::String& text, int x, int y, int width, int height,
                                   bool bold, juce::Justification, bool useColour, juce::Colour colour,
                                   float fontHeight);

    /** Word-wrapped text at height 13 in the shared plain face, white one pixel lower and colour
        on top; y is the baseline of the first line. */
    virtual void drawSimpleText (juce::Graphics&, const juce::String& text, int x, int y, int maxWidth,
                                 juce::Colour colour);

    void mouseDown (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;
    void resized() override;

protected:
    skins::OwnedSkin<skins::LookAndFeelOverlay> skin { *this };

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AbstractOverlay)
};
} // namespace kelmora::editor
