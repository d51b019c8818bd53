#include "editor/KelmoraLabsTemplateAudioProcessorEditor.h"

#include "editor/DynamicHelpOverlay.h"
#include "editor/MagnitudeAxis.h"
#include "resources/BinaryData.h"

namespace kelmora::editor
{
namespace
{
using Product = dsp::KelmoraLabsTemplateAudioProcessor;
constexpr float dimmed = 0.3f;
// The strip of the preset bar is 28 rows high; the background fills every row below it.
constexpr int backgroundTop = 28;

juce::Image imageOf (const char* data, int size) { return juce::ImageCache::getFromMemory (data, size); }

/** A control's help area: grown by the given margins, never negative. */
juce::Rectangle<int> grown (juce::Rectangle<int> r, int dx, int dy, int dw, int dh)
{
    return { r.getX() + dx, r.getY() + dy, juce::jmax (0, r.getWidth() + dw), juce::jmax (0, r.getHeight() + dh) };
}

// A wheel step's gesture is the host's alone: its value is recorded as a plain set from the
// editor, so quick steps on one parameter merge into one undo step.
bool isWheelStep (juce::Slider* slider)
{
    const auto* better = dynamic_cast<BetterSlider*> (slider);
    return better != nullptr && better->isWheelStepping();
}
} // namespace

KelmoraLabsTemplateAudioProcessorEditor::KelmoraLabsTemplateAudioProcessorEditor (Product& p)
    : KelmoraLabsEditor (p), product (p), paramList (&p.getParamManager())
{
    baseWidth = editorWidth;
    baseHeight = editorHeight;
    setSize (editorWidth, editorHeight);

    namespace res = resources;
    const auto dim = imageOf (res::bypass_dim_png, res::bypass_dim_pngSize);
    const auto none = juce::Colours::transparentBlack;
    bypassButton.setWantsKeyboardFocus (false);
    bypassButton.setClickingTogglesState (true);
    bypassButton.addListener (this);
    bypassButton.setImages (true, false, false, dim, 1.0f, none, dim, 1.0f, none,
                            imageOf (res::bypass_lit_png, res::bypass_lit_pngSize), 1.0f, none, 0.5f);
    addAndMakeVisible (bypassButton);

    setUpSlider (frequencySlider, Product::freqParam);
    setUpSlider (mixSlider, Product::mixParam);
    setUpSlider (slopeSlider, Product::slopeParam);

    magnitudeDisplay.addListener (this);
    magnitudeDisplay.setDefaultValues (param (Product::freqParam).valueToNormalised (param (Product::freqParam).getDefaultValue()),
                                       param (Product::slopeParam).valueToNormalised (param (Product::slopeParam).getDefaultValue()));
    addAndMakeVisible (magnitudeDisplay);

    auto& settings = p.getGlobalSettings();
    applySliderSettings (settings.getParam (core::GlobalParamList::sliderModeIndex)->getIntValue(),
                         settings.getParam (core::GlobalParamList::mouseSensitivityIndex)->getIntValue());

    // The filter as the processor has it now: an editor closed before may have taken its last
    // change with it, and a stopped host sends no block that would mark another.
    product.hasFilterChanged (true);
    showFilterResponse();

    // Show the parameters now rather than a tick later.
    timerCallback();
}

KelmoraLabsTemplateAudioProcessorEditor::~KelmoraLabsTemplateAudioProcessorEditor()
{
    stopTimer();
    // A pad drag cut by the editor closing ends as a release there would end it: the host hears
    // both gestures end, and the undo history keeps a step only for a value that moved. (The
    // value boxes end theirs as they go.)
    magnitudeDisplay.endDrag();
    magnitudeDisplay.removeListener (this);
}

void KelmoraLabsTemplateAudioProcessorEditor::setUpSlider (BetterSlider& slider, int parameterIndex)
{
    slider.setLookAndFeel (knobSkin);
    slider.setSliderStyle (juce::Slider::LinearBarVertical);
    slider.setTextBoxStyle (juce::Slider::TextBoxBelow, true, 54, 17);
    slider.addListener (this);
    slider.attachToParameter (&paramList, parameterIndex);
    addAndMakeVisible (slider);
    sliders.add (&slider);
}

core::Parameter& KelmoraLabsTemplateAudioProcessorEditor::param (int index) const
{
    return *paramList->getParam (index);
}

int KelmoraLabsTemplateAudioProcessorEditor::parameterOf (juce::Slider* slider) const noexcept
{
    if (slider == &frequencySlider) return Product::freqParam;
    if (slider == &slopeSlider)     return Product::slopeParam;
    if (slider == &mixSlider)       return Product::mixParam;
    return -1;
}

//==============================================================================
void KelmoraLabsTemplateAudioProcessorEditor::paint (juce::Graphics& g)
{
    KelmoraLabsEditor::paint (g);
    g.drawImageAt (imageOf (resources::background_png, resources::background_pngSize), 0, backgroundTop);
}

void KelmoraLabsTemplateAudioProcessorEditor::resized()
{
    KelmoraLabsEditor::resized();
    frequencySlider.setBounds (125, 207, 62, 24);
    slopeSlider.setBounds (190, 207, 62, 24);
    mixSlider.setBounds (255, 207, 62, 24);
    // The artwork's own size, so the whole of it lies inside the editor.
    bypassButton.setBounds (341, 190, 54, 40);
    magnitudeDisplay.setBounds (16, 38, 366, 142);
}

//==============================================================================
bool KelmoraLabsTemplateAudioProcessorEditor::followParameter (BetterSlider& slider, int index)
{
    auto& p = param (index);
    if (! p.testAndClearChanged (core::Parameter::editorChanged))
        return false;

    slider.setValue (slider.snapValue (p.getNormalisedValue(), juce::Slider::notDragging), juce::dontSendNotification);
    return true;
}

void KelmoraLabsTemplateAudioProcessorEditor::timerCallback()
{
    followParameter (mixSlider, Product::mixParam);

    if (followParameter (frequencySlider, Product::freqParam))
    {
        magnitudeDisplay.setValueX (param (Product::freqParam).getNormalisedValue());
        magnitudeDisplay.setCornerFrequency (param (Product::freqParam).getQuantisedValue());
    }

    if (followParameter (slopeSlider, Product::slopeParam))
        magnitudeDisplay.setValueY (param (Product::slopeParam).getNormalisedValue());

    if (param (Product::bypassParam).testAndClearChanged (core::Parameter::editorChanged))
        bypassButton.setToggleState (param (Product::bypassParam).getBoolValue(), juce::dontSendNotification);

    if (product.hasFilterChanged (true))
        showFilterResponse();

    KelmoraLabsEditor::timerCallback();
}

void KelmoraLabsTemplateAudioProcessorEditor::showFilterResponse()
{
    const double rate = product.getSampleRate();
    const int count = magnitude::sampleResponse (
        rate, [this] (double hz) { return product.getMagnitudeResponse (hz); }, curveFrequencies, curveDecibels,
        curvePoints);
    magnitudeDisplay.setSampleRate (rate);
    magnitudeDisplay.setCurve (curveFrequencies, curveDecibels, curvePoints, count);
}

void KelmoraLabsTemplateAudioProcessorEditor::updateControlStates()
{
    juce::Component* const values[] = { &frequencySlider, &slopeSlider, &mixSlider };
    const auto setAlpha = [&] (float alpha, bool andBypass) {
        for (auto* c : values)
            c->setAlpha (alpha);
        if (andBypass)
            bypassButton.setAlpha (alpha);
    };

    setAlpha (1.0f, true);
    if (bypassButton.getToggleState() || product.isBypassedBlock())
        setAlpha (dimmed, false);
    magnitudeDisplay.setBypassed (param (Product::bypassParam).getBoolValue());

    if (! product.isFilterActive())
    {
        // The display's own low-rate dimming and message take over.
        setAlpha (dimmed, true);
        magnitudeDisplay.setBypassed (false);
    }
}

//==============================================================================
void KelmoraLabsTemplateAudioProcessorEditor::sliderValueChanged (juce::Slider* slider)
{
    KelmoraLabsEditor::sliderValueChanged (slider);
    if (const int index = parameterOf (slider); index >= 0)
        product.setParameterFromUi (index, (float) slider->getValue());
}

// The index-based gesture calls are the ones this processor's hosts hear.
JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

void KelmoraLabsTemplateAudioProcessorEditor::sliderDragStarted (juce::Slider* slider)
{
    KelmoraLabsEditor::sliderDragStarted (slider);
    if (const int index = parameterOf (slider); index >= 0)
    {
        product.beginParameterChangeGesture (index);
        if (! isWheelStep (slider))
            controller->beginParameterChange (index);
    }
}

void KelmoraLabsTemplateAudioProcessorEditor::sliderDragEnded (juce::Slider* slider)
{
    KelmoraLabsEditor::sliderDragEnded (slider);
    if (const int index = parameterOf (slider); index >= 0)
    {
        if (! isWheelStep (slider))
            controller->endParameterChange (index);
        product.endParameterChangeGesture (index);
    }
}

void KelmoraLabsTemplateAudioProcessorEditor::xySliderDragStarted (XYSlider*)
{
    product.beginParameterChangeGesture (Product::freqParam);
    product.beginParameterChangeGesture (Product::slopeParam);
    controller->beginParameterChange (Product::freqParam);
    controller->beginParameterChange (Product::slopeParam);
}

void KelmoraLabsTemplateAudioProcessorEditor::xySliderDragEnded (XYSlider*)
{
    // Newest first: the controller drops an unchanged drag's step only while it is the newest.
    controller->endParameterChange (Product::slopeParam);
    controller->endParameterChange (Product::freqParam);
    product.endParameterChangeGesture (Product::freqParam);
    product.endParameterChangeGesture (Product::slopeParam);
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE

void KelmoraLabsTemplateAudioProcessorEditor::xySliderValueChanged (XYSlider* pad)
{
    product.setParameterFromUi (Product::freqParam, pad->getValueX());
    product.setParameterFromUi (Product::slopeParam, pad->getValueY());
}

void KelmoraLabsTemplateAudioProcessorEditor::buttonClicked (juce::Button* button)
{
    KelmoraLabsEditor::buttonClicked (button);
    if (button == &bypassButton)
        product.setParameterFromUi (Product::bypassParam, bypassButton.getToggleState() ? 1.0f : 0.0f);
}

void KelmoraLabsTemplateAudioProcessorEditor::registerHelpRegions (DynamicHelpOverlay* help)
{
    KelmoraLabsEditor::registerHelpRegions (help);
    if (help == nullptr)
        return;

    help->addHelpRegion (grown (magnitudeDisplay.getBounds(), -3, -3, 4, 4), "display", DynamicHelpOverlay::centre, -1);
    help->addHelpRegion (grown (frequencySlider.getBounds(), -2, -27, 4, 36), "frequency");
    help->addHelpRegion (grown (slopeSlider.getBounds(), -2, -27, 4, 36), "slope");
    help->addHelpRegion (grown (mixSlider.getBounds(), -2, -27, 4, 36), "amount");
    help->addHelpRegion (bypassButton.getBounds(), "bypass");
}
} // namespace kelmora::editor
