#include "PresetTestProduct.h"

#include "core/XmlUtils.h"
#include "dsp/KelmoraLabsTemplateAudioProcessor.h"

#include <functional>
#include <set>

namespace quietline::test
{
using namespace kelmora::core;

std::unique_ptr<ParamManager> PresetTestProduct::makeManager()
{
    return kelmora::dsp::KelmoraLabsTemplateAudioProcessor::createParameters();
}

juce::String PresetTestProduct::golden (juce::XmlElement e)
{
    std::function<void (juce::XmlElement&)> round = [&round] (juce::XmlElement& x)
    {
        for (int i = 0; XmlUtils::tagIs (x, "logical") && i < x.getNumAttributes(); ++i)
            x.setAttribute (x.getAttributeName (i), juce::String (x.getAttributeValue (i).getDoubleValue(), 3));
        for (auto* child : x.getChildIterator())
            round (*child);
    };
    round (e);
    return e.toString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
}

juce::XmlElement PresetTestProduct::presetsInFile()
{
    auto doc = XmlUtils::parseFile (userPresetFile());
    const auto* presets = doc != nullptr && XmlUtils::tagIs (*doc, "KelmoraLabs") ? XmlUtils::findChild (*doc, "presets") : nullptr;
    EXPECT_NE (presets, nullptr) << "the user-preset file must parse, with its presets";
    return presets != nullptr ? *presets : juce::XmlElement ("presets");
}

std::map<int, juce::String> PresetTestProduct::liveEntriesInFile()
{
    std::map<int, juce::String> live;
    std::set<int> numbers;
    const auto presets = presetsInFile();
    for (const auto* entry : presets.getChildIterator())
    {
        const int number = XmlUtils::getIntAttribute (*entry, "_No_", 0);
        EXPECT_TRUE (numbers.insert (number).second) << "number " << number << " appears twice";
        EXPECT_GE (number, 1000);
        if (! XmlUtils::getBoolAttribute (*entry, "_Deleted_", false))
            live[number - 1000 + 5] = XmlUtils::getAttribute (*entry, "_Name_");
    }
    return live;
}
} // namespace quietline::test
