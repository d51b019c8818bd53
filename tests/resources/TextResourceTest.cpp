#include "resources/BinaryData.h"

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>

#include <string>
#include <vector>

namespace
{
namespace res = kelmora::resources;

juce::String textOf (const char* name)
{
    int size = 0;
    auto* data = res::getNamedResource (name, size);
    return data == nullptr ? juce::String() : juce::String::fromUTF8 (data, size);
}

// Every line ends in CR LF, the last one included.
void expectCrLfLines (const juce::String& text)
{
    ASSERT_TRUE (text.endsWith ("\r\n"));
    for (int i = 0; i < text.length(); ++i)
    {
        if (text[i] == '\n')
        {
            ASSERT_TRUE (i > 0 && text[i - 1] == '\r') << "bare line feed at " << i;
        }
        if (text[i] == '\r')
        {
            ASSERT_TRUE (i + 1 < text.length() && text[i + 1] == '\n') << "bare carriage return at " << i;
        }
    }
}

struct Topic
{
    const char* name;
    const char* title;
};

class HelpTexts : public ::testing::TestWithParam<std::pair<const char*, std::vector<Topic>>>
{
};

TEST_P (HelpTexts, ParseAndHoldEveryTopicWithItsTitle)
{
    const auto& [resource, topics] = GetParam();
    const auto text = textOf (resource);
    ASSERT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"));
    expectCrLfLines (text);

    juce::XmlDocument document (text);
    const auto root = document.getDocumentElement();
    ASSERT_NE (root, nullptr) << document.getLastParseError();
    EXPECT_EQ (root->getTagName(), "helpResources");
    EXPECT_EQ (root->getNumChildElements(), (int) topics.size());

    for (const auto& topic : topics)
    {
        SCOPED_TRACE (topic.name);
        // Looked up as the hover help does: tag name ignoring case, the body from the first child.
        const juce::XmlElement* element = nullptr;
        for (auto* child : root->getChildIterator())
            if (child->getTagName().equalsIgnoreCase (topic.name))
                element = child;

        ASSERT_NE (element, nullptr);
        EXPECT_EQ (element->getStringAttribute ("title"), topic.title);
        ASSERT_NE (element->getFirstChildElement(), nullptr);
        const auto body = element->getFirstChildElement()->getText();
        EXPECT_GE (body.length(), 20);
        EXPECT_LE (body.length(), 250);
        EXPECT_EQ (body, body.trim()) << "no stray blank lines around the body";
    }
}

INSTANTIATE_TEST_SUITE_P (
    Resources, HelpTexts,
    ::testing::Values (
        std::make_pair ("help_framework_xml",
                        std::vector<Topic> { { "about", "About" }, { "abStates", "A/B States" },
                                             { "help", "Dynamic help mode" },
                                             { "presetManagement", "Preset management" },
                                             { "settings", "Settings" }, { "undoRedo", "Undo/Redo" } }),
        std::make_pair ("help_product_xml",
                        std::vector<Topic> { { "display", "Frequency magnitude" }, { "frequency", "Filter frequency" },
                                             { "slope", "Filter slope" }, { "amount", "Filter amount" },
                                             { "bypass", "Bypass" } })),
    [] (const auto& info) { return std::string (info.param.first); });

TEST (FactoryPresets, ParseToTheFivePresetsInOrder)
{
    const auto text = textOf ("factory_presets_xml");
    ASSERT_TRUE (text.startsWith ("<presets>")) << "no XML header";
    expectCrLfLines (text);

    juce::XmlDocument document (text);
    const auto root = document.getDocumentElement();
    ASSERT_NE (root, nullptr) << document.getLastParseError();
    EXPECT_EQ (root->getTagName(), "presets");

    struct Expected
    {
        const char* name;
        double freq, slope, mix, bypass;
    };

    const Expected expected[] = {
        { "Default", 21000, 75, 100, 0 },           { "Light", 23000, 30, 100, 0 },
        { "Intermediate", 22000, 50, 100, 0 },      { "Steep and reduced", 21000, 100, 60, 0 },
        { "Hard", 20000, 100, 100, 0 },
    };

    ASSERT_EQ (root->getNumChildElements(), 5);
    int i = 0;
    for (auto* preset : root->getChildIterator())
    {
        SCOPED_TRACE (i);
        const auto& want = expected[i++];
        EXPECT_EQ (preset->getTagName(), "preset");
        EXPECT_EQ (preset->getStringAttribute ("_Name_"), want.name);
        EXPECT_FALSE (preset->hasAttribute ("_No_")) << "factory presets are numbered by order";

        auto* values = preset->getChildByName ("KelmoraLabs");
        ASSERT_NE (values, nullptr);
        EXPECT_EQ (values->getNumAttributes(), 4);
        EXPECT_EQ (values->getDoubleAttribute ("freqParam", -1), want.freq);
        EXPECT_EQ (values->getDoubleAttribute ("slopeParam", -1), want.slope);
        EXPECT_EQ (values->getDoubleAttribute ("mixParam", -1), want.mix);
        EXPECT_EQ (values->getDoubleAttribute ("bypassParam", -1), want.bypass);
    }

    // The format allows a blank before "=", and every preset writes its frequency that way.
    auto count = [&text] (const char* pattern)
    {
        int n = 0;
        for (int at = text.indexOf (pattern); at >= 0; at = text.indexOf (at + 1, pattern))
            ++n;
        return n;
    };
    EXPECT_EQ (count ("freqParam =\""), 5);
    EXPECT_EQ (count ("freqParam=\""), 0);
}
} // namespace
