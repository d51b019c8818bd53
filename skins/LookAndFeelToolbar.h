#pragma once

#include "skins/ImageButtonLook.h"

namespace kelmora::skins
{
/** The look of the editor itself, which every child without a skin of its own inherits: the
    preset bar's dark three-slice buttons, the preset box (bold text), framed dark popup menus,
    rounded text fields and the tooltip window. Message thread only. */
class LookAndFeelToolbar : public ImageButtonLook
{
public:
    LookAndFeelToolbar();

    void drawButtonText (juce::Graphics&, juce::TextButton&, bool isMouseOver, bool isButtonDown) override;
    void drawToggleButton (juce::Graphics&, juce::ToggleButton&, bool isMouseOver, bool isButtonDown) override;

    void fillTextEditorBackground (juce::Graphics&, int width, int height, juce::TextEditor&) override;
    void drawTextEditorOutline (juce::Graphics&, int width, int height, juce::TextEditor&) override;

    void drawPopupMenuBackground (juce::Graphics&, int width, int height) override;

    juce::Font getComboBoxFont (juce::ComboBox&) override;


private:
    JUCE_DECLARE_NON_COPYABLE (LookAndFeelToolbar)
};
} // namespace kelmora::skins
