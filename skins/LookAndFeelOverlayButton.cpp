#include "skins/LookAndFeelOverlayButton.h"

#include "skins/ColourTable.h"
#include "skins/SharedFonts.h"
#include "skins/SkinPainters.h"

namespace kelmora::skins
{
LookAndFeelOverlayButton::LookAndFeelOverlayButton()
{
    setSkinColours (*this, SkinColours::overlayButton);
}

void LookAndFeelOverlayButton::drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour&, bool, bool)
{
}

juce::Font LookAndFeelOverlayButton::getTextButtonFont (juce::TextButton&, int)
{
    // The typeface constructor leaves JUCE's default height of 14.
    return juce::Font (SharedFonts::getInstance()->getBoldTypeface());
}

void LookAndFeelOverlayButton::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    g.setFont (getTextButtonFont (button, button.getHeight()));

    const int yIndent = painters::buttonTextIndent (button);
    const juce::Rectangle<int> box (1, yIndent, button.getWidth() - 2, button.getHeight() - 2 * yIndent);

    painters::drawTwoPassText (g, button.getButtonText(), { juce::Colour (0xFFFFFFFF), box.translated (0, 1) },
                               { juce::Colour (0xFF111111), box }, juce::Justification::centred, 2, 0.7f);
}
} // namespace kelmora::skins
