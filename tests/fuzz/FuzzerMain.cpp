// libFuzzer entry for one target, chosen at build time (QUIETLINE_FUZZ_TARGET).
#include "fuzz/FuzzTargets.h"

#include <juce_gui_basics/juce_gui_basics.h>

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    // The processor expects JUCE's message manager, as in a host. Kept to the end: the targets'
    // instances live in statics, which exit destroys after anything this function made.
    static const auto* juceInit = new juce::ScopedJuceInitialiser_GUI;
    (void) juceInit;
    quietline::fuzz::sharedHome();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    quietline::fuzz::QUIETLINE_FUZZ_TARGET (data, size);
    return 0;
}
