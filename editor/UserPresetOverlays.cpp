#include "editor/UserPresetOverlays.h"

#include "core/PresetController.h"

namespace kelmora::editor
{
namespace
{
const juce::Colour black (0xFF000000);

void listenTo (juce::Button& button, juce::Button::Listener& listener, juce::Component& parent)
{
    button.setTooltip ({});
    button.addListener (&listener);
    parent.addAndMakeVisible (button);
}
}

//==============================================================================
AddUserPresetOverlay::AddUserPresetOverlay (const juce::String& titleText, core::PresetController& c)
    : WindowOverlay (titleText), controller (c)
{
    dialogWidth = 330;
    dialogHeight = 221;

    nameEditor.setInputRestrictions (32, "1234567890abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ ()-+,");
    nameEditor.setWantsKeyboardFocus (true);
    nameEditor.addListener (this);
    addAndMakeVisible (nameEditor);
    listenTo (acceptButton, *this, *this);
    listenTo (cancelButton, *this, *this);
    keyboard.addChangeListener (this);
    addAndMakeVisible (keyboard);

    textEditorTextChanged (nameEditor);
}

AddUserPresetOverlay::~AddUserPresetOverlay() = default;

void AddUserPresetOverlay::textEditorTextChanged (juce::TextEditor&)
{
    const auto name = nameEditor.getText().trim();
    acceptButton.setEnabled (name.isNotEmpty() && ! controller.presetNameExists (name, true));
}

void AddUserPresetOverlay::textEditorReturnKeyPressed (juce::TextEditor&)
{
    accept();
}

void AddUserPresetOverlay::changeListenerCallback (juce::ChangeBroadcaster*) {}

void AddUserPresetOverlay::accept()
{
    const auto name = nameEditor.getText().trim();

    if (name.isEmpty())
        return;

    presetName = name;
    sendActionMessage (commandPrefix + "add");
    sendChangeMessage();
}

void AddUserPresetOverlay::buttonClicked (juce::Button* button)
{
    WindowOverlay::buttonClicked (button);

    if (button == &acceptButton)
        accept();
    else if (button == &cancelButton)
        sendChangeMessage();
}

void AddUserPresetOverlay::paint (juce::Graphics& g)
{
    WindowOverlay::paint (g);
    drawSimpleText (g, "You are about to create a new global user preset. It will persist across plug-in instances and sessions.",
                    contentLeft, contentTop + 30, contentWidth, black);
    drawShadowedText (g, "New preset name:", contentLeft + 1, contentTop + 52, 110, 21, false,
                      juce::Justification::centredLeft, true, black, 13.0f);
}

void AddUserPresetOverlay::resized()
{
    WindowOverlay::resized();
    const int overlayRight = getX() + getWidth();
    nameEditor.setBounds (overlayRight - 181 - contentLeft, contentTop + 51, 180, 20);
    keyboard.setBounds (contentLeft, contentTop + 76, contentWidth, 100);
    acceptButton.setBounds (overlayRight - 120 - dialogLeft - margin, frameBottom - 35, 120, 26);
    cancelButton.setBounds (acceptButton.getX() - 82, frameBottom - 35, 80, 26);
}

//==============================================================================
OverwriteUserPresetOverlay::OverwriteUserPresetOverlay (const juce::String& titleText, core::PresetController& c)
    : AddUserPresetOverlay (titleText, c)
{
    commandPrefix = "overwriteUserPresetOverlay_";
    acceptButton.setButtonText ("Overwrite preset");
}

OverwriteUserPresetOverlay::~OverwriteUserPresetOverlay() = default;

void OverwriteUserPresetOverlay::setPresetToOverwrite (int slotToOverwrite, const juce::String& name)
{
    slot = slotToOverwrite;
    ownName = name;
    presetName = name;
    nameEditor.setText (name, false);
    textEditorTextChanged (nameEditor);
}

void OverwriteUserPresetOverlay::textEditorTextChanged (juce::TextEditor&)
{
    // The name the slot had when the dialog opened, exactly as written, may stay.
    const auto name = nameEditor.getText().trim();
    acceptButton.setEnabled (name.isNotEmpty() && (name == ownName || ! controller.presetNameExists (name, true)));
}

void OverwriteUserPresetOverlay::paint (juce::Graphics& g)
{
    WindowOverlay::paint (g);
    drawSimpleText (g, "You are about to overwrite the user preset. Feel free to change the preset name.",
                    contentLeft, contentTop + 30, contentWidth, black);
    drawShadowedText (g, "New preset name:", contentLeft + 1, contentTop + 52, 110, 21, false,
                      juce::Justification::centredLeft, true, black, 13.0f);
}

//==============================================================================
DeleteUserPresetOverlay::DeleteUserPresetOverlay (const juce::String& titleText) : WindowOverlay (titleText)
{
    dialogWidth = 320;
    dialogHeight = 110;
    listenTo (deleteButton, *this, *this);
    listenTo (cancelButton, *this, *this);
}

DeleteUserPresetOverlay::~DeleteUserPresetOverlay() = default;

void DeleteUserPresetOverlay::setPresetToDelete (int index, const juce::String& name)
{
    slot = index;
    presetName = name;
    repaint();
}

void DeleteUserPresetOverlay::buttonClicked (juce::Button* button)
{
    WindowOverlay::buttonClicked (button);

    if (button == &deleteButton)
    {
        sendActionMessage ("deleteUserPresetOverlay_delete");
        sendChangeMessage();
    }
    else if (button == &cancelButton)
    {
        sendChangeMessage();
    }
}

void DeleteUserPresetOverlay::paint (juce::Graphics& g)
{
    WindowOverlay::paint (g);
    drawSimpleText (g, "You are about to delete \"" + presetName + "\", are you sure?", contentLeft, contentTop + 30,
                    contentWidth, black);
}

void DeleteUserPresetOverlay::resized()
{
    WindowOverlay::resized();
    const int overlayRight = getX() + getWidth(), overlayBottom = getY() + getHeight();
    deleteButton.setBounds (overlayRight - 105 - dialogLeft - margin, overlayBottom - 23 - margin - dialogTop, 110, 26);
    cancelButton.setBounds (deleteButton.getX() - 82, deleteButton.getY(), 80, 26);
}

//==============================================================================
CannotCreatePresetOverlay::CannotCreatePresetOverlay (const juce::String& titleText, const juce::String& textToShow)
    : WindowOverlay (titleText),
      text (textToShow.isNotEmpty() ? textToShow
                                    : "All available slots are already being used. You'll have to delete at least one user preset before creating a new one.")
{
    dialogWidth = 320;
    dialogHeight = 110;
    listenTo (okButton, *this, *this);
}

CannotCreatePresetOverlay::~CannotCreatePresetOverlay() = default;

void CannotCreatePresetOverlay::buttonClicked (juce::Button* button)
{
    WindowOverlay::buttonClicked (button);

    if (button == &okButton)
        sendChangeMessage();
}

void CannotCreatePresetOverlay::paint (juce::Graphics& g)
{
    WindowOverlay::paint (g);
    drawSimpleText (g, text, contentLeft, contentTop + 30, contentWidth, black);
}

void CannotCreatePresetOverlay::resized()
{
    WindowOverlay::resized();
    const int overlayRight = getX() + getWidth(), overlayBottom = getY() + getHeight();
    okButton.setBounds (overlayRight - 80 - dialogLeft - margin, overlayBottom - 22 - margin - dialogTop, 80, 22);
}
} // namespace kelmora::editor
