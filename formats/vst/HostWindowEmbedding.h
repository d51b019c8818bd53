#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace kelmora::vst
{
/** Puts the component, as a window of its own, inside the host's X11 window and shows it.
    Call on the message thread. */
void embedInHostWindow (juce::Component& component, void* parentWindow);
} // namespace kelmora::vst
