#pragma once

#include "core/PresetController.h"

#include <memory>

namespace quietline::test
{
/** The product's shape until the product processor exists: freqParam, slopeParam, mixParam,
    bypassParam; 10 preset slots, the last 5 user slots; five factory presets. */
struct PresetTestProduct
{
    static constexpr const char* userPresetFileName = "Orvel Quietline.conf";
    static constexpr int numFactory = 5;
    static constexpr int numSlots = 10;

    /** The factory-preset text in the product's form (CR LF, a blank before one "="). */
    static const char* factoryPresetText();

    /** A manager with the four parameters, initialised; with `withFactoryPresets` the five
        factory presets are loaded as the product does. */
    static std::unique_ptr<kelmora::core::ParamManager> makeManager (bool withFactoryPresets = true);

    /** A controller around a fresh manager, reading the user-preset file of the current HOME. */
    static std::unique_ptr<kelmora::core::PresetController> makeController();

    /** The user-preset file under the current HOME. */
    static juce::File userPresetFile();
};
} // namespace quietline::test
