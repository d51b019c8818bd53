#include "core/Clock.h"
#include "core/FrequencyParameter.h"
#include "core/NumberText.h"
#include "core/Parameter.h"
#include "core/XmlUtils.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace kelmora::core;

namespace
{
std::string nested (int depth, const std::string& open = "<a>", const std::string& close = "</a>")
{
    std::string text;
    for (int i = 0; i < depth; ++i) text += open;
    for (int i = 0; i < depth; ++i) text += close;
    return text;
}

std::string binaryBlock (const std::string& text, juce::uint32 magic = 0x21324356)
{
    std::string block (8, '\0');
    const auto length = (juce::uint32) text.size();

    for (int i = 0; i < 4; ++i)
    {
        block[(size_t) i] = (char) ((magic >> (8 * i)) & 0xff);
        block[(size_t) i + 4] = (char) ((length >> (8 * i)) & 0xff);
    }

    return block + text + '\0';
}
} // namespace

//==============================================================================
TEST (XmlUtils, RefusesDocumentsNestedTooDeep)
{
    EXPECT_NE (XmlUtils::parseText (nested (XmlUtils::maxDepth)), nullptr);
    EXPECT_EQ (XmlUtils::parseText (nested (XmlUtils::maxDepth + 1)), nullptr);
    EXPECT_EQ (XmlUtils::parseText (nested (200000)), nullptr);
    EXPECT_EQ (XmlUtils::parseText (nested (200000, "<a x='>'>")), nullptr);

    // Self-closing tags, comments, CDATA and quoted '>' do not count as levels.
    const std::string flat = "<?xml version=\"1.0\"?><r x=\"a>b\"><!--" + nested (100) + "--><![CDATA[" + nested (100)
                           + "]]>" + nested (40, "<e/>", "") + "</r>";
    auto root = XmlUtils::parseText (flat);
    ASSERT_NE (root, nullptr);
    EXPECT_EQ (root->getStringAttribute ("x"), "a>b");
    EXPECT_EQ (root->getNumChildElements(), 41);

    // Closing tags without a name still close a level for the parser, and for the count.
    EXPECT_EQ (XmlUtils::parseText (nested (XmlUtils::maxDepth + 1, "<a>", "</>")), nullptr);
}

TEST (XmlUtils, RefusesOversizedInvalidAndDtdDocuments)
{
    const std::string big = "<r>" + std::string (XmlUtils::maxDocumentBytes, ' ') + "</r>";
    EXPECT_EQ (XmlUtils::parseBytes (big.data(), big.size()), nullptr);

    EXPECT_EQ (XmlUtils::parseText ("<!DOCTYPE r [<!ENTITY a \"&a;&a;\">]><r>&a;</r>"), nullptr);
    EXPECT_EQ (XmlUtils::parseText ("<!DOCTYPE r SYSTEM \"/etc/passwd\"><r/>"), nullptr);

    const std::string badUtf8 = "<r a=\"\xff\xfe\"/>";
    EXPECT_EQ (XmlUtils::parseBytes (badUtf8.data(), badUtf8.size()), nullptr);

    std::string manyAttributes = "<r";
    for (int i = 0; i <= XmlUtils::maxAttributesPerElement; ++i)
        manyAttributes += " a" + std::to_string (i) + "=\"1\"";
    EXPECT_EQ (XmlUtils::parseText (manyAttributes + "/>"), nullptr);

    for (const char* text : { "", "   ", "<", "<r>", "<r a=\"1></r>", "</r>", "plain text" })
        EXPECT_EQ (XmlUtils::parseText (text), nullptr) << text;

    EXPECT_EQ (XmlUtils::parseBytes (nullptr, 10), nullptr);
}

TEST (XmlUtils, AcceptsByteOrderMarkAndStopsAtNul)
{
    const std::string withBom = "\xef\xbb\xbf<r v=\"\xc3\xa9\"/>";
    auto root = XmlUtils::parseBytes (withBom.data(), withBom.size());
    ASSERT_NE (root, nullptr);
    EXPECT_EQ (root->getStringAttribute ("v"), juce::String::fromUTF8 ("\xc3\xa9"));

    const std::string withNul = std::string ("<r/>\0<<<<", 9);
    EXPECT_NE (XmlUtils::parseBytes (withNul.data(), withNul.size()), nullptr);
}

TEST (XmlUtils, ParsesBinaryStateBlocks)
{
    const auto block = binaryBlock ("<State a=\"1\"><logical/></State>");
    auto root = XmlUtils::parseBinaryBlock (block.data(), block.size());
    ASSERT_NE (root, nullptr);
    EXPECT_EQ (root->getTagName(), "State");

    // A length that claims more than the block holds is cut to the block.
    auto lying = block;
    lying[4] = (char) 0xff;
    lying[5] = (char) 0xff;
    EXPECT_NE (XmlUtils::parseBinaryBlock (lying.data(), lying.size()), nullptr);

    const auto foreign = binaryBlock ("<State/>", 0x12345678);
    EXPECT_EQ (XmlUtils::parseBinaryBlock (foreign.data(), foreign.size()), nullptr);
    EXPECT_EQ (XmlUtils::parseBinaryBlock (block.data(), 8), nullptr);
    EXPECT_EQ (XmlUtils::parseBinaryBlock (nullptr, 100), nullptr);

    const auto deep = binaryBlock (nested (1000));
    EXPECT_EQ (XmlUtils::parseBinaryBlock (deep.data(), deep.size()), nullptr);
}

TEST (XmlUtils, LooksUpTagsChildrenAndAttributesIgnoringCase)
{
    auto root = XmlUtils::parseText ("<KELMORALABS Flag=\"yes\" No=\"1003\" Nv=\"0.25\" bad=\"nan\" off=\" 0\">"
                                     "text<Presets n=\"1\"/><presets n=\"2\"/></KELMORALABS>");
    ASSERT_NE (root, nullptr);

    EXPECT_TRUE (XmlUtils::tagIs (*root, "kelmoraLabs"));
    EXPECT_FALSE (XmlUtils::tagIs (*root, "kelmora"));

    auto* presets = XmlUtils::findChild (*root, "PRESETS");
    ASSERT_NE (presets, nullptr);
    EXPECT_EQ (presets->getStringAttribute ("n"), "1");
    EXPECT_EQ (XmlUtils::findChild (*root, "text"), nullptr);
    EXPECT_EQ (XmlUtils::findChild (*root, "missing"), nullptr);

    EXPECT_EQ (XmlUtils::findAttribute (*root, "nO"), 1);
    EXPECT_TRUE (XmlUtils::hasAttribute (*root, "flag"));
    EXPECT_FALSE (XmlUtils::hasAttribute (*root, "fla"));
    EXPECT_EQ (XmlUtils::getAttribute (*root, "NO"), "1003");
    EXPECT_EQ (XmlUtils::getAttribute (*root, "none", "fallback"), "fallback");
    EXPECT_EQ (XmlUtils::getIntAttribute (*root, "no", -1), 1003);
    EXPECT_EQ (XmlUtils::getIntAttribute (*root, "none", -1), -1);
    EXPECT_DOUBLE_EQ (XmlUtils::getDoubleAttribute (*root, "NV", 0.0), 0.25);
    EXPECT_DOUBLE_EQ (XmlUtils::getDoubleAttribute (*root, "bad", 0.5), 0.5);
    EXPECT_TRUE (XmlUtils::getBoolAttribute (*root, "FLAG", false));
    EXPECT_FALSE (XmlUtils::getBoolAttribute (*root, "off", true));
    EXPECT_TRUE (XmlUtils::getBoolAttribute (*root, "none", true));
}

TEST (XmlUtils, SetAttributeReplacesInPlaceIgnoringCase)
{
    juce::XmlElement e ("preset");
    e.setAttribute ("_No_", 1000);
    e.setAttribute ("_Name_", "old");
    e.setAttribute ("freqParam", "21000");

    XmlUtils::setAttribute (e, "_name_", juce::String ("new"));
    XmlUtils::setAttribute (e, "_DELETED_", 0);
    XmlUtils::setAttribute (e, "FREQPARAM", 21500.5);

    ASSERT_EQ (e.getNumAttributes(), 4);
    EXPECT_EQ (e.getAttributeName (1), "_Name_");
    EXPECT_EQ (e.getAttributeValue (1), "new");
    EXPECT_EQ (e.getAttributeName (2), "freqParam");
    EXPECT_EQ (e.getAttributeValue (2), "21500.5");
    EXPECT_EQ (e.getAttributeName (3), "_DELETED_");
    EXPECT_EQ (e.getAttributeValue (3), "0");
}

TEST (XmlUtils, ParsesFilesWithinTheLimit)
{
    quietline::test::TempHome home;
    const juce::File dir (juce::String (home.path()));

    auto small = dir.getChildFile ("small.conf");
    ASSERT_TRUE (small.replaceWithText ("<KelmoraLabs><a/></KelmoraLabs>"));
    auto root = XmlUtils::parseFile (small);
    ASSERT_NE (root, nullptr);
    EXPECT_EQ (root->getNumChildElements(), 1);

    auto large = dir.getChildFile ("large.conf");
    {
        juce::FileOutputStream out (large);
        out << "<KelmoraLabs>";
        out.writeRepeatedByte (' ', XmlUtils::maxDocumentBytes);
        out << "</KelmoraLabs>";
    }
    EXPECT_EQ (XmlUtils::parseFile (large), nullptr);
    EXPECT_EQ (XmlUtils::parseFile (dir), nullptr);
    EXPECT_EQ (XmlUtils::parseFile (dir.getChildFile ("missing.conf")), nullptr);
}

//==============================================================================
TEST (NumberText, ParsesLikeScanfButRefusesNonFinite)
{
    double v = -1.0;
    EXPECT_TRUE (NumberText::parse ("  -12.5e1xyz", &v));
    EXPECT_DOUBLE_EQ (v, -125.0);
    EXPECT_TRUE (NumberText::parse ("+.5", &v));
    EXPECT_DOUBLE_EQ (v, 0.5);
    EXPECT_TRUE (NumberText::parse ("1e-400", &v)); // underflow is a tiny number, not an error
    EXPECT_NEAR (v, 0.0, 1e-300);

    v = 7.0;
    for (const char* text : { "", "abc", "-", ".", "nan", "-NAN(1)", "inf", "Infinity", "1e309", "-1e309" })
    {
        EXPECT_FALSE (NumberText::parse (text, &v)) << text;
        EXPECT_DOUBLE_EQ (v, 7.0) << text;
    }

    EXPECT_EQ (NumberText::formatFixed (21.04, 1), "21.0");
    EXPECT_EQ (NumberText::formatFixed (-0.125, 2), "-0.12"); // printf rounding of the binary value
    EXPECT_EQ (NumberText::formatFixed (3.0, -2), "3");
    EXPECT_EQ (NumberText::formatInt (-42), "-42");
    EXPECT_EQ (NumberText::roundHalfUp (2.5), 3);
    EXPECT_EQ (NumberText::roundHalfUp (-2.5), -2);
    EXPECT_EQ (NumberText::roundHalfUp (1e300), std::numeric_limits<int>::max());
    EXPECT_EQ (NumberText::roundHalfUp (-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ (NumberText::roundHalfUp (std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST (NumberText, IgnoresACommaDecimalLocale)
{
    // No comma-decimal locale is installed here: build one into a temporary folder.
    quietline::test::TempHome home;
    const auto folder = std::filesystem::path (home.path()) / "locale";
    std::filesystem::create_directories (folder);
    const auto command = "localedef -i de_DE -f UTF-8 '" + (folder / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";

    if (std::system (command.c_str()) != 0 && ! std::filesystem::exists (folder / "de_DE.UTF-8"))
        GTEST_SKIP() << "cannot build a comma-decimal locale";

    ::setenv ("LOCPATH", folder.c_str(), 1);
    const std::string previous = std::setlocale (LC_ALL, nullptr);
    ASSERT_NE (std::setlocale (LC_ALL, "de_DE.UTF-8"), nullptr);

    char probe[16];
    std::snprintf (probe, sizeof (probe), "%.1f", 1.5);
    EXPECT_STREQ (probe, "1,5"); // the locale really is in force

    double v = 0.0;
    EXPECT_TRUE (NumberText::parse ("21.5", &v));
    EXPECT_DOUBLE_EQ (v, 21.5);
    EXPECT_EQ (NumberText::formatFixed (21.5, 2), "21.50");

    Parameter p ("p", "P", "%", 1, nullptr, 0, 0.0, 100.0, 0.0);
    EXPECT_EQ (p.getTextWithUnit (12.34), "12.3 %");
    EXPECT_TRUE (p.parseText ("12,5", &v));
    EXPECT_DOUBLE_EQ (v, 12.5);

    FrequencyParameter f ("f", "F", 0, nullptr, 0, 20000.0, 25000.0, 21000.0);
    EXPECT_EQ (f.getTextWithUnit (21500.0), "21.5 kHz");
    EXPECT_TRUE (f.parseText ("21.5k", &v));
    EXPECT_DOUBLE_EQ (v, 21500.0);

    std::setlocale (LC_ALL, previous.c_str());
    ::unsetenv ("LOCPATH");
}

//==============================================================================
TEST (Clock, OverridesNestAndRestore)
{
    const auto before = Clock::nowMillis();
    EXPECT_NEAR ((double) before, (double) juce::Time::currentTimeMillis(), 1000.0);

    ManualClock outer (5000);
    {
        ScopedClockOverride useOuter (outer);
        EXPECT_EQ (Clock::nowMillis(), 5000);
        outer.advance (250);
        EXPECT_EQ (Clock::nowMillis(), 5250);

        ManualClock inner (1);
        {
            ScopedClockOverride useInner (inner);
            EXPECT_EQ (Clock::nowMillis(), 1);
        }
        EXPECT_EQ (Clock::nowMillis(), 5250);
    }

    EXPECT_GE (Clock::nowMillis(), before);
    EXPECT_EQ (&Clock::system(), &Clock::system());
}
