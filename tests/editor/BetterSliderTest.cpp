#include "editor/BetterSlider.h"
#include "MouseEvents.h"

#include "dsp/KelmoraLabsTemplateAudioProcessor.h"

#include <gtest/gtest.h>

namespace
{
using kelmora::core::Parameter;
using kelmora::core::ParamList;
using kelmora::editor::BetterSlider;
using quietline::test::mouseAt;
using quietline::test::wheelOf;
using Product = kelmora::dsp::KelmoraLabsTemplateAudioProcessor;

struct GestureLog : juce::Slider::Listener
{
    juce::StringArray log;
    void sliderValueChanged (juce::Slider* s) override { log.add ("changed " + juce::String (s->getValue())); }
    void sliderDragStarted (juce::Slider*) override { log.add ("started"); }
    void sliderDragEnded (juce::Slider*) override { log.add ("ended"); }
};

class BetterSliderTest : public ::testing::Test
{
protected:
    enum { stepped, snapping };

    BetterSliderTest()
    {
        // A UI step of 0.01 of the range; the second one snaps to 0.3.
        params.setParam (stepped, std::make_unique<Parameter> ("stepped", "Stepped", "", 2, "", 0u, 0.0, 1.0, 0.5));
        params.setParam (snapping, std::make_unique<Parameter> ("snapping", "Snapping", "", 2, "", 0u, 0.0, 1.0, 0.5));
        params.getParam (snapping)->addSnapPoint (0.3);
        slider.setBounds (0, 0, 60, 100);
        slider.addListener (&gestures);
    }

    void wheel (float deltaY, juce::ModifierKeys mods = {}, bool reversed = false, float deltaX = 0.0f)
    {
        auto w = wheelOf (deltaY, reversed);
        w.deltaX = deltaX;
        slider.mouseWheelMove (mouseAt (slider, {}, mods), w);
    }

    ParamList params { 2 };
    ParamList* list = &params;
    BetterSlider slider { "knob" };
    GestureLog gestures;
};

TEST_F (BetterSliderTest, WheelStepsOncePerEventAndStaysInRange)
{
    const auto shift = juce::ModifierKeys (juce::ModifierKeys::shiftModifier);
    struct Row { const char* name; bool bound; double start; float deltaY; juce::ModifierKeys mods; bool reversed; float deltaX; double expected; };
    const Row rows[] = {
        { "up", true, 0.5, 3.0f, {}, false, 0.0f, 0.51 },
        { "tiny notch down", true, 0.5, -0.01f, {}, false, 0.0f, 0.49 },
        { "shift", true, 0.5, 1.0f, shift, false, 0.0f, 0.501 },
        { "reversed", true, 0.5, 1.0f, {}, true, 0.0f, 0.49 },
        { "at the top", true, 1.0, 1.0f, {}, false, 0.0f, 1.0 },
        { "at the bottom", true, 0.0, -1.0f, {}, false, 0.0f, 0.0 },
        { "horizontal only", true, 0.5, 0.0f, {}, false, 1.0f, 0.5 },
        { "unbound", false, 0.5, 1.0f, {}, false, 0.0f, 0.55 },
        { "unbound with shift", false, 0.5, -1.0f, shift, false, 0.0f, 0.495 },
    };

    for (const auto& row : rows)
    {
        BetterSlider s;
        s.setRange (0.0, 1.0);
        if (row.bound)
            s.attachToParameter (&list, stepped);
        s.setValue (row.start, juce::dontSendNotification);
        auto w = wheelOf (row.deltaY, row.reversed);
        w.deltaX = row.deltaX;
        s.mouseWheelMove (mouseAt (s, {}, row.mods), w);
        EXPECT_NEAR (s.getValue(), row.expected, 1e-9) << row.name;
    }
}

TEST_F (BetterSliderTest, EachWheelEventIsOneGesture)
{
    slider.attachToParameter (&list, stepped);
    slider.setValue (0.5, juce::dontSendNotification);
    wheel (1.0f);
    wheel (1.0f);
    EXPECT_EQ (gestures.log, juce::StringArray ({ "started", "changed 0.51", "ended", "started", "changed 0.52", "ended" }));
}

// The bar's text box covers it; the slider hears each wheel event over the box as its mouse
// listener, and a second time when the box passes the event up to its parent.
TEST_F (BetterSliderTest, BarSliderStepsOnceWhetherOrNotItsTextBoxPassesTheEventUp)
{
    slider.setSliderStyle (juce::Slider::LinearBarVertical);
    slider.attachToParameter (&list, stepped);
    slider.setValue (0.5, juce::dontSendNotification);
    auto* box = slider.getChildComponent (0);
    ASSERT_NE (dynamic_cast<juce::Label*> (box), nullptr);

    slider.mouseWheelMove (mouseAt (*box, {}), wheelOf (1.0f));               // as mouse listener
    EXPECT_NEAR (slider.getValue(), 0.51, 1e-9);
    slider.mouseWheelMove (mouseAt (slider, {}, {}, 1, box), wheelOf (1.0f)); // passed up
    EXPECT_NEAR (slider.getValue(), 0.51, 1e-9);
}

TEST_F (BetterSliderTest, ParameterTextsAndParsing)
{
    auto manager = Product::createParameters();
    ParamList* productList = manager.get();

    struct Row { int index; double value; const char* text; };
    const Row rows[] = {
        { Product::freqParam, 21000.0, "21.0 kHz" },
        { Product::slopeParam, 75.0, "75.0 %" },
        { Product::bypassParam, 1.0, "On" },
    };

    for (const auto& row : rows)
    {
        BetterSlider s;
        s.attachToParameter (&productList, row.index);
        const auto* p = productList->getParam (row.index);
        const double n = p->valueToNormalised (row.value);
        EXPECT_EQ (s.getTextFromValue (n), row.text);
        EXPECT_NEAR (s.getValueFromText (row.text), n, 1e-6) << row.text;
    }

    BetterSlider s;
    s.attachToParameter (&productList, Product::slopeParam);
    s.setValue (0.25, juce::dontSendNotification);
    EXPECT_EQ (s.getValueFromText ("steep"), 0.25);  // does not parse: the value stays
    EXPECT_TRUE (s.isDoubleClickReturnEnabled());
    EXPECT_NEAR (s.getDoubleClickReturnValue(), 1.0, 1e-9); // slope's default is 100 %

    BetterSlider unbound;
    EXPECT_EQ (unbound.getTextFromValue (0.5), "0.50");
}

TEST_F (BetterSliderTest, SnapsOnlyDuringAPopupMenuDragWithSnapPoints)
{
    const auto ctrl = juce::ModifierKeys (juce::ModifierKeys::ctrlModifier);
    const auto right = juce::ModifierKeys (juce::ModifierKeys::rightButtonModifier);
    const auto left = juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier);
    struct Row { const char* name; int index; juce::ModifierKeys mods; bool pressed; double expected; };
    const Row rows[] = {
        { "ctrl", snapping, ctrl, true, 0.3 },
        { "right button", snapping, right, true, 0.3 },
        { "left button", snapping, left, true, 0.35 },
        { "after release", snapping, right, false, 0.35 },
        { "no snap points", stepped, right, true, 0.35 },
    };

    for (const auto& row : rows)
    {
        BetterSlider s;
        s.setBounds (0, 0, 60, 100);
        s.attachToParameter (&list, row.index);
        s.mouseDown (mouseAt (s, { 30, 50 }, row.mods));
        if (! row.pressed)
            s.mouseUp (mouseAt (s, { 30, 50 }, row.mods));
        EXPECT_NEAR (s.snapValue (0.35, juce::Slider::absoluteDrag), row.expected, 1e-6) << row.name;
    }
}
} // namespace
