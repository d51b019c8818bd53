#pragma once

#include "editor/BetterTextEditor.h"
#include "editor/VirtualKeyboard.h"
#include "editor/WindowOverlay.h"

namespace kelmora::core
{
class PresetController;
}

namespace kelmora::editor
{
/** Asks for the name of a new global user preset, typed on the computer keyboard or on the
    on-screen keyboard. "Create preset" is enabled only for a trimmed name that no preset has
    (in any letter case); Return accepts any non-blank name. Accepting sets presetName and sends
    commandPrefix + "add", then the close message. The dialog changes no preset itself.
    Message thread only. */
class AddUserPresetOverlay : public WindowOverlay,
                             public juce::TextEditor::Listener,
                             public juce::ChangeListener
{
public:
    /** @param controller asked whether a name exists; not owned, must outlive the dialog */
    AddUserPresetOverlay (const juce::String& title, core::PresetController& controller);
    ~AddUserPresetOverlay() override;

    void textEditorTextChanged (juce::TextEditor&) override;
    void textEditorReturnKeyPressed (juce::TextEditor&) override;
    void changeListenerCallback (juce::ChangeBroadcaster*) override;

    void buttonClicked (juce::Button*) override;
    void paint (juce::Graphics&) override;
    void resized() override;

    /** The accepted name, trimmed; read by the editor when the command arrives. */
    juce::String presetName;

protected:
    /** Accepts a non-blank trimmed name: sets presetName, sends the command, asks to close. */
    void accept();

    BetterTextEditor nameEditor { "presetNameEditor" };
    juce::TextButton acceptButton { "Create preset", {} };
    juce::TextButton cancelButton { "Cancel", {} };
    VirtualKeyboard keyboard { nameEditor, true };
    juce::String commandPrefix { "addUserPresetOverlay_" };
    core::PresetController& controller;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AddUserPresetOverlay)
};

/** The name dialog for overwriting (and renaming) the active user preset. It also accepts the
    preset's own name, exactly as it is, so the preset can keep it. It remembers the slot it was
    opened for; the editor overwrites only that slot, and only while it is still the active one.
    Message thread only. */
class OverwriteUserPresetOverlay : public AddUserPresetOverlay
{
public:
    OverwriteUserPresetOverlay (const juce::String& title, core::PresetController& controller);
    ~OverwriteUserPresetOverlay() override;

    /** The slot to overwrite and its current name, which fills the name field. */
    void setPresetToOverwrite (int slot, const juce::String& name);
    int getPresetSlot() const noexcept { return slot; }

    void textEditorTextChanged (juce::TextEditor&) override;
    void paint (juce::Graphics&) override;

private:
    int slot = -1;
    juce::String ownName;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OverwriteUserPresetOverlay)
};

/** Asks whether the active user preset is to be deleted; "Yes, Delete" sends
    "deleteUserPresetOverlay_delete". It remembers the slot it was opened for, so the editor
    deletes only that slot, and only while it is still the active one. Message thread only. */
class DeleteUserPresetOverlay : public WindowOverlay
{
public:
    explicit DeleteUserPresetOverlay (const juce::String& title);
    ~DeleteUserPresetOverlay() override;

    /** The slot to delete and the name shown in the question. */
    void setPresetToDelete (int index, const juce::String& name);
    int getPresetSlot() const noexcept { return slot; }

    void buttonClicked (juce::Button*) override;
    void paint (juce::Graphics&) override;
    void resized() override;

    juce::String presetName;

private:
    int slot = -1;
    juce::TextButton deleteButton { "Yes, Delete", {} };
    juce::TextButton cancelButton { "Cancel", {} };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DeleteUserPresetOverlay)
};

/** Tells the user that a preset could not be stored: that every user slot is taken, unless
    another text is given. Sends no command. Message thread only. */
class CannotCreatePresetOverlay : public WindowOverlay
{
public:
    explicit CannotCreatePresetOverlay (const juce::String& title, const juce::String& text = {});
    ~CannotCreatePresetOverlay() override;

    /** What the notice tells the user. */
    const juce::String& getText() const noexcept { return text; }

    void buttonClicked (juce::Button*) override;
    void paint (juce::Graphics&) override;
    void resized() override;

private:
    juce::TextButton okButton { "Ok", {} };
    juce::String text;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CannotCreatePresetOverlay)
};
} // namespace kelmora::editor
