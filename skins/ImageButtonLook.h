#pragma once

#include "skins/SkinPainters.h"

#include <optional>

namespace kelmora::skins
{
/** What the dialog, menu and toolbar skins have in common: the shared plain face for any font,
    three-slice image buttons and combo boxes, image tick boxes, popup backgrounds, items, scroll
    arrows and item sizes, framed labels, combo-box labels over the whole box and balanced
    tooltips. The skins differ in their Style and in the painters they override. Message thread
    only. */
class ImageButtonLook : public juce::LookAndFeel_V3
{
public:
    juce::Typeface::Ptr getTypefaceForFont (const juce::Font&) override;

    juce::Font getTextButtonFont (juce::TextButton&, int buttonHeight) override;
    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool isMouseOver, bool isButtonDown) override;
    void changeToggleButtonWidthToFitText (juce::ToggleButton&) override;
    void drawTickBox (juce::Graphics&, juce::Component&, float x, float y, float w, float h,
                      bool ticked, bool isEnabled, bool isMouseOver, bool isButtonDown) override;

    void drawPopupMenuBackground (juce::Graphics&, int width, int height) override;
    void drawPopupMenuItem (juce::Graphics&, const juce::Rectangle<int>& area, bool isSeparator, bool isActive,
                            bool isHighlighted, bool isTicked, bool hasSubMenu, const juce::String& text,
                            const juce::String& shortcutKeyText, const juce::Drawable* icon,
                            const juce::Colour* textColour) override;
    juce::Font getPopupMenuFont() override;
    void drawPopupMenuUpDownArrow (juce::Graphics&, int width, int height, bool isScrollUpArrow) override;
    void getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator, int standardMenuItemHeight,
                                    int& idealWidth, int& idealHeight) override;

    void drawComboBox (juce::Graphics&, int width, int height, bool isButtonDown,
                       int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox&) override;
    juce::Font getComboBoxFont (juce::ComboBox&) override;
    juce::Label* createComboBoxTextBox (juce::ComboBox&) override;
    void positionComboBoxText (juce::ComboBox&, juce::Label&) override;

    void drawLabel (juce::Graphics&, juce::Label&) override;
    juce::Font getLabelFont (juce::Label&) override;

    /** The size a tooltip of this text takes: its layout plus 14 by 6 pixels. */
    juce::Rectangle<int> getTooltipSize (const juce::String& text);
    juce::Rectangle<int> getTooltipBounds (const juce::String& text, juce::Point<int> screenPos,
                                           juce::Rectangle<int> parentArea) override;
    void drawTooltip (juce::Graphics&, const juce::String& text, int width, int height) override;

protected:
    /** The separator of a skin that paints its own popup items. */
    struct PopupSeparator
    {
        int inset;
        juce::Colour dark;
    };

    struct Style
    {
        painters::ButtonArt buttonArt;
        float buttonFontHeight;         // text buttons
        float textFontHeight;           // popup items and labels
        float popupItemHeightFactor;    // an item's height over its font's without a standard item height
        painters::TooltipStyle tooltips;
        painters::LabelStyle labels;
        bool comboBoxShowsDown;         // else a combo box always shows the normal image
        std::optional<PopupSeparator> popupItems;    // none: JUCE's own item painter
    };

    explicit ImageButtonLook (const Style&);

private:
    const Style style;

    JUCE_DECLARE_NON_COPYABLE (ImageButtonLook)
};
} // namespace kelmora::skins
