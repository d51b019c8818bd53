#include "skins/LookAndFeelContextMenu.h"

namespace kelmora::skins
{
LookAndFeelContextMenu::LookAndFeelContextMenu() = default;

juce::Typeface::Ptr LookAndFeelContextMenu::getTypefaceForFont (const juce::Font& a0)
{
    return juce::LookAndFeel_V3::getTypefaceForFont (a0);
}

void LookAndFeelContextMenu::drawButtonBackground (juce::Graphics& a0, juce::Button& a1, const juce::Colour& backgroundColour, bool isMouseOver, bool isButtonDown)
{
    juce::LookAndFeel_V3::drawButtonBackground (a0, a1, backgroundColour, isMouseOver, isButtonDown);
}

juce::Font LookAndFeelContextMenu::getTextButtonFont (juce::TextButton& a0, int buttonHeight)
{
    return juce::LookAndFeel_V3::getTextButtonFont (a0, buttonHeight);
}

void LookAndFeelContextMenu::drawButtonText (juce::Graphics& a0, juce::TextButton& a1, bool isMouseOver, bool isButtonDown)
{
    juce::LookAndFeel_V3::drawButtonText (a0, a1, isMouseOver, isButtonDown);
}

void LookAndFeelContextMenu::drawToggleButton (juce::Graphics& a0, juce::ToggleButton& a1, bool isMouseOver, bool isButtonDown)
{
    juce::LookAndFeel_V3::drawToggleButton (a0, a1, isMouseOver, isButtonDown);
}

void LookAndFeelContextMenu::changeToggleButtonWidthToFitText (juce::ToggleButton& a0)
{
    juce::LookAndFeel_V3::changeToggleButtonWidthToFitText (a0);
}

void LookAndFeelContextMenu::drawTickBox (juce::Graphics& a0, juce::Component& a1, float x, float y, float w, float h, bool ticked, bool isEnabled, bool isMouseOver, bool isButtonDown)
{
    juce::LookAndFeel_V3::drawTickBox (a0, a1, x, y, w, h, ticked, isEnabled, isMouseOver, isButtonDown);
}

void LookAndFeelContextMenu::drawPopupMenuBackground (juce::Graphics& a0, int width, int height)
{
    juce::LookAndFeel_V3::drawPopupMenuBackground (a0, width, height);
}

void LookAndFeelContextMenu::drawPopupMenuItem (juce::Graphics& a0, const juce::Rectangle<int>& area, bool isSeparator, bool isActive, bool isHighlighted, bool isTicked, bool hasSubMenu, const juce::String& text, const juce::String& shortcutKeyText, const juce::Drawable* icon, const juce::Colour* textColour)
{
    juce::LookAndFeel_V3::drawPopupMenuItem (a0, area, isSeparator, isActive, isHighlighted, isTicked, hasSubMenu, text, shortcutKeyText, icon, textColour);
}

juce::Font LookAndFeelContextMenu::getPopupMenuFont ()
{
    return juce::LookAndFeel_V3::getPopupMenuFont ();
}

void LookAndFeelContextMenu::drawPopupMenuUpDownArrow (juce::Graphics& a0, int width, int height, bool isScrollUpArrow)
{
    juce::LookAndFeel_V3::drawPopupMenuUpDownArrow (a0, width, height, isScrollUpArrow);
}

void LookAndFeelContextMenu::getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator, int standardMenuItemHeight, int& idealWidth, int& idealHeight)
{
    juce::LookAndFeel_V3::getIdealPopupMenuItemSize (text, isSeparator, standardMenuItemHeight, idealWidth, idealHeight);
}

void LookAndFeelContextMenu::drawComboBox (juce::Graphics& a0, int width, int height, bool isButtonDown, int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox& a8)
{
    juce::LookAndFeel_V3::drawComboBox (a0, width, height, isButtonDown, buttonX, buttonY, buttonW, buttonH, a8);
}

juce::Font LookAndFeelContextMenu::getComboBoxFont (juce::ComboBox& a0)
{
    return juce::LookAndFeel_V3::getComboBoxFont (a0);
}

juce::Label* LookAndFeelContextMenu::createComboBoxTextBox (juce::ComboBox& a0)
{
    return juce::LookAndFeel_V3::createComboBoxTextBox (a0);
}

void LookAndFeelContextMenu::positionComboBoxText (juce::ComboBox& a0, juce::Label& a1)
{
    juce::LookAndFeel_V3::positionComboBoxText (a0, a1);
}

void LookAndFeelContextMenu::drawLabel (juce::Graphics& a0, juce::Label& a1)
{
    juce::LookAndFeel_V3::drawLabel (a0, a1);
}

juce::Font LookAndFeelContextMenu::getLabelFont (juce::Label& a0)
{
    return juce::LookAndFeel_V3::getLabelFont (a0);
}

juce::Rectangle<int> LookAndFeelContextMenu::getTooltipBounds (const juce::String& text, juce::Point<int> screenPos, juce::Rectangle<int> parentArea)
{
    return juce::LookAndFeel_V3::getTooltipBounds (text, screenPos, parentArea);
}

void LookAndFeelContextMenu::drawTooltip (juce::Graphics& a0, const juce::String& text, int width, int height)
{
    juce::LookAndFeel_V3::drawTooltip (a0, text, width, height);
}

juce::Rectangle<int> LookAndFeelContextMenu::getTooltipSize (const juce::String& text)
{
    return getTooltipBounds (text, {}, { 0, 0, 1 << 20, 1 << 20 }).withPosition (0, 0);
}

} // namespace kelmora::skins
