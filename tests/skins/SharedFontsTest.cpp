#include "skins/SharedFonts.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace
{
using kelmora::skins::SharedFonts;

// Pixels of ink when the text is drawn black on white at the given font.
int inkOf (const juce::Font& font, const juce::String& text)
{
    juce::Image image (juce::Image::RGB, 200, 80, true);
    juce::Graphics g (image);
    g.fillAll (juce::Colours::white);
    g.setColour (juce::Colours::black);
    g.setFont (font);
    g.drawText (text, 0, 0, 200, 80, juce::Justification::centred, false);

    int ink = 0;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            ink += 255 - image.getPixelAt (x, y).getRed();
    return ink;
}

class SharedFontsTest : public ::testing::Test
{
protected:
    void TearDown() override { SharedFonts::deleteInstance(); }
};

TEST_F (SharedFontsTest, OneObjectUntilDeletedThenAFreshOne)
{
    const auto first = SharedFonts::getInstance();
    ASSERT_NE (first, nullptr);
    EXPECT_EQ (SharedFonts::getInstance(), first);

    SharedFonts::deleteInstance();
    SharedFonts::deleteInstance();   // a second release with nothing left is harmless

    const auto second = SharedFonts::getInstance();
    ASSERT_NE (second, nullptr);
    EXPECT_NE (second, first);
    EXPECT_EQ (SharedFonts::getInstance(), second);
}

TEST_F (SharedFontsTest, AnEditorStillDrawingKeepsItsFontsWhenAnotherProcessorReleasesThem)
{
    // One instance's editor holds the object; another instance's processor goes away.
    const auto editorsFonts = SharedFonts::getInstance();
    SharedFonts::deleteInstance();

    // Still whole: the typefaces are there and text draws.
    ASSERT_NE (editorsFonts->getPlainTypeface(), nullptr);
    ASSERT_NE (editorsFonts->getBoldTypeface(), nullptr);
    EXPECT_GT (inkOf (editorsFonts->makePlainFont (14.0f), "Frequency"), 0);
    EXPECT_GT (inkOf (editorsFonts->makeBoldFont (14.0f), "Frequency"), 0);

    // And the next text drawn anywhere gets a new object.
    EXPECT_NE (SharedFonts::getInstance(), editorsFonts);
}

TEST_F (SharedFontsTest, FontsCarryTheirTypefaceHeightAndStyle)
{
    const auto fonts = SharedFonts::getInstance();

    const auto bold = fonts->makeBoldFont (14.0f);
    EXPECT_FLOAT_EQ (bold.getHeight(), 14.0f);
    EXPECT_TRUE (bold.isBold());
    EXPECT_EQ (bold.getTypefacePtr(), fonts->getBoldTypeface());
    EXPECT_EQ (bold.getTypefaceName(), SharedFonts::getFamilyName());

    const auto plain = fonts->makePlainFont (12.2f);
    EXPECT_FLOAT_EQ (plain.getHeight(), 12.2f);
    EXPECT_FALSE (plain.isBold());
    EXPECT_EQ (plain.getTypefacePtr(), fonts->getPlainTypeface());
    EXPECT_EQ (plain.getTypefaceName(), SharedFonts::getFamilyName());
}

TEST_F (SharedFontsTest, FamilyIsTheFirstInstalledChoiceAndItsBoldIsBold)
{
    const auto installed = juce::Font::findAllTypefaceNames();
    juce::String expected;
    for (auto* candidate : { "Verdana", "DejaVu Sans", "Bitstream Vera Sans", "Liberation Sans" })
        if (expected.isEmpty() && installed.contains (candidate))
            expected = candidate;

    ASSERT_TRUE (expected.isNotEmpty()) << "the build installs fonts-dejavu-core";
    EXPECT_EQ (SharedFonts::getFamilyName(), expected);

    const auto fonts = SharedFonts::getInstance();
    const auto plainFace = fonts->getPlainTypeface(), boldFace = fonts->getBoldTypeface();
    EXPECT_EQ (plainFace->getName(), expected) << "a real face, not a nameless stand-in";
    EXPECT_EQ (boldFace->getName(), expected);
    EXPECT_TRUE (boldFace->getStyle().containsIgnoreCase ("bold")) << boldFace->getStyle();
    EXPECT_FALSE (plainFace->getStyle().containsIgnoreCase ("bold")) << plainFace->getStyle();

    // A real face puts its baseline where its own metrics say (a stand-in draws text too low).
    EXPECT_GT (plainFace->getAscent(), 0.6f);
    EXPECT_LT (plainFace->getAscent(), 0.95f);

    // And bold text really is heavier.
    const auto plainInk = inkOf (fonts->makePlainFont (30.0f), "Heavy");
    const auto boldInk = inkOf (fonts->makeBoldFont (30.0f), "Heavy");
    EXPECT_GT (plainInk, 0);
    EXPECT_GT (boldInk, plainInk + plainInk / 5);
}

TEST_F (SharedFontsTest, ThreadsMakeFontsWhileAnotherReleasesTheInstance)
{
    std::atomic<bool> stop { false };
    std::atomic<int> fontsMade { 0 }, failures { 0 };

    std::vector<std::thread> drawers;
    for (int t = 0; t < 4; ++t)
        drawers.emplace_back ([&, t]
        {
            while (! stop.load())
            {
                const auto fonts = SharedFonts::getInstance();
                const auto font = (t % 2 == 0) ? fonts->makePlainFont (12.0f + (float) t)
                                               : fonts->makeBoldFont (12.0f + (float) t);
                if (fonts == nullptr || font.getTypefacePtr() == nullptr
                    || font.getHeight() != 12.0f + (float) t)
                    ++failures;
                ++fontsMade;
            }
        });

    std::thread releaser ([&]
    {
        for (int i = 0; i < 2000; ++i)
        {
            SharedFonts::deleteInstance();
            std::this_thread::yield();
        }
        stop = true;
    });

    releaser.join();
    for (auto& thread : drawers)
        thread.join();

    EXPECT_EQ (failures.load(), 0);
    EXPECT_GT (fontsMade.load(), 0);
}
} // namespace
