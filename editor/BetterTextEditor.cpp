#include "editor/BetterTextEditor.h"

namespace kelmora::editor
{
BetterTextEditor::BetterTextEditor (const juce::String& name) : juce::TextEditor (name, 0) {}
BetterTextEditor::~BetterTextEditor() = default;

void BetterTextEditor::focusGained (FocusChangeType cause) { juce::TextEditor::focusLost (cause); }
void BetterTextEditor::focusLost (FocusChangeType cause)   { juce::TextEditor::focusLost (cause); }
} // namespace kelmora::editor
