#include "skins/ImageButtonLook.h"

namespace kelmora::skins
{
ImageButtonLook::ImageButtonLook (painters::ButtonArt art, float itemHeightFactor, painters::TooltipStyle tooltips)
    : buttonArt (art), popupItemHeightFactor (itemHeightFactor), tooltipStyle (tooltips)
{
}

juce::Typeface::Ptr ImageButtonLook::getTypefaceForFont (const juce::Font&)
{
    return painters::plainTypeface();
}

void ImageButtonLook::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&,
                                            bool isMouseOver, bool isButtonDown)
{
    painters::drawThreeSlice (g, painters::buttonImage (buttonArt, isMouseOver, isButtonDown), button.getWidth(),
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

void ImageButtonLook::drawPopupMenuUpDownArrow (juce::Graphics& g, int width, int height, bool isScrollUpArrow)
{
    painters::drawPopupScrollArrow (g, *this, width, height, isScrollUpArrow);
}

void ImageButtonLook::getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator,
                                                 int standardMenuItemHeight, int& idealWidth, int& idealHeight)
{
    painters::idealPopupItemSize (getPopupMenuFont(), text, isSeparator, standardMenuItemHeight,
                                  popupItemHeightFactor, idealWidth, idealHeight);
}

juce::Label* ImageButtonLook::createComboBoxTextBox (juce::ComboBox&)
{
    return new juce::Label();
}

void ImageButtonLook::positionComboBoxText (juce::ComboBox& box, juce::Label& label)
{
    painters::positionComboBoxLabel (box, label, getComboBoxFont (box));
}

juce::Rectangle<int> ImageButtonLook::getTooltipSize (const juce::String& text)
{
    return painters::tooltipSize (text, tooltipStyle);
}

juce::Rectangle<int> ImageButtonLook::getTooltipBounds (const juce::String& text, juce::Point<int> screenPos,
                                                        juce::Rectangle<int> parentArea)
{
    return painters::tooltipBounds (text, tooltipStyle, screenPos, parentArea);
}

void ImageButtonLook::drawTooltip (juce::Graphics& g, const juce::String& text, int width, int height)
{
    painters::drawTooltip (g, *this, text, width, height, tooltipStyle);
}
} // namespace kelmora::skins
