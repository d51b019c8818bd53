#include "editor/VirtualKeyboard.h"

namespace kelmora::editor
{
namespace
{
constexpr const char* rowKeys[] = { "qwertyuiop+", "asdfghjkl-", "zxcvbnm()", "7894561230," };
constexpr int letterRows = 3;
constexpr int key = 20, pitch = 21;
}

VirtualKeyboard::VirtualKeyboard (juce::TextEditor& targetEditor, bool shiftOn) : target (targetEditor)
{
    for (int r = 0; r < 4; ++r)
        for (auto c : juce::String (rowKeys[r]))
        {
            rows[r].push_back (std::make_unique<juce::TextButton> (juce::String::charToString (c)));
            addKey (*rows[r].back());
        }

    addKey (shiftButton);
    addKey (spaceButton);
    addKey (backButton);

    // Only the keys take clicks: the room the dialogs give beyond them reaches over their buttons.
    setInterceptsMouseClicks (false, true);

    shiftButton.setClickingTogglesState (true);
    shiftButton.setToggleState (shiftOn, juce::sendNotificationSync);
}

VirtualKeyboard::~VirtualKeyboard() = default;

void VirtualKeyboard::addKey (juce::TextButton& button)
{
    button.setTooltip ({});
    button.setWantsKeyboardFocus (false);
    button.addListener (this);
    addAndMakeVisible (button);
}

bool VirtualKeyboard::isKey (const juce::Button& button) const
{
    for (auto& row : rows)
        for (auto& k : row)
            if (k->getButtonText() == button.getButtonText())
                return true;

    return false;
}

void VirtualKeyboard::buttonClicked (juce::Button* button)
{
    if (button == &spaceButton)
    {
        target.insertTextAtCaret (" ");
    }
    else if (button == &shiftButton)
    {
        const bool upper = shiftButton.getToggleState();

        for (int r = 0; r < letterRows; ++r)
            for (auto& k : rows[r])
                k->setButtonText (upper ? k->getButtonText().toUpperCase() : k->getButtonText().toLowerCase());
    }
    else if (button == &backButton)
    {
        const int caret = target.getCaretPosition();

        if (caret > 0)
        {
            target.setHighlightedRegion ({ caret - 1, caret });
            target.insertTextAtCaret ({});
        }
    }
    else if (button != nullptr && isKey (*button))
    {
        target.insertTextAtCaret (button->getButtonText());
        shiftButton.setToggleState (false, juce::sendNotificationSync);
    }

    // Only a field on screen can take the focus; the first shift state is set before it is.
    if (target.isShowing())
        target.grabKeyboardFocus();
}

void VirtualKeyboard::paint (juce::Graphics&) {}

void VirtualKeyboard::resized()
{
    const int rowLeft[] = { 0, 10, 21 };

    for (int r = 0; r < letterRows; ++r)
        for (size_t i = 0; i < rows[r].size(); ++i)
            rows[r][i]->setBounds (rowLeft[r] + pitch * (int) i, pitch * r, key, key);

    // The digits as a block right of the first row: 789 / 456 / 123, then "0" (double width)
    // and "," below them.
    const int blockLeft = pitch * (int) rows[0].size() + 9;
    auto& digits = rows[3];

    for (int k = 0; k < 9; ++k)
        digits[(size_t) k]->setBounds (blockLeft + pitch * (k % 3), pitch * (k / 3), key, key);

    digits[9]->setBounds (blockLeft, 63, 41, key);
    digits[10]->setBounds (blockLeft + 42, 63, key, key);

    shiftButton.setBounds (0, 63, 41, key);
    spaceButton.setBounds (42, 63, 146, key);
    backButton.setBounds (189, 63, 41, key);
}
} // namespace kelmora::editor
