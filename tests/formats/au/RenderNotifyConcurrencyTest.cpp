#include "TestUnit.h"
#include "support/Concurrency.h"

#include <atomic>

using namespace kelmora::au;
using namespace kelmora::au::test;

namespace
{
struct Counter
{
    std::atomic<long> calls { 0 };
    static OSStatus Callback (void* self, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32, AudioBufferList*)
    {
        static_cast<Counter*> (self)->calls.fetch_add (1, std::memory_order_relaxed);
        return noErr;
    }
    static void Listener (void* self, AudioUnit, AudioUnitPropertyID, AudioUnitScope, AudioUnitElement)
    {
        static_cast<Counter*> (self)->calls.fetch_add (1, std::memory_order_relaxed);
    }
};
} // namespace

TEST (RenderNotify, AddAndRemoveFromHostThreadsWhileRendering)
{
    auto unit = MakeUnit();
    ASSERT_EQ (noErr, unit->DoInitialize());
    HostBuffers buffers (2, 64);
    long renders = 0;
    const auto renderOnce = [&] { return RenderInto (*unit, buffers, 64, double (renders++) * 64); };

    Counter steady, churn[2];
    ASSERT_EQ (noErr, unit->AddRenderNotify (Counter::Callback, &steady));
    std::atomic<int> hostsRunning { 2 };
    const auto host = [&] (Counter* counter) {
        for (int i = 0; i < 5000; ++i)
        {
            unit->AddRenderNotify (Counter::Callback, counter);
            unit->RemoveRenderNotify (Counter::Callback, counter);
        }
        hostsRunning.fetch_sub (1);
    };
    quietline::test::runTogether ({ [&] {
                                       while (hostsRunning.load() > 0)
                                           ASSERT_EQ (noErr, renderOnce());
                                   },
                                    [&] { host (&churn[0]); }, [&] { host (&churn[1]); } });
    EXPECT_EQ (2 * renders, steady.calls.load()) << "the steady notification saw every render, before and after";

    // Every removal has been requested; the next render applies them all.
    const long before[2] = { churn[0].calls.load(), churn[1].calls.load() };
    ASSERT_EQ (noErr, renderOnce());
    EXPECT_EQ (before[0], churn[0].calls.load());
    EXPECT_EQ (before[1], churn[1].calls.load());
    EXPECT_EQ (2 * renders, steady.calls.load());
}

TEST (RenderNotify, FailedRendersNotifyListenersWhileAHostThreadAddsThem)
{
    auto unit = MakeUnit();
    ASSERT_EQ (noErr, unit->DoInitialize());
    unit->renderStatus = -3;
    HostBuffers buffers (2, 64);
    Float64 time = 0;
    const auto failOnce = [&] {
        OSStatus error = noErr;
        const OSStatus status = RenderInto (*unit, buffers, 64, time += 64);
        unit->DispatchGetProperty (kAudioUnitProperty_LastRenderError, kAudioUnitScope_Global, 0, &error);   // re-arms the notification
        return std::make_pair (status, error);
    };

    // Enough additions for the array to grow several times under the render thread's walks.
    constexpr size_t added = 2000;
    Counter heard;
    quietline::test::runTogether ({
        [&] {
            for (size_t i = 0; i < added; ++i)
                unit->AddPropertyListener (kAudioUnitProperty_LastRenderError, Counter::Listener, &heard);
        },
        [&] {
            while (unit->GetNumberOfPropertyListeners() < added)
                ASSERT_EQ (std::make_pair (-3, -3), failOnce());
        },
    });

    heard.calls = 0;
    EXPECT_EQ (std::make_pair (-3, -3), failOnce());
    EXPECT_EQ (long (added), heard.calls.load()) << "every listener hears the next failure once";
}
