#include "core/FrequencyParameter.h"
#include "core/Parameter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

using namespace kelmora::core;

// One writer (the host) changes the value round after round; the audio and editor consumers
// each wait for their own bit, check that the value they then read is the one just written,
// and acknowledge. A third thread keeps clearing an unused bit meanwhile. With a plain
// read-modify-write of the mask, a clear racing a mark could wipe the consumers' bits and a
// round would never be acknowledged.
TEST (ParameterConcurrency, ChangeMaskLosesNoMarkAndValuesStayWhole)
{
    FrequencyParameter p ("freqParam", "Frequency", 1, nullptr, 0, 20000.0, 25000.0, 21000.0);
    constexpr int rounds = 1000;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (10);

    std::atomic<int> published { -1 }, acknowledged { 0 };
    std::atomic<bool> stop { false }, failed { false };
    auto positionOf = [] (int round) { return (float) (round % 1000) / 999.0f; };

    auto consumer = [&] (juce::uint32 bit)
    {
        int seen = -1;

        while (seen < rounds - 1 && ! stop.load())
        {
            if (! p.testAndClearChanged (bit))
            {
                std::this_thread::yield();
                continue;
            }

            const int round = published.load();

            if (round <= seen)
                continue;

            if (p.getNormalisedValue() != positionOf (round)
                || p.getValue() != p.normalisedToValue (positionOf (round)))
                failed = true;

            seen = round;
            acknowledged.fetch_add (1);
        }
    };

    std::thread audio (consumer, (juce::uint32) Parameter::audioChanged);
    std::thread editor (consumer, (juce::uint32) Parameter::editorChanged);
    std::thread noise ([&]
    {
        while (! stop.load())
            p.testAndClearChanged (0x100);
    });

    int completed = 0;

    for (int round = 0; round < rounds; ++round)
    {
        published.store (round);
        p.setNormalisedValue (positionOf (round));

        while (acknowledged.load() < 2 * (round + 1) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();

        if (acknowledged.load() < 2 * (round + 1))
            break;

        completed = round + 1;
    }

    stop = true;
    audio.join();
    editor.join();
    noise.join();

    EXPECT_EQ (completed, rounds) << "a change mark was lost";
    EXPECT_FALSE (failed.load()) << "a consumer read a value other than the one marked";
}
