#include "skins/LfTextEditor.h"

#include "skins/ColourTable.h"

namespace kelmora::skins
{
LfTextEditor::LfTextEditor()
{
    setSkinColours (*this, SkinColours::textEditor);
}

void LfTextEditor::fillTextEditorBackground (juce::Graphics& g, int width, int height, juce::TextEditor&)
{
    g.setColour (juce::Colour (0xFFEEEEEE));
    g.fillRect (0, 0, width, height);
}

void LfTextEditor::drawTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor&)
{
    g.setColour (juce::Colour (0x00000000));
    g.drawRect (0, 0, width, height);
}
} // namespace kelmora::skins
