#include "skins/SharedFonts.h"
#include "support/Concurrency.h"

#include <gtest/gtest.h>

#include <atomic>

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

struct SharedFontsTest : ::testing::Test
{
    void TearDown() override { SharedFonts::deleteInstance(); }
};

// One instance's editor holds the object while another instance's processor releases it.
TEST_F (SharedFontsTest, ReleasingKeepsTheFontsOfWhoeverStillDrawsAndTheNextUserGetsAFreshObject)
{
    const auto editorsFonts = SharedFonts::getInstance();
    EXPECT_EQ (SharedFonts::getInstance(), editorsFonts);
    SharedFonts::deleteInstance();
    SharedFonts::deleteInstance(); // a second release with nothing left is harmless

    EXPECT_GT (inkOf (editorsFonts->makePlainFont (14.0f), "Frequency"), 0);
    EXPECT_GT (inkOf (editorsFonts->makeBoldFont (14.0f), "Frequency"), 0);
    const auto next = SharedFonts::getInstance();
    EXPECT_NE (next, editorsFonts);
    EXPECT_EQ (SharedFonts::getInstance(), next);
}

// Real faces of an installed family, not nameless stand-ins (which draw text too low and lose bold).
TEST_F (SharedFontsTest, FacesAreOfAnInstalledFamilyAndItsBoldIsBold)
{
    const auto family = SharedFonts::getFamilyName();
    ASSERT_TRUE (juce::Font::findAllTypefaceNames().contains (family)) << "the build installs fonts-dejavu-core";
    const auto fonts = SharedFonts::getInstance();
    const auto plainFace = fonts->getPlainTypeface(), boldFace = fonts->getBoldTypeface();
    EXPECT_EQ (plainFace->getName() + " " + boldFace->getName(), family + " " + family);
    EXPECT_TRUE (boldFace->getStyle().containsIgnoreCase ("bold") && ! plainFace->getStyle().containsIgnoreCase ("bold"));
    EXPECT_TRUE (plainFace->getAscent() > 0.6f && plainFace->getAscent() < 0.95f) << plainFace->getAscent();

    const auto plain = fonts->makePlainFont (30.0f), bold = fonts->makeBoldFont (30.0f);
    EXPECT_TRUE (plain.getTypefacePtr() == plainFace && bold.getTypefacePtr() == boldFace);
    EXPECT_TRUE (bold.isBold() && ! plain.isBold() && bold.getHeight() == 30.0f);
    const auto plainInk = inkOf (plain, "Heavy");
    EXPECT_GT (inkOf (bold, "Heavy"), plainInk + plainInk / 5) << "bold text really is heavier";
}

// Releases for as long as anyone draws, and at least as often as each drawer makes fonts.
TEST_F (SharedFontsTest, ThreadsMakeFontsWhileAnotherReleasesTheInstance)
{
    constexpr int drawers = 4, fontsEach = 300;
    std::atomic<int> drawing { drawers }, failures { 0 };
    std::vector<std::function<void()>> bodies;
    for (int t = 0; t < drawers; ++t)
        bodies.push_back ([&, t] {
            const float height = 12.0f + (float) t;
            for (int i = 0; i < fontsEach; ++i)
            {
                const auto fonts = SharedFonts::getInstance();
                const auto font = t % 2 == 0 ? fonts->makePlainFont (height) : fonts->makeBoldFont (height);
                failures += font.getTypefacePtr() == nullptr || font.getHeight() != height ? 1 : 0;
            }
            --drawing;
        });
    bodies.push_back ([&] {
        for (int released = 0; released < fontsEach || drawing.load() > 0; ++released)
            SharedFonts::deleteInstance();
    });
    quietline::test::runTogether (bodies);
    EXPECT_EQ (failures.load(), 0);
}
} // namespace
