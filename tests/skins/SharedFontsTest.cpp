#include "skins/SharedFonts.h"
#include "support/Concurrency.h"

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

// One instance's editor holds the object while another instance's processor releases it.
TEST_F (SharedFontsTest, ReleasingKeepsTheFontsOfWhoeverStillDrawsAndTheNextUserGetsAFreshObject)
{
    const auto editorsFonts = SharedFonts::getInstance();
    ASSERT_NE (editorsFonts, nullptr);
    EXPECT_EQ (SharedFonts::getInstance(), editorsFonts);

    SharedFonts::deleteInstance();
    SharedFonts::deleteInstance(); // a second release with nothing left is harmless

    ASSERT_NE (editorsFonts->getPlainTypeface(), nullptr);
    ASSERT_NE (editorsFonts->getBoldTypeface(), nullptr);
    EXPECT_GT (inkOf (editorsFonts->makePlainFont (14.0f), "Frequency"), 0);
    EXPECT_GT (inkOf (editorsFonts->makeBoldFont (14.0f), "Frequency"), 0);

    const auto next = SharedFonts::getInstance();
    EXPECT_NE (next, editorsFonts);
    EXPECT_EQ (SharedFonts::getInstance(), next);
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

    // Real faces, not nameless stand-ins (which draw text too low).
    const auto fonts = SharedFonts::getInstance();
    const auto plainFace = fonts->getPlainTypeface(), boldFace = fonts->getBoldTypeface();
    EXPECT_EQ (plainFace->getName(), expected);
    EXPECT_EQ (boldFace->getName(), expected);
    EXPECT_TRUE (boldFace->getStyle().containsIgnoreCase ("bold")) << boldFace->getStyle();
    EXPECT_FALSE (plainFace->getStyle().containsIgnoreCase ("bold")) << plainFace->getStyle();
    EXPECT_TRUE (plainFace->getAscent() > 0.6f && plainFace->getAscent() < 0.95f) << plainFace->getAscent();

    const auto plain = fonts->makePlainFont (30.0f), bold = fonts->makeBoldFont (30.0f);
    EXPECT_EQ (plain.getTypefacePtr(), plainFace);
    EXPECT_EQ (bold.getTypefacePtr(), boldFace);
    EXPECT_TRUE (bold.isBold() && ! plain.isBold());
    EXPECT_FLOAT_EQ (bold.getHeight(), 30.0f);
    const auto plainInk = inkOf (plain, "Heavy");
    EXPECT_GT (plainInk, 0);
    EXPECT_GT (inkOf (bold, "Heavy"), plainInk + plainInk / 5) << "bold text really is heavier";
}

TEST_F (SharedFontsTest, ThreadsMakeFontsWhileAnotherReleasesTheInstance)
{
    constexpr int drawers = 4, fontsEach = 300;
    quietline::test::StartLatch start (drawers + 1);
    std::atomic<int> drawing { drawers }, failures { 0 };
    std::vector<std::thread> threads;
    for (int t = 0; t < drawers; ++t)
        threads.emplace_back ([&, t] {
            start.arriveAndWait();
            const float height = 12.0f + (float) t;
            for (int i = 0; i < fontsEach; ++i)
            {
                const auto fonts = SharedFonts::getInstance();
                const auto font = t % 2 == 0 ? fonts->makePlainFont (height) : fonts->makeBoldFont (height);
                failures += font.getTypefacePtr() == nullptr || font.getHeight() != height ? 1 : 0;
            }
            --drawing;
        });

    // Releases for as long as anyone draws, and at least as often as each drawer makes fonts.
    start.arriveAndWait();
    for (int released = 0; released < fontsEach || drawing.load() > 0; ++released)
        SharedFonts::deleteInstance();
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ (failures.load(), 0);
}
} // namespace
