#include "editor/VirtualKeyboard.h"
#include "EditorTestSupport.h"

namespace
{
using kelmora::editor::VirtualKeyboard;

struct VirtualKeyboardTest : ::testing::Test
{
    VirtualKeyboardTest() { field.setInputRestrictions (32); }

    // What a real click does: a toggle flips and notifies, any other key notifies.
    void click (const juce::String& label)
    {
        for (auto* child : keyboard.getChildren())
            if (auto* b = dynamic_cast<juce::TextButton*> (child); b != nullptr && b->getButtonText() == label)
                return b->getClickingTogglesState() ? b->setToggleState (! b->getToggleState(), juce::sendNotificationSync)
                                                    : keyboard.buttonClicked (b);
        ADD_FAILURE() << "no key " << label;
    }

    juce::TextEditor field;
    VirtualKeyboard keyboard { field, true };
};

TEST_F (VirtualKeyboardTest, ShiftAppliesToOneLetterNeverToDigitsAndTheFieldsLimitHolds)
{
    for (auto label : { "Q", "w", "7", "SPACE", "SHIFT", "E", "SHIFT", "SHIFT", "1", "+", "(" })
        click (label);
    EXPECT_EQ (field.getText(), "Qw7 E1+(");

    field.setText (juce::String::repeatedString ("x", 31), false);
    field.setCaretPosition (31);
    for (auto label : { "SHIFT", "A", "b", "SPACE" })
        click (label);
    EXPECT_EQ (field.getText(), juce::String::repeatedString ("x", 31) + "A");
}

TEST_F (VirtualKeyboardTest, BackDeletesTheCharacterBeforeTheCaretOnly)
{
    const std::tuple<const char*, juce::Range<int>, const char*> rows[] = {
        { "abc", { 3, 3 }, "ab" }, { "abc", { 0, 0 }, "abc" }, { "", { 0, 0 }, "" },
        { "abcd", { 0, 3 }, "abd" }, // a selection ending at the caret: only "c" goes
    };
    for (const auto& [text, selection, expected] : rows)
    {
        field.setText (text, false);
        field.setHighlightedRegion (selection);
        click ("BACK");
        EXPECT_EQ (field.getText(), expected) << text;
    }
}
} // namespace
