#include "formats/vst/WrapperTest.h"
#include "support/Concurrency.h"
#include "support/TsanJuceShutdown.h"

#include <algorithm>

namespace kelmora::vst::test
{
namespace
{
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
        void* theirs = nullptr;
        for (int i = 0; i < 2; ++i)
            dispatch (effGetChunk, 0, 0, &theirs);
    });
    other.join();
    EXPECT_TRUE (isWholeState (mine, size)) << "another thread's requests left this one's chunk alone";

    std::atomic<int> damaged { 0 };
    const auto asker = [this, &damaged] {
        for (int i = 0; i < 100; ++i)
        {
            void* data = nullptr;
            const auto n = dispatch (effGetChunk, 0, 0, &data);
            damaged += isWholeState (data, n) ? 0 : 1;
        }
    };
    quietline::test::runTogether ({ asker, asker });
    EXPECT_EQ (damaged.load(), 0);
}

TEST_F (WrapperTest, TheTailQueryRacesNothingWhileAnotherThreadChangesTheRate)
{
    std::atomic<bool> ratesDone { false };
    std::atomic<int> odd { 0 };
    quietline::test::runTogether ({
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
