#include "PresetTestProduct.h"

#include "core/BooleanParameter.h"
#include "core/FrequencyParameter.h"
#include "core/SettingsFile.h"
#include "core/XmlUtils.h"

namespace quietline::test
{
using namespace kelmora::core;

const char* PresetTestProduct::factoryPresetText()
{
    return "<presets>\r\n"
           "  <preset _Name_=\"Default\">\r\n"
           "    <KelmoraLabs freqParam =\"21000\" slopeParam=\"75\" mixParam=\"100\" bypassParam=\"0\"/>\r\n"
           "  </preset>\r\n"
           "  <preset _Name_=\"Light\">\r\n"
           "    <KelmoraLabs freqParam =\"23000\" slopeParam=\"30\" mixParam=\"100\" bypassParam=\"0\"/>\r\n"
           "  </preset>\r\n"
           "  <preset _Name_=\"Intermediate\">\r\n"
           "    <KelmoraLabs freqParam =\"22000\" slopeParam=\"50\" mixParam=\"100\" bypassParam=\"0\"/>\r\n"
           "  </preset>\r\n"
           "  <preset _Name_=\"Steep and reduced\">\r\n"
           "    <KelmoraLabs freqParam =\"21000\" slopeParam=\"100\" mixParam=\"60\" bypassParam=\"0\"/>\r\n"
           "  </preset>\r\n"
           "  <preset _Name_=\"Hard\">\r\n"
           "    <KelmoraLabs freqParam =\"20000\" slopeParam=\"100\" mixParam=\"100\" bypassParam=\"0\"/>\r\n"
           "  </preset>\r\n"
           "</presets>\r\n";
}

std::unique_ptr<ParamManager> PresetTestProduct::makeManager (bool withFactoryPresets)
{
    auto pm = std::make_unique<ParamManager> (4, numSlots, numSlots - numFactory);
    pm->setParam (0, std::make_unique<FrequencyParameter> ("freqParam", "Frequency", 1, nullptr,
                                                          Parameter::sampleRateDependent, 20000.0, 25000.0, 21000.0));
    pm->setParam (2, std::make_unique<Parameter> ("mixParam", "Mix", "%", 1, nullptr, 0u, 0.0, 100.0, 100.0));
    pm->setParam (1, std::make_unique<Parameter> ("slopeParam", "Slope", "%", 1, nullptr, 0u, 0.0, 100.0, 100.0));
    pm->setParam (3, std::make_unique<BooleanParameter> ("bypassParam", "Bypass", nullptr, false, "Off|On", 0u));
    pm->initialisePresets();

    if (withFactoryPresets)
        if (auto doc = XmlUtils::parseText (factoryPresetText()))
            pm->loadFactoryPresets (*doc);

    return pm;
}

std::unique_ptr<PresetController> PresetTestProduct::makeController()
{
    return std::make_unique<PresetController> (makeManager(), userPresetFileName);
}

juce::File PresetTestProduct::userPresetFile()
{
    return SettingsFile::getFile (userPresetFileName);
}
} // namespace quietline::test
