#include "dsp/FirFilterState.h"
#include "support/Concurrency.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

// The editor polls the change flag and the active state without the callback lock while the
// audio side redesigns (also across an unsupported rate) and processes; every fifty designs the
// audio side waits until the editor has taken the change.
TEST (FirThreads, EditorPollsFlagsWhileTheAudioSideDesigns)
{
    auto filter = std::make_unique<kelmora::dsp::FirFilterState>();
    filter->getAndClearChanged (true);
    quietline::test::StartLatch start (2);
    std::atomic<bool> done { false };
    std::atomic<int> changesSeen { 0 };

    std::thread editor ([&] {
        start.arriveAndWait();
        for (bool last = false; ! last; std::this_thread::yield())
        {
            last = done.load();
            changesSeen += filter->getAndClearChanged (true) ? 1 : 0;
            (void) filter->isActive();
        }
    });

    std::vector<float> left (64, 0.25f), right (64, -0.25f);
    const double rates[] = { 96000.0, 44100.0, 192000.0 };
    bool stuck = false;
    start.arriveAndWait();
    for (int i = 0; i < 600 && ! stuck; ++i)
    {
        filter->design (20000.0 + 10.0 * i, (i % 10) / 10.0, rates[i % 3]);
        filter->process (left.data(), right.data(), left.data(), right.data(), 64, false);
        if (i % 50 == 49)
            stuck = ! quietline::test::waitUntil ([&] { return ! filter->getAndClearChanged (false); });
    }
    done = true;
    editor.join();

    ASSERT_FALSE (stuck) << "watchdog: the editor never took a change";
    EXPECT_GE (changesSeen.load(), 12) << "a change in every fifty designs reached the editor";
    EXPECT_FALSE (filter->getAndClearChanged (false));
    EXPECT_TRUE (filter->isActive());
}
