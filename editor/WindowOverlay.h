#pragma once

#include "editor/AbstractOverlay.h"
#include "skins/LookAndFeelOverlayButton.h"

namespace kelmora::editor
{
/** The base of every dialog: a framed window centred on the overlay, with a title and a close
    button "X", over a dimmed editor. "X" and a press outside the window close it (a change
    message, no action message). Subclasses set dialogWidth and dialogHeight in their constructor
    and place their children with the geometry that resized() computes. Message thread only. */
class WindowOverlay : public AbstractOverlay
{
public:
    explicit WindowOverlay (const juce::String& title);
    ~WindowOverlay() override;

    /** Dims the editor, draws the frame and the title. */
    virtual void paintWindow (juce::Graphics&, const juce::String& title);

    /** Draws the nine-slice window frame from frameImage (61 x 93: corners 29 wide, top row 46
        and bottom row 32 high, stretched from column 29 and row 46) into the given area. */
    static void drawFrame (juce::Graphics&, const juce::Image& frameImage, int left, int top, int width, int height);

    void buttonClicked (juce::Button*) override;
    void mouseDown (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;
    void resized() override;

protected:
    juce::TextButton closeButton { "X", {} };
    juce::String title;

    // Set by subclasses; the rest follows from them in resized().
    int dialogWidth = 0, dialogHeight = 0;
    int closeButtonWidth = 24;
    int dialogLeft = 0, dialogTop = 0;
    int frameWidth = 0, frameHeight = 0, frameLeft = 0, frameTop = 0, frameBottom = 0;
    int margin = 14;
    int contentWidth = 0, contentHeight = 0, contentLeft = 0, contentTop = 0;
    int bottomLine = 0;

private:
    skins::OwnedSkin<skins::LookAndFeelOverlayButton> closeButtonSkin { *this };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WindowOverlay)
};
} // namespace kelmora::editor
