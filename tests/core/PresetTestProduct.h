#pragma once

#include "core/PresetController.h"
#include "core/SettingsFile.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace quietline::test
{
// The product's parameters and presets: freqParam, slopeParam, mixParam, bypassParam; 10 preset
// slots, the last 5 user slots; the five factory presets.
struct PresetTestProduct
{
    static constexpr const char* userPresetFileName = "Orvel Quietline.conf";

    // The product's manager, its factory presets installed and preset 0 applied.
    static std::unique_ptr<kelmora::core::ParamManager> makeManager();

    // A controller around a fresh manager, reading the user-preset file of the current HOME.
    static auto makeController() { return std::make_unique<kelmora::core::PresetController> (makeManager(), userPresetFileName); }
    static juce::File userPresetFile() { return kelmora::core::SettingsFile::getFile (userPresetFileName); }

    // Single-line XML, the real values of `logical` elements rounded to three decimals (they pass
    // through a float position).
    static juce::String golden (juce::XmlElement e);

    // A copy of the user-preset file's `presets` element; fails the running test (and gives an
    // empty element) when the file does not parse.
    static juce::XmlElement presetsInFile();

    // The live entries of the user-preset file as slot -> name; fails the running test when a
    // number appears twice.
    static std::map<int, juce::String> liveEntriesInFile();
};

// A controller of the product's shape in its own HOME.
class ControllerTest : public ::testing::Test
{
protected:
    TempHome home;
    std::unique_ptr<kelmora::core::PresetController> controller = PresetTestProduct::makeController();

    kelmora::core::ParamManager& pm() { return controller->getParamManager(); }
};
} // namespace quietline::test
