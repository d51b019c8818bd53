#include "SkinTestSupport.h"

#include "resources/BinaryData.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
using namespace kelmora::skins;
namespace res = kelmora::resources;

// Empty or reversed ranges, NaN and strips without frames must not divide by zero or convert
// NaN to an integer.
TEST (SkinKnobs, FilmStripFrameFollowsTheLinearValueProportionRoundedUp)
{
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case { double value, minimum, maximum; int frames, frame; };
    const Case cases[] = {
        { 0.0, 0.0, 1.0, 150, 0 },   { 1.0, 0.0, 1.0, 150, 149 },  { 0.5, 0.0, 1.0, 150, 75 },
        { 1e-9, 0.0, 1.0, 150, 1 },  { 2.0 / 149.0, 0.0, 1.0, 150, 2 }, { 20100.0, 20000.0, 25000.0, 150, 3 },
        { 5.0, 5.0, 5.0, 150, 0 },   { 3.0, 1.0, 0.0, 150, 0 },    { nan, 0.0, 1.0, 150, 0 },
        { 2.0, 0.0, 1.0, 150, 149 }, { -1.0, 0.0, 1.0, 150, 0 },   { 0.5, 0.0, 1.0, 0, 0 },
    };
    for (const auto& c : cases)
        EXPECT_EQ (LookAndFeelCustom::filmStripFrame (c.value, c.minimum, c.maximum, c.frames), c.frame) << &c - cases;
}

// A rotary knob of the given size drawn on black at the value.
juce::Image drawKnob (juce::LookAndFeel& skin, int size, double value, double skew = 1.0)
{
    juce::Slider slider (juce::Slider::RotaryVerticalDrag, juce::Slider::NoTextBox);
    slider.setSize (size, size);
    slider.setRange (0.0, 1.0);
    slider.setSkewFactor (skew);
    slider.setValue (value, juce::dontSendNotification);
    return skintest::render (size, size, [&] (juce::Graphics& g) {
        g.fillAll (juce::Colours::black);
        g.drawImageAt (skintest::snapshot (slider, skin), 0, 0);
    });
}

// 70 wide takes the large strip, anything else the small one, at native size from the top-left
// of its radius; a skewed range still picks the frame by the value's proportion.
TEST (SkinKnobs, KnobsDrawTheirStripFrameAtNativeSizePlacedByTheirRadius)
{
    const auto large = juce::ImageCache::getFromMemory (res::knob_large_png, res::knob_large_pngSize);
    const auto small = juce::ImageCache::getFromMemory (res::knob_small_png, res::knob_small_pngSize);
    LookAndFeelCustom skin;
    struct Case { int size; double skew, value; int frame; };
    for (const auto& c : { Case { 70, 1.0, 1.0, 149 }, Case { 70, 0.3, 0.5, 75 }, Case { 60, 1.0, 0.5, 75 }, Case { 60, 1.0, 1e-6, 1 } })
    {
        const auto& strip = c.size == 70 ? large : small;
        const int side = strip.getWidth();
        const auto expected = skintest::render (c.size, c.size, [&] (juce::Graphics& g) {
            g.fillAll (juce::Colours::black);
            g.drawImage (strip, -1, 0, side, side, 0, c.frame * side, side, side);
        });
        const auto shown = drawKnob (skin, c.size, c.value, c.skew);
        for (int y = 0; y < c.size; ++y)
            for (int x = 0; x < c.size; ++x)
                ASSERT_TRUE (skintest::near (shown.getPixelAt (x, y), expected.getPixelAt (x, y))) << c.size << " " << c.value << " at " << x << "," << y;
    }
}

TEST (SkinKnobs, TheSecondAndThirdKnobSkinsAddATwelveOClockTickAtEveryValue)
{
    LookAndFeelCustom plain;
    LookAndFeelCustom2 ticked2;
    LookAndFeelCustom3 ticked3;
    for (const double value : { 0.0, 0.37, 1.0 })
    {
        const auto tick = [&] (juce::LookAndFeel& skin) { return drawKnob (skin, 70, value).getPixelAt (35, 2).getBrightness(); };
        EXPECT_GT (tick (ticked2), 0.75f) << value;
        EXPECT_GT (tick (ticked3), 0.75f) << value;
        EXPECT_LT (tick (plain), tick (ticked2) - 0.1f) << value;
    }
}

// Bar sliders show only the value box whatever their value; their text box is a plain label
// (JUCE's own swallows wheel events). A label gets the label box only at 50 pixels wide.
TEST (SkinKnobs, BarSliderTextBoxesAndLabelBoxes)
{
    LookAndFeelCustom skin;
    const auto valueBox = juce::ImageCache::getFromMemory (res::value_box_png, res::value_box_pngSize);
    for (const auto style : { juce::Slider::LinearBar, juce::Slider::LinearBarVertical })
    {
        juce::Slider slider (style, juce::Slider::TextBoxBelow);
        slider.setLookAndFeel (&skin);
        slider.setBounds (0, 0, 54, 40);
        auto* box = slider.getChildComponent (0);
        ASSERT_TRUE (box != nullptr && typeid (*box) == typeid (juce::Label));

        slider.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
        const auto at = [&] (double v) { slider.setValue (v); return skintest::snapshot (slider, skin); };
        const auto low = at (0.0), high = at (10.0);
        EXPECT_TRUE (skintest::near (high.getPixelAt (27, 20), valueBox.getPixelAt (10, valueBox.getHeight() / 2), 12));
        for (int y = 0; y < 40; y += 3)
            for (int x = 0; x < 54; x += 3)
                ASSERT_EQ (low.getPixelAt (x, y), high.getPixelAt (x, y)) << x << "," << y;
    }
    for (const auto& [width, boxed] : { std::pair { 50, true }, std::pair { 51, false } })
    {
        juce::Label label;
        label.setSize (width, 20);
        EXPECT_EQ (skintest::snapshot (label, skin).getPixelAt (25, 10).getAlpha() > 0, boxed) << width;
    }
}
} // namespace
