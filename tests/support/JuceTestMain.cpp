#include "support/JuceAssertions.h"

#include <gtest/gtest.h>
#include <juce_events/juce_events.h>
#include <juce_gui_basics/juce_gui_basics.h>

// Keeps JUCE's message manager and GUI state alive for the whole run, as a host would.
int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);
    quietline::test::failTestsOnJuceAssertions();
    juce::ScopedJuceInitialiser_GUI juceInit;
    const int result = RUN_ALL_TESTS();
    // JUCE's shutdown (juceInit going out of scope) and static destruction come after this.
    quietline::test::testsAreOver();
    return result;
}
