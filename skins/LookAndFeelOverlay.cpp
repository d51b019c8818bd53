#include "skins/LookAndFeelOverlay.h"

#include "skins/ColourTable.h"
#include "skins/SkinPainters.h"

namespace kelmora::skins
{
namespace
{
constexpr painters::TooltipStyle tooltipStyle { 15.5f, 220.0f };
using painters::plainFont;
} // namespace

LookAndFeelOverlay::LookAndFeelOverlay()
{
    setSkinColours (*this, SkinColours::overlay);
}

juce::Typeface::Ptr LookAndFeelOverlay::getTypefaceForFont (const juce::Font&)
{
    return painters::plainTypeface();
}

void LookAndFeelOverlay::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&,
                                               bool isMouseOver, bool isButtonDown)
{
    painters::drawThreeSlice (g, painters::buttonImage (painters::ButtonArt::dialog, isMouseOver, isButtonDown),
                              button.getWidth(), button.getHeight(), 6);
}

juce::Font LookAndFeelOverlay::getTextButtonFont (juce::TextButton&, int)
{
    return plainFont (13.0f);
}

void LookAndFeelOverlay::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool isButtonDown)
{
    g.setFont (getTextButtonFont (button, button.getHeight()));

    const int yIndent = painters::buttonTextIndent (button);
    const juce::Rectangle<int> box (1, yIndent - (isButtonDown ? 1 : 2), button.getWidth() - 2,
                                    button.getHeight() - 2 * yIndent);

    painters::drawTwoPassText (g, button.getButtonText(), { juce::Colour (0xFFFFFFFF), box.translated (0, 1) },
                               { painters::buttonTextColour (button), box }, juce::Justification::centred, 2, 0.7f);
}

void LookAndFeelOverlay::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool isMouseOver,
                                           bool isButtonDown)
{
    const float opacity = button.isEnabled() ? 1.0f : 0.5f;
    g.setOpacity (opacity);
    drawTickBox (g, button, 2.0f, 7.0f, 16.0f, 16.0f, button.getToggleState(), button.isEnabled(), isMouseOver,
                 isButtonDown);

    g.setFont (plainFont (12.2f));
    const juce::Rectangle<int> box (24, 4, button.getWidth() - 18, button.getHeight());
    painters::drawTwoPassText (g, button.getButtonText(),
                               { juce::Colour (0xFFFFFFFF).withMultipliedAlpha (opacity), box.translated (0, 1) },
                               { button.findColour (juce::ToggleButton::textColourId).withMultipliedAlpha (opacity), box },
                               juce::Justification::centredLeft, 10, 0.7f);
}

void LookAndFeelOverlay::changeToggleButtonWidthToFitText (juce::ToggleButton& button)
{
    painters::fitToggleButtonToText (button);
}

void LookAndFeelOverlay::drawTickBox (juce::Graphics& g, juce::Component&, float x, float y, float, float,
                                      bool ticked, bool, bool, bool)
{
    painters::drawImageTickBox (g, x, y, ticked);
}

void LookAndFeelOverlay::fillTextEditorBackground (juce::Graphics& g, int width, int height, juce::TextEditor& editor)
{
    g.setColour (editor.findColour (juce::TextEditor::backgroundColourId));
    g.fillRect (0, 0, width, height);
}

void LookAndFeelOverlay::drawTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor& editor)
{
    painters::drawBevelledTextEditorOutline (g, width, height, editor);
}

void LookAndFeelOverlay::drawPopupMenuBackground (juce::Graphics& g, int, int)
{
    g.fillAll (findColour (juce::PopupMenu::backgroundColourId));
}

juce::Font LookAndFeelOverlay::getPopupMenuFont()
{
    return plainFont (12.2f);
}

void LookAndFeelOverlay::drawPopupMenuUpDownArrow (juce::Graphics& g, int width, int height, bool isScrollUpArrow)
{
    painters::drawPopupScrollArrow (g, *this, width, height, isScrollUpArrow);
}

void LookAndFeelOverlay::getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator,
                                                    int standardMenuItemHeight, int& idealWidth, int& idealHeight)
{
    painters::idealPopupItemSize (getPopupMenuFont(), text, isSeparator, standardMenuItemHeight, 1.3f, idealWidth,
                                  idealHeight);
}

void LookAndFeelOverlay::drawComboBox (juce::Graphics& g, int width, int height, bool isButtonDown, int, int, int,
                                       int, juce::ComboBox&)
{
    painters::drawThreeSlice (g, painters::buttonImage (painters::ButtonArt::dialog, false, isButtonDown), width,
                              height, 6);
}

juce::Font LookAndFeelOverlay::getComboBoxFont (juce::ComboBox& box)
{
    return plainFont (juce::jmin (0.85f * (float) box.getHeight(), 15.0f));
}

juce::Label* LookAndFeelOverlay::createComboBoxTextBox (juce::ComboBox&)
{
    return new juce::Label();
}

void LookAndFeelOverlay::positionComboBoxText (juce::ComboBox& box, juce::Label& label)
{
    painters::positionComboBoxLabel (box, label, getComboBoxFont (box));
}

void LookAndFeelOverlay::drawLabel (juce::Graphics& g, juce::Label& label)
{
    painters::drawFramedLabel (g, label, getLabelFont (label), { false, false, false });
}

juce::Font LookAndFeelOverlay::getLabelFont (juce::Label&)
{
    return plainFont (12.2f);
}

juce::Rectangle<int> LookAndFeelOverlay::getTooltipSize (const juce::String& text)
{
    return painters::tooltipSize (text, tooltipStyle);
}

juce::Rectangle<int> LookAndFeelOverlay::getTooltipBounds (const juce::String& text, juce::Point<int> screenPos,
                                                           juce::Rectangle<int> parentArea)
{
    return painters::tooltipBounds (text, tooltipStyle, screenPos, parentArea);
}

void LookAndFeelOverlay::drawTooltip (juce::Graphics& g, const juce::String& text, int width, int height)
{
    painters::drawTooltip (g, *this, text, width, height, tooltipStyle);
}
} // namespace kelmora::skins
