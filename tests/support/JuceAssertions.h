#pragma once

namespace quietline::test
{
/** Makes JUCE's assertions fail the run. The sanitizer trees build JUCE and our code with jassert
    logged and with JUCE's leak detector on; in the other trees nothing reaches here.
    Call once at the start of main: until testsAreOver(), a tripped jassert is a GoogleTest failure
    of the test that tripped it, on any thread; afterwards (JUCE's shutdown, the leak detector at
    static destruction) it ends the process with exit code 1. Other log messages go to stderr, as
    JUCE's own would. */
void failTestsOnJuceAssertions();

/** Call when RUN_ALL_TESTS has returned. */
void testsAreOver();

/** For a test that trips an assertion on purpose (a programming error fed in to check what a
    release build does, or a JUCE false alarm the test has to provoke): while this lives, the
    assertions of the named source file ("Parameter.cpp") tripped on this thread do not fail the
    test, and where assertions are compiled in at least one of them must trip. */
class ExpectedJuceAssertion
{
public:
    explicit ExpectedJuceAssertion (const char* sourceFileName);
    ~ExpectedJuceAssertion();

    ExpectedJuceAssertion (const ExpectedJuceAssertion&) = delete;
    ExpectedJuceAssertion& operator= (const ExpectedJuceAssertion&) = delete;

    // Kept by the logger.
    const char* const file;
    ExpectedJuceAssertion* const outer;
    int count = 0;
};
} // namespace quietline::test
