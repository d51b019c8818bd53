// The product module's processing call as a real-time host needs it: no heap allocation and no
// lock but the one callback lock, measured by interposing the allocator and the pthread lock
// functions for the whole process. A program of its own, left out of sanitizer builds, which
// need the allocator for themselves.
#include "formats/module/BuiltModule.h"
#include "support/Concurrency.h"
#include "support/TempHome.h"
#include "tools/auhost/AuHost.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <dlfcn.h>
#include <functional>
#include <malloc.h>
#include <mutex>
#include <pthread.h>
#include <thread>
#include <vector>

extern "C" void* __libc_malloc (size_t);
extern "C" void* __libc_calloc (size_t, size_t);
extern "C" void* __libc_realloc (void*, size_t);
extern "C" void* __libc_memalign (size_t, size_t);

namespace
{
// Set on the thread inside the processing call; what it does there is recorded.
thread_local bool watching = false;
std::atomic<int> allocations { 0 };
constexpr int maxLocks = 8;
std::atomic<const void*> locksSeen[maxLocks];
std::atomic<int> otherLockCalls { 0 };

void noteAllocation()
{
    if (watching)
        ++allocations;
}

void noteLock (const void* lock)
{
    if (! watching)
        return;
    for (auto& seen : locksSeen)
    {
        const void* expected = nullptr;
        if (seen.compare_exchange_strong (expected, lock) || expected == lock)
            return;
    }
}

template <typename Function>
Function real (const char* name)
{
    return reinterpret_cast<Function> (dlsym (RTLD_NEXT, name));
}

const auto realMutexLock = real<int (*) (pthread_mutex_t*)> ("pthread_mutex_lock");
const auto realMutexTrylock = real<int (*) (pthread_mutex_t*)> ("pthread_mutex_trylock");
const auto realReadLock = real<int (*) (pthread_rwlock_t*)> ("pthread_rwlock_rdlock");
const auto realWriteLock = real<int (*) (pthread_rwlock_t*)> ("pthread_rwlock_wrlock");
} // namespace

extern "C"
{
void* malloc (size_t size) { noteAllocation(); return __libc_malloc (size); }
void* calloc (size_t n, size_t size) { noteAllocation(); return __libc_calloc (n, size); }
void* realloc (void* p, size_t size) { noteAllocation(); return __libc_realloc (p, size); }
void* memalign (size_t alignment, size_t size) { noteAllocation(); return __libc_memalign (alignment, size); }
void* aligned_alloc (size_t alignment, size_t size) { noteAllocation(); return __libc_memalign (alignment, size); }
int posix_memalign (void** p, size_t alignment, size_t size)
{
    noteAllocation();
    *p = __libc_memalign (alignment, size);
    return *p != nullptr ? 0 : 12;
}

int pthread_mutex_lock (pthread_mutex_t* m) { noteLock (m); return realMutexLock (m); }
int pthread_mutex_trylock (pthread_mutex_t* m) { noteLock (m); return realMutexTrylock (m); }
int pthread_rwlock_rdlock (pthread_rwlock_t* l) { otherLockCalls += watching ? 1 : 0; return realReadLock (l); }
int pthread_rwlock_wrlock (pthread_rwlock_t* l) { otherLockCalls += watching ? 1 : 0; return realWriteLock (l); }
}

namespace kelmora::tools::test
{
namespace
{
int distinctLocks()
{
    int count = 0;
    for (auto& seen : locksSeen)
        count += seen.load() != nullptr ? 1 : 0;
    return count;
}

void forgetEverything()
{
    allocations = 0;
    otherLockCalls = 0;
    for (auto& seen : locksSeen)
        seen = nullptr;
}

/** Runs `processBlock` 400 times with the recording on while another thread calls `change`
    400 times: the processing thread must allocate nothing and take one lock only, the callback
    lock, which the changes take too. Its first blocks, unwatched, prime the delay line and the
    thread's own storage of the module. */
void expectRealtimeWhileAHostThreadChanges (const std::function<void()>& processBlock, const std::function<void (int)>& change)
{
    forgetEverything();
    quietline::test::runTogether ({
        [&] {
            for (int i = 0; i < 404; ++i)
            {
                watching = i >= 4;
                processBlock();
                watching = false;
            }
        },
        [&] { for (int i = 0; i < 400; ++i) change (i); } });
    EXPECT_EQ (allocations.load(), 0);
    EXPECT_EQ (distinctLocks(), 1) << "the callback lock only";
    EXPECT_EQ (otherLockCalls.load(), 0);
}
} // namespace

TEST (ModuleRealtime, InterposersSeeAllocationsAndLocks)
{
    forgetEverything();
    std::mutex lock;
    watching = true;
    auto* probe = new std::vector<int> (4);
    lock.lock();
    watching = false;
    lock.unlock();
    delete probe;
    EXPECT_EQ (allocations.load(), 2) << "the allocator interposer is not in use";
    EXPECT_EQ (distinctLocks(), 1) << "the lock interposer is not in use";
}

// The VST processing call while another thread automates every parameter, switches programs,
// restores states and bypasses: the output stays finite and the host never hears from the
// audio thread.
TEST (ModuleRealtime, ProcessingAllocatesNothingAndTakesOnlyTheCallbackLock)
{
    const quietline::test::TempHome home;
    auto module = loadModule();
    ASSERT_NE (module, nullptr);
    auto e = makeInstance (*module, 192000.0);
    ASSERT_NE (e, nullptr);
    const auto state = e->getChunk();

    std::vector<float> left (256, 0.25f), right (256, -0.25f), outL (256), outR (256);
    float* in[] = { left.data(), right.data() };
    float* out[] = { outL.data(), outR.data() };
    std::thread::id audioThread;
    bool finite = true;
    expectRealtimeWhileAHostThreadChanges (
        [&] {
            audioThread = std::this_thread::get_id();
            e->process (in, out, 256);
            for (size_t i = 0; i < 256; ++i)
                finite = finite && std::isfinite (outL[i]) && std::isfinite (outR[i]);
        },
        [&] (int n) {
            e->setParameter (n % 4, (float) ((n * 37) % 101) / 100.0f);
            e->parameterDisplay (n % 4);
            if (n % 7 == 0) e->setProgram (n % e->numPrograms());
            if (n % 11 == 0) e->setChunk (e->getChunk());
            if (n % 13 == 0) e->setChunk (state);
            if (n % 17 == 0) e->setBypass (n % 2 == 0);
        });
    EXPECT_TRUE (finite);
    EXPECT_EQ (e->requestsFrom (audioThread), 0u) << "no host callback from the audio thread";
}

// The same for an Audio Unit render through the same module.
TEST (ModuleRealtime, AudioUnitRenderAllocatesNothingAndTakesOnlyTheCallbackLock)
{
    const quietline::test::TempHome home;
    std::string error;
    auto auModule = AuPluginModule::load (QUIETLINE_MODULE_PATH, "OrvelQuietlineAUFactory", "OrvelQuietlineAUEntry", error);
    ASSERT_NE (auModule, nullptr) << error;
    OSStatus status = -1;
    auto unit = HostedAudioUnit::open (*auModule, HostedAudioUnit::Route::factory, status);
    ASSERT_NE (unit, nullptr) << status;
    ASSERT_EQ (noErr, unit->configure (2, 192000.0, 256));
    ASSERT_EQ (noErr, unit->initialize());

    const std::vector<std::vector<float>> in (2, std::vector<float> (256, 0.25f));
    std::vector<float> left (256), right (256);
    struct { UInt32 count; AudioBuffer buffers[2]; } list { 2, { { 1, 1024, left.data() }, { 1, 1024, right.data() } } };
    Float64 start = 0;
    int failed = 0;
    expectRealtimeWhileAHostThreadChanges (
        [&] { failed += unit->render (in, *reinterpret_cast<AudioBufferList*> (&list), 256, start) != noErr ? 1 : 0; start += 256; },
        [&] (int i) { unit->setParameter (AudioUnitParameterID (i % 4), float (i % 7) / 6.0f); });
    EXPECT_EQ (failed, 0);
}
} // namespace kelmora::tools::test
