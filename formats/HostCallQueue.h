#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace kelmora::formats
{
/** What one plug-in instance has to tell its host, kept until a host thread can say it with
    nothing of ours held: editor work posts from inside the message-thread role, the audio thread
    only raises flags, and a host call on the same instance delivers.

    Gestures and values keep their order. Latency, display and size changes are flags: raising
    one neither allocates nor locks, so the audio thread may do it, and repeats fold into one.

    Delivery runs on one thread at a time per instance, with no lock held during a call. A
    deliverer that finds the instance gone after a call (a host may close it from inside any of
    its callbacks) returns without touching it again. */
class HostCallQueue
{
public:
    enum class Kind { beginGesture, value, endGesture, latency, display, size };

    struct Call
    {
        Kind kind;
        int index = 0;
        float value = 0.0f;
    };

    HostCallQueue() { calls.reserve (64); }

    ~HostCallQueue() { alive->store (false); }

    /** A gesture or value, in order after what was posted before. */
    void post (const Call& call)
    {
        const std::lock_guard<std::mutex> l (lock);
        calls.push_back (call);
    }

    /** A latency, display or size change; never blocks or allocates. */
    void raise (Kind kind) noexcept { flags.fetch_or (flagFor (kind)); }

    /** Drops a raised change that the caller has just said itself. */
    void lower (Kind kind) noexcept { flags.fetch_and (~flagFor (kind)); }

    /** False once the instance has gone: a caller that makes a host call of its own outside
        deliver() checks it before touching the instance again. */
    std::shared_ptr<const std::atomic<bool>> liveness() const { return alive; }

    /** Says everything pending through `say`, on this thread, unless another thread is already
        delivering (it then says this thread's calls too). `say` is called with no lock held and
        may see the instance closed from inside it. */
    template <typename Say>
    void deliver (Say&& say)
    {
        const auto instanceAlive = alive;

        {
            const std::lock_guard<std::mutex> l (lock);
            if (delivering)
                return;
            delivering = true;
        }

        for (;;)
        {
            Call call { Kind::display };
            {
                const std::lock_guard<std::mutex> l (lock);

                if (next < calls.size())
                {
                    call = calls[next++];
                }
                else
                {
                    calls.clear();
                    next = 0;

                    if (! takeFlag (call.kind))
                    {
                        delivering = false;
                        return;
                    }
                }
            }

            try
            {
                say (call);
            }
            catch (...)
            {
            }

            if (! instanceAlive->load())
                return;
        }
    }

private:
    static int flagFor (Kind kind) noexcept { return kind == Kind::latency ? 1 : kind == Kind::display ? 2 : 4; }

    bool takeFlag (Kind& kind) noexcept
    {
        for (const Kind k : { Kind::latency, Kind::display, Kind::size })
        {
            if ((flags.fetch_and (~flagFor (k)) & flagFor (k)) != 0)
            {
                kind = k;
                return true;
            }
        }
        return false;
    }

    std::mutex lock;
    std::vector<Call> calls;
    size_t next = 0;
    bool delivering = false;
    std::atomic<int> flags { 0 };
    const std::shared_ptr<std::atomic<bool>> alive = std::make_shared<std::atomic<bool>> (true);
};
} // namespace kelmora::formats
