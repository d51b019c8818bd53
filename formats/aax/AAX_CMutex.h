#pragma once

#include <atomic>
#include <pthread.h>

namespace kelmora::aax {

/** A mutex that the thread holding it may enter again without blocking.

    Lock() answers false to the owning thread (nothing is locked a second time), so an operation
    that calls back into its own object runs on under the outer lock and must only Unlock() when
    its own Lock() returned true. When the platform mutex cannot be created, Lock() always
    answers false and the object does no locking at all. Any thread may call every operation. */
class AAX_CMutex
{
public:
    AAX_CMutex();
    ~AAX_CMutex();

    AAX_CMutex (const AAX_CMutex&) = delete;
    AAX_CMutex& operator= (const AAX_CMutex&) = delete;

    /** Waits for the mutex and returns true; returns false at once when the calling thread
        already holds it, or when the mutex could not be created. */
    bool Lock();

    /** Releases the mutex; does nothing unless the calling thread holds it. */
    void Unlock();

private:
    struct Record
    {
        // Written only by the thread holding the platform mutex, read by any thread before it
        // tries to lock: a thread can find its own id here only while it holds the mutex.
        std::atomic<pthread_t> owner { pthread_t() };
        pthread_mutex_t mutex;
    };

    Record* record = nullptr;
};

} // namespace kelmora::aax
