#pragma once

#include <juce_events/juce_events.h>

namespace kelmora::vst
{
/** The module's own JUCE message thread on Linux. A Linux host runs no JUCE event loop for us,
    so while no editor is open this thread is the message thread: it dispatches timers, async
    updates and X events. One instance is shared by every plug-in instance of the module (hold
    it through juce::SharedResourcePointer); it stops when the last holder goes.

    While an editor is open the host's UI thread takes the role over (HostDrivenEventLoop). */
class PluginMessageThread : public juce::Thread
{
public:
    PluginMessageThread();
    ~PluginMessageThread() override;

    /** Starts the thread and waits until it has become the message thread. */
    void start();
    /** Stops the thread and waits for it; the caller then decides who dispatches messages. */
    void stop();

    void run() override;

private:
    juce::WaitableEvent initialised;

    JUCE_DECLARE_NON_COPYABLE (PluginMessageThread)
};
} // namespace kelmora::vst
