#include "skins/LfTextEditor.h"

namespace kelmora::skins
{
LfTextEditor::LfTextEditor() = default;

void LfTextEditor::fillTextEditorBackground (juce::Graphics& a0, int width, int height, juce::TextEditor& a3)
{
    LookAndFeelOverlay::fillTextEditorBackground (a0, width, height, a3);
}

void LfTextEditor::drawTextEditorOutline (juce::Graphics& a0, int width, int height, juce::TextEditor& a3)
{
    LookAndFeelOverlay::drawTextEditorOutline (a0, width, height, a3);
}

} // namespace kelmora::skins
