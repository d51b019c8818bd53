#include "editor/VirtualKeyboard.h"
#include "EditorTestSupport.h"

namespace
{
using kelmora::editor::VirtualKeyboard;

// What a real click does: a toggle flips and notifies, any other key notifies.
void click (VirtualKeyboard& keyboard, const juce::String& label)
{
    for (auto* child : keyboard.getChildren())
        if (auto* b = dynamic_cast<juce::TextButton*> (child); b != nullptr && b->getButtonText() == label)
            return b->getClickingTogglesState() ? b->setToggleState (! b->getToggleState(), juce::sendNotificationSync)
                                                : keyboard.buttonClicked (b);
    ADD_FAILURE() << "no key " << label;
}

// Shift applies to one letter, never to digits; the field's limit of 32 holds; back deletes the
// character before the caret only, also when a selection ends there.
TEST (VirtualKeyboard, KeysTypeIntoTheFieldAtItsCaret)
{
    juce::TextEditor field;
    field.setInputRestrictions (32);
    VirtualKeyboard keyboard { field, true };
    const juce::String x31 = juce::String::repeatedString ("x", 31);
    const std::tuple<juce::String, juce::Range<int>, const char*, juce::String> rows[] = {
        { "", { 0, 0 }, "Q w 7 SPACE SHIFT E SHIFT SHIFT 1 + (", "Qw7 E1+(" },
        { x31, { 31, 31 }, "SHIFT A b SPACE", x31 + "A" },
        { "abc", { 3, 3 }, "BACK", "ab" }, { "abc", { 0, 0 }, "BACK", "abc" }, { "", { 0, 0 }, "BACK", "" },
        { "abcd", { 0, 3 }, "BACK", "abd" },
    };
    for (const auto& [text, selection, keys, expected] : rows)
    {
        field.setText (text, false);
        field.setHighlightedRegion (selection);
        for (const auto& key : juce::StringArray::fromTokens (keys, " ", ""))
            click (keyboard, key);
        EXPECT_EQ (field.getText(), expected) << keys;
    }
}
} // namespace
