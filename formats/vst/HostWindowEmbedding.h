#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace kelmora::vst
{
/** Puts the component, as a window of its own, inside the host's X11 window and shows it.
    Call on the message thread. */
void embedInHostWindow (juce::Component& component, void* parentWindow);

/** Takes the component's window out of the host's: runs deleteContents (which deletes what
    the component carries) while the window still exists, then removes it from the desktop.
    A mouse button pressed in the window and still held is released there once the contents
    have gone, so the release the window will never get reaches no component, and the next
    press in any window is a press. Call on the message thread. */
void removeFromHostWindow (juce::Component& component, const std::function<void()>& deleteContents);
} // namespace kelmora::vst
