#include "SkinTestSupport.h"

#include <gtest/gtest.h>

namespace
{
// colour_tables.csv, transcribed apart from the code: position, name, id, then one ARGB column
// per skin headed by its class name.
TEST (SkinColours, EverySkinSetsAllNinetySevenColoursOfItsColumn)
{
    juce::StringArray lines;
    lines.addLines (juce::File (QUIETLINE_SKINS_TEST_DATA "/colour_tables.csv").loadFileAsString().trim());
    ASSERT_EQ (lines.size(), 98);
    const auto header = juce::StringArray::fromTokens (lines[0], ",", "");
    for (const auto& [name, make] : skintest::allSkins())
    {
        const int column = header.indexOf (name);
        ASSERT_GE (column, 3) << name;
        const auto skin = make();
        for (int row = 1; row < lines.size(); ++row)
        {
            const auto cells = juce::StringArray::fromTokens (lines[row], ",", "");
            const int id = cells[2].getHexValue32();
            EXPECT_TRUE (skin->isColourSpecified (id)) << name << " " << cells[1];
            EXPECT_EQ (skin->findColour (id).getARGB(), (juce::uint32) cells[column].getHexValue32()) << name << " " << cells[1];
        }
    }
}
} // namespace
