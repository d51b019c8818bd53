#include "PresetTestProduct.h"

#include "core/BooleanParameter.h"
#include "core/FrequencyParameter.h"
#include "core/XmlUtils.h"

#include <functional>
#include <set>

namespace quietline::test
{
using namespace kelmora::core;

std::unique_ptr<ParamManager> PresetTestProduct::makeManager (bool withFactoryPresets)
{
    auto pm = std::make_unique<ParamManager> (4, 10, 5);
    pm->setParam (0, std::make_unique<FrequencyParameter> ("freqParam", "Frequency", 1, nullptr,
                                                          Parameter::sampleRateDependent, 20000.0, 25000.0, 21000.0));
    pm->setParam (1, std::make_unique<Parameter> ("slopeParam", "Slope", "%", 1, nullptr, 0u, 0.0, 100.0, 100.0));
    pm->setParam (2, std::make_unique<Parameter> ("mixParam", "Mix", "%", 1, nullptr, 0u, 0.0, 100.0, 100.0));
    pm->setParam (3, std::make_unique<BooleanParameter> ("bypassParam", "Bypass", nullptr, false, "Off|On", 0u));
    pm->initialisePresets();

    // The product's form: CR LF line ends and a blank before one "=".
    const char* factory[][4] = { { "Default", "21000", "75", "100" }, { "Light", "23000", "30", "100" },
                                 { "Intermediate", "22000", "50", "100" }, { "Steep and reduced", "21000", "100", "60" },
                                 { "Hard", "20000", "100", "100" } };
    juce::String text ("<presets>\r\n");
    for (const auto& p : factory)
        text << "  <preset _Name_=\"" << p[0] << "\">\r\n    <KelmoraLabs freqParam =\"" << p[1] << "\" slopeParam=\""
             << p[2] << "\" mixParam=\"" << p[3] << "\" bypassParam=\"0\"/>\r\n  </preset>\r\n";
    if (auto doc = XmlUtils::parseText (text + "</presets>\r\n"); doc != nullptr && withFactoryPresets)
        pm->loadFactoryPresets (*doc);
    return pm;
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
