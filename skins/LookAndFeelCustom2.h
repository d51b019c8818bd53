#pragma once

#include "skins/LookAndFeelCustom.h"

namespace kelmora::skins
{
/** LookAndFeelCustom with a fixed white tick at twelve o'clock above every knob. */
class LookAndFeelCustom2 : public LookAndFeelCustom
{
public:
    LookAndFeelCustom2();

    void drawRotarySlider (juce::Graphics&, int x, int y, int width, int height, float sliderPosProportional,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider&) override;
};
} // namespace kelmora::skins
