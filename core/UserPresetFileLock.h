#pragma once

#include <juce_core/juce_core.h>

namespace kelmora::core
{
/** The lock around every read-modify-write of the user-preset file, which all instances
    share: a process-wide recursive critical section, and inside it an advisory lock on the
    settings folder so that instances in other processes (hosts that run plug-ins in
    separate processes, two hosts at once) do not interleave their writes either.

    Lock order: this one first, then a PresetController's own lock; never the other way, so
    that no controller's lock is held while this one waits on another process. The editor
    may take this lock alone. SettingsFile::writeXml tidies the folder only when it gets the
    lock at once (ScopedTry). Any thread but the audio thread. */
class UserPresetFileLock
{
public:
    /** Holds the user-preset file lock for its lifetime. Nests on one thread. */
    class Scoped
    {
    public:
        Scoped();
        ~Scoped();
        Scoped (const Scoped&) = delete;
        Scoped& operator= (const Scoped&) = delete;
    };

    /** Holds the lock for its lifetime if it can be had without waiting: free in this process
        and in every other, or held by this thread already. */
    class ScopedTry
    {
    public:
        ScopedTry();
        ~ScopedTry();
        ScopedTry (const ScopedTry&) = delete;
        ScopedTry& operator= (const ScopedTry&) = delete;

        bool isLocked() const noexcept { return locked; }

    private:
        const bool locked;
    };

    /** The process-wide part of the lock. */
    static juce::CriticalSection& getProcessLock();

private:
    static void enter();
    static bool tryEnter();
    static void exit();
};
} // namespace kelmora::core
