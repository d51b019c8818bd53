#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace kelmora::formats
{
/** Mouse presses that JUCE still takes for held over the module's windows.

    JUCE forgets a held button only when its release comes through one of its windows. When the
    window under a press goes (the host closes the editor) or stops being viewable (the host
    hides it), the release goes to the host instead, and JUCE would take the next move for a
    drag and the next press for no press.

    Message thread only (the module's message-thread role). */
class HeldButtons
{
public:
    /** The sources whose press was made in the component's window and is still held. */
    static juce::Array<juce::MouseInputSource> pressedIn (const juce::Component& window);

    /** Ends those presses through the window's peer, just outside it: whatever the press went to
        hears its mouse-up, and a button held down is set back first, so no click comes of it.
        A drag that hid the pointer shows it again where it is. */
    static void release (juce::ComponentPeer& peer, const juce::Array<juce::MouseInputSource>& sources);

    /** Before the module's window events are dispatched: ends a held press of the first button
        whose release the server gave elsewhere (the window under it hidden or gone), as the
        server says after a round trip: the button up with no release of it queued, or a queued
        pointer event that happened with it up. A release still queued is left to arrive; the
        pointer stays where the server has it. */
    static void releaseLost();
};
} // namespace kelmora::formats
