#include "ResourceList.h"

#include <gtest/gtest.h>
#include <juce_graphics/juce_graphics.h>

#include <string>

namespace
{
juce::Image decode (const char* name)
{
    int size = 0;
    auto* data = kelmora::resources::getNamedResource (name, size);
    return data == nullptr ? juce::Image() : juce::ImageCache::getFromMemory (data, size);
}

// Whether column (or row) b of the image equals column (or row) a.
bool sameLine (const juce::Image& image, bool columns, int a, int b)
{
    for (int i = 0; i < (columns ? image.getHeight() : image.getWidth()); ++i)
        if (columns ? image.getPixelAt (a, i) != image.getPixelAt (b, i) : image.getPixelAt (i, a) != image.getPixelAt (i, b))
            return false;
    return true;
}

TEST (ImageResources, EveryPngDecodesAtItsSizeAndFormat)
{
    for (const auto& block : quietline::test::allBlocks)
    {
        if (! juce::String (block.file).endsWith (".png"))
            continue;
        SCOPED_TRACE (block.name);
        const auto expected = quietline::test::expectedImageSize (block.name);
        const bool rgb = std::string (block.name) == "background_png";

        // The header itself: 8 bits per channel, RGBA (colour type 6) or RGB (2).
        ASSERT_GT (block.size, 33);
        const auto* ihdr = reinterpret_cast<const unsigned char*> (block.data) + 12;
        EXPECT_EQ (std::string (block.data + 12, 4), "IHDR");
        EXPECT_EQ (ihdr[12], 8);
        EXPECT_EQ (ihdr[13], rgb ? 2 : 6);

        const auto image = decode (block.name);
        ASSERT_TRUE (image.isValid());
        if (expected.width != 0)
        {
            EXPECT_EQ (image.getBounds(), juce::Rectangle<int> (expected.width, expected.height));
        }
        EXPECT_EQ (image.getFormat(), rgb ? juce::Image::RGB : juce::Image::ARGB);
    }
}

TEST (ImageResources, SlicedImagesStretchWithoutSeams)
{
    // The painters stretch the one column after each cap over the middle, so every middle
    // column must equal it: 6-pixel caps on the button bars, 10-pixel caps on the value boxes.
    const std::pair<const char*, int> bars[] = {
        { "menu_button_png", 6 }, { "menu_button_over_png", 6 }, { "menu_button_down_png", 6 },
        { "dialog_button_png", 6 }, { "dialog_button_over_png", 6 }, { "dialog_button_down_png", 6 },
        { "value_box_png", 10 }, { "wide_box_png", 10 } };
    for (const auto& [name, cap] : bars)
    {
        const auto image = decode (name);
        for (int x = cap + 1; x < image.getWidth() - cap; ++x)
            EXPECT_TRUE (sameLine (image, true, cap, x)) << name << ", column " << x;
        EXPECT_EQ (image.getPixelAt (image.getWidth() / 2, image.getHeight() / 2).getAlpha(), 255) << name;
    }

    // The window frame stretches column 29 and row 46; the title box (rows 7-30 from column 14)
    // and the close button (over the stretch column and columns 32-53) sit on plain body colour.
    const auto frame = decode ("window_frame_png");
    for (int x = 30; x <= 31; ++x)
        EXPECT_TRUE (sameLine (frame, true, 29, x)) << "column " << x;
    for (int y = 47; y <= 60; ++y)
        EXPECT_TRUE (sameLine (frame, false, 46, y)) << "row " << y;
    const auto body = frame.getPixelAt (29, 46);
    EXPECT_EQ (body.getAlpha(), 255);
    for (int y = 7; y <= 30; ++y)
        for (int x = 14; x <= 53; ++x)
            ASSERT_TRUE (x == 30 || x == 31 || frame.getPixelAt (x, y) == body) << x << ", " << y;
}

TEST (ImageResources, KnobStripsTurnFromLowerLeftToLowerRightIn150Frames)
{
    for (const auto* name : { "knob_large_png", "knob_small_png" })
    {
        SCOPED_TRACE (name);
        const auto strip = decode (name);
        const int size = strip.getWidth();
        ASSERT_EQ (strip.getHeight(), 150 * size);

        // The pointer is the brightest thing on the knob: look for it where each frame points.
        const float centre = 0.5f * (float) size, reach = 12.0f * (float) size / 70.0f;
        const auto brightness = [&] (int frame, float angle) {
            const auto x = (int) std::lround (centre + reach * std::sin (angle));
            const auto y = (int) std::lround (centre - reach * std::cos (angle));
            return strip.getPixelAt (x, frame * size + y).getBrightness();
        };
        const float lowerRight = 0.75f * juce::MathConstants<float>::pi;
        EXPECT_GT (brightness (0, -lowerRight), 0.8f);
        EXPECT_LT (brightness (0, lowerRight), 0.5f);
        EXPECT_GT (brightness (75, 0.0f), 0.8f) << "half way points up";
        EXPECT_GT (brightness (149, lowerRight), 0.8f);
        EXPECT_LT (brightness (149, -lowerRight), 0.5f);
    }
}

TEST (ImageResources, BypassKeyAndDisplayWindowLieWhereTheEditorShowsThem)
{
    // The key is centred in an 88 x 35 button that the editor cuts off on the right: only
    // columns 0-47 and rows 2-36 are ever seen, and the key must be clickable (alpha 0.5) there.
    for (const auto* name : { "bypass_lit_png", "bypass_dim_png" })
    {
        const auto key = decode (name);
        for (int y = 0; y < key.getHeight(); ++y)
            for (int x = 0; x < key.getWidth(); ++x)
                ASSERT_TRUE ((x <= 47 && y >= 2 && y <= 36) || key.getPixelAt (x, y).getAlpha() == 0) << name << ", " << x << ", " << y;
        for (const auto& [x, y] : { std::pair (24, 20), std::pair (6, 10), std::pair (40, 32) })
            EXPECT_GE (key.getPixelAt (x, y).getAlpha(), 128) << name << ", " << x << ", " << y;
    }

    // The magnitude display sits at (16, 38, 366, 142) in the editor, which draws the background
    // at y 27: dark there, a lighter blue-grey panel around it.
    const auto background = decode ("background_png");
    for (int y = 11; y < 153; ++y)
        for (int x = 16; x < 382; ++x)
            ASSERT_LT (background.getPixelAt (x, y).getBrightness(), 0.08f) << x << ", " << y;
    const auto panel = background.getPixelAt (8, 100);
    EXPECT_GT (panel.getBrightness(), 0.12f);
    EXPECT_GT (panel.getBlue(), panel.getRed());
}
} // namespace
