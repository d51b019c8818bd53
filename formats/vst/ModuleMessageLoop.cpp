#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include "formats/vst/ModuleMessageLoop.h"

#include <cstdlib>

namespace juce
{
// JUCE's Linux event loop: dispatches one message or file-descriptor event; unless told to
// return when nothing is pending, it sleeps until there is one.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

namespace kelmora::vst
{
namespace
{
// A message only to end the loop thread's sleep, so that it sees a turn or the end.
void wakeLoopThread()
{
    juce::MessageManager::callAsync ([] {});
}
} // namespace

ModuleMessageLoop::ModuleMessageLoop()
{
    thread = std::thread ([this] { run(); });
}

ModuleMessageLoop::~ModuleMessageLoop()
{
    {
        const std::lock_guard<std::mutex> l (lock);
        quitting = true;
        if (loopHasRole)
            wakeLoopThread();
    }
    roleChanged.notify_all();
    thread.join();
    // JUCE shuts down on this thread next; its timers must find it the message thread.
    juce::MessageManager::getInstance()->setCurrentThreadAsMessageThread();
}

void ModuleMessageLoop::run()
{
    std::unique_lock<std::mutex> l (lock);

    for (;;)
    {
        roleChanged.wait (l, [this] { return turns == 0 || quitting; });
        if (quitting)
            break;

        if (! loopHasRole)
        {
            juce::MessageManager::getInstance()->setCurrentThreadAsMessageThread();
            loopHasRole = true;
            roleChanged.notify_all();
        }

        l.unlock();
        juce::dispatchNextMessageOnSystemQueue (false);
        l.lock();

        if (turns > 0)
        {
            loopHasRole = false;
            roleChanged.notify_all();
        }
    }

    loopHasRole = false;
}

bool ModuleMessageLoop::beginTurn()
{
    if (isLoopThread())
        return false;

    std::unique_lock<std::mutex> l (lock);
    const bool first = turns++ == 0;

    if (loopHasRole)
    {
        wakeLoopThread();
        roleChanged.wait (l, [this] { return ! loopHasRole; });
    }

    if (first)
        juce::MessageManager::getInstance()->setCurrentThreadAsMessageThread();

    return true;
}

void ModuleMessageLoop::endTurn()
{
    std::unique_lock<std::mutex> l (lock);

    if (--turns == 0)
    {
        roleChanged.notify_all();
        // Once the turn is over this thread must no longer pass for the message thread.
        roleChanged.wait (l, [this] { return loopHasRole || turns > 0; });
    }
}

//==============================================================================
ModuleMessageLoop::HostTurn::HostTurn() : taken (loop->beginTurn()) {}

ModuleMessageLoop::HostTurn::~HostTurn()
{
    if (taken)
        loop->endTurn();
}

void ModuleMessageLoop::HostTurn::dispatchPending()
{
    if (! taken)
        return;

    const std::lock_guard<std::mutex> serial (loop->hostDispatch);
    juce::MessageManager::getInstance()->setCurrentThreadAsMessageThread();

    while (juce::dispatchNextMessageOnSystemQueue (true))
    {
    }
}

//==============================================================================
bool ModuleMessageLoop::connectToDisplay()
{
    const char* name = std::getenv ("DISPLAY");
    if (name == nullptr || *name == '\0')
        return false;

    return juce::XWindowSystem::getInstance()->getDisplay() != nullptr;
}
} // namespace kelmora::vst
