#include "formats/vst/WrapperTest.h"

#include <algorithm>
#include <functional>
#include <future>
#include <thread>
#include <vector>

// JUCE is built without instrumentation and its threads are detached, so ThreadSanitizer cannot
// see how the wrapper's close shuts down JUCE's message thread and its lock.
extern "C" __attribute__ ((visibility ("default"), used)) const char* __tsan_default_suppressions()
{
    return "race:juce::MessageManagerLock::~MessageManagerLock\n"
           "race:juce::MessageManager::~MessageManager\n";
}

namespace kelmora::vst::test
{
namespace
{
// Runs each body on its own thread, all released at once; returns when every one is done.
void runTogether (const std::vector<std::function<void()>>& bodies)
{
    std::promise<void> go;
    const std::shared_future<void> gate = go.get_future().share();
    std::vector<std::thread> threads;
    for (const auto& body : bodies)
        threads.emplace_back ([gate, &body] { gate.wait(); body(); });
    go.set_value();
    for (auto& t : threads)
        t.join();
}

bool isWholeState (const void* data, intptr_t size)
{
    const auto* bytes = static_cast<const char*> (data);
    return size == TestGainProcessor::stateBytes && data != nullptr && std::all_of (bytes, bytes + size, [] (char c) { return c == 's'; });
}
} // namespace

TEST_F (WrapperTest, AChunkStaysValidUntilTheSameThreadAsksAgain)
{
    void* mine = nullptr;
    const auto size = dispatch (effGetChunk, 0, 0, &mine);
    std::thread other ([this] {
        for (int i = 0; i < 3; ++i)
        {
            void* theirs = nullptr;
            dispatch (effGetChunk, 0, 0, &theirs);
        }
    });
    other.join();
    EXPECT_TRUE (isWholeState (mine, size)) << "another thread's requests left this one's chunk alone";

    std::atomic<int> damaged { 0 };
    const auto asker = [this, &damaged] {
        for (int i = 0; i < 200; ++i)
        {
            void* data = nullptr;
            const auto n = dispatch (effGetChunk, 0, 0, &data);
            damaged += isWholeState (data, n) ? 0 : 1;
        }
    };
    runTogether ({ asker, asker });
    EXPECT_EQ (damaged.load(), 0);
}

TEST_F (WrapperTest, TheTailQueryRacesNothingWhileAnotherThreadChangesTheRate)
{
    std::atomic<bool> ratesDone { false };
    std::atomic<int> odd { 0 };
    runTogether ({
        [this, &ratesDone] {
            for (int i = 0; i < 100; ++i)
                start (i % 2 == 0 ? 96000.0f : 192000.0f, 256);
            ratesDone = true;
        },
        [this, &ratesDone, &odd] {
            while (! ratesDone)
            {
                const auto tail = dispatch (effGetTailSize);
                odd += (tail == 0 || tail == 45 || tail == 90) ? 0 : 1;
            }
        },
    });
    EXPECT_EQ (odd.load(), 0) << "the tail belongs to the rate it was reported with";
}
} // namespace kelmora::vst::test
