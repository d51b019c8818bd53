#include "editor/Clipboard.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace kelmora::editor
{
namespace
{
struct SystemClipboard final : Clipboard
{
    void copyText (const juce::String& text) override { juce::SystemClipboard::copyTextToClipboard (text); }
    juce::String getText() override { return juce::SystemClipboard::getTextFromClipboard(); }
};
}

Clipboard& systemClipboard()
{
    static SystemClipboard clipboard;
    return clipboard;
}
} // namespace kelmora::editor
