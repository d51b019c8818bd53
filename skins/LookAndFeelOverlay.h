#pragma once

#include "skins/ImageButtonLook.h"

namespace kelmora::skins
{
/** The look of the overlay dialogs: light three-slice buttons, white-on-dark popup menus, image
    tick boxes, framed labels and balanced tooltips, all in the shared plain face.

    Each overlay owns one and sets it on itself so that its children inherit it. Keep it in an
    OwnedSkin (skins/OwnedSkin.h) so that it is taken off every component before it goes.
    Message thread only, like every skin.
*/
class LookAndFeelOverlay : public ImageButtonLook
{
public:
    LookAndFeelOverlay();

    void drawButtonText (juce::Graphics&, juce::TextButton&, bool isMouseOver, bool isButtonDown) override;
    void drawToggleButton (juce::Graphics&, juce::ToggleButton&, bool isMouseOver, bool isButtonDown) override;

    void fillTextEditorBackground (juce::Graphics&, int width, int height, juce::TextEditor&) override;
    void drawTextEditorOutline (juce::Graphics&, int width, int height, juce::TextEditor&) override;




private:
    JUCE_DECLARE_NON_COPYABLE (LookAndFeelOverlay)
};
} // namespace kelmora::skins
