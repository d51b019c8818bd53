#include "support/JuceAssertions.h"

#include <gtest/gtest.h>

#ifdef QUIETLINE_JUCE_TEST_MAIN
 #include <juce_events/juce_events.h>
 #include <juce_gui_basics/juce_gui_basics.h>
#endif

int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);
    quietline::test::failTestsOnJuceAssertions();
#ifdef QUIETLINE_JUCE_TEST_MAIN
    // Keeps JUCE's message manager and GUI state alive for the whole run, as a host would. JUCE's
    // shutdown (juceInit going out of scope) and static destruction come after testsAreOver().
    juce::ScopedJuceInitialiser_GUI juceInit;
#endif
    const int result = RUN_ALL_TESTS();
    quietline::test::testsAreOver();
    return result;
}
