#pragma once

#include <functional>
#include <future>
#include <thread>
#include <vector>

namespace quietline::test
{
/** Runs each body on its own thread, all released at once; returns when every one is done. */
inline void runTogether (const std::vector<std::function<void()>>& bodies)
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
} // namespace quietline::test
