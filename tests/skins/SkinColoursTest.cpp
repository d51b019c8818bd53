#include "SkinTestSupport.h"

#include <gtest/gtest.h>

namespace
{
// Every skin against the colour tables as transcribed into colour_tables.csv: one row per colour
// id (position, name, id, then one ARGB column per skin, headed by the skin's class name).
TEST (SkinColours, EverySkinSetsAllNinetySevenColoursOfItsColumn)
{
    const juce::File csv (QUIETLINE_SKINS_TEST_DATA "/colour_tables.csv");
    juce::StringArray lines;
    lines.addLines (csv.loadFileAsString().trim());
    ASSERT_EQ (lines.size(), 98) << csv.getFullPathName();

    const auto header = juce::StringArray::fromTokens (lines[0], ",", "");

    for (const auto& skin : skintest::allSkins())
    {
        const int column = header.indexOf (skin.name);
        ASSERT_GE (column, 3) << skin.name;
        const auto lookAndFeel = skin.make();

        for (int row = 1; row < lines.size(); ++row)
        {
            const auto cells = juce::StringArray::fromTokens (lines[row], ",", "");
            const int id = cells[2].getHexValue32();
            const auto expected = (juce::uint32) cells[column].getHexValue32();

            EXPECT_TRUE (lookAndFeel->isColourSpecified (id)) << skin.name << " " << cells[1];
            EXPECT_EQ (lookAndFeel->findColour (id).getARGB(), expected) << skin.name << " " << cells[1];
        }
    }
}
} // namespace
