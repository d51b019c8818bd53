#include "skins/LookAndFeelOverlay.h"

namespace kelmora::skins
{
LookAndFeelOverlay::LookAndFeelOverlay() = default;

juce::Typeface::Ptr LookAndFeelOverlay::getTypefaceForFont (const juce::Font& a0)
{
    return juce::LookAndFeel_V3::getTypefaceForFont (a0);
}

void LookAndFeelOverlay::drawButtonBackground (juce::Graphics& a0, juce::Button& a1, const juce::Colour& backgroundColour, bool isMouseOver, bool isButtonDown)
{
    juce::LookAndFeel_V3::drawButtonBackground (a0, a1, backgroundColour, isMouseOver, isButtonDown);
}

juce::Font LookAndFeelOverlay::getTextButtonFont (juce::TextButton& a0, int buttonHeight)
{
    return juce::LookAndFeel_V3::getTextButtonFont (a0, buttonHeight);
}

void LookAndFeelOverlay::drawButtonText (juce::Graphics& a0, juce::TextButton& a1, bool isMouseOver, bool isButtonDown)
{
    juce::LookAndFeel_V3::drawButtonText (a0, a1, isMouseOver, isButtonDown);
}

void LookAndFeelOverlay::drawToggleButton (juce::Graphics& a0, juce::ToggleButton& a1, bool isMouseOver, bool isButtonDown)
{
    juce::LookAndFeel_V3::drawToggleButton (a0, a1, isMouseOver, isButtonDown);
}

void LookAndFeelOverlay::changeToggleButtonWidthToFitText (juce::ToggleButton& a0)
{
    juce::LookAndFeel_V3::changeToggleButtonWidthToFitText (a0);
}

void LookAndFeelOverlay::drawTickBox (juce::Graphics& a0, juce::Component& a1, float x, float y, float w, float h, bool ticked, bool isEnabled, bool isMouseOver, bool isButtonDown)
{
    juce::LookAndFeel_V3::drawTickBox (a0, a1, x, y, w, h, ticked, isEnabled, isMouseOver, isButtonDown);
}

void LookAndFeelOverlay::fillTextEditorBackground (juce::Graphics& a0, int width, int height, juce::TextEditor& a3)
{
    juce::LookAndFeel_V3::fillTextEditorBackground (a0, width, height, a3);
}

void LookAndFeelOverlay::drawTextEditorOutline (juce::Graphics& a0, int width, int height, juce::TextEditor& a3)
{
    juce::LookAndFeel_V3::drawTextEditorOutline (a0, width, height, a3);
}

void LookAndFeelOverlay::drawPopupMenuBackground (juce::Graphics& a0, int width, int height)
{
    juce::LookAndFeel_V3::drawPopupMenuBackground (a0, width, height);
}

juce::Font LookAndFeelOverlay::getPopupMenuFont ()
{
    return juce::LookAndFeel_V3::getPopupMenuFont ();
}

void LookAndFeelOverlay::drawPopupMenuUpDownArrow (juce::Graphics& a0, int width, int height, bool isScrollUpArrow)
{
    juce::LookAndFeel_V3::drawPopupMenuUpDownArrow (a0, width, height, isScrollUpArrow);
}

void LookAndFeelOverlay::getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator, int standardMenuItemHeight, int& idealWidth, int& idealHeight)
{
    juce::LookAndFeel_V3::getIdealPopupMenuItemSize (text, isSeparator, standardMenuItemHeight, idealWidth, idealHeight);
}

void LookAndFeelOverlay::drawComboBox (juce::Graphics& a0, int width, int height, bool isButtonDown, int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox& a8)
{
    juce::LookAndFeel_V3::drawComboBox (a0, width, height, isButtonDown, buttonX, buttonY, buttonW, buttonH, a8);
}

juce::Font LookAndFeelOverlay::getComboBoxFont (juce::ComboBox& a0)
{
    return juce::LookAndFeel_V3::getComboBoxFont (a0);
}

juce::Label* LookAndFeelOverlay::createComboBoxTextBox (juce::ComboBox& a0)
{
    return juce::LookAndFeel_V3::createComboBoxTextBox (a0);
}

void LookAndFeelOverlay::positionComboBoxText (juce::ComboBox& a0, juce::Label& a1)
{
    juce::LookAndFeel_V3::positionComboBoxText (a0, a1);
}

void LookAndFeelOverlay::drawLabel (juce::Graphics& a0, juce::Label& a1)
{
    juce::LookAndFeel_V3::drawLabel (a0, a1);
}

juce::Font LookAndFeelOverlay::getLabelFont (juce::Label& a0)
{
    return juce::LookAndFeel_V3::getLabelFont (a0);
}

juce::Rectangle<int> LookAndFeelOverlay::getTooltipBounds (const juce::String& text, juce::Point<int> screenPos, juce::Rectangle<int> parentArea)
{
    return juce::LookAndFeel_V3::getTooltipBounds (text, screenPos, parentArea);
}

void LookAndFeelOverlay::drawTooltip (juce::Graphics& a0, const juce::String& text, int width, int height)
{
    juce::LookAndFeel_V3::drawTooltip (a0, text, width, height);
}

juce::Rectangle<int> LookAndFeelOverlay::getTooltipSize (const juce::String& text)
{
    return getTooltipBounds (text, {}, { 0, 0, 1 << 20, 1 << 20 }).withPosition (0, 0);
}

} // namespace kelmora::skins
