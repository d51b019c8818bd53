#include "core/NumberText.h"
#include "core/Parameter.h"
#include "core/SettingsFile.h"
#include "core/XmlUtils.h"
#include "support/Concurrency.h"
#include "support/HostileXml.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>
#include <juce_audio_processors/juce_audio_processors.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

using namespace kelmora::core;

namespace
{
std::string nested (int depth) { return (juce::String::repeatedString ("<a>", depth) + juce::String::repeatedString ("</a>", depth)).toStdString(); }

juce::String oneLine (const juce::XmlElement& e) { return e.toString (juce::XmlElement::TextFormat().singleLine().withoutHeader()); }

// Runs work on a thread with a 1 MB stack, as some hosts give their threads; a hang ends the run.
void runOnSmallStack (std::function<void()> work)
{
    struct Small : juce::Thread
    {
        std::function<void()> work;
        explicit Small (std::function<void()> w) : Thread ("small stack", 1 << 20), work (std::move (w)) {}
        void run() override { work(); }
    } thread (std::move (work));
    const quietline::test::Watchdog watchdog ("the XML reader did not return");
    ASSERT_TRUE (thread.startThread());
    thread.waitForThreadToExit (-1);
}
} // namespace

TEST (XmlUtils, HostileDocumentsAreRefusedOrReadOnASmallStack)
{
    std::string manyAttributes = "<r";
    for (int i = 0; i <= XmlUtils::maxAttributesPerElement; ++i)
        manyAttributes += " a" + std::to_string (i) + "=\"1\"";

    auto cases = quietline::test::hostileXml ("r");
    const std::pair<const char*, std::string> refused[] = {
        { "one level too deep", nested (XmlUtils::maxDepth + 1) }, { "too many attributes", manyAttributes + "/>" },
        { "too large", "<r>" + std::string (XmlUtils::maxDocumentBytes, ' ') + "</r>" },
        { "external entity", "<!DOCTYPE r SYSTEM \"/etc/passwd\"><r>&x;</r>" }, { "empty", "" }, { "blanks", "   " },
        { "bare <", "<" }, { "unclosed", "<r>" }, { "unclosed value", "<r a=\"1></r>" }, { "end tag only", "</r>" },
        { "plain text", "plain" }, { "text before the root", "x<r/>" }, { "mismatched end tags", "<a><b></a></b>" },
        { "unclosed CDATA", "<r><![CDATA[x</r>" },
    };
    for (const auto& [what, text] : refused)
        cases.push_back ({ what, text, true });

    runOnSmallStack ([&cases]
    {
        for (const auto& c : cases)
        {
            const auto root = XmlUtils::parseBytes (c.text.data(), c.text.size());
            EXPECT_EQ (root == nullptr, c.refused) << c.what;
        }
    });

    const auto root = XmlUtils::parseText ("<r><?x?>a</r>");
    ASSERT_NE (root, nullptr);
    EXPECT_EQ (root->getAllSubText(), "a");
    EXPECT_NE (XmlUtils::parseText (nested (XmlUtils::maxDepth)), nullptr);
}

TEST (XmlUtils, ReadsEveryConstructTheFormatsUseAndDropsOnlyDamagedElements)
{
    using namespace std::string_literals;
    const std::pair<std::string, const char*> cases[] = { // "" when the whole document is refused
        { "<?xml version=\"1.0\"?><!-- c --><r x=\"a>b\"><!--" + nested (100) + "--><![CDATA[" + nested (2) + "]]><e/></r><junk",
          "<r x=\"a&gt;b\">&lt;a&gt;&lt;a&gt;&lt;/a&gt;&lt;/a&gt;<e/></r>" },
        { "\xef\xbb\xbf<r v=\"\xc3\xa9\"/>", "<r v=\"&#233;\"/>" },
        { "<r a=\"1\"/>\0<x"s, "<r a=\"1\"/>" },
        { "<R a = '1' a=\"2\" A=\"3\"></r>", "<R a=\"1\" A=\"3\"/>" },
        { "<r>\n  <p/>\r\n  t\r\n<q/> </r>", "<r><p/>\n  t\n<q/></r>" },
        { "<r a=\"&LT;&amp;&#9;&#x263a;&quot;&apos;&nbsp; &\">&gt;<!-- - -->&#65;</r>",
          "<r a=\"&lt;&amp;&#9;&#9786;&quot;'&amp;nbsp; &amp;\">&gt;A</r>" },
        { "<r><p n=\"a\"/><p n=\"\xff\"/><p>\xc0\xaf</p><p n=\"\xed\xa0\x80\"/><p n=\"b\"/></r>", "<r><p n=\"a\"/><p n=\"b\"/></r>" },
        { "<r><p n=\"&#0;\"/><p n=\"&#xD800;\"/><p n=\"&#1114112;\"/><p>&#x;</p><p><v x=\"\xfe\"/><w/></p></r>", "<r><p><w/></p></r>" },
        { "<r a=\"\xff\"/>", "" },
        { "<r>\xff</r>", "" },
    };
    for (const auto& [text, expected] : cases)
    {
        const auto root = XmlUtils::parseBytes (text.data(), text.size());
        EXPECT_EQ (root != nullptr ? oneLine (*root) : juce::String(), juce::String::fromUTF8 (expected)) << text.substr (0, 60);
    }
}

// Attributes holding every kind of character, a text node, wrapped attribute lists and the
// deepest nesting, in each form the framework writes.
TEST (XmlUtils, ReadsBackEverythingTheWriterWrites)
{
    juce::XmlElement root ("OrvelQuietline");
    const auto awkward = juce::String::fromUTF8 ("\t\n\r \"'<>&;=/ a\xc3\xa9\xf0\x9f\x8e\xb5\x01\x7f end");
    auto* parent = &root;
    for (int level = 1; level < XmlUtils::maxDepth; ++level)
    {
        parent = parent->createNewChildElement ("level" + juce::String (level));
        parent->setAttribute ("v", awkward + juce::String (level));
    }
    for (int i = 0; i < XmlUtils::maxAttributesPerElement; ++i)
        root.setAttribute ("pv" + juce::String (i), juce::String (i / 3.0, 20) + awkward);
    root.createNewChildElement ("note")->addTextElement (juce::String::fromUTF8 ("a < b & c > d\n\t\xc3\xa9 \"q\""));
    root.createNewChildElement ("empty");

    juce::MemoryBlock blob;
    juce::AudioProcessor::copyXmlToBinary (root, blob);
    quietline::test::TempHome home;
    const auto file = SettingsFile::getFile ("global.conf");
    ASSERT_TRUE (SettingsFile::ensureFolder() && SettingsFile::writeXml (root, file));

    const std::pair<const char*, std::unique_ptr<juce::XmlElement>> forms[] = {
        { "settings file", XmlUtils::parseFile (file) },
        { "one line", XmlUtils::parseText (oneLine (root)) },
        { "state blob", XmlUtils::parseBinaryBlock (blob.getData(), blob.getSize()) },
    };
    for (const auto& [what, read] : forms)
    {
        ASSERT_NE (read, nullptr) << what;
        EXPECT_TRUE (read->isEquivalentTo (&root, false)) << what;
    }
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
