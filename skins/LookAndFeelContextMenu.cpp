#include "skins/LookAndFeelContextMenu.h"

#include "skins/ColourTable.h"

namespace kelmora::skins
{
using painters::plainFont;

LookAndFeelContextMenu::LookAndFeelContextMenu()
    : ImageButtonLook (painters::ButtonArt::menu, 1.7f, { 13.0f, 200.0f })
{
    setSkinColours (*this, SkinColours::contextMenu);
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

void LookAndFeelContextMenu::drawComboBox (juce::Graphics& g, int width, int height, bool, int, int, int, int,
                                           juce::ComboBox&)
{
    painters::drawThreeSlice (g, painters::buttonImage (painters::ButtonArt::menu, false, false), width, height, 6);
}

juce::Font LookAndFeelContextMenu::getComboBoxFont (juce::ComboBox& box)
{
    return plainFont (juce::jmin (0.85f * (float) box.getHeight(), 15.0f));
}

void LookAndFeelContextMenu::drawLabel (juce::Graphics& g, juce::Label& label)
{
    painters::drawFramedLabel (g, label, getLabelFont (label), { true, false, true });
}

juce::Font LookAndFeelContextMenu::getLabelFont (juce::Label&)
{
    return plainFont (13.0f);
}

} // namespace kelmora::skins
