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
    BetterSliderTest()
    {
        own.setParam (0, std::make_unique<kelmora::core::Parameter> ("p", "", "", 2, "", 0u, 0.0, 1.0, 0.5));
        own.getParam (0)->addSnapPoint (0.3);
    }
    // Steps by 0.01 of its range and snaps to 0.3; the product's slope has no snap points.
    quietline::test::TempHome home;
    kelmora::core::ParamList own { 1 }, *ownList = &own;
    std::unique_ptr<kelmora::core::ParamManager> manager = Product::createParameters();
    kelmora::core::ParamList* product = manager.get();
};

// Each wheel event is one gesture. A bar slider hears an event over its text box as the box's
// mouse listener, and again when the box passes it up: one step all the same.
TEST_F (BetterSliderTest, WheelStepsOncePerEventAsOneGestureAndStaysInRange)
{
    struct : juce::Slider::Listener
    {
        juce::StringArray log;
        void sliderValueChanged (juce::Slider* s) override { log.add (juce::String (s->getValue())); }
        void sliderDragStarted (juce::Slider*) override { log.add ("started"); }
        void sliderDragEnded (juce::Slider*) override { log.add ("ended"); }
    } gestures;
    struct Row { bool bound, bar; double start; juce::MouseWheelDetails wheel; int mods; const char* log; };
    const Row rows[] = {
        { true, false, 0.5, wheelOf (3.0f), 0, "started 0.51 ended" },        { true, false, 0.5, wheelOf (-0.01f), 0, "started 0.49 ended" },
        { true, false, 0.5, wheelOf (1.0f), Mods::shiftModifier, "started 0.501 ended" },
        { true, false, 0.5, wheelOf (1.0f, true), 0, "started 0.49 ended" }, { true, false, 1.0, wheelOf (1.0f), 0, "started ended" },
        { true, false, 0.5, wheelOf (0.0f, false, 1.0f), 0, "" },            { false, false, 0.5, wheelOf (1.0f), 0, "started 0.55 ended" },
        { false, false, 0.5, wheelOf (-1.0f), Mods::shiftModifier, "started 0.495 ended" },
        { true, true, 0.5, wheelOf (1.0f), 0, "started 0.51 ended" },
    };
    for (const auto& row : rows)
    {
        BetterSlider s;
        if (row.bound)
            s.attachToParameter (&ownList, 0);
        if (row.bar)
            s.setSliderStyle (juce::Slider::LinearBarVertical);
        s.setValue (row.start, juce::dontSendNotification);
        s.addListener (&gestures);
        gestures.log.clear();
        if (auto* box = row.bar ? s.getChildComponent (0) : nullptr)
            s.mouseWheelMove (mouseAt (*box, {}, row.mods), row.wheel);            // as the box's mouse listener
        s.mouseWheelMove (mouseAt (s, {}, row.mods, row.bar ? s.getChildComponent (0) : nullptr), row.wheel);
        EXPECT_EQ (gestures.log.joinIntoString (" "), juce::String (row.log)) << &row - rows;
    }
}

// Typed text is read as its parameter reads it, unit and all; unparseable text keeps the value.
// A double-click returns to the parameter's default.
TEST_F (BetterSliderTest, ReadsTypedTextAndReturnsToTheDefault)
{
    BetterSlider s;
    s.attachToParameter (&product, Product::freqParam);
    EXPECT_NEAR (s.getValueFromText ("21.0 kHz"), product->getParam (Product::freqParam)->valueToNormalised (21000.0), 1e-6);
    s.setValue (0.25, juce::dontSendNotification);
    EXPECT_EQ (s.getValueFromText ("steep"), 0.25);
    s.attachToParameter (&product, Product::slopeParam);
    EXPECT_NEAR (s.getDoubleClickReturnValue(), 1.0, 1e-9);
}

// Text pasted into a value box arrives as the desktop's bytes, unchecked: only UTF-8 counts, up
// to a NUL; anything else leaves the value as it was.
TEST_F (BetterSliderTest, PastedTextCountsOnlyWhenItIsUtf8UpToTheFirstNul)
{
    const std::string nul (1, '\0');
    const struct { std::string bytes; const char* reads; } rows[] = {
        { "21.0 kHz", "21.0 kHz" },
        { "21.0 kHz" + nul + "\x80", "21.0 kHz" },
        { "\xc2\xa0" "21.0 kHz", "\xc2\xa0" "21.0 kHz" },
        { "21.0\x80 kHz", nullptr },
        { "21.0\xc0\x80 kHz", nullptr },
        { "21.0 kHz\xe2\x82", nullptr },
    };
    for (const auto& row : rows)
    {
        const juce::String pasted (juce::CharPointer_UTF8 (row.bytes.data()), juce::CharPointer_UTF8 (row.bytes.data() + row.bytes.size()));
        const auto reads = juce::String::fromUTF8 (row.reads);

        BetterSlider s;
        s.attachToParameter (&product, Product::freqParam);
        s.setValue (0.25, juce::dontSendNotification);
        EXPECT_EQ (s.getValueFromText (pasted), row.reads != nullptr ? s.getValueFromText (reads) : 0.25) << &row - rows;
    }
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
        s.setSize (100, 20);   // a press on a slider without a size maps to no value
        s.attachToParameter (snapPoints ? &ownList : &product, snapPoints ? 0 : (int) Product::slopeParam);
        s.mouseDown (mouseAt (s, {}, mods));
        if (! pressed)
            s.mouseUp (mouseAt (s, {}, mods));
        EXPECT_NEAR (s.snapValue (0.35, juce::Slider::absoluteDrag), expected, 1e-6) << mods << pressed;
    }
}
} // namespace
