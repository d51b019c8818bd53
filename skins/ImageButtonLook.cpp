#include "skins/ImageButtonLook.h"

namespace kelmora::skins
{
ImageButtonLook::ImageButtonLook (const Style& s) : style (s)
{
}

juce::Typeface::Ptr ImageButtonLook::getTypefaceForFont (const juce::Font&)
{
    return painters::plainTypeface();
}

juce::Font ImageButtonLook::getTextButtonFont (juce::TextButton&, int)
{
    return painters::plainFont (style.buttonFontHeight);
}

void ImageButtonLook::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&,
                                            bool isMouseOver, bool isButtonDown)
{
    painters::drawThreeSlice (g, painters::buttonImage (style.buttonArt, isMouseOver, isButtonDown), button.getWidth(),
                              button.getHeight(), 6);
}

void ImageButtonLook::changeToggleButtonWidthToFitText (juce::ToggleButton& button)
{
    painters::fitToggleButtonToText (button);
}

void ImageButtonLook::drawTickBox (juce::Graphics& g, juce::Component&, float x, float y, float, float, bool ticked,
                                   bool, bool, bool)
{
    painters::drawImageTickBox (g, x, y, ticked);
}

void ImageButtonLook::drawPopupMenuBackground (juce::Graphics& g, int, int)
{
    g.fillAll (findColour (juce::PopupMenu::backgroundColourId));
}

void ImageButtonLook::drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area, bool isSeparator,
                                         bool isActive, bool isHighlighted, bool isTicked, bool hasSubMenu,
                                         const juce::String& text, const juce::String& shortcutKeyText,
                                         const juce::Drawable* icon, const juce::Colour* textColour)
{
    if (! style.popupItems)
        return LookAndFeel_V3::drawPopupMenuItem (g, area, isSeparator, isActive, isHighlighted, isTicked,
                                                  hasSubMenu, text, shortcutKeyText, icon, textColour);
    painters::drawPopupItem (g, *this, area, isSeparator, isActive, isHighlighted, isTicked, hasSubMenu, text,
                             shortcutKeyText, icon, textColour,
                             { style.popupItems->inset, style.popupItems->dark, juce::Colour (0x10FFFFFF),
                               getPopupMenuFont() });
}

juce::Font ImageButtonLook::getPopupMenuFont()
{
    return painters::plainFont (style.textFontHeight);
}

void ImageButtonLook::drawPopupMenuUpDownArrow (juce::Graphics& g, int width, int height, bool isScrollUpArrow)
{
    painters::drawPopupScrollArrow (g, *this, width, height, isScrollUpArrow);
}

void ImageButtonLook::getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator,
                                                 int standardMenuItemHeight, int& idealWidth, int& idealHeight)
{
    painters::idealPopupItemSize (getPopupMenuFont(), text, isSeparator, standardMenuItemHeight,
                                  style.popupItemHeightFactor, idealWidth, idealHeight);
}

void ImageButtonLook::drawComboBox (juce::Graphics& g, int width, int height, bool isButtonDown, int, int, int, int,
                                    juce::ComboBox&)
{
    painters::drawThreeSlice (g, painters::buttonImage (style.buttonArt, false, style.comboBoxShowsDown && isButtonDown),
                              width, height, 6);
}

juce::Font ImageButtonLook::getComboBoxFont (juce::ComboBox& box)
{
    return painters::plainFont (juce::jmin (0.85f * (float) box.getHeight(), 15.0f));
}

juce::Label* ImageButtonLook::createComboBoxTextBox (juce::ComboBox&)
{
    return new juce::Label();
}

void ImageButtonLook::positionComboBoxText (juce::ComboBox& box, juce::Label& label)
{
    painters::positionComboBoxLabel (box, label, getComboBoxFont (box));
}

void ImageButtonLook::drawLabel (juce::Graphics& g, juce::Label& label)
{
    painters::drawFramedLabel (g, label, getLabelFont (label), style.labels);
}

juce::Font ImageButtonLook::getLabelFont (juce::Label&)
{
    return painters::plainFont (style.textFontHeight);
}

juce::Rectangle<int> ImageButtonLook::getTooltipSize (const juce::String& text)
{
    return painters::tooltipSize (text, style.tooltips);
}

juce::Rectangle<int> ImageButtonLook::getTooltipBounds (const juce::String& text, juce::Point<int> screenPos,
                                                        juce::Rectangle<int> parentArea)
{
    return painters::tooltipBounds (text, style.tooltips, screenPos, parentArea);
}

void ImageButtonLook::drawTooltip (juce::Graphics& g, const juce::String& text, int width, int height)
{
    painters::drawTooltip (g, *this, text, width, height, style.tooltips);
}
} // namespace kelmora::skins
