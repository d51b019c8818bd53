#include "dsp/FirFilterState.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

// The editor polls the change flag and the active state without the callback lock while the
// audio side redesigns (also across an unsupported rate) and processes.
TEST (FirThreads, EditorPollsFlagsWhileTheAudioSideDesigns)
{
    auto filter = std::make_unique<kelmora::dsp::FirFilterState>();
    filter->getAndClearChanged (true);
    std::atomic<bool> done { false };
    int changesSeen = 0, activeSeen = 0;

    std::thread editor ([&] {
        for (bool last = false; ! last; std::this_thread::yield())
        {
            last = done.load();
            changesSeen += filter->getAndClearChanged (true) ? 1 : 0;
            activeSeen += filter->isActive() ? 1 : 0;
        }
    });

    std::vector<float> left (64, 0.25f), right (64, -0.25f);
    const double rates[] = { 96000.0, 44100.0, 192000.0 };
    for (int i = 0; i < 600; ++i)
    {
        filter->design (20000.0 + 10.0 * i, (i % 10) / 10.0, rates[i % 3]);
        filter->process (left.data(), right.data(), left.data(), right.data(), 64, false);
        if (i % 50 == 0)
            std::this_thread::sleep_for (std::chrono::microseconds (200));
    }
    done = true;
    editor.join();

    EXPECT_GT (changesSeen, 0);
    EXPECT_FALSE (filter->getAndClearChanged (false));
    EXPECT_TRUE (filter->isActive());
}
