#include "SkinTestSupport.h"

#include "resources/BinaryData.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
using namespace kelmora::skins;
namespace res = kelmora::resources;

TEST (SkinKnobs, FilmStripFrameFollowsTheLinearValueProportionRoundedUp)
{
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case { double value, minimum, maximum; int frames, frame; };
    const Case cases[] = {
        { 0.0, 0.0, 1.0, 150, 0 },          { 1.0, 0.0, 1.0, 150, 149 },        { 0.5, 0.0, 1.0, 150, 75 },
        { 1e-9, 0.0, 1.0, 150, 1 },         { 1.0 / 149.0, 0.0, 1.0, 150, 1 },  { 2.0 / 149.0, 0.0, 1.0, 150, 2 },
        { 20100.0, 20000.0, 25000.0, 150, 3 }, { 5.0, 5.0, 5.0, 150, 0 },       { 3.0, 1.0, 0.0, 150, 0 },
        { nan, 0.0, 1.0, 150, 0 },          { 2.0, 0.0, 1.0, 150, 149 },        { -1.0, 0.0, 1.0, 150, 0 },
        { 0.5, 0.0, 1.0, 0, 0 },            { 0.5, 0.0, 1.0, 1, 0 },
    };

    for (const auto& c : cases)
        EXPECT_EQ (LookAndFeelCustom::filmStripFrame (c.value, c.minimum, c.maximum, c.frames), c.frame)
            << c.value << " in " << c.minimum << ".." << c.maximum << " of " << c.frames;
}

// Which frame of the strip the knob shows, found by comparing the drawn square with every frame.
int shownFrame (const juce::Image& shown, const juce::Image& strip, int left, int top)
{
    const int side = strip.getWidth();
    int best = -1;
    double bestDistance = 1e30;

    for (int frame = 0; frame < strip.getHeight() / side; ++frame)
    {
        double distance = 0;
        for (int y = 4; y < side - 4; y += 2)
            for (int x = 4; x < side - 4; x += 2)
            {
                const auto a = shown.getPixelAt (left + x, top + y);
                const auto b = juce::Colours::black.overlaidWith (strip.getPixelAt (x, frame * side + y));
                distance += std::abs (a.getRed() - b.getRed()) + std::abs (a.getGreen() - b.getGreen())
                          + std::abs (a.getBlue() - b.getBlue());
            }
        if (distance < bestDistance)
            bestDistance = distance, best = frame;
    }
    return best;
}

struct Knob
{
    explicit Knob (juce::LookAndFeel& skin, int size)
    {
        slider.setSliderStyle (juce::Slider::RotaryVerticalDrag);
        slider.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
        slider.setLookAndFeel (&skin);
        slider.setSize (size, size);
    }
    ~Knob() { slider.setLookAndFeel (nullptr); }

    juce::Image draw (double value)
    {
        slider.setValue (value, juce::dontSendNotification);
        return skintest::render (slider.getWidth(), slider.getHeight(), [&] (juce::Graphics& g) {
            g.fillAll (juce::Colours::black);
            slider.paintEntireComponent (g, false);
        });
    }

    juce::Slider slider;
};

TEST (SkinKnobs, KnobsDrawTheirStripFrameAtNativeSizePlacedByTheirRadius)
{
    const auto large = juce::ImageCache::getFromMemory (res::knob_large_png, res::knob_large_pngSize);
    const auto small = juce::ImageCache::getFromMemory (res::knob_small_png, res::knob_small_pngSize);
    LookAndFeelCustom skin;

    struct Case { int size; double skew, value; int frame; };
    const Case cases[] = { { 70, 1.0, 0.0, 0 }, { 70, 1.0, 1.0, 149 }, { 70, 0.3, 0.5, 75 },
                           { 60, 1.0, 0.5, 75 }, { 60, 1.0, 1e-6, 1 } };

    for (const auto& c : cases)
    {
        Knob knob (skin, c.size);
        knob.slider.setRange (0.0, 1.0);
        knob.slider.setSkewFactor (c.skew);
        const auto& strip = c.size == 70 ? large : small;
        const auto shown = knob.draw (c.value);

        EXPECT_EQ (shownFrame (shown, strip, -1, 0), c.frame) << "size " << c.size << " value " << c.value;
        // At its native size from the top-left of its radius: nothing beyond the strip's width.
        EXPECT_EQ (shown.getPixelAt (c.size - 2, c.size - 2), juce::Colours::black) << c.size;
    }
}

TEST (SkinKnobs, TheSecondAndThirdKnobSkinsAddATwelveOClockTickAtEveryValue)
{
    LookAndFeelCustom plain;
    LookAndFeelCustom2 ticked2;
    LookAndFeelCustom3 ticked3;

    for (const double value : { 0.0, 0.37, 1.0 })
    {
        const auto tickPixel = [&] (juce::LookAndFeel& skin) { return Knob (skin, 70).draw (value).getPixelAt (35, 2); };
        EXPECT_GT (tickPixel (ticked2).getBrightness(), 0.75f) << value;
        EXPECT_GT (tickPixel (ticked3).getBrightness(), 0.75f) << value;
        EXPECT_LT (tickPixel (plain).getBrightness(), tickPixel (ticked2).getBrightness() - 0.1f) << value;
    }
}

TEST (SkinKnobs, ThirdSkinButtonOutlineStrengthensWithMouseOverAndPress)
{
    LookAndFeelCustom3 skin;
    juce::TextButton button ("On");
    button.setSize (60, 24);

    const auto outlineRed = [&] (juce::Colour outline, bool over, bool down) {
        button.setColour (juce::TextButton::textColourOnId, outline);
        return skintest::render (60, 24, [&] (juce::Graphics& g) {
                   skin.drawButtonBackground (g, button, juce::Colours::grey, over, down);
               }).getPixelAt (30, 0).getFloatRed();
    };
    const float under = outlineRed (juce::Colours::transparentBlack, false, false);
    const auto strength = [&] (bool over, bool down) { return outlineRed (juce::Colours::red, over, down) - under; };
    const float pressed = strength (true, true);

    ASSERT_GT (pressed, 0.1f);
    EXPECT_NEAR (strength (false, false) / pressed, 0.5f, 0.06f);
    EXPECT_NEAR (strength (true, false) / pressed, 0.8f, 0.06f);
}

// Bar sliders show only the value box, whatever their value; their text box is a plain label
// whose colours depend on the style.
TEST (SkinKnobs, BarSlidersShowTheValueBoxAndStyleTheirTextBox)
{
    LookAndFeelCustom skin;
    skin.setColour (juce::Slider::textBoxBackgroundColourId, juce::Colour (0xFF336699));
    const auto valueBox = juce::ImageCache::getFromMemory (res::value_box_png, res::value_box_pngSize);

    struct Case { juce::Slider::SliderStyle style; juce::uint32 labelBackground; float editorAlpha; };
    for (const auto& c : { Case { juce::Slider::LinearBar, 0x00000000, 0.7f },
                           Case { juce::Slider::LinearBarVertical, 0xFF336699, 1.0f } })
    {
        juce::Slider slider (c.style, juce::Slider::TextBoxBelow);
        slider.setLookAndFeel (&skin);
        slider.setRange (0.0, 1.0);
        slider.setBounds (0, 0, 54, 40);

        juce::Label* box = nullptr;
        for (auto* child : slider.getChildren())
            if (auto* label = dynamic_cast<juce::Label*> (child))
                box = label;
        ASSERT_NE (box, nullptr);
        EXPECT_TRUE (typeid (*box) == typeid (juce::Label));
        EXPECT_EQ (box->findColour (juce::Label::backgroundColourId).getARGB(), c.labelBackground);
        EXPECT_NEAR (box->findColour (juce::TextEditor::backgroundColourId).getFloatAlpha(), c.editorAlpha, 0.01f);
        EXPECT_NEAR (box->getFont().getHeight(), 11.8f, 0.01f);

        slider.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
        const auto at = [&] (double v) { slider.setValue (v); return skintest::snapshot (slider); };
        const auto low = at (0.0), high = at (1.0);
        EXPECT_TRUE (skintest::near (high.getPixelAt (27, 20), valueBox.getPixelAt (10, valueBox.getHeight() / 2), 12));
        for (int y = 0; y < 40; y += 3)
            for (int x = 0; x < 54; x += 3)
                ASSERT_EQ (low.getPixelAt (x, y), high.getPixelAt (x, y)) << x << "," << y;
        slider.setLookAndFeel (nullptr);
    }
}

TEST (SkinKnobs, OnlyFiftyPixelWideLabelsGetTheLabelBox)
{
    LookAndFeelCustom skin;
    for (const auto& [width, boxed] : { std::pair { 50, true }, std::pair { 51, false } })
    {
        juce::Label label;
        label.setLookAndFeel (&skin);
        label.setSize (width, 20);
        EXPECT_EQ (skintest::snapshot (label).getPixelAt (25, 10).getAlpha() > 0, boxed) << width;
        label.setLookAndFeel (nullptr);
    }
}
} // namespace
