#include "skins/LookAndFeelCustom3.h"

namespace kelmora::skins
{
LookAndFeelCustom3::LookAndFeelCustom3() = default;

void LookAndFeelCustom3::drawButtonBackground (juce::Graphics& a0, juce::Button& a1, const juce::Colour& backgroundColour, bool isMouseOver, bool isButtonDown)
{
    LookAndFeelCustom2::drawButtonBackground (a0, a1, backgroundColour, isMouseOver, isButtonDown);
}

void LookAndFeelCustom3::drawButtonText (juce::Graphics& a0, juce::TextButton& a1, bool isMouseOver, bool isButtonDown)
{
    LookAndFeelCustom2::drawButtonText (a0, a1, isMouseOver, isButtonDown);
}

void LookAndFeelCustom3::drawLabel (juce::Graphics& a0, juce::Label& a1)
{
    LookAndFeelCustom2::drawLabel (a0, a1);
}

void LookAndFeelCustom3::drawRotarySlider (juce::Graphics& a0, int x, int y, int width, int height, float sliderPosProportional, float rotaryStartAngle, float rotaryEndAngle, juce::Slider& a8)
{
    LookAndFeelCustom2::drawRotarySlider (a0, x, y, width, height, sliderPosProportional, rotaryStartAngle, rotaryEndAngle, a8);
}

} // namespace kelmora::skins
