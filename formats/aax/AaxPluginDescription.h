#pragma once

#include "formats/aax/AAX_ICollection.h"

namespace kelmora::aax
{
/** The plug-in as it describes itself to an AAX host: one effect with a mono and a stereo
    component, its factories and process procedure, maker, package and version. Installed with
    SetEffectDescriptionRoutine. */
AAX_Result describePlugin (AAX_ICollection* collection);

/** The effect factory handed to the host: the product's processor (createPluginFilter) as an
    AaxProcessorEffect, with JUCE and the module's message thread kept alive for it. */
IACFUnknown* createProcessorEffect();
} // namespace kelmora::aax
