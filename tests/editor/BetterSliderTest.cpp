#include "editor/BetterSlider.h"
#include "EditorTestSupport.h"

#include "dsp/KelmoraLabsTemplateAudioProcessor.h"
#include "support/TempHome.h"

namespace
{
using kelmora::editor::BetterSlider;
using quietline::test::mouseAt;
using quietline::test::wheelOf;
using Product = kelmora::dsp::KelmoraLabsTemplateAudioProcessor;
using Mods = juce::ModifierKeys;

struct BetterSliderTest : ::testing::Test
{
    BetterSliderTest() { params.getParam (0)->addSnapPoint (0.3); }

    // Steps by 0.01 of its range and snaps to 0.3; the product's slope has no snap points.
    quietline::test::TempHome home; // the product's parameters, in case they look for settings
    kelmora::core::ParamList params { 1 }, *own = [this] {
        params.setParam (0, std::make_unique<kelmora::core::Parameter> ("p", "", "", 2, "", 0u, 0.0, 1.0, 0.5));
        return &params;
    }();
    std::unique_ptr<kelmora::core::ParamManager> manager = Product::createParameters();
    kelmora::core::ParamList* product = manager.get();
};

TEST_F (BetterSliderTest, WheelStepsOncePerEventAndStaysInRange)
{
    struct Row { bool bound; double start; juce::MouseWheelDetails wheel; int mods; double expected; };
    const Row rows[] = {
        { true, 0.5, wheelOf (3.0f), 0, 0.51 },      { true, 0.5, wheelOf (-0.01f), 0, 0.49 },
        { true, 0.5, wheelOf (1.0f), Mods::shiftModifier, 0.501 }, { true, 0.5, wheelOf (1.0f, true), 0, 0.49 },
        { true, 1.0, wheelOf (1.0f), 0, 1.0 },       { true, 0.5, wheelOf (0.0f, false, 1.0f), 0, 0.5 },
        { false, 0.5, wheelOf (1.0f), 0, 0.55 },     { false, 0.5, wheelOf (-1.0f), Mods::shiftModifier, 0.495 },
    };
    for (const auto& row : rows)
    {
        BetterSlider s;
        if (row.bound)
            s.attachToParameter (&own, 0);
        s.setValue (row.start, juce::dontSendNotification);
        s.mouseWheelMove (mouseAt (s, {}, row.mods), row.wheel);
        EXPECT_NEAR (s.getValue(), row.expected, 1e-9) << &row - rows;
    }
}

// Each wheel event is a gesture of its own. A bar slider hears an event over its text box as
// the box's mouse listener, and again when the box passes it up: one step all the same.
TEST_F (BetterSliderTest, BarSliderStepsOncePerWheelEventAsOneGesture)
{
    struct : juce::Slider::Listener
    {
        juce::StringArray log;
        void sliderValueChanged (juce::Slider* s) override { log.add (juce::String (s->getValue())); }
        void sliderDragStarted (juce::Slider*) override { log.add ("started"); }
        void sliderDragEnded (juce::Slider*) override { log.add ("ended"); }
    } gestures;
    BetterSlider slider;
    slider.setSliderStyle (juce::Slider::LinearBarVertical);
    slider.attachToParameter (&own, 0);
    slider.setValue (0.5, juce::dontSendNotification);
    slider.addListener (&gestures);
    auto* box = slider.getChildComponent (0);
    for (int event = 0; event < 2; ++event)
    {
        slider.mouseWheelMove (mouseAt (*box, {}), wheelOf (1.0f));            // as mouse listener
        slider.mouseWheelMove (mouseAt (slider, {}, {}, box), wheelOf (1.0f)); // passed up
    }
    EXPECT_EQ (gestures.log, juce::StringArray ({ "started", "0.51", "ended", "started", "0.52", "ended" }));
}

TEST_F (BetterSliderTest, ParameterTextsParsingAndDefault)
{
    for (const auto& [index, value, text] : { std::make_tuple (Product::freqParam, 21000.0, "21.0 kHz"),
                                              std::make_tuple (Product::slopeParam, 75.0, "75.0 %") })
    {
        BetterSlider s;
        s.attachToParameter (&product, index);
        const double n = product->getParam (index)->valueToNormalised (value);
        EXPECT_EQ (s.getTextFromValue (n), text);
        EXPECT_NEAR (s.getValueFromText (text), n, 1e-6) << text;
        s.setValue (0.25, juce::dontSendNotification);
        EXPECT_EQ (s.getValueFromText ("steep"), 0.25); // does not parse: the value stays
    }
    BetterSlider s;
    s.attachToParameter (&product, Product::slopeParam);
    EXPECT_NEAR (s.getDoubleClickReturnValue(), 1.0, 1e-9);
    EXPECT_EQ (BetterSlider().getTextFromValue (0.5), "0.50");
}

TEST_F (BetterSliderTest, SnapsOnlyWhilePressedWithCtrlOrTheRightButtonToExistingSnapPoints)
{
    const std::tuple<bool, int, bool, double> rows[] = {
        { true, Mods::ctrlModifier, true, 0.3 },        { true, Mods::rightButtonModifier, true, 0.3 },
        { true, Mods::leftButtonModifier, true, 0.35 }, { true, Mods::rightButtonModifier, false, 0.35 },
        { false, Mods::rightButtonModifier, true, 0.35 },
    };
    for (const auto& [snapPoints, mods, pressed, expected] : rows)
    {
        BetterSlider s;
        s.attachToParameter (snapPoints ? &own : &product, snapPoints ? 0 : (int) Product::slopeParam);
        s.mouseDown (mouseAt (s, {}, mods));
        if (! pressed)
            s.mouseUp (mouseAt (s, {}, mods));
        EXPECT_NEAR (s.snapValue (0.35, juce::Slider::absoluteDrag), expected, 1e-6) << mods << pressed;
    }
}
} // namespace
