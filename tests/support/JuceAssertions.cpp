#include "support/JuceAssertions.h"

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>

#include <atomic>
#include <cstdlib>
#include <iostream>

namespace quietline::test
{
namespace
{
std::atomic<bool> over { false }, failedAfterTests { false }, exitChecked { false };
thread_local ExpectedJuceAssertion* expected = nullptr;

class AssertionLogger final : public juce::Logger
{
    void logMessage (const juce::String& message) override
    {
        // What JUCE's logAssertion writes, followed by "<file name>:<line>".
        const juce::String prefix ("JUCE Assertion failure in ");

        if (! message.startsWith (prefix))
        {
            std::cerr << message << std::endl;
            return;
        }

        const auto place = message.substring (prefix.length());
        const auto file = place.upToLastOccurrenceOf (":", false, false);

        for (auto* e = expected; e != nullptr; e = e->outer)
            if (file == e->file)
            {
                ++e->count;
                return;
            }

        if (! over)
        {
            ADD_FAILURE_AT (file.toRawUTF8(), place.fromLastOccurrenceOf (":", false, false).getIntValue())
                << message;
            return;
        }

        // Too late for a test to fail: the exit code has to say it, once every report is out.
        std::cerr << message << " (after the tests";
        if (file == "juce_LeakedObjectDetector.h")
            std::cerr << ": an object with a leak detector outlived its class's counter; a Debug build names the class";
        std::cerr << ")" << std::endl;
        failedAfterTests = true;

        if (exitChecked)
            std::_Exit (1);
    }
};
} // namespace

void failTestsOnJuceAssertions()
{
    // Never deleted: the leak detector reports while static objects are being destroyed.
    static auto* logger = new AssertionLogger;
    juce::Logger::setCurrentLogger (logger);

    // Runs after the static objects made from here on (the leak detector's counters among them)
    // are destroyed; anything reported later ends the process straight away.
    std::atexit ([]
    {
        exitChecked = true;
        if (failedAfterTests)
            std::_Exit (1);
    });
}

void testsAreOver() { over = true; }

ExpectedJuceAssertion::ExpectedJuceAssertion (const char* sourceFileName)
    : file (sourceFileName), outer (expected)
{
    expected = this;
}

ExpectedJuceAssertion::~ExpectedJuceAssertion()
{
    expected = outer;
   #if JUCE_LOG_ASSERTIONS
    EXPECT_GT (count, 0) << "no JUCE assertion tripped in " << file;
   #endif
}
} // namespace quietline::test
