#include "skins/LookAndFeelToolbar.h"

#include "skins/ColourTable.h"

namespace kelmora::skins
{
using painters::plainFont;

LookAndFeelToolbar::LookAndFeelToolbar()
    : ImageButtonLook (painters::ButtonArt::menu, 1.3f, { 13.0f, 220.0f })
{
    setSkinColours (*this, SkinColours::toolbar);
}

juce::Font LookAndFeelToolbar::getTextButtonFont (juce::TextButton&, int)
{
    return plainFont (12.2f);
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

void LookAndFeelToolbar::drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area,
                                                bool isSeparator, bool isActive, bool isHighlighted, bool isTicked,
                                                bool hasSubMenu, const juce::String& text,
                                                const juce::String& shortcutKeyText, const juce::Drawable* icon,
                                                const juce::Colour* textColour)
{
    painters::drawPopupItem (g, *this, area, isSeparator, isActive, isHighlighted, isTicked, hasSubMenu, text,
                             shortcutKeyText, icon, textColour,
                             { 5, juce::Colour (0x22000000), juce::Colour (0x10FFFFFF), getPopupMenuFont() });
}

juce::Font LookAndFeelToolbar::getPopupMenuFont()
{
    return plainFont (12.2f);
}

void LookAndFeelToolbar::drawComboBox (juce::Graphics& g, int width, int height, bool, int, int, int, int,
                                           juce::ComboBox&)
{
    painters::drawThreeSlice (g, painters::buttonImage (painters::ButtonArt::menu, false, false), width, height, 6);
}

juce::Font LookAndFeelToolbar::getComboBoxFont (juce::ComboBox&)
{
    return painters::boldFont (12.2f);
}

void LookAndFeelToolbar::drawLabel (juce::Graphics& g, juce::Label& label)
{
    painters::drawFramedLabel (g, label, getLabelFont (label), { true, true, true });
}

juce::Font LookAndFeelToolbar::getLabelFont (juce::Label&)
{
    return plainFont (12.2f);
}

} // namespace kelmora::skins
