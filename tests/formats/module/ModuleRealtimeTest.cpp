// The product module's processing call as a real-time host needs it: no heap allocation and no
// lock but the one callback lock, measured by interposing the allocator and the pthread lock
// functions for the whole process. A program of its own, left out of sanitizer builds, which
// need the allocator for themselves.
#include "core/ProductIdentity.h"
#include "support/TempHome.h"
#include "tools/auhost/AuHost.h"
#include "tools/vsthost/HostedEffect.h"

#include <gtest/gtest.h>

#include <atomic>
#include <dlfcn.h>
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

class ModuleRealtime : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        module = VstPluginModule::load (QUIETLINE_MODULE_PATH, error);
        ASSERT_NE (module, nullptr) << error;
        effect = HostedEffect::create (*module, error);
        ASSERT_NE (effect, nullptr) << error;
        effect->open();
        effect->start (192000.0, 256);
    }

    // Processes blocks with the recording on; the first blocks prime the delay line.
    void processBlocks (int count)
    {
        std::vector<float> left (256, 0.25f), right (256, -0.25f);
        float* channels[] = { left.data(), right.data() };
        for (int i = 0; i < count; ++i)
        {
            watching = true;
            effect->process (channels, channels, 256);
            watching = false;
        }
    }

    quietline::test::TempHome home;
    std::unique_ptr<VstPluginModule> module;
    std::unique_ptr<HostedEffect> effect;
};
} // namespace

TEST_F (ModuleRealtime, InterposersSeeAllocationsAndLocks)
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

// Steady processing, then processing while another thread automates every parameter and
// switches programs: the audio thread allocates nothing and takes one lock only, the same
// one every time (the callback lock, which the other thread's changes also take).
TEST_F (ModuleRealtime, ProcessingAllocatesNothingAndTakesOnlyTheCallbackLock)
{
    processBlocks (4);
    forgetEverything();
    processBlocks (200);
    EXPECT_EQ (allocations.load(), 0) << "steady";
    EXPECT_EQ (distinctLocks(), 1) << "steady";
    EXPECT_EQ (otherLockCalls.load(), 0) << "steady";
    const void* callbackLock = locksSeen[0].load();

    std::atomic<int> ready { 0 };
    std::thread host ([&] {
        ++ready;
        while (ready.load() < 2) {}
        for (int i = 0; i < 400; ++i)
        {
            effect->setParameter (i % effect->numParameters(), (float) (i % 7) / 6.0f);
            if (i % 10 == 0)
                effect->setProgram ((i / 10) % effect->numPrograms());
        }
    });
    ++ready;
    while (ready.load() < 2) {}
    processBlocks (400);
    host.join();

    EXPECT_EQ (allocations.load(), 0) << "with changes from another thread";
    EXPECT_EQ (distinctLocks(), 1) << "with changes from another thread";
    EXPECT_EQ (locksSeen[0].load(), callbackLock);
    EXPECT_EQ (otherLockCalls.load(), 0);
}

// The same for an Audio Unit render through the same module, while a host thread automates.
TEST_F (ModuleRealtime, AudioUnitRenderAllocatesNothingAndTakesOnlyTheCallbackLock)
{
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
    auto renderBlocks = [&] (int count, Float64 start) {
        for (int i = 0; i < count; ++i)
        {
            watching = true;
            const OSStatus rendered = unit->render (in, *reinterpret_cast<AudioBufferList*> (&list), 256, start + 256 * i);
            watching = false;
            ASSERT_EQ (noErr, rendered);
        }
    };
    renderBlocks (4, 0);
    forgetEverything();
    std::atomic<int> ready { 0 };
    std::thread host ([&] {
        ++ready;
        while (ready.load() < 2) {}
        for (int i = 0; i < 400; ++i)
            unit->setParameter (AudioUnitParameterID (i % 4), float (i % 7) / 6.0f);
    });
    ++ready;
    while (ready.load() < 2) {}
    renderBlocks (400, 1024);
    host.join();

    EXPECT_EQ (allocations.load(), 0);
    EXPECT_EQ (distinctLocks(), 1) << "the callback lock only";
    EXPECT_EQ (otherLockCalls.load(), 0);
}
} // namespace kelmora::tools::test
