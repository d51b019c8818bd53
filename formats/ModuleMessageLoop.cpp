#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include "formats/ModuleMessageLoop.h"

#include "formats/HeldButtons.h"

#include <juce_events/native/juce_linux_EventLoopInternal.h>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace juce
{
// JUCE's Linux event loop: dispatches one message or file-descriptor event; unless told to
// return when nothing is pending, it sleeps until there is one.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

namespace kelmora::formats
{
namespace
{
// How deep this thread is in the role: asked on every change the processor reports, so no lock.
thread_local int roleDepthHere = 0;

std::mutex sharedLock;
int sharedCount = 0;
ModuleMessageLoop* sharedLoop = nullptr;
} // namespace

ModuleMessageLoop::Shared::Shared()
{
    const std::lock_guard<std::mutex> l (sharedLock);
    if (sharedCount++ == 0)
        sharedLoop = new ModuleMessageLoop();
    loop = sharedLoop;
}

ModuleMessageLoop::Shared::~Shared()
{
    const std::lock_guard<std::mutex> l (sharedLock);
    if (--sharedCount == 0)
        delete std::exchange (sharedLoop, nullptr);
}

//==============================================================================
ModuleMessageLoop::ModuleMessageLoop()
{
    std::unique_lock<std::mutex> l (lock);
    // Before any display: what is registered now is JUCE's message queue alone. The loop thread
    // dispatches only that; window events are the host's idle calls' to dispatch.
    queueFds = juce::LinuxEventLoopInternal::getRegisteredFds();
    wakeFd = ::eventfd (0, EFD_NONBLOCK | EFD_CLOEXEC);
    thread = std::thread ([this] { run(); });
    // JUCE made the creating thread its message thread; the loop thread takes that over before
    // the creating call returns.
    changed.wait (l, [this] { return loopThreadId != std::thread::id() && juceThread == loopThreadId; });
}

ModuleMessageLoop::~ModuleMessageLoop()
{
    {
        const std::lock_guard<std::mutex> l (lock);
        quitting = true;
    }
    wakeLoopThread();
    thread.join();
    ::close (wakeFd);
    // JUCE shuts down on this thread next; its timers must find it the message thread.
    juce::MessageManager::getInstance()->setCurrentThreadAsMessageThread();
}

void ModuleMessageLoop::wakeLoopThread()
{
    const uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write (wakeFd, &one, sizeof (one));
}

void ModuleMessageLoop::run()
{
    {
        const std::lock_guard<std::mutex> l (lock);
        loopThreadId = std::this_thread::get_id();
    }

    std::vector<pollfd> fds { { wakeFd, POLLIN, 0 } };
    for (const int fd : queueFds)
        fds.push_back ({ fd, POLLIN, 0 });

    // JUCE's id first, without dispatching: the creating thread waits for it.
    acquire (Role::Mode::wait);
    release();

    for (;;)
    {
        while (::poll (fds.data(), (nfds_t) fds.size(), -1) < 0 && errno == EINTR)
        {
        }

        uint64_t count;
        [[maybe_unused]] const auto drained = ::read (wakeFd, &count, sizeof (count));

        {
            const std::lock_guard<std::mutex> l (lock);
            if (quitting)
                break;
        }

        // Every wake-up takes the role, which also takes JUCE's id back from a host call that
        // has just ended.
        acquire (Role::Mode::wait);
        {
            const std::lock_guard<std::mutex> l (lock);
            dispatching = true;
        }
        for (const int fd : queueFds)
            juce::LinuxEventLoopInternal::invokeEventLoopCallbackForFd (fd);
        {
            const std::lock_guard<std::mutex> l (lock);
            dispatching = false;
        }
        release();
    }
}

//==============================================================================
bool ModuleMessageLoop::acquire (Role::Mode mode)
{
    const auto me = std::this_thread::get_id();
    std::unique_lock<std::mutex> l (lock);

    if (depth > 0 && owner == me)
    {
        // An idle call never dispatches inside a dispatch.
        if (mode == Role::Mode::idle && dispatching)
            return false;

        ++depth;
        ++roleDepthHere;
        return true;
    }

    if (mode == Role::Mode::idle)
    {
        // The loop thread's dispatch waits on nothing: an idle call outwaits it, so that what the
        // loop read is dispatched now. A host thread's work is left to finish on its own.
        changed.wait (l, [this] { return depth == 0 || owner != loopThreadId; });
        if (depth > 0)
            return false;
    }
    else
    {
        changed.wait (l, [this] { return depth == 0; });
    }

    owner = me;
    depth = 1;
    roleDepthHere = 1;
    becomeJuceMessageThread();
    return true;
}

void ModuleMessageLoop::release()
{
    const auto me = std::this_thread::get_id();
    std::unique_lock<std::mutex> l (lock);
    --roleDepthHere;

    if (--depth > 0)
        return;

    owner = {};
    changed.notify_all();

    if (isLoopThread() || juceThread != me)
        return;

    // The host's thread must not pass for the message thread once its call is over: the loop
    // thread takes the id back, unless another holder has taken it first.
    wakeLoopThread();
    changed.wait (l, [this, me] { return juceThread != me; });
}

bool ModuleMessageLoop::isHeldByThisThread() noexcept
{
    return roleDepthHere > 0;
}

void ModuleMessageLoop::becomeJuceMessageThread()
{
    const auto me = std::this_thread::get_id();
    if (juceThread == me)
        return;

    juce::MessageManager::getInstance()->setCurrentThreadAsMessageThread();
    juceThread = me;
    changed.notify_all();
}

//==============================================================================
ModuleMessageLoop::Role::Role (Mode mode) : held (loop->acquire (mode)) {}

ModuleMessageLoop::Role::~Role()
{
    if (held)
        loop->release();
}

void ModuleMessageLoop::Role::dispatchPending()
{
    if (! held)
        return;

    {
        const std::lock_guard<std::mutex> l (loop->lock);
        if (loop->dispatching)
            return;
        loop->dispatching = true;
    }

    // Window events first and last: whatever JUCE's messages do in between may read more.
    dispatchWindowEvents();
    while (juce::dispatchNextMessageOnSystemQueue (true))
    {
    }
    dispatchWindowEvents();

    const std::lock_guard<std::mutex> l (loop->lock);
    loop->dispatching = false;
}

void ModuleMessageLoop::dispatchWindowEvents()
{
    // Any Xlib call that waits for a reply (JUCE's pointer query on the loop thread, a paint
    // waiting for its completion) moves the events that came with it into Xlib's queue. The
    // socket then stays quiet, so polling it would leave them there: the display's handler
    // takes everything queued or readable, whoever read it.
    auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating();
    auto* display = windowSystem != nullptr ? windowSystem->getDisplay() : nullptr;
    if (display == nullptr)
        return;

    // A press whose release went to the host (its window hidden or gone) ends before anything
    // else arrives: the next move is no drag and the next press a press.
    HeldButtons::releaseLost();
    juce::LinuxEventLoopInternal::invokeEventLoopCallbackForFd (juce::X11Symbols::getInstance()->xConnectionNumber (display));
}

//==============================================================================
bool ModuleMessageLoop::connectToDisplay()
{
    const char* name = std::getenv ("DISPLAY");
    if (name == nullptr || *name == '\0')
        return false;

    if (juce::XWindowSystem::getInstance()->getDisplay() != nullptr)
        return true;

    // JUCE would keep the failed connection for good; dropping it lets a later request try again.
    juce::XWindowSystem::deleteInstance();
    return false;
}
} // namespace kelmora::formats
