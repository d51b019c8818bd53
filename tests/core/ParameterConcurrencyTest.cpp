#include "core/FrequencyParameter.h"
#include "core/Parameter.h"
#include "support/Concurrency.h"

#include <gtest/gtest.h>

#include <atomic>
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
    std::atomic<int> published { -1 }, acknowledged { 0 }, consuming { 2 };
    std::atomic<bool> failed { false }, gaveUp { false };   // gaveUp frees consumers when a mark was lost
    auto positionOf = [] (int round) { return (float) round / (float) (rounds - 1); };

    auto consumer = [&] (juce::uint32 bit)
    {
        for (int seen = -1; seen < rounds - 1 && ! gaveUp.load(); std::this_thread::yield())
        {
            if (const int round = p.testAndClearChanged (bit) ? published.load() : seen; round > seen)
            {
                if (p.getNormalisedValue() != positionOf (round) || p.getValue() != p.normalisedToValue (positionOf (round)))
                    failed = true;
                seen = round;
                acknowledged.fetch_add (1);
            }
        }
        --consuming;
    };
    int completed = 0;
    quietline::test::runTogether ({
        [&] { consumer (Parameter::audioChanged); },
        [&] { consumer (Parameter::editorChanged); },
        [&] { while (consuming.load() > 0) p.testAndClearChanged (0x100); },
        [&] {
            for (; completed < rounds; ++completed)
            {
                published.store (completed);
                p.setNormalisedValue (positionOf (completed));
                if (! quietline::test::waitUntil ([&] { return acknowledged.load() >= 2 * (completed + 1); }))
                    break;
            }
            gaveUp = completed < rounds;
        },
    });
    EXPECT_EQ (completed, rounds) << "watchdog: a round was never acknowledged, a change mark was lost";
    EXPECT_FALSE (failed.load()) << "a consumer read a value other than the one marked";
}
