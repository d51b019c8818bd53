#pragma once

#include <juce_core/juce_core.h>

namespace kelmora::editor
{
/** The system clipboard as the editor uses it: plain text in and out. Commands take one of
    these so that tests can stand in for the desktop; systemClipboard() is the real one.
    Message thread only. */
class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual void copyText (const juce::String& text) = 0;
    /** The text as the desktop hands it. On Linux JUCE makes it from the selection's bytes
        unchecked, so readers take it through core::OutsideText before any string work. */
    virtual juce::String getText() = 0;
};

/** JUCE's system clipboard. Lives for the whole run. */
Clipboard& systemClipboard();
} // namespace kelmora::editor
