#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Helpers for tests with threads or processes: they start together, stop on work done, and
// wait on conditions. Time appears only as a watchdog against hangs, far above any passing run.
namespace quietline::test
{
constexpr auto watchdogLimit = std::chrono::seconds (120);
// For a test whose only way to fail is a deadlock, over a few calls: it fails in seconds.
constexpr auto deadlockLimit = std::chrono::seconds (20);

/** Holds every party until all have arrived, so that the work of all threads overlaps. */
class StartLatch
{
public:
    explicit StartLatch (int parties) : waiting (parties) {}

    void arriveAndWait()
    {
        std::unique_lock<std::mutex> l (mutex);
        if (--waiting == 0)
            cv.notify_all();
        else
            cv.wait (l, [this] { return waiting <= 0; });
    }

private:
    std::mutex mutex;
    std::condition_variable cv;
    int waiting;
};

/** Runs each body on its own thread, all started together; returns when every one is done. */
inline void runTogether (const std::vector<std::function<void()>>& bodies)
{
    StartLatch start ((int) bodies.size());
    std::vector<std::thread> threads;
    for (const auto& body : bodies)
        threads.emplace_back ([&start, &body] { start.arriveAndWait(); body(); });
    for (auto& t : threads)
        t.join();
}

/** Calls `poll` until `done()` holds; false when the watchdog limit passed first. */
template <typename Done, typename Poll>
bool waitUntil (Done&& done, Poll&& poll)
{
    for (const auto limit = std::chrono::steady_clock::now() + watchdogLimit; ! done();)
    {
        if (std::chrono::steady_clock::now() > limit)
            return false;
        poll();
    }
    return true;
}

template <typename Done>
bool waitUntil (Done&& done)
{
    return waitUntil (done, [] { std::this_thread::yield(); });
}

/** Ends the process with a "watchdog" message unless destroyed within the watchdog limit: for
    tests whose failure would be a deadlock that no assertion could report. */
class Watchdog
{
public:
    explicit Watchdog (std::string what, std::chrono::seconds limit = watchdogLimit) : thread ([this, limit, what = std::move (what)]
    {
        std::unique_lock<std::mutex> l (mutex);
        if (! cv.wait_for (l, limit, [this] { return dismissed; }))
        {
            std::fprintf (stderr, "watchdog: %s\n", what.c_str());
            std::_Exit (3);
        }
    })
    {
    }

    ~Watchdog()
    {
        {
            const std::lock_guard<std::mutex> l (mutex);
            dismissed = true;
        }
        cv.notify_all();
        thread.join();
    }

private:
    std::mutex mutex;
    std::condition_variable cv;
    bool dismissed = false;
    std::thread thread;
};
} // namespace quietline::test
