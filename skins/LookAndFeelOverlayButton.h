#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace kelmora::skins
{
/** The look of the framed dialog's close button: no background, dark bold text over a white
    highlight, the same in every state. Message thread only. */
class LookAndFeelOverlayButton : public juce::LookAndFeel_V3
{
public:
    LookAndFeelOverlayButton();

    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool isMouseOver, bool isButtonDown) override;
    juce::Font getTextButtonFont (juce::TextButton&, int buttonHeight) override;
    void drawButtonText (juce::Graphics&, juce::TextButton&, bool isMouseOver, bool isButtonDown) override;

private:
    JUCE_DECLARE_NON_COPYABLE (LookAndFeelOverlayButton)
};
} // namespace kelmora::skins
