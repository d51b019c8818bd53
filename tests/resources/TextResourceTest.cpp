#include "resources/BinaryData.h"

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>

#include <vector>

namespace
{
juce::String textOf (const char* name)
{
    int size = 0;
    auto* data = kelmora::resources::getNamedResource (name, size);
    return data == nullptr ? juce::String() : juce::String::fromUTF8 (data, size);
}

// Every line ends in CR LF, the last one included.
bool crLfLines (const juce::String& text)
{
    return text.endsWith ("\r\n") && ! text.replace ("\r\n", "").containsAnyOf ("\r\n");
}

TEST (TextResources, HelpTextsParseAndHoldEveryTopicWithItsTitle)
{
    struct Topic { const char* name; const char* title; };
    const std::pair<const char*, std::vector<Topic>> documents[] = {
        { "help_framework_xml", { { "about", "About" }, { "abStates", "A/B States" }, { "help", "Dynamic help mode" },
                                  { "presetManagement", "Preset management" }, { "settings", "Settings" },
                                  { "undoRedo", "Undo/Redo" } } },
        { "help_product_xml", { { "display", "Frequency magnitude" }, { "frequency", "Filter frequency" },
                                { "slope", "Filter slope" }, { "amount", "Filter amount" }, { "bypass", "Bypass" } } } };

    for (const auto& [resource, topics] : documents)
    {
        SCOPED_TRACE (resource);
        const auto text = textOf (resource);
        EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"));
        EXPECT_TRUE (crLfLines (text));

        juce::XmlDocument document (text);
        const auto root = document.getDocumentElement();
        ASSERT_NE (root, nullptr) << document.getLastParseError();
        EXPECT_EQ (root->getTagName(), "helpResources");
        EXPECT_EQ (root->getNumChildElements(), (int) topics.size());

        for (const auto& topic : topics)
        {
            // Looked up as the hover help does: tag name ignoring case, the body from the first child.
            const juce::XmlElement* element = nullptr;
            for (auto* child : root->getChildIterator())
                element = child->getTagName().equalsIgnoreCase (topic.name) ? child : element;
            ASSERT_NE (element, nullptr) << topic.name;
            EXPECT_EQ (element->getStringAttribute ("title"), topic.title);
            ASSERT_NE (element->getFirstChildElement(), nullptr) << topic.name;
            const auto body = element->getFirstChildElement()->getText();
            EXPECT_TRUE (body.length() >= 20 && body == body.trim()) << topic.name << ": " << body;
        }
    }
}

TEST (TextResources, FactoryPresetsParseToTheFivePresetsInOrder)
{
    const auto text = textOf ("factory_presets_xml");
    EXPECT_TRUE (text.startsWith ("<presets>")) << "no XML header";
    EXPECT_TRUE (crLfLines (text));

    juce::XmlDocument document (text);
    const auto root = document.getDocumentElement();
    ASSERT_NE (root, nullptr) << document.getLastParseError();
    EXPECT_EQ (root->getTagName(), "presets");
    ASSERT_EQ (root->getNumChildElements(), 5);

    const struct { const char* name; double freq, slope, mix; } expected[] = {
        { "Default", 21000, 75, 100 }, { "Light", 23000, 30, 100 }, { "Intermediate", 22000, 50, 100 },
        { "Steep and reduced", 21000, 100, 60 }, { "Hard", 20000, 100, 100 } };
    for (int i = 0; i < 5; ++i)
    {
        SCOPED_TRACE (i);
        const auto* preset = root->getChildElement (i);
        EXPECT_EQ (preset->getTagName(), "preset");
        EXPECT_EQ (preset->getStringAttribute ("_Name_"), expected[i].name);
        EXPECT_FALSE (preset->hasAttribute ("_No_")) << "factory presets are numbered by order";

        const auto* values = preset->getChildByName ("KelmoraLabs");
        ASSERT_NE (values, nullptr);
        EXPECT_EQ (values->getNumAttributes(), 4);
        EXPECT_EQ (values->getDoubleAttribute ("freqParam", -1), expected[i].freq);
        EXPECT_EQ (values->getDoubleAttribute ("slopeParam", -1), expected[i].slope);
        EXPECT_EQ (values->getDoubleAttribute ("mixParam", -1), expected[i].mix);
        EXPECT_EQ (values->getDoubleAttribute ("bypassParam", -1), 0.0);
    }
}
} // namespace
