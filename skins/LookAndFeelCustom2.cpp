#include "skins/LookAndFeelCustom2.h"

namespace kelmora::skins
{
LookAndFeelCustom2::LookAndFeelCustom2() = default;

void LookAndFeelCustom2::drawRotarySlider (juce::Graphics& a0, int x, int y, int width, int height, float sliderPosProportional, float rotaryStartAngle, float rotaryEndAngle, juce::Slider& a8)
{
    LookAndFeelCustom::drawRotarySlider (a0, x, y, width, height, sliderPosProportional, rotaryStartAngle, rotaryEndAngle, a8);
}

} // namespace kelmora::skins
