#include "editor/VirtualKeyboard.h"

#include <gtest/gtest.h>

namespace
{
using kelmora::editor::VirtualKeyboard;

class VirtualKeyboardTest : public ::testing::Test
{
protected:
    VirtualKeyboardTest()
    {
        field.setInputRestrictions (32);
        keyboard.setBounds (0, 0, 302, 100);
    }

    juce::TextButton& key (const juce::String& label)
    {
        for (auto* child : keyboard.getChildren())
            if (auto* b = dynamic_cast<juce::TextButton*> (child); b != nullptr && b->getButtonText() == label)
                return *b;
        ADD_FAILURE() << "no key " << label;
        return dummy;
    }

    // What a real click does: a toggle flips and notifies, any other key just notifies.
    void click (const juce::String& label)
    {
        auto& b = key (label);
        if (b.getClickingTogglesState())
            b.setToggleState (! b.getToggleState(), juce::sendNotificationSync);
        else
            keyboard.buttonClicked (&b);
    }

    juce::TextEditor field;
    VirtualKeyboard keyboard { field, true };
    juce::TextButton dummy;
};

TEST_F (VirtualKeyboardTest, ShiftAppliesToOneLetterAndNeverToDigits)
{
    EXPECT_EQ (keyboard.getNumChildComponents(), 44);
    for (auto label : { "Q", "P", "+", "A", "(", "7", "," })
        key (label);

    click ("Q");
    click ("w");
    click ("7");
    click ("SPACE");
    click ("SHIFT");
    click ("E");
    click ("SHIFT");
    click ("SHIFT");
    click ("1");
    click ("+");
    EXPECT_EQ (field.getText(), "Qw7 E1+");
    EXPECT_EQ (key ("SHIFT").getToggleState(), false);
    key ("r"); // after the double SHIFT the letters are lower case again
}

TEST_F (VirtualKeyboardTest, BackDeletesTheCharacterBeforeTheCaretOnly)
{
    struct Row { const char* text; int caret; juce::Range<int> selection; const char* expected; };
    const Row rows[] = {
        { "abc", 3, {}, "ab" },
        { "abc", 0, {}, "abc" },
        { "", 0, {}, "" },
        { "abcd", 3, { 0, 3 }, "abd" },  // a selection ending at the caret: only "c" goes
    };

    for (const auto& row : rows)
    {
        field.setText (row.text, false);
        if (row.selection.isEmpty())
            field.setCaretPosition (row.caret);
        else
            field.setHighlightedRegion (row.selection);
        click ("BACK");
        EXPECT_EQ (field.getText(), row.expected) << row.text << " at " << row.caret;
    }
}

TEST_F (VirtualKeyboardTest, TheFieldsLengthLimitHolds)
{
    field.setText (juce::String::repeatedString ("x", 31), false);
    field.setCaretPosition (31);
    click ("Q");
    click ("a");
    click ("SPACE");
    EXPECT_EQ (field.getText(), juce::String::repeatedString ("x", 31) + "Q");
}
} // namespace
