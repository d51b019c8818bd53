#include "editor/SettingsOverlay.h"

namespace kelmora::editor
{
SettingsOverlay::SettingsOverlay (const juce::String& titleText) : WindowOverlay (titleText)
{
    dialogWidth = 300;
    dialogHeight = 186;

    linearButton.setTooltip ("Linear: Control movement proportional to mouse movement.");
    velocityButton.setTooltip ("Velocity Based: Control movement depends on mouse speed.");

    for (auto* button : { &linearButton, &velocityButton })
    {
        button->setRadioGroupId (1);
        button->addListener (this);
        addAndMakeVisible (*button);
    }

    // A child first: the style builds the value box and the buttons from the dialog's skin.
    addAndMakeVisible (sensitivitySlider);
    sensitivitySlider.setSliderStyle (juce::Slider::IncDecButtons);
    sensitivitySlider.setRange (1.0, 200.0, 1.0);
    sensitivitySlider.setTextValueSuffix ("%");
    sensitivitySlider.setTextBoxStyle (juce::Slider::TextBoxLeft, false, 50, 18);
    sensitivitySlider.setColour (juce::Label::outlineColourId, juce::Colour (0xFF444444));
    sensitivitySlider.setTooltip ("Linear mode mouse sensivity.");
    sensitivitySlider.addListener (this);
}

SettingsOverlay::~SettingsOverlay() = default;

void SettingsOverlay::setValues (int sliderMode, int sensitivity, int latency, double rate)
{
    if (sliderMode == 1 || sliderMode == 0)
    {
        linearButton.setToggleState (sliderMode == 1, juce::dontSendNotification);
        velocityButton.setToggleState (sliderMode == 0, juce::dontSendNotification);
    }

    sensitivitySlider.setValue (sensitivity, juce::dontSendNotification);
    latencySamples = latency;
    sampleRate = rate;
    showSensitivityEnabled();
}

int SettingsOverlay::getSliderMode() const { return linearButton.getToggleState() ? 1 : 0; }
int SettingsOverlay::getMouseSensitivity() const { return static_cast<int> (sensitivitySlider.getValue()); }

juce::String SettingsOverlay::createLatencyLine (int samples, double rate)
{
    const double ms = samples < 1 ? 0.0 : samples * (1000.0 / rate);
    return "Processing-latency: " + juce::String (samples) + " samples (" + juce::String (ms, 3) + " ms)";
}

void SettingsOverlay::showSensitivityEnabled()
{
    const bool linear = linearButton.getToggleState();
    sensitivitySlider.setEnabled (linear);
    sensitivitySlider.setAlpha (linear ? 1.0f : 0.3f);
    repaint();
}

void SettingsOverlay::buttonClicked (juce::Button* button)
{
    WindowOverlay::buttonClicked (button);

    if (button == &linearButton || button == &velocityButton)
    {
        sendActionMessage ("changeSettings_sliderMode");
        showSensitivityEnabled();
    }
}

void SettingsOverlay::sliderValueChanged (juce::Slider* slider)
{
    if (slider == &sensitivitySlider)
        sendActionMessage ("changeSettings_mouseSensitivity");
}

void SettingsOverlay::paint (juce::Graphics& g)
{
    WindowOverlay::paint (g);
    const juce::Colour black (0xFF000000);
    const int y0 = contentTop + margin;
    const auto left = juce::Justification::centredLeft;
    drawShadowedText (g, "Slider/knob mode (global)", contentLeft, y0 + 2, contentWidth, 22, true, left, true, black, 13.0f);
    drawShadowedText (g, "Slider/knob mouse-sensitivity (global)", contentLeft, y0 + 46, contentWidth, 22, true, left, true,
                      linearButton.getToggleState() ? black : juce::Colour (0x55000000), 13.0f);
    drawShadowedText (g, createLatencyLine (latencySamples, sampleRate), contentLeft, y0 + 100, contentWidth, 20, false, left,
                      true, black, 13.0f);
    drawShadowedText (g, "I/O Sample-Rate: " + juce::String (sampleRate) + " Hz", contentLeft, y0 + 118, contentWidth, 20,
                      false, left, true, black, 13.0f);
}

void SettingsOverlay::resized()
{
    WindowOverlay::resized();
    const int y0 = contentTop + margin;
    velocityButton.setBounds (contentLeft, y0 + 20, 110, 22);
    linearButton.setBounds (velocityButton.getRight(), y0 + 20, 110, 22);
    sensitivitySlider.setBounds (contentLeft, y0 + 69, 80, 18);
}
} // namespace kelmora::editor
