#include "skins/LookAndFeelContextMenu.h"

#include "skins/ColourTable.h"
#include "skins/SkinPainters.h"

namespace kelmora::skins
{
namespace
{
constexpr painters::TooltipStyle tooltipStyle { 13.0f, 200.0f };
using painters::plainFont;
} // namespace

LookAndFeelContextMenu::LookAndFeelContextMenu()
{
    setSkinColours (*this, SkinColours::contextMenu);
}

juce::Typeface::Ptr LookAndFeelContextMenu::getTypefaceForFont (const juce::Font&)
{
    return painters::plainTypeface();
}

void LookAndFeelContextMenu::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&,
                                                   bool isMouseOver, bool isButtonDown)
{
    painters::drawThreeSlice (g, painters::buttonImage (painters::ButtonArt::menu, isMouseOver, isButtonDown),
                              button.getWidth(), button.getHeight(), 6);
}

juce::Font LookAndFeelContextMenu::getTextButtonFont (juce::TextButton&, int)
{
    return plainFont (13.0f);
}

void LookAndFeelContextMenu::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    const auto font = getTextButtonFont (button, button.getHeight()).withHeight (13.0f);
    g.setFont (font);

    const int w = button.getWidth(), h = button.getHeight();
    const int yIndent = painters::buttonTextIndent (button);
    const int cornerSize = juce::jmin (w, h) / 2;
    const int fontHeight = juce::roundToInt (font.getHeight() * 0.6f);
    const int leftIndent = juce::jmin (fontHeight, 2 + cornerSize / (button.isConnectedOnLeft() ? 4 : 2));
    const int rightIndent = juce::jmin (fontHeight, 2 + cornerSize / (button.isConnectedOnRight() ? 4 : 2));
    const juce::Rectangle<int> box (leftIndent, yIndent, w - leftIndent - rightIndent, h - 2 * yIndent);

    painters::drawTwoPassText (g, button.getButtonText(), { juce::Colour (0x55000000), box.translated (1, 1) },
                               { painters::buttonTextColour (button), box }, juce::Justification::centred, 2, 0.7f);
}

void LookAndFeelContextMenu::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool isMouseOver,
                                               bool isButtonDown)
{
    painters::drawShadowedToggle (g, *this, button, isMouseOver, isButtonDown, 28, 28, nullptr);
}

void LookAndFeelContextMenu::changeToggleButtonWidthToFitText (juce::ToggleButton& button)
{
    painters::fitToggleButtonToText (button);
}

void LookAndFeelContextMenu::drawTickBox (juce::Graphics& g, juce::Component&, float x, float y, float, float,
                                          bool ticked, bool, bool, bool)
{
    painters::drawImageTickBox (g, x, y, ticked);
}

void LookAndFeelContextMenu::drawPopupMenuBackground (juce::Graphics& g, int, int)
{
    g.fillAll (findColour (juce::PopupMenu::backgroundColourId));
}

void LookAndFeelContextMenu::drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area,
                                                bool isSeparator, bool isActive, bool isHighlighted, bool isTicked,
                                                bool hasSubMenu, const juce::String& text,
                                                const juce::String& shortcutKeyText, const juce::Drawable* icon,
                                                const juce::Colour* textColour)
{
    painters::drawPopupItem (g, *this, area, isSeparator, isActive, isHighlighted, isTicked, hasSubMenu, text,
                             shortcutKeyText, icon, textColour,
                             { 4, juce::Colour (0x20000000), juce::Colour (0x10FFFFFF), getPopupMenuFont() });
}

juce::Font LookAndFeelContextMenu::getPopupMenuFont()
{
    return plainFont (13.0f);
}

void LookAndFeelContextMenu::drawPopupMenuUpDownArrow (juce::Graphics& g, int width, int height,
                                                       bool isScrollUpArrow)
{
    painters::drawPopupScrollArrow (g, *this, width, height, isScrollUpArrow);
}

void LookAndFeelContextMenu::getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator,
                                                        int standardMenuItemHeight, int& idealWidth,
                                                        int& idealHeight)
{
    painters::idealPopupItemSize (getPopupMenuFont(), text, isSeparator, standardMenuItemHeight, 1.7f, idealWidth,
                                  idealHeight);
}

void LookAndFeelContextMenu::drawComboBox (juce::Graphics& g, int width, int height, bool, int, int, int, int,
                                           juce::ComboBox&)
{
    painters::drawThreeSlice (g, painters::buttonImage (painters::ButtonArt::menu, false, false), width, height, 6);
}

juce::Font LookAndFeelContextMenu::getComboBoxFont (juce::ComboBox& box)
{
    return plainFont (juce::jmin (0.85f * (float) box.getHeight(), 15.0f));
}

juce::Label* LookAndFeelContextMenu::createComboBoxTextBox (juce::ComboBox&)
{
    return new juce::Label();
}

void LookAndFeelContextMenu::positionComboBoxText (juce::ComboBox& box, juce::Label& label)
{
    painters::positionComboBoxLabel (box, label, getComboBoxFont (box));
}

void LookAndFeelContextMenu::drawLabel (juce::Graphics& g, juce::Label& label)
{
    painters::drawFramedLabel (g, label, getLabelFont (label), { true, false, true });
}

juce::Font LookAndFeelContextMenu::getLabelFont (juce::Label&)
{
    return plainFont (13.0f);
}

juce::Rectangle<int> LookAndFeelContextMenu::getTooltipSize (const juce::String& text)
{
    return painters::tooltipSize (text, tooltipStyle);
}

juce::Rectangle<int> LookAndFeelContextMenu::getTooltipBounds (const juce::String& text, juce::Point<int> screenPos,
                                                               juce::Rectangle<int> parentArea)
{
    return painters::tooltipBounds (text, tooltipStyle, screenPos, parentArea);
}

void LookAndFeelContextMenu::drawTooltip (juce::Graphics& g, const juce::String& text, int width, int height)
{
    painters::drawTooltip (g, *this, text, width, height, tooltipStyle);
}
} // namespace kelmora::skins
