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
} // namespace

TEST (XmlUtils, RefusesDeepOversizedInvalidAndDtdDocuments)
{
    std::string manyAttributes = "<r";
    for (int i = 0; i <= XmlUtils::maxAttributesPerElement; ++i)
        manyAttributes += " a" + std::to_string (i) + "=\"1\"";

    const std::string refused[] = { nested (XmlUtils::maxDepth + 1), nested (200000, "<a x='>'>"),
                                    "<r>" + std::string (XmlUtils::maxDocumentBytes, ' ') + "</r>",
                                    "<!DOCTYPE r [<!ENTITY a \"&a;&a;\">]><r>&a;</r>",
                                    "<!DOCTYPE r SYSTEM \"/etc/passwd\"><r>&x;</r>", "<r a=\"\xff\xfe\"/>",
                                    manyAttributes + "/>", "", "   ", "<", "<r>", "<r a=\"1></r>", "</r>", "plain" };
    for (const auto& text : refused)
        EXPECT_EQ (XmlUtils::parseBytes (text.data(), text.size()), nullptr) << text.substr (0, 60);
    EXPECT_EQ (XmlUtils::parseBytes (nullptr, 10), nullptr);

    EXPECT_NE (XmlUtils::parseText (nested (XmlUtils::maxDepth)), nullptr);
    // Self-closing tags, comments, CDATA and quoted '>' do not count as levels.
    auto root = XmlUtils::parseText ("<?xml version=\"1.0\"?><r x=\"a>b\"><!--" + nested (100) + "--><![CDATA["
                                     + nested (100) + "]]>" + nested (40, "<e/>", "") + "</r>");
    ASSERT_NE (root, nullptr);
    EXPECT_EQ (root->getStringAttribute ("x"), "a>b");
    EXPECT_EQ (root->getNumChildElements(), 41);

    const std::string withBom = "\xef\xbb\xbf<r v=\"\xc3\xa9\"/>"; // a UTF-8 byte-order mark is skipped
    root = XmlUtils::parseBytes (withBom.data(), withBom.size());
    ASSERT_NE (root, nullptr);
    EXPECT_EQ (root->getStringAttribute ("v"), juce::String::fromUTF8 ("\xc3\xa9"));
}

// Texts that must not read as numbers are in the parameter parse table.
TEST (NumberText, ParsesLikeScanfAndRoundsSafely)
{
    double v = -1.0;
    EXPECT_TRUE (NumberText::parse ("  -12.5e1xyz", &v));
    EXPECT_DOUBLE_EQ (v, -125.0);
    EXPECT_TRUE (NumberText::parse ("1e-400", &v)); // underflow is a tiny number, not an error
    EXPECT_NEAR (v, 0.0, 1e-300);

    EXPECT_EQ (NumberText::formatFixed (-0.125, 2), "-0.12"); // printf rounding of the binary value
    EXPECT_EQ (NumberText::roundHalfUp (-2.5), -2);
    EXPECT_EQ (NumberText::roundHalfUp (1e300), std::numeric_limits<int>::max());
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
    EXPECT_EQ (juce::String::formatted ("%.1f", 1.5), "1,5"); // the locale really is in force

    double v = 0.0;
    EXPECT_TRUE (NumberText::parse ("21.5", &v));
    EXPECT_DOUBLE_EQ (v, 21.5);
    EXPECT_EQ (NumberText::formatFixed (21.5, 2), "21.50");
    EXPECT_EQ (Parameter ("p", "P", "%", 1, nullptr, 0, 0.0, 100.0, 0.0).getTextWithUnit (12.34), "12.3 %");

    std::setlocale (LC_ALL, previous.c_str());
    ::unsetenv ("LOCPATH");
}
