#include "skins/LookAndFeelOverlay.h"

#include "skins/ColourTable.h"

namespace kelmora::skins
{
using painters::plainFont;

LookAndFeelOverlay::LookAndFeelOverlay()
    : ImageButtonLook ({ painters::ButtonArt::dialog, 13.0f, 12.2f, 1.3f, { 15.5f, 220.0f }, { false, false, false },
                         true, std::nullopt })
{
    setSkinColours (*this, SkinColours::overlay);
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

void LookAndFeelOverlay::fillTextEditorBackground (juce::Graphics& g, int width, int height, juce::TextEditor& editor)
{
    g.setColour (editor.findColour (juce::TextEditor::backgroundColourId));
    g.fillRect (0, 0, width, height);
}

void LookAndFeelOverlay::drawTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor& editor)
{
    painters::drawBevelledTextEditorOutline (g, width, height, editor);
}
} // namespace kelmora::skins
