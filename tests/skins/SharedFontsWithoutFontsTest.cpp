#include "skins/SharedFonts.h"
#include "support/JuceAssertions.h"

#include <gtest/gtest.h>

#include <cstdlib>

// Before anything looks for fonts, point JUCE at an empty font folder: a system without fonts.
TEST (SharedFontsWithoutFonts, NothingIsNullAndDrawingTextDoesNotFail)
{
    const auto folder = juce::File::createTempFile ("no-fonts");
    folder.createDirectory();
    ::setenv ("JUCE_FONT_PATH", folder.getFullPathName().toRawUTF8(), 1);
    ASSERT_TRUE (juce::Font::findAllTypefaceNames().isEmpty());
    // JUCE asserts that a face has a name, yet its own default face is nameless when no font
    // is installed: a false alarm this test cannot avoid provoking.
    const quietline::test::ExpectedJuceAssertion namelessFace ("juce_Font.cpp");

    using kelmora::skins::SharedFonts;
    const auto fonts = SharedFonts::getInstance();
    EXPECT_TRUE (fonts->getPlainTypeface() != nullptr && fonts->getBoldTypeface() != nullptr);
    EXPECT_TRUE (fonts->makeBoldFont (14.0f).isBold());
    juce::Image image (juce::Image::ARGB, 120, 30, true);
    juce::Graphics g (image);
    for (const auto& font : { fonts->makePlainFont (13.0f), fonts->makeBoldFont (14.0f) })
    {
        g.setFont (font);
        g.drawText ("Frequency response", 0, 0, 120, 30, juce::Justification::centred, true);
    }
    SharedFonts::deleteInstance();
    EXPECT_NE (SharedFonts::getInstance(), nullptr);
    SharedFonts::deleteInstance();
    folder.deleteRecursively();
}
