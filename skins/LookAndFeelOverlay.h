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

    juce::Font getTextButtonFont (juce::TextButton&, int buttonHeight) override;
    void drawButtonText (juce::Graphics&, juce::TextButton&, bool isMouseOver, bool isButtonDown) override;
    void drawToggleButton (juce::Graphics&, juce::ToggleButton&, bool isMouseOver, bool isButtonDown) override;

    void fillTextEditorBackground (juce::Graphics&, int width, int height, juce::TextEditor&) override;
    void drawTextEditorOutline (juce::Graphics&, int width, int height, juce::TextEditor&) override;

    void drawPopupMenuBackground (juce::Graphics&, int width, int height) override;
    juce::Font getPopupMenuFont() override;

    void drawComboBox (juce::Graphics&, int width, int height, bool isButtonDown,
                       int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox&) override;
    juce::Font getComboBoxFont (juce::ComboBox&) override;

    void drawLabel (juce::Graphics&, juce::Label&) override;
    juce::Font getLabelFont (juce::Label&) override;

private:
    JUCE_DECLARE_NON_COPYABLE (LookAndFeelOverlay)
};
} // namespace kelmora::skins
