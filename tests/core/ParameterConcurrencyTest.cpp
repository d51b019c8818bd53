#include "core/FrequencyParameter.h"
#include "core/Parameter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace kelmora::core;

// The host writes round after round; the audio and editor consumers each wait for their own bit,
// check that the value they then read is the one just written, and acknowledge, while a third
// thread keeps clearing an unused bit. With a plain read-modify-write of the mask, a clear racing
// a mark could wipe a consumer's bit and the round would never be acknowledged.
TEST (ParameterConcurrency, ChangeMaskLosesNoMarkAndValuesStayWhole)
{
    FrequencyParameter p ("freqParam", "Frequency", 1, nullptr, 0, 20000.0, 25000.0, 21000.0);
    constexpr int rounds = 1000;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (10);
    std::atomic<int> published { -1 }, acknowledged { 0 };
    std::atomic<bool> stop { false }, failed { false };
    auto positionOf = [] (int round) { return (float) round / (float) (rounds - 1); };

    auto consumer = [&] (juce::uint32 bit)
    {
        for (int seen = -1; seen < rounds - 1 && ! stop.load(); std::this_thread::yield())
        {
            if (const int round = p.testAndClearChanged (bit) ? published.load() : seen; round > seen)
            {
                if (p.getNormalisedValue() != positionOf (round) || p.getValue() != p.normalisedToValue (positionOf (round)))
                    failed = true;
                seen = round;
                acknowledged.fetch_add (1);
            }
        }
    };
    std::thread audio (consumer, (juce::uint32) Parameter::audioChanged);
    std::thread editor (consumer, (juce::uint32) Parameter::editorChanged);
    std::thread noise ([&] { while (! stop.load()) p.testAndClearChanged (0x100); });

    int completed = 0;
    for (; completed < rounds; ++completed)
    {
        published.store (completed);
        p.setNormalisedValue (positionOf (completed));
        while (acknowledged.load() < 2 * (completed + 1) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        if (acknowledged.load() < 2 * (completed + 1))
            break;
    }
    stop = true;
    audio.join();
    editor.join();
    noise.join();
    EXPECT_EQ (completed, rounds) << "a change mark was lost";
    EXPECT_FALSE (failed.load()) << "a consumer read a value other than the one marked";
}
