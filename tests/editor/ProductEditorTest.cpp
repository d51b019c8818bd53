// The product editor headless: its roads to the processor and the host, its tick and its dimming.
#include "editor/KelmoraLabsTemplateAudioProcessorEditor.h"
#include "editor/MagnitudeAxis.h"
#include "EditorTestSupport.h"

#include "dsp/KelmoraLabsTemplateAudioProcessor.h"
#include "support/ManualClock.h"
#include "support/TempHome.h"

#include <algorithm>
#include <cmath>

namespace
{
using quietline::test::mouseAt;
using Product = kelmora::dsp::KelmoraLabsTemplateAudioProcessor;
namespace magnitude = kelmora::editor::magnitude;

struct Peek : kelmora::editor::KelmoraLabsTemplateAudioProcessorEditor
{
    using KelmoraLabsTemplateAudioProcessorEditor::KelmoraLabsTemplateAudioProcessorEditor;
    using KelmoraLabsTemplateAudioProcessorEditor::bypassButton, KelmoraLabsTemplateAudioProcessorEditor::frequencySlider,
        KelmoraLabsTemplateAudioProcessorEditor::magnitudeDisplay, KelmoraLabsTemplateAudioProcessorEditor::mixSlider,
        KelmoraLabsTemplateAudioProcessorEditor::slopeSlider;
};

struct ProductEditor : ::testing::Test
{
    ProductEditor() { processor->addListener (&host); }

    int undoSteps() const { return processor->getPresetController().getUndoHistory().getNumUndoable(); }
    kelmora::core::Parameter& param (int i) { return *processor->getParamManager().getParam (i); }
    juce::String shownText (juce::Slider& s) { return s.getTextFromValue (s.getValue()); }
    void processBlocks (bool bypassed = false)
    {
        juce::AudioBuffer<float> buffer (2, 64);
        juce::MidiBuffer midi;
        buffer.clear();
        bypassed ? processor->processBlockBypassed (buffer, midi) : processor->processBlock (buffer, midi);
    }
    /** Drags component c from `from` through `path`, pressing and releasing. */
    void drag (juce::Component& c, juce::Point<float> from, std::initializer_list<juce::Point<float>> path)
    {
        c.mouseDown (mouseAt (c, from));
        for (auto p : path)
            c.mouseDrag (mouseAt (c, p, {}, nullptr, true));
        c.mouseUp (mouseAt (c, *(path.end() - 1), {}, nullptr, true));
    }

    quietline::test::ManualClock clock;
    quietline::test::ScopedClockOverride clockOverride { clock };
    quietline::test::TempHome home;
    quietline::test::HostSpy host; // outlives the processor that tells it
    std::unique_ptr<Product> processor = std::make_unique<Product>();
    std::unique_ptr<Peek> editor = std::make_unique<Peek> (*processor);
};

// Before its first tick: the rate known, and every row painted, the last one included.
TEST_F (ProductEditor, OpensAtItsSizeInsideItsBoundsAndPainted)
{
    EXPECT_EQ (editor->getBounds(), juce::Rectangle<int> (0, 0, 406, 242));
    EXPECT_EQ (editor->magnitudeDisplay.getSampleRate(), 44100.0) << "the curve step ran";
    EXPECT_TRUE (editor->magnitudeDisplay.getMessage().isVisible());
    const juce::Rectangle<int> editorArea (0, 0, 406, 242);
    for (auto* c : editor->getChildren())
        EXPECT_TRUE (editorArea.contains (c->getBounds())) << c->getName() << " " << c->getBounds().toString();
    const auto picture = editor->createComponentSnapshot (editorArea);
    for (int y : { 27, 28, 241 })
        for (int x = 0; x < 406; ++x)
            ASSERT_EQ (picture.getPixelAt (x, y).getAlpha(), 255) << "row " << y << " unpainted at " << x;
}

TEST_F (ProductEditor, DragsReachTheHostAsGesturesWithOneUndoStepPerParameter)
{
    struct Row { const char* what; std::function<void()> act; juce::StringArray heard; int undoSteps; };
    auto& slope = editor->slopeSlider;
    auto& pad = editor->magnitudeDisplay;
    const Row rows[] = {
        { "slider drag", [&] { drag (slope, { 31, 12 }, { { 31, 2 }, { 31, -8 } }); },
          { "begin 1", "set 1", "set 1", "end 1" }, 1 },
        { "slider back where it began", [&] { drag (slope, { 31, 12 }, { { 31, 2 }, { 31, 12 } }); },
          { "begin 1", "set 1", "set 1", "end 1" }, 0 },
        { "wheel step in a slider drag", [&] {
              slope.mouseDown (mouseAt (slope, { 31, 12 }));
              slope.mouseDrag (mouseAt (slope, { 31, 2 }, {}, nullptr, true));
              slope.mouseWheelMove (mouseAt (*slope.getChildComponent (0), {}, juce::ModifierKeys::leftButtonModifier), quietline::test::wheelOf (-1.0f));
              slope.mouseDrag (mouseAt (slope, { 31, -8 }, {}, nullptr, true));
              slope.mouseUp (mouseAt (slope, { 31, -8 }, {}, nullptr, true)); },
          { "begin 1", "set 1", "set 1", "set 1", "end 1" }, 1 },
        { "pad drag", [&] { drag (pad, { 100, 70 }, { { 120, 60 } }); },
          { "begin 0", "begin 1", "set 0", "set 1", "end 0", "end 1" }, 2 },
        { "pad back where it began", [&] { drag (pad, { 100, 70 }, { { 120, 60 }, { 100, 70 } }); },
          { "begin 0", "begin 1", "set 0", "set 1", "set 0", "set 1", "end 0", "end 1" }, 0 },
        { "bypass click", [&] { editor->bypassButton.triggerClick(); quietline::test::deliverPostedMessages(); },
          { "set 3" }, 1 },
    };
    for (const auto& row : rows)
    {
        const int before = undoSteps();
        host.log.clear();
        row.act();
        EXPECT_EQ (host.log, row.heard) << row.what << ": " << host.log.joinIntoString (", ");
        EXPECT_EQ (undoSteps() - before, row.undoSteps) << row.what;
    }
    EXPECT_TRUE (param (Product::bypassParam).getBoolValue());
}

// The host closes the editor while the button is still down: the drag ends as a release at the
// last point would, so every gesture begun ends after its begin, and undoing the steps left
// brings back the values from before the drag (a step for each value that moved, none else).
TEST_F (ProductEditor, AnEditorClosedMidDragEndsItsGesturesAsAReleaseThereWould)
{
    struct Row { const char* what; bool onPad; juce::Point<float> from; std::vector<juce::Point<float>> path; juce::StringArray heard; int undoSteps; };
    const Row rows[] = {
        { "pad moved across", true, { 100, 70 }, { { 120, 70 } },
          { "begin 0", "begin 1", "set 0", "set 1", "end 0", "end 1" }, 1 },
        { "pad moved both ways", true, { 100, 70 }, { { 120, 60 } },
          { "begin 0", "begin 1", "set 0", "set 1", "end 0", "end 1" }, 2 },
        { "pad back where it began", true, { 100, 70 }, { { 120, 60 }, { 100, 70 } },
          { "begin 0", "begin 1", "set 0", "set 1", "set 0", "set 1", "end 0", "end 1" }, 0 },
        { "pad pressed only", true, { 100, 70 }, {}, { "begin 0", "begin 1", "end 0", "end 1" }, 0 },
        { "value box", false, { 31, 12 }, { { 31, 2 } }, { "begin 1", "set 1", "end 1" }, 1 },
    };
    auto& controller = processor->getPresetController();
    const auto values = [&] { return juce::Point<float> (param (Product::freqParam).getNormalisedValue(), param (Product::slopeParam).getNormalisedValue()); };
    for (const auto& row : rows)
    {
        SCOPED_TRACE (row.what);
        const auto valuesBefore = values();
        const int before = undoSteps();
        host.log.clear();
        juce::Component& target = row.onPad ? static_cast<juce::Component&> (editor->magnitudeDisplay) : editor->slopeSlider;
        target.mouseDown (mouseAt (target, row.from));
        for (auto p : row.path)
            target.mouseDrag (mouseAt (target, p, {}, nullptr, true));
        editor.reset();

        EXPECT_EQ (host.log, row.heard) << host.log.joinIntoString (", ");
        EXPECT_EQ (undoSteps() - before, row.undoSteps);
        for (int step = 0; step < row.undoSteps; ++step)
            controller.undo();
        EXPECT_EQ (values(), valuesBefore);
        editor = std::make_unique<Peek> (*processor);
    }
}

// Each wheel event is a host gesture of its own; quick steps on one parameter are one undo step.
TEST_F (ProductEditor, WheelStepsAreHostGesturesAndQuickOnesOneUndoStep)
{
    auto& mix = editor->mixSlider;
    // Over the bar slider's text box, the way it hears the wheel.
    const auto wheelDown = [&] { mix.mouseWheelMove (mouseAt (*mix.getChildComponent (0), {}), quietline::test::wheelOf (-1.0f)); };
    const int before = undoSteps();
    for (int step = 0; step < 10; ++step, clock.advance (110))
    {
        host.log.clear();
        wheelDown();
        EXPECT_EQ (host.log, juce::StringArray ({ "begin 2", "set 2", "end 2" })) << step;
    }
    EXPECT_EQ (undoSteps() - before, 1);
    clock.advance (1000);
    wheelDown();
    EXPECT_EQ (undoSteps() - before, 2);
    EXPECT_EQ (param (Product::mixParam).getValueText(), "78.0");
    processor->getPresetController().undo();
    EXPECT_EQ (param (Product::mixParam).getValueText(), "80.0");
}

// The host sets the parameters; the controls show them at once on opening, or on the next tick,
// with no undo step and no echo to the host.
TEST_F (ProductEditor, ControlsShowTheHostsValuesOnOpeningAndOnTheTickWithoutUndoOrEcho)
{
    const struct { bool reopen; double hz; float slope, mix, bypass; const char* shown; } rows[] = {
        { true, 23000.0, 0.4f, 0.5f, 1.0f, "23.0 kHz 40.0 % 50.0 % on" },
        { false, 24000.0, 0.75f, 0.25f, 0.0f, "24.0 kHz 75.0 % 25.0 % off" },
    };
    for (const auto& row : rows)
    {
        const float corner = param (Product::freqParam).valueToNormalised (row.hz);
        for (const auto& [index, value] : { std::pair { (int) Product::freqParam, corner }, { Product::slopeParam, row.slope },
                                            { Product::mixParam, row.mix }, { Product::bypassParam, row.bypass } })
            processor->setParameter (index, value);
        const int before = undoSteps();
        host.log.clear();
        if (row.reopen)
        {
            editor.reset();
            editor = std::make_unique<Peek> (*processor);
        }
        else
            editor->timerCallback();
        EXPECT_EQ (shownText (editor->frequencySlider) + " " + shownText (editor->slopeSlider) + " " + shownText (editor->mixSlider)
                       + (editor->bypassButton.getToggleState() ? " on" : " off"), row.shown);
        EXPECT_EQ (juce::Point<float> (editor->magnitudeDisplay.getValueX(), editor->magnitudeDisplay.getValueY()), juce::Point<float> (corner, row.slope));
        EXPECT_EQ (editor->magnitudeDisplay.getPlot().getCornerFrequency(), row.hz);
        EXPECT_EQ (undoSteps(), before);
        EXPECT_TRUE (host.log.isEmpty()) << host.log.joinIntoString (", ");
    }
}

TEST_F (ProductEditor, CurveFollowsTheFilterNotTheParameter)
{
    EXPECT_EQ (editor->magnitudeDisplay.getPlot().getCurve().count, 0) << "no response before the first rate";
    processor->prepareToPlay (96000.0, 64);
    editor->timerCallback();
    const auto& curve = editor->magnitudeDisplay.getPlot().getCurve();
    ASSERT_EQ (curve.count, 180);
    EXPECT_EQ (editor->magnitudeDisplay.getSampleRate(), 96000.0);
    const auto levels = [&] { return std::vector<double> (curve.decibels, curve.decibels + curve.count); };
    const auto before = levels();

    processor->setParameterFromUi (Product::freqParam, param (Product::freqParam).valueToNormalised (24000.0));
    editor->timerCallback();
    EXPECT_EQ (editor->magnitudeDisplay.getPlot().getCornerFrequency(), 24000.0) << "the marker follows at once";
    EXPECT_EQ (levels(), before) << "no audio block yet, no new curve";

    processBlocks();
    editor->timerCallback();
    EXPECT_NE (levels(), before) << "redesigned for the new corner";
}

// The host stops, the user closes the editor and opens it again: no block marks the filter
// changed for the new editor, which still shows the rate and the response the processor has.
// A change the processor has not applied yet waits for the next block, as in an open editor.
TEST_F (ProductEditor, AReopenedEditorShowsTheProcessorsRateAndCurveWithoutAudio)
{
    const auto levels = [] (const Peek& e)
    {
        const auto& curve = e.magnitudeDisplay.getPlot().getCurve();
        return std::vector<double> (curve.decibels, curve.decibels + curve.count);
    };
    for (const bool changedWhileClosed : { false, true })
    {
        SCOPED_TRACE (changedWhileClosed ? "a change while closed" : "nothing changed");
        editor.reset();
        processor = std::make_unique<Product>();
        editor = std::make_unique<Peek> (*processor);
        processor->prepareToPlay (96000.0, 64);
        processBlocks();
        editor->timerCallback();
        const auto played = levels (*editor);
        ASSERT_EQ (played.size(), 180u);

        editor.reset();
        if (changedWhileClosed)
            processor->setParameter (Product::freqParam, param (Product::freqParam).valueToNormalised (24000.0));
        editor = std::make_unique<Peek> (*processor);
        for (int tick = 0; tick < 2; ++tick)
        {
            EXPECT_EQ (editor->magnitudeDisplay.getSampleRate(), 96000.0) << tick;
            EXPECT_FALSE (editor->magnitudeDisplay.getMessage().isVisible()) << tick;
            EXPECT_EQ (editor->magnitudeDisplay.getPlot().getAlpha(), 1.0f) << tick;
            EXPECT_EQ (levels (*editor), played) << tick;
            editor->timerCallback();
        }
        processBlocks();
        editor->timerCallback();
        EXPECT_EQ (levels (*editor) != played, changedWhileClosed);
    }
}

TEST_F (ProductEditor, DimsForBypassHostBypassAndLowRates)
{
    struct Row { const char* what; std::function<void()> act; float sliders, bypass; bool displayBypassed, message; };
    const Row rows[] = {
        { "inactive at 44.1 kHz", [] {}, 0.3f, 0.3f, false, true },
        { "filtering at 96 kHz", [&] { processor->prepareToPlay (96000.0, 64); processBlocks(); }, 1.0f, 1.0f, false, false },
        { "bypass on", [&] { processor->setParameterFromUi (Product::bypassParam, 1.0f); }, 0.3f, 1.0f, true, false },
        { "bypass off", [&] { processor->setParameterFromUi (Product::bypassParam, 0.0f); }, 1.0f, 1.0f, false, false },
        { "host bypass", [&] { processBlocks (true); }, 0.3f, 1.0f, false, false },
        { "host bypass ends", [&] { processBlocks(); }, 1.0f, 1.0f, false, false },
        { "bypassed at 44.1 kHz", [&] {
              processor->setParameterFromUi (Product::bypassParam, 1.0f);
              processor->prepareToPlay (44100.0, 64);
          }, 0.3f, 0.3f, false, true },
    };
    for (const auto& row : rows)
    {
        row.act();
        editor->timerCallback();
        for (auto* s : { &editor->frequencySlider, &editor->slopeSlider, &editor->mixSlider })
            EXPECT_NEAR (s->getAlpha(), row.sliders, 0.01f) << row.what;
        EXPECT_NEAR (editor->bypassButton.getAlpha(), row.bypass, 0.01f) << row.what;
        EXPECT_EQ (editor->magnitudeDisplay.isBypassed(), row.displayBypassed) << row.what;
        EXPECT_EQ (editor->magnitudeDisplay.getMessage().isVisible(), row.message) << row.what;
    }
}

// From 10 kHz to just below half the rate; an answer below zero ends the curve, and a level too
// small to draw (or NaN) lies on the floor.
TEST (MagnitudeSampling, StartsAt10kHzStopsAtTheFirstNegativeAnswerAndFloorsTinyLevels)
{
    const struct { double rate; std::function<double (double)> answer; int count; double first, last; } rows[] = {
        { 96000, [] (double) { return 1.0; }, 180, 0.0, 0.0 },
        { 96000, [] (double f) { return f > 20000 ? -1.0 : 0.1; }, 80, -20.0, -20.0 },
        { 96000, [] (double f) { return f > 20000 ? 1e-16 : std::nan (""); }, 180, -300.0, -300.0 },
        { 96000, [] (double) { return 1e-14; }, 180, -280.0, -280.0 },
        { 96000, [] (double) { return -1.0; }, 0, 0.0, 0.0 },
        { 16000, [] (double f) { return f > 8000 ? -1.0 : 1.0; }, 0, 0.0, 0.0 },
    };
    for (const auto& row : rows)
    {
        double hz[180] {}, dB[180] {};
        const int count = magnitude::sampleResponse (row.rate, row.answer, hz, dB, 180);
        EXPECT_EQ (count, row.count) << row.rate;
        EXPECT_EQ (hz[0], count > 0 ? 10000.0 : 0.0);
        if (count < 180)
            EXPECT_EQ (hz[count], 0.0) << "nothing past the end";
        else
            EXPECT_TRUE (hz[179] > 0.99 * row.rate / 2 && hz[179] < row.rate / 2) << hz[179];
        EXPECT_NEAR (dB[0], row.first, 1e-9);
        EXPECT_NEAR (dB[std::max (count - 1, 0)], row.last, 1e-9);
    }
}
} // namespace
