#pragma once

#include <juce_events/juce_events.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace kelmora::vst
{
/** JUCE's runtime and message loop for the plug-in module on Linux, where no host runs a JUCE
    event loop for us. One is shared by every instance of the module (hold it through
    juce::SharedResourcePointer); JUCE is initialised while it exists.

    The loop's own thread is JUCE's message thread and dispatches timers and async updates,
    sleeping while nothing is pending, except while a host thread holds a HostTurn: then the
    loop thread stands aside and the host's thread is the message thread, dispatching what is
    pending when the host calls in (editor idle, timer wake-up). Instances are created and
    editors live inside turns, as hosts and JUCE's components expect.

    Nothing here connects to a display: only an editor does, through connectToDisplay(), so a
    host that only processes audio never depends on an X server. */
class ModuleMessageLoop
{
public:
    ModuleMessageLoop();
    ~ModuleMessageLoop();

    /** While it lives, the loop thread stands aside and the host's thread that made it is the
        message thread (of turns on several threads at once, the first, until another one
        dispatches). A turn taken inside a message the loop thread dispatches changes nothing:
        that thread has the role already. */
    class HostTurn
    {
    public:
        HostTurn();
        ~HostTurn();

        /** Dispatches everything pending on this turn's thread, which takes the role. */
        void dispatchPending();

    private:
        juce::SharedResourcePointer<ModuleMessageLoop> loop;
        bool taken;

        JUCE_DECLARE_NON_COPYABLE (HostTurn)
    };

    /** Opens JUCE's display connection for an editor, or finds it open. False, without any
        attempt, when DISPLAY names no display (Xlib would then try ":0", whoever's that is),
        and false when the server cannot be reached. Call inside a turn. */
    static bool connectToDisplay();

private:
    bool isLoopThread() const noexcept { return std::this_thread::get_id() == thread.get_id(); }
    bool beginTurn();
    void endTurn();
    void run();

    // First: JUCE stays initialised until the thread below has finished.
    juce::ScopedJuceInitialiser_GUI runtime;

    std::mutex lock;
    std::condition_variable roleChanged;
    int turns = 0;
    bool loopHasRole = false;
    bool quitting = false;
    std::mutex hostDispatch;   // one host thread dispatches at a time
    std::thread thread;

    JUCE_DECLARE_NON_COPYABLE (ModuleMessageLoop)
};
} // namespace kelmora::vst
