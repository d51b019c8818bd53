#pragma once

#include "formats/vst/PluginMessageThread.h"

namespace kelmora::vst
{
/** Hands the message-thread role to the host's UI thread for as long as any instance exists
    (hold it through juce::SharedResourcePointer): the module's own message thread stops, the
    creating thread becomes the message thread, and the host's idle calls dispatch pending
    messages through processPendingEvents(). When the last holder goes, the module's thread
    takes over again. Used around instance creation and for the life of an open editor. */
class HostDrivenEventLoop
{
public:
    HostDrivenEventLoop();
    ~HostDrivenEventLoop();

    /** Dispatches everything pending; call from the host's UI thread (editor idle). */
    void processPendingEvents();

private:
    juce::SharedResourcePointer<PluginMessageThread> messageThread;

    JUCE_DECLARE_NON_COPYABLE (HostDrivenEventLoop)
};
} // namespace kelmora::vst
