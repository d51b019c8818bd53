#include "skins/LookAndFeelToolbar.h"

namespace kelmora::skins
{
LookAndFeelToolbar::LookAndFeelToolbar() = default;

juce::Typeface::Ptr LookAndFeelToolbar::getTypefaceForFont (const juce::Font& a0)
{
    return juce::LookAndFeel_V3::getTypefaceForFont (a0);
}

void LookAndFeelToolbar::drawButtonBackground (juce::Graphics& a0, juce::Button& a1, const juce::Colour& backgroundColour, bool isMouseOver, bool isButtonDown)
{
    juce::LookAndFeel_V3::drawButtonBackground (a0, a1, backgroundColour, isMouseOver, isButtonDown);
}

juce::Font LookAndFeelToolbar::getTextButtonFont (juce::TextButton& a0, int buttonHeight)
{
    return juce::LookAndFeel_V3::getTextButtonFont (a0, buttonHeight);
}

void LookAndFeelToolbar::drawButtonText (juce::Graphics& a0, juce::TextButton& a1, bool isMouseOver, bool isButtonDown)
{
    juce::LookAndFeel_V3::drawButtonText (a0, a1, isMouseOver, isButtonDown);
}

void LookAndFeelToolbar::drawToggleButton (juce::Graphics& a0, juce::ToggleButton& a1, bool isMouseOver, bool isButtonDown)
{
    juce::LookAndFeel_V3::drawToggleButton (a0, a1, isMouseOver, isButtonDown);
}

void LookAndFeelToolbar::changeToggleButtonWidthToFitText (juce::ToggleButton& a0)
{
    juce::LookAndFeel_V3::changeToggleButtonWidthToFitText (a0);
}

void LookAndFeelToolbar::drawTickBox (juce::Graphics& a0, juce::Component& a1, float x, float y, float w, float h, bool ticked, bool isEnabled, bool isMouseOver, bool isButtonDown)
{
    juce::LookAndFeel_V3::drawTickBox (a0, a1, x, y, w, h, ticked, isEnabled, isMouseOver, isButtonDown);
}

void LookAndFeelToolbar::fillTextEditorBackground (juce::Graphics& a0, int width, int height, juce::TextEditor& a3)
{
    juce::LookAndFeel_V3::fillTextEditorBackground (a0, width, height, a3);
}

void LookAndFeelToolbar::drawTextEditorOutline (juce::Graphics& a0, int width, int height, juce::TextEditor& a3)
{
    juce::LookAndFeel_V3::drawTextEditorOutline (a0, width, height, a3);
}

void LookAndFeelToolbar::drawPopupMenuBackground (juce::Graphics& a0, int width, int height)
{
    juce::LookAndFeel_V3::drawPopupMenuBackground (a0, width, height);
}

void LookAndFeelToolbar::drawPopupMenuItem (juce::Graphics& a0, const juce::Rectangle<int>& area, bool isSeparator, bool isActive, bool isHighlighted, bool isTicked, bool hasSubMenu, const juce::String& text, const juce::String& shortcutKeyText, const juce::Drawable* icon, const juce::Colour* textColour)
{
    juce::LookAndFeel_V3::drawPopupMenuItem (a0, area, isSeparator, isActive, isHighlighted, isTicked, hasSubMenu, text, shortcutKeyText, icon, textColour);
}

juce::Font LookAndFeelToolbar::getPopupMenuFont ()
{
    return juce::LookAndFeel_V3::getPopupMenuFont ();
}

void LookAndFeelToolbar::drawPopupMenuUpDownArrow (juce::Graphics& a0, int width, int height, bool isScrollUpArrow)
{
    juce::LookAndFeel_V3::drawPopupMenuUpDownArrow (a0, width, height, isScrollUpArrow);
}

void LookAndFeelToolbar::getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator, int standardMenuItemHeight, int& idealWidth, int& idealHeight)
{
    juce::LookAndFeel_V3::getIdealPopupMenuItemSize (text, isSeparator, standardMenuItemHeight, idealWidth, idealHeight);
}

void LookAndFeelToolbar::drawComboBox (juce::Graphics& a0, int width, int height, bool isButtonDown, int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox& a8)
{
    juce::LookAndFeel_V3::drawComboBox (a0, width, height, isButtonDown, buttonX, buttonY, buttonW, buttonH, a8);
}

juce::Font LookAndFeelToolbar::getComboBoxFont (juce::ComboBox& a0)
{
    return juce::LookAndFeel_V3::getComboBoxFont (a0);
}

juce::Label* LookAndFeelToolbar::createComboBoxTextBox (juce::ComboBox& a0)
{
    return juce::LookAndFeel_V3::createComboBoxTextBox (a0);
}

void LookAndFeelToolbar::positionComboBoxText (juce::ComboBox& a0, juce::Label& a1)
{
    juce::LookAndFeel_V3::positionComboBoxText (a0, a1);
}

void LookAndFeelToolbar::drawLabel (juce::Graphics& a0, juce::Label& a1)
{
    juce::LookAndFeel_V3::drawLabel (a0, a1);
}

juce::Font LookAndFeelToolbar::getLabelFont (juce::Label& a0)
{
    return juce::LookAndFeel_V3::getLabelFont (a0);
}

juce::Rectangle<int> LookAndFeelToolbar::getTooltipBounds (const juce::String& text, juce::Point<int> screenPos, juce::Rectangle<int> parentArea)
{
    return juce::LookAndFeel_V3::getTooltipBounds (text, screenPos, parentArea);
}

void LookAndFeelToolbar::drawTooltip (juce::Graphics& a0, const juce::String& text, int width, int height)
{
    juce::LookAndFeel_V3::drawTooltip (a0, text, width, height);
}

juce::Rectangle<int> LookAndFeelToolbar::getTooltipSize (const juce::String& text)
{
    return getTooltipBounds (text, {}, { 0, 0, 1 << 20, 1 << 20 }).withPosition (0, 0);
}

} // namespace kelmora::skins
