#pragma once

#include "skins/LookAndFeelCustom2.h"

namespace kelmora::skins
{
/** LookAndFeelCustom2 whose buttons and labels sit on the dark value-box image; a button's outline
    grows stronger under the mouse and when pressed. */
class LookAndFeelCustom3 : public LookAndFeelCustom2
{
public:
    LookAndFeelCustom3();

    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool isMouseOver, bool isButtonDown) override;
    void drawButtonText (juce::Graphics&, juce::TextButton&, bool isMouseOver, bool isButtonDown) override;
    void drawLabel (juce::Graphics&, juce::Label&) override;
    void drawRotarySlider (juce::Graphics&, int x, int y, int width, int height, float sliderPosProportional,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider&) override;
};
} // namespace kelmora::skins
