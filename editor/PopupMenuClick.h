#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace kelmora::editor
{
/** Ctrl or the right button held: the click that opens a context menu or makes a slider snap.
    Ctrl counts on every system (JUCE's own popup-menu modifier is the right button alone off
    macOS). */
inline bool isPopupMenuClick (juce::ModifierKeys mods) noexcept
{
    return mods.testFlags (juce::ModifierKeys::ctrlModifier | juce::ModifierKeys::rightButtonModifier);
}
} // namespace kelmora::editor
