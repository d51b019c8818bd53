#include "skins/LookAndFeelCustom3.h"

#include "resources/BinaryData.h"
#include "skins/ColourTable.h"
#include "skins/SkinPainters.h"

namespace kelmora::skins
{
namespace
{
void drawValueBox (juce::Graphics& g, juce::Component& component)
{
    g.drawImage (juce::ImageCache::getFromMemory (resources::value_box_png, resources::value_box_pngSize),
                 component.getLocalBounds().toFloat());
}
} // namespace

LookAndFeelCustom3::LookAndFeelCustom3()
{
    setSkinColours (*this, SkinColours::custom);
}

void LookAndFeelCustom3::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&,
                                               bool isMouseOver, bool isButtonDown)
{
    drawValueBox (g, button);

    const float alpha = isButtonDown ? 1.0f : isMouseOver ? 0.8f : 0.5f;
    g.setColour (button.findColour (juce::TextButton::textColourOnId).withMultipliedAlpha (alpha));
    g.drawRoundedRectangle (button.getLocalBounds().toFloat(), 3.0f, 1.0f);
}

void LookAndFeelCustom3::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    const int yIndent = painters::buttonTextIndent (button);

    g.setFont (painters::plainFont (12.2f));
    g.setColour (button.findColour (juce::TextButton::textColourOnId));
    g.drawFittedText (button.getButtonText(), 1, yIndent, button.getWidth() - 2, button.getHeight() - 2 * yIndent,
                      juce::Justification::centred, 2, 0.7f);
}

void LookAndFeelCustom3::drawLabel (juce::Graphics& g, juce::Label& label)
{
    drawValueBox (g, label);

    const auto border = label.getBorderSize();
    g.setColour (painters::labelTextColour (label));
    g.setFont (painters::plainFont (12.2f));
    g.drawFittedText (label.getText(), border.getLeft(), border.getTop(), label.getWidth() - 2 * border.getLeft(),
                      label.getHeight() - 2 * border.getTop(), label.getJustificationType(),
                      painters::labelLines (label, label.getFont().getHeight()), label.getMinimumHorizontalScale());
}

void LookAndFeelCustom3::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height,
                                           float sliderPosProportional, float rotaryStartAngle, float rotaryEndAngle,
                                           juce::Slider& slider)
{
    LookAndFeelCustom2::drawRotarySlider (g, x, y, width, height, sliderPosProportional, rotaryStartAngle,
                                          rotaryEndAngle, slider);
}
} // namespace kelmora::skins
