#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace kelmora::editor
{
/** A text editor whose focus-gained handling is that of focus-lost: it neither selects its text
    nor moves its caret when it gains the focus, so a name filled in by a dialog is not replaced
    by the first key typed. Used for the user-preset name fields. Message thread only. */
class BetterTextEditor : public juce::TextEditor
{
public:
    explicit BetterTextEditor (const juce::String& name = {});
    ~BetterTextEditor() override;

    void focusGained (FocusChangeType) override;
    void focusLost (FocusChangeType) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BetterTextEditor)
};
} // namespace kelmora::editor
