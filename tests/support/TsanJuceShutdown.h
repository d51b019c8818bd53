#pragma once

// Include once per test program that starts and stops the module's JUCE on several threads.
// JUCE is built without instrumentation and joins its own threads (the timer thread) in ways a
// thread sanitizer cannot see, so it would report JUCE's shutdown freeing what those threads
// last touched.
extern "C" __attribute__ ((visibility ("default"), used)) const char* __tsan_default_suppressions()
{
    return "race:juce::MessageManager::~MessageManager\n"
           "race:juce::DeletedAtShutdown::deleteAll\n";
}
