#include "skins/LookAndFeelContextMenu.h"

#include "skins/ColourTable.h"

namespace kelmora::skins
{
LookAndFeelContextMenu::LookAndFeelContextMenu()
    : ImageButtonLook ({ painters::ButtonArt::menu, 13.0f, 13.0f, 1.7f, { 13.0f, 200.0f }, { true, false, true },
                         false, PopupSeparator { 4, juce::Colour (0x20000000) } })
{
    setSkinColours (*this, SkinColours::contextMenu);
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
} // namespace kelmora::skins
