#pragma once

#include "editor/WindowOverlay.h"

namespace kelmora::editor
{
/** The global slider settings (mode and linear-mode mouse sensitivity) and two read-only lines,
    the processing latency and the sample rate. A change sends "changeSettings_sliderMode" or
    "changeSettings_mouseSensitivity"; the editor then reads the values and saves them. No
    message closes the dialog. Message thread only. */
class SettingsOverlay : public WindowOverlay,
                        public juce::Slider::Listener
{
public:
    explicit SettingsOverlay (const juce::String& title);
    ~SettingsOverlay() override;

    /** @param sliderMode 1 linear, 0 velocity based (anything else changes neither button)
        @param sensitivity 1..200 (%)
        @param latencySamples, sampleRate for the two read-only lines (samples, Hz) */
    void setValues (int sliderMode, int sensitivity, int latencySamples, double sampleRate);
    /** 1 when "Linear" is on, else 0. */
    int getSliderMode() const;
    /** The sensitivity in %, truncated. */
    int getMouseSensitivity() const;

    /** "Processing-latency: 90 samples (0.469 ms)"; 0.000 ms below one sample. */
    static juce::String createLatencyLine (int latencySamples, double sampleRate);

    void buttonClicked (juce::Button*) override;
    void sliderValueChanged (juce::Slider*) override;
    void paint (juce::Graphics&) override;
    void resized() override;

private:
    void showSensitivityEnabled();

    juce::ToggleButton linearButton { "Linear" };
    juce::ToggleButton velocityButton { "Velocity based" };
    juce::Slider sensitivitySlider;
    int latencySamples = 0;
    double sampleRate = 0.0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SettingsOverlay)
};
} // namespace kelmora::editor
