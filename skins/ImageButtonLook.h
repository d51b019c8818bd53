#pragma once

#include "skins/SkinPainters.h"

namespace kelmora::skins
{
/** What the dialog, menu and toolbar skins have in common: the shared plain face for any font,
    three-slice image buttons, image tick boxes, popup scroll arrows and item sizes, combo-box
    labels over the whole box and balanced tooltips. The skins differ in the parameters given
    here and in the painters they override. Message thread only. */
class ImageButtonLook : public juce::LookAndFeel_V3
{
public:
    juce::Typeface::Ptr getTypefaceForFont (const juce::Font&) override;

    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool isMouseOver, bool isButtonDown) override;
    void changeToggleButtonWidthToFitText (juce::ToggleButton&) override;
    void drawTickBox (juce::Graphics&, juce::Component&, float x, float y, float w, float h,
                      bool ticked, bool isEnabled, bool isMouseOver, bool isButtonDown) override;

    void drawPopupMenuUpDownArrow (juce::Graphics&, int width, int height, bool isScrollUpArrow) override;
    void getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator, int standardMenuItemHeight,
                                    int& idealWidth, int& idealHeight) override;

    juce::Label* createComboBoxTextBox (juce::ComboBox&) override;
    void positionComboBoxText (juce::ComboBox&, juce::Label&) override;

    /** The size a tooltip of this text takes: its layout plus 14 by 6 pixels. */
    juce::Rectangle<int> getTooltipSize (const juce::String& text);
    juce::Rectangle<int> getTooltipBounds (const juce::String& text, juce::Point<int> screenPos,
                                           juce::Rectangle<int> parentArea) override;
    void drawTooltip (juce::Graphics&, const juce::String& text, int width, int height) override;

protected:
    /** popupItemHeightFactor: an item's height over its font's without a standard item height. */
    ImageButtonLook (painters::ButtonArt, float popupItemHeightFactor, painters::TooltipStyle);

private:
    const painters::ButtonArt buttonArt;
    const float popupItemHeightFactor;
    const painters::TooltipStyle tooltipStyle;

    JUCE_DECLARE_NON_COPYABLE (ImageButtonLook)
};
} // namespace kelmora::skins
