#pragma once

#include "dsp/KelmoraLabsTemplateAudioProcessor.h"
#include "editor/BetterSlider.h"
#include "editor/KelmoraLabsEditor.h"
#include "editor/MagnitudeDisplay.h"
#include "skins/LookAndFeelCustom.h"
#include "skins/LookAndFeelCustom2.h"
#include "skins/LookAndFeelCustom3.h"

namespace kelmora::editor
{
/** The product's editor, 406 x 242: the preset bar, the magnitude display that is also the pad
    for frequency (across) and slope (up), value boxes for frequency, slope and amount (the mix),
    and the bypass button.

    Edits go to the processor through its set-from-editor road, with host gestures and undo
    steps around drags. Every tick first brings the controls up to date with parameters changed
    elsewhere (without notifying, so nothing is sent back), then redraws the curve when the
    filter was redesigned, then runs the base's tick; a new editor starts from the rate and the
    response the processor has. Message thread only. */
class KelmoraLabsTemplateAudioProcessorEditor : public KelmoraLabsEditor,
                                                public XYSlider::Listener
{
public:
    static constexpr int editorWidth = 406, editorHeight = 242;
    /** Points of the response curve. */
    static constexpr int curvePoints = 180;

    explicit KelmoraLabsTemplateAudioProcessorEditor (dsp::KelmoraLabsTemplateAudioProcessor& processor);
    ~KelmoraLabsTemplateAudioProcessorEditor() override;

    void paint (juce::Graphics&) override;
    void resized() override;

    void timerCallback() override;
    void sliderValueChanged (juce::Slider*) override;
    void sliderDragStarted (juce::Slider*) override;
    void sliderDragEnded (juce::Slider*) override;
    void buttonClicked (juce::Button*) override;
    void updateControlStates() override;
    void registerHelpRegions (DynamicHelpOverlay* help) override;

    void xySliderValueChanged (XYSlider*) override;
    void xySliderDragStarted (XYSlider*) override;
    void xySliderDragEnded (XYSlider*) override;

private:
    dsp::KelmoraLabsTemplateAudioProcessor& product;
    // The sliders read the parameters through this pointer, so it is declared before them.
    core::ParamList* paramList;

protected:
    skins::OwnedSkin<skins::LookAndFeelCustom> knobSkin { *this };
    skins::OwnedSkin<skins::LookAndFeelCustom2> knobSkin2 { *this };
    skins::OwnedSkin<skins::LookAndFeelCustom3> knobSkin3 { *this };
    BetterSlider frequencySlider, mixSlider, slopeSlider;
    juce::ImageButton bypassButton;
    MagnitudeDisplay magnitudeDisplay;
    double curveFrequencies[curvePoints] {};
    double curveDecibels[curvePoints] {};

private:
    /** The parameter index a slider of ours is bound to, or -1. */
    int parameterOf (juce::Slider*) const noexcept;
    void setUpSlider (BetterSlider&, int parameterIndex);
    /** Moves the slider to the parameter when its editor bit was set; true when it was. */
    bool followParameter (BetterSlider&, int parameterIndex);
    /** Samples the filter's response at the processor's rate and hands it to the display. */
    void showFilterResponse();
    core::Parameter& param (int index) const;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KelmoraLabsTemplateAudioProcessorEditor)
};
} // namespace kelmora::editor
