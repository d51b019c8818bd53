#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include "formats/vst/PluginMessageThread.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace juce
{
// JUCE's Linux event loop step; returns false when nothing was pending.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

namespace kelmora::vst
{
PluginMessageThread::PluginMessageThread() : juce::Thread ("Quietline message thread")
{
    start();
}

PluginMessageThread::~PluginMessageThread()
{
    juce::MessageManager::getInstance()->stopDispatchLoop();
    stop();
}

void PluginMessageThread::start()
{
    initialised.reset();
    startThread (juce::Thread::Priority::high);
    initialised.wait (10000);
}

void PluginMessageThread::stop()
{
    signalThreadShouldExit();
    stopThread (-1);
}

void PluginMessageThread::run()
{
    juce::MessageManager::getInstance()->setCurrentThreadAsMessageThread();
    // The X connection belongs to the message thread: open it here (nothing happens without a display).
    juce::XWindowSystem::getInstance();
    initialised.signal();

    while (! threadShouldExit())
        if (! juce::dispatchNextMessageOnSystemQueue (true))
            juce::Thread::sleep (1);
}
} // namespace kelmora::vst
