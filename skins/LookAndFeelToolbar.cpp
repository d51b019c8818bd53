#include "skins/LookAndFeelToolbar.h"

#include "skins/ColourTable.h"
#include "skins/SkinPainters.h"

namespace kelmora::skins
{
namespace
{
constexpr painters::TooltipStyle tooltipStyle { 13.0f, 220.0f };
using painters::plainFont;
} // namespace

LookAndFeelToolbar::LookAndFeelToolbar()
{
    setSkinColours (*this, SkinColours::toolbar);
}

juce::Typeface::Ptr LookAndFeelToolbar::getTypefaceForFont (const juce::Font&)
{
    return painters::plainTypeface();
}

void LookAndFeelToolbar::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&,
                                                   bool isMouseOver, bool isButtonDown)
{
    painters::drawThreeSlice (g, painters::buttonImage (painters::ButtonArt::menu, isMouseOver, isButtonDown),
                              button.getWidth(), button.getHeight(), 6);
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

void LookAndFeelToolbar::changeToggleButtonWidthToFitText (juce::ToggleButton& button)
{
    painters::fitToggleButtonToText (button);
}

void LookAndFeelToolbar::drawTickBox (juce::Graphics& g, juce::Component&, float x, float y, float, float,
                                          bool ticked, bool, bool, bool)
{
    painters::drawImageTickBox (g, x, y, ticked);
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

void LookAndFeelToolbar::drawPopupMenuUpDownArrow (juce::Graphics& g, int width, int height,
                                                       bool isScrollUpArrow)
{
    painters::drawPopupScrollArrow (g, *this, width, height, isScrollUpArrow);
}

void LookAndFeelToolbar::getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator,
                                                        int standardMenuItemHeight, int& idealWidth,
                                                        int& idealHeight)
{
    painters::idealPopupItemSize (getPopupMenuFont(), text, isSeparator, standardMenuItemHeight, 1.3f, idealWidth,
                                  idealHeight);
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

juce::Label* LookAndFeelToolbar::createComboBoxTextBox (juce::ComboBox&)
{
    return new juce::Label();
}

void LookAndFeelToolbar::positionComboBoxText (juce::ComboBox& box, juce::Label& label)
{
    painters::positionComboBoxLabel (box, label, getComboBoxFont (box));
}

void LookAndFeelToolbar::drawLabel (juce::Graphics& g, juce::Label& label)
{
    painters::drawFramedLabel (g, label, getLabelFont (label), { true, true, true });
}

juce::Font LookAndFeelToolbar::getLabelFont (juce::Label&)
{
    return plainFont (12.2f);
}

juce::Rectangle<int> LookAndFeelToolbar::getTooltipSize (const juce::String& text)
{
    return painters::tooltipSize (text, tooltipStyle);
}

juce::Rectangle<int> LookAndFeelToolbar::getTooltipBounds (const juce::String& text, juce::Point<int> screenPos,
                                                               juce::Rectangle<int> parentArea)
{
    return painters::tooltipBounds (text, tooltipStyle, screenPos, parentArea);
}

void LookAndFeelToolbar::drawTooltip (juce::Graphics& g, const juce::String& text, int width, int height)
{
    painters::drawTooltip (g, *this, text, width, height, tooltipStyle);
}
} // namespace kelmora::skins
