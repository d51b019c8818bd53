#include "skins/LookAndFeelToolbar.h"

#include "skins/ColourTable.h"

namespace kelmora::skins
{
LookAndFeelToolbar::LookAndFeelToolbar()
    : ImageButtonLook ({ painters::ButtonArt::menu, 12.2f, 12.2f, 1.3f, { 13.0f, 220.0f }, { true, true, true },
                         false, PopupSeparator { 5, juce::Colour (0x22000000) } })
{
    setSkinColours (*this, SkinColours::toolbar);
}

void LookAndFeelToolbar::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    g.setFont (getTextButtonFont (button, button.getHeight()).withHeight (13.0f));

    const int yIndent = painters::buttonTextIndent (button);
    const juce::Rectangle<int> box (1, yIndent, button.getWidth() - 2, button.getHeight() - 2 * yIndent);

    painters::drawTwoPassText (g, button.getButtonText(), { juce::Colour (0x55000000), box.translated (1, 1) },
                               { painters::buttonTextColour (button), box }, juce::Justification::centred, 2, 0.7f);
}

void LookAndFeelToolbar::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool isMouseOver,
                                               bool isButtonDown)
{
    const juce::Colour black (0xFF000000);
    painters::drawShadowedToggle (g, *this, button, isMouseOver, isButtonDown, 26, 27, &black);
}

void LookAndFeelToolbar::fillTextEditorBackground (juce::Graphics& g, int width, int height,
                                                   juce::TextEditor& editor)
{
    g.setColour (editor.findColour (juce::TextEditor::backgroundColourId));
    g.fillRoundedRectangle (0.0f, 0.0f, (float) width, (float) height, 2.0f);
}

void LookAndFeelToolbar::drawTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor& editor)
{
    painters::drawBevelledTextEditorOutline (g, width, height, editor);
}

void LookAndFeelToolbar::drawPopupMenuBackground (juce::Graphics& g, int width, int height)
{
    painters::drawFramedPopupBackground (g, *this, width, height, 0.2f);
}

juce::Font LookAndFeelToolbar::getComboBoxFont (juce::ComboBox&)
{
    return painters::boldFont (12.2f);
}
} // namespace kelmora::skins
