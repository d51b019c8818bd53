#include "resources/BinaryData.h"

#include <gtest/gtest.h>
#include <juce_graphics/juce_graphics.h>

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
        ASSERT_TRUE (image.isValid()) << name;
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

// The pointer is the brightest thing on the knob: it is looked for where each frame points.
TEST (ImageResources, KnobStripsTurnFromLowerLeftToLowerRightIn150Frames)
{
    for (const auto* name : { "knob_large_png", "knob_small_png" })
    {
        const auto strip = decode (name);
        const int size = strip.getWidth();
        ASSERT_EQ (strip.getHeight(), 150 * size) << name;
        const float centre = 0.5f * (float) size, reach = 12.0f * (float) size / 70.0f, end = 0.75f * juce::MathConstants<float>::pi;
        for (const auto& [frame, angle, lit] : { std::tuple { 0, -end, true }, { 0, end, false }, { 75, 0.0f, true }, { 149, end, true }, { 149, -end, false } })
        {
            const auto x = (int) std::lround (centre + reach * std::sin (angle)), y = (int) std::lround (centre - reach * std::cos (angle));
            const float brightness = strip.getPixelAt (x, frame * size + y).getBrightness();
            EXPECT_TRUE (lit ? brightness > 0.8f : brightness < 0.5f) << name << ", frame " << frame << " at " << angle << ": " << brightness;
        }
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
