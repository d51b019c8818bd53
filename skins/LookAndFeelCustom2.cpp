#include "skins/LookAndFeelCustom2.h"

#include "skins/ColourTable.h"

namespace kelmora::skins
{
LookAndFeelCustom2::LookAndFeelCustom2()
{
    setSkinColours (*this, SkinColours::custom);
}

void LookAndFeelCustom2::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float, float,
                                           float, juce::Slider& slider)
{
    const auto top = (float) drawKnobFrame (g, x, y, width, height, slider);
    const float tickX = (float) x + 0.5f * (float) width + 0.2f;

    g.setColour (juce::Colour (0xCCFFFFFF));
    g.drawLine (tickX, top, tickX, top + 4.2f, 2.2f);
}
} // namespace kelmora::skins
