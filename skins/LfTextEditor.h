#pragma once

#include "skins/LookAndFeelOverlay.h"

namespace kelmora::skins
{
/** The dialog look for a read-only text field: a flat 0xFFEEEEEE background and no outline in
    any state. Used by the about dialog. */
class LfTextEditor : public LookAndFeelOverlay
{
public:
    LfTextEditor();

    void fillTextEditorBackground (juce::Graphics&, int width, int height, juce::TextEditor&) override;
    void drawTextEditorOutline (juce::Graphics&, int width, int height, juce::TextEditor&) override;
};
} // namespace kelmora::skins
