#include "skins/LookAndFeelOverlayButton.h"

namespace kelmora::skins
{
LookAndFeelOverlayButton::LookAndFeelOverlayButton() = default;

void LookAndFeelOverlayButton::drawButtonBackground (juce::Graphics& a0, juce::Button& a1, const juce::Colour& backgroundColour, bool isMouseOver, bool isButtonDown)
{
    juce::LookAndFeel_V3::drawButtonBackground (a0, a1, backgroundColour, isMouseOver, isButtonDown);
}

juce::Font LookAndFeelOverlayButton::getTextButtonFont (juce::TextButton& a0, int buttonHeight)
{
    return juce::LookAndFeel_V3::getTextButtonFont (a0, buttonHeight);
}

void LookAndFeelOverlayButton::drawButtonText (juce::Graphics& a0, juce::TextButton& a1, bool isMouseOver, bool isButtonDown)
{
    juce::LookAndFeel_V3::drawButtonText (a0, a1, isMouseOver, isButtonDown);
}

} // namespace kelmora::skins
