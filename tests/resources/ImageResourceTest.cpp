#include "resources/BinaryData.h"

#include <gtest/gtest.h>
#include <juce_graphics/juce_graphics.h>

namespace
{
namespace res = kelmora::resources;

struct ImageBlock
{
    const char* name;
    const char* data;
    int size;
    int width, height;
    bool rgbOnly;
};

#define IMAGE(n, w, h) ImageBlock { #n, res::n, res::n##Size, w, h, false }
#define KEY3(n, w, h) IMAGE (n##_png, w, h), IMAGE (n##_over_png, w, h), IMAGE (n##_down_png, w, h)

const ImageBlock allImages[] = {
    KEY3 (undo, 24, 22), KEY3 (redo, 24, 22), KEY3 (about, 24, 22), KEY3 (help, 24, 22),
    KEY3 (settings, 24, 22), KEY3 (state_a, 36, 22), KEY3 (state_b, 36, 22),
    KEY3 (copy_a_to_b, 36, 22), KEY3 (copy_b_to_a, 36, 22), KEY3 (preset_up, 24, 11),
    KEY3 (preset_down, 24, 11), KEY3 (menu_button, 102, 22), KEY3 (dialog_button, 83, 26),
    IMAGE (tickbox_png, 32, 16), IMAGE (window_frame_png, 61, 93), IMAGE (fallback_logo_png, 40, 35),
    IMAGE (knob_large_png, 70, 10500), IMAGE (knob_small_png, 50, 7500), IMAGE (bypass_lit_png, 54, 40),
    IMAGE (bypass_dim_png, 54, 40), ImageBlock { "background_png", res::background_png, res::background_pngSize, 406, 214, true },
    IMAGE (label_box_png, 50, 18), IMAGE (value_box_png, 55, 21), IMAGE (wide_box_png, 84, 21),
    IMAGE (led_blue_png, 23, 46), IMAGE (led_green_png, 23, 46), IMAGE (led_orange_png, 23, 46),
    IMAGE (led_red_png, 23, 46), IMAGE (led_white_png, 23, 46),
};

#undef KEY3
#undef IMAGE

static_assert (std::size (allImages) == 55);

juce::Image decode (const char* data, int size)
{
    return juce::ImageCache::getFromMemory (data, size);
}

juce::Image decode (const char* name)
{
    int size = 0;
    auto* data = res::getNamedResource (name, size);
    return data == nullptr ? juce::Image() : decode (data, size);
}

bool columnsEqual (const juce::Image& image, int a, int b)
{
    for (int y = 0; y < image.getHeight(); ++y)
        if (image.getPixelAt (a, y) != image.getPixelAt (b, y))
            return false;
    return true;
}

bool rowsEqual (const juce::Image& image, int a, int b)
{
    for (int x = 0; x < image.getWidth(); ++x)
        if (image.getPixelAt (x, a) != image.getPixelAt (x, b))
            return false;
    return true;
}

std::uint32_t readBigEndian (const char* p)
{
    auto byte = [p] (int i) { return (std::uint32_t) (unsigned char) p[i]; };
    return (byte (0) << 24) | (byte (1) << 16) | (byte (2) << 8) | byte (3);
}

TEST (ImageResources, EveryPngDecodesAtItsSizeAndFormat)
{
    for (const auto& block : allImages)
    {
        SCOPED_TRACE (block.name);
        // The header itself: 8 bits per channel, RGBA (colour type 6) or RGB (2).
        ASSERT_GT (block.size, 33);
        EXPECT_EQ (std::string (block.data + 12, 4), "IHDR");
        EXPECT_EQ (readBigEndian (block.data + 16), (std::uint32_t) block.width);
        EXPECT_EQ (readBigEndian (block.data + 20), (std::uint32_t) block.height);
        EXPECT_EQ (block.data[24], 8);
        EXPECT_EQ (block.data[25], block.rgbOnly ? 2 : 6);

        const auto image = decode (block.data, block.size);
        ASSERT_TRUE (image.isValid());
        EXPECT_EQ (image.getWidth(), block.width);
        EXPECT_EQ (image.getHeight(), block.height);
        EXPECT_EQ (image.getFormat(), block.rgbOnly ? juce::Image::RGB : juce::Image::ARGB);
    }
}

TEST (ImageResources, ThreeSliceBarsStretchWithoutSeams)
{
    // The painters stretch the one column after each cap over the middle, so every middle
    // column must equal it: 6-pixel caps on the button bars, 10-pixel caps on the value boxes.
    const std::pair<const char*, int> bars[] = {
        { "menu_button_png", 6 }, { "menu_button_over_png", 6 }, { "menu_button_down_png", 6 },
        { "dialog_button_png", 6 }, { "dialog_button_over_png", 6 }, { "dialog_button_down_png", 6 },
        { "value_box_png", 10 }, { "wide_box_png", 10 },
    };

    for (const auto& [name, cap] : bars)
    {
        SCOPED_TRACE (name);
        const auto image = decode (name);
        ASSERT_TRUE (image.isValid());

        for (int x = cap + 1; x < image.getWidth() - cap; ++x)
            ASSERT_TRUE (columnsEqual (image, cap, x)) << "column " << x;

        // And the caps are drawn: a bar is opaque in its middle.
        EXPECT_EQ (image.getPixelAt (image.getWidth() / 2, image.getHeight() / 2).getAlpha(), 255);
    }
}

TEST (ImageResources, WindowFrameStretchesAndLeavesTheTitleAreaPlain)
{
    const auto frame = decode ("window_frame_png");
    ASSERT_TRUE (frame.isValid());

    // Stretched column 29 and row 46; columns 30-31 and rows 47-60 are never drawn by the
    // painter but must match so the image reads right at its own size too.
    for (int x = 30; x <= 31; ++x)
        EXPECT_TRUE (columnsEqual (frame, 29, x)) << "column " << x;
    for (int y = 47; y <= 60; ++y)
        EXPECT_TRUE (rowsEqual (frame, 46, y)) << "row " << y;

    // The title box spans frame rows 7-30 from column 14; the close button (24 x 18 at 9 rows
    // down) covers the stretch column and the right corner's columns 32-53. All plain body.
    const auto body = frame.getPixelAt (29, 46);
    EXPECT_EQ (body.getAlpha(), 255);

    for (int y = 7; y <= 30; ++y)
    {
        for (int x = 14; x <= 29; ++x)
            ASSERT_EQ (frame.getPixelAt (x, y), body) << x << ", " << y;
        for (int x = 32; x <= 53; ++x)
            ASSERT_EQ (frame.getPixelAt (x, y), body) << x << ", " << y;
    }

    // The body also fills the middle of the bottom row and the sides between the corners.
    EXPECT_EQ (frame.getPixelAt (29, 70), body);
    EXPECT_EQ (frame.getPixelAt (20, 46), body);
    EXPECT_EQ (frame.getPixelAt (40, 46), body);
}

TEST (ImageResources, KnobStripsTurnFromLowerLeftToLowerRight)
{
    for (const auto* name : { "knob_large_png", "knob_small_png" })
    {
        SCOPED_TRACE (name);
        const auto strip = decode (name);
        ASSERT_TRUE (strip.isValid());
        const int size = strip.getWidth();
        ASSERT_EQ (strip.getHeight() / size, 150);
        ASSERT_EQ (strip.getHeight() % size, 0);

        // The pointer is the brightest thing on the knob; look for it at two thirds of the
        // cap's radius in the direction that each frame should point to.
        const float centre = 0.5f * (float) size, reach = 12.0f * (float) size / 70.0f;
        auto brightness = [&] (int frame, float angle)
        {
            const auto x = (int) std::lround (centre + reach * std::sin (angle));
            const auto y = (int) std::lround (centre - reach * std::cos (angle));
            return strip.getPixelAt (x, frame * size + y).getBrightness();
        };

        const float lowerLeft = -0.75f * juce::MathConstants<float>::pi, lowerRight = -lowerLeft;
        EXPECT_GT (brightness (0, lowerLeft), 0.8f);
        EXPECT_LT (brightness (0, lowerRight), 0.5f);
        EXPECT_GT (brightness (149, lowerRight), 0.8f);
        EXPECT_LT (brightness (149, lowerLeft), 0.5f);
        EXPECT_GT (brightness (75, 0.0f), 0.8f) << "half way points up";

        for (int frame = 1; frame < 150; ++frame)
        {
            const auto previous = strip.getClippedImage ({ 0, (frame - 1) * size, size, size });
            bool differs = false;
            for (int y = 0; y < size && ! differs; ++y)
                for (int x = 0; x < size && ! differs; ++x)
                    differs = previous.getPixelAt (x, y) != strip.getPixelAt (x, frame * size + y);
            ASSERT_TRUE (differs) << "frame " << frame << " repeats the one before";
        }
    }
}

TEST (ImageResources, BypassKeyLiesWithinWhatTheEditorShows)
{
    // The 54 x 40 image is centred in an 88 x 35 button that the editor cuts off on the right:
    // only columns 0-47 and rows 2-36 are ever seen, and the key must be clickable there
    // (the button hit-tests at alpha 0.5).
    for (const auto* name : { "bypass_lit_png", "bypass_dim_png" })
    {
        SCOPED_TRACE (name);
        const auto key = decode (name);
        ASSERT_TRUE (key.isValid());

        for (int y = 0; y < key.getHeight(); ++y)
            for (int x = 0; x < key.getWidth(); ++x)
            {
                if (x > 47 || y < 2 || y > 36)
                {
                    ASSERT_EQ (key.getPixelAt (x, y).getAlpha(), 0) << x << ", " << y;
                }
            }

        EXPECT_GE (key.getPixelAt (24, 20).getAlpha(), 128);
        EXPECT_GE (key.getPixelAt (6, 10).getAlpha(), 128);
        EXPECT_GE (key.getPixelAt (40, 32).getAlpha(), 128);
    }

    const auto lit = decode ("bypass_lit_png"), dim = decode ("bypass_dim_png");
    float litSum = 0.0f, dimSum = 0.0f;
    for (int y = 18; y < 30; ++y)
        for (int x = 4; x < 44; ++x)
        {
            litSum += lit.getPixelAt (x, y).getBrightness();
            dimSum += dim.getPixelAt (x, y).getBrightness();
        }
    EXPECT_GT (litSum, dimSum) << "the lit key's lettering is brighter";
}

TEST (ImageResources, BackgroundHasADarkWindowUnderTheDisplay)
{
    const auto background = decode ("background_png");
    ASSERT_TRUE (background.isValid());

    // The display sits at (16, 38, 366, 142) in the editor, which draws the image at y 27.
    for (int y = 11; y < 153; ++y)
        for (int x = 16; x < 382; ++x)
            ASSERT_LT (background.getPixelAt (x, y).getBrightness(), 0.08f) << x << ", " << y;

    // Around it, the panel is blue-grey and lighter.
    const auto panel = background.getPixelAt (8, 100);
    EXPECT_GT (panel.getBrightness(), 0.12f);
    EXPECT_GT (panel.getBlue(), panel.getRed());
}

TEST (ImageResources, TickBoxShowsOffOnTheLeftAndOnOnTheRight)
{
    const auto tick = decode ("tickbox_png");
    ASSERT_TRUE (tick.isValid());
    const auto off = tick.getPixelAt (8, 8), on = tick.getPixelAt (24, 8);
    EXPECT_EQ (off.getAlpha(), 255);
    EXPECT_GT (on.getBlue(), on.getRed() + 60) << "a coloured dot";
    EXPECT_LT (std::abs ((int) off.getBlue() - (int) off.getRed()), 20) << "an empty box";
}

TEST (ImageResources, LedsAreLitAboveAndDarkBelow)
{
    for (const auto* name : { "led_blue_png", "led_green_png", "led_orange_png", "led_red_png", "led_white_png" })
    {
        SCOPED_TRACE (name);
        const auto led = decode (name);
        ASSERT_TRUE (led.isValid());
        EXPECT_GT (led.getPixelAt (11, 11).getBrightness(), led.getPixelAt (11, 34).getBrightness() + 0.3f);
    }
}
} // namespace
