#pragma once

#include <juce_events/juce_events.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace kelmora::formats
{
/** JUCE's runtime and message loop for the plug-in module on Linux, where no host runs a JUCE
    event loop for us. One is shared by every instance of every format (hold it through a
    ModuleMessageLoop::Shared); JUCE is initialised while it exists.

    Who is JUCE's message thread, and when:
    - Being JUCE's message thread is a role, taken like a recursive lock (Role). Only its holder
      touches components, timers, async updates or the X connection, so that work runs on one
      thread at a time.
    - The loop thread takes the role only to dispatch JUCE's queued messages (timers, repaints,
      async updates), and keeps JUCE's message-thread id while it sleeps without the role.
    - A host call that works on an editor takes the role for the length of the call. Before it
      returns, JUCE's id goes back to the loop thread (or to whoever holds the role next): a
      host thread never passes for the message thread once its call is over.
    - An idle call never waits for a host thread. It outwaits the loop thread's dispatch (which
      waits on nothing), then dispatches window events and pending messages; when a host
      thread holds the role it does nothing.

    Who reads the display, and who dispatches what it read:
    - Whoever holds the role may read the X connection: the loop thread's timers (JUCE's pointer
      query, paints waiting for their completion) and the idle calls. A read moves every event
      that came with it into Xlib's queue, where no poll of the socket sees it.
    - Each idle call of any open editor therefore hands JUCE's display handler everything queued
      or readable, for every editor of the module: no event waits longer than the next idle
      call, and an editor draws and repaints without pointer motion.

    Why no host callback can wait on the module:
    - Editor work runs with the role held, so it never calls the host. What it changes for the
      host (gestures, automation, display, latency, size) is queued in order for its own
      instance (HostCallQueue) and said by a host call on that instance once the role is
      released and no lock of ours is held. A host may therefore take its own locks, call any
      instance on any thread, or close any instance or editor from inside a callback.
    - The role is held only by work in progress, never while waiting for a host thread to call
      in, and never across a sleep. Creating an instance, and closing one that has no editor, do
      not take it. The loop thread takes JUCE's id back by itself, so handing it back needs no
      host thread. Only window events wait for the host's idle calls.

    Nothing here connects to a display: only an editor does, through connectToDisplay(), so a
    host that only processes audio never depends on an X server. */
class ModuleMessageLoop
{
public:
    /** A reference to the module's one loop: the first one made starts JUCE and the loop, the
        last one gone stops them, one after the other under a mutex. (JUCE's SharedResourcePointer
        spins on a lock that a thread sanitizer cannot see, for as long as JUCE takes to start.) */
    class Shared
    {
    public:
        Shared();
        ~Shared();

        ModuleMessageLoop& operator*() const noexcept  { return *loop; }
        ModuleMessageLoop* operator->() const noexcept { return loop; }

    private:
        ModuleMessageLoop* loop;

        JUCE_DECLARE_NON_COPYABLE (Shared)
    };

    /** The message-thread role for the length of a scope; nests on one thread. It keeps the
        loop alive until it is given back, whatever its caller does meanwhile. */
    class Role
    {
    public:
        /** wait: blocks while another thread does message-thread work. idle: never waits for a
            host thread; waits only while the module's loop thread dispatches, and holds nothing
            when a host thread has the role or this one is inside a dispatch. */
        enum class Mode { wait, idle };

        explicit Role (Mode mode = Mode::wait);
        ~Role();

        bool isHeld() const noexcept { return held; }

        /** Dispatches every pending window event and message on this thread (the host's idle
            call); nothing when the role is not held. */
        void dispatchPending();

    private:
        Shared loop;
        const bool held;

        JUCE_DECLARE_NON_COPYABLE (Role)
    };

    /** True on the thread that holds the role now (inside an editor call or a dispatch). */
    static bool isHeldByThisThread() noexcept;

    /** Opens JUCE's display connection for an editor, or finds it open. False, without any
        attempt, when DISPLAY names no display (Xlib would then try ":0", whoever's that is).
        False when the server cannot be reached; the failed attempt is dropped, so a later
        call tries again. Call with the role held. */
    static bool connectToDisplay();

private:
    ModuleMessageLoop();
    ~ModuleMessageLoop();

    bool isLoopThread() const noexcept { return std::this_thread::get_id() == loopThreadId; }
    bool acquire (Role::Mode mode);
    void release();
    void becomeJuceMessageThread();
    void run();
    void wakeLoopThread();
    static void dispatchWindowEvents();

    // First: JUCE stays initialised until the thread below has finished.
    juce::ScopedJuceInitialiser_GUI runtime;

    std::mutex lock;
    std::condition_variable changed;
    std::thread::id owner;           // the role's holder
    int depth = 0;
    bool dispatching = false;        // the holder is inside a dispatch
    std::thread::id juceThread;      // who JUCE takes for its message thread
    bool quitting = false;

    int wakeFd = -1;                 // an eventfd that ends the loop thread's sleep
    std::vector<int> queueFds;       // JUCE's message queue, as registered before any display
    std::thread::id loopThreadId;
    std::thread thread;

    JUCE_DECLARE_NON_COPYABLE (ModuleMessageLoop)
};
} // namespace kelmora::formats
