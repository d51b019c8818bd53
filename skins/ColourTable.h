#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace kelmora::skins
{
/** The colour columns of the skins. The three knob skins share one column. */
enum class SkinColours
{
    overlay,
    textEditor,
    contextMenu,
    overlayButton,
    toolbar,
    custom
};

/** Sets the skin's 97 colours of the given column, always the same ids in the same order. Called
    by each skin's constructor after its base's constructor. */
void setSkinColours (juce::LookAndFeel& skin, SkinColours column);
} // namespace kelmora::skins
