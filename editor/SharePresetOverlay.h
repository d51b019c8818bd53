#pragma once

#include "editor/Clipboard.h"
#include "editor/Launcher.h"
#include "editor/WindowOverlay.h"

namespace kelmora::editor
{
/** Shows the state text, copies it to the clipboard or puts it into a new e-mail. Neither button
    closes the dialog. Message thread only. */
class SharePresetOverlay : public WindowOverlay
{
public:
    /** @param clipboard, launcher the desktop seams; not owned, must outlive the dialog */
    explicit SharePresetOverlay (const juce::String& title, Clipboard& clipboard = systemClipboard(),
                                 Launcher& launcher = systemLauncher());
    ~SharePresetOverlay() override;

    /** The state text to show and share. */
    void setCode (const juce::String& text);

    /** The "mailto:" link with the subject and the body framing the code. */
    juce::URL createMailUrl() const;

    void buttonClicked (juce::Button*) override;
    void paint (juce::Graphics&) override;
    void resized() override;

private:
    juce::TextButton copyButton { "Copy to Clipboard", {} };
    juce::TextButton emailButton { "Share via e-mail", {} };
    juce::TextEditor codeView;
    juce::String code;
    Clipboard& clipboard;
    Launcher& launcher;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SharePresetOverlay)
};
} // namespace kelmora::editor
