#include "skins/ColourTable.h"

#include <juce_gui_extra/juce_gui_extra.h>

#include <array>

namespace kelmora::skins
{
namespace
{
constexpr size_t numColumns = 6;

struct ColourRow
{
    int colourId;
    std::array<juce::uint32, numColumns> argb;   // indexed by SkinColours
};

constexpr std::array<juce::uint32, numColumns> all (juce::uint32 argb)
{
    return { argb, argb, argb, argb, argb, argb };
}

// Columns: overlay, textEditor, contextMenu, overlayButton, toolbar, custom. Ids written as
// numbers belong to a module outside this build or to a class template.
const ColourRow colourRows[] = {
    { juce::TextButton::buttonColourId, { 0xFF111111, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF } },
    { juce::TextButton::buttonOnColourId, { 0xFF111111, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF } },
    { juce::TextButton::textColourOnId, { 0xFF111111, 0xFF111111, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF } },
    { juce::TextButton::textColourOffId, { 0xFF111111, 0xFF111111, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF } },
    { juce::ToggleButton::textColourId, { 0xFF000000, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF } },
    { juce::TextEditor::backgroundColourId, { 0xFFF2F2F2, 0xFFE3E3E3, 0xFFE0E0E0, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFE0E0E0 } },
    { juce::TextEditor::textColourId, { 0xFF222222, 0xFF111111, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000 } },
    { juce::TextEditor::highlightColourId, { 0x20000000, 0x20000000, 0xFFAAAAAA, 0xFF000000, 0xFF000000, 0xFFAAAAAA } },
    { juce::TextEditor::highlightedTextColourId, { 0xFF000000, 0xFF111111, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000 } },
    { juce::TextEditor::outlineColourId, all (0x00000000) },
    { juce::TextEditor::focusedOutlineColourId, { 0x00000000, 0x00000000, 0x00000000, 0xFFFFFFFF, 0xFFFFFFFF, 0x00000000 } },
    { juce::TextEditor::shadowColourId, { 0x30000000, 0x50000000, 0x38000000, 0x38000000, 0x38000000, 0x38000000 } },
    { juce::CaretComponent::caretColourId, { 0xFF000000, 0xFF111111, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000 } },
    { juce::Label::backgroundColourId, all (0x00000000) },
    { juce::Label::textColourId, { 0xFF000000, 0xFF111111, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF } },
    { juce::Label::outlineColourId, all (0x00000000) },
    { juce::ScrollBar::backgroundColourId, all (0x00000000) },
    { juce::ScrollBar::thumbColourId, { 0xAA222222, 0xAA222222, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF } },
    { juce::TreeView::linesColourId, all (0x4C000000) },
    { juce::TreeView::backgroundColourId, all (0x00000000) },
    { juce::TreeView::dragAndDropIndicatorColourId, all (0x80FF0000) },
    { juce::PopupMenu::backgroundColourId, { 0xFF383838, 0xFF383838, 0xFFFFFFFF, 0xFF383838, 0xFF323232, 0xFF151515 } },
    { juce::PopupMenu::textColourId, { 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF } },
    { juce::PopupMenu::headerTextColourId, { 0x66FFFFFF, 0x66FFFFFF, 0xFF000000, 0x66FFFFFF, 0x66FFFFFF, 0x66FFFFFF } },
    { juce::PopupMenu::highlightedTextColourId, { 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF } },
    { juce::PopupMenu::highlightedBackgroundColourId, { 0x99222222, 0x99222222, 0xFFE0E0E0, 0x99222222, 0x99222222, 0xFF323232 } },
    { juce::ComboBox::buttonColourId, all (0xFFBBBBFF) },
    { juce::ComboBox::outlineColourId, { 0x00000000, 0x00000000, 0xB2808080, 0x99808080, 0x99808080, 0xB2808080 } },
    { juce::ComboBox::textColourId, all (0xFFFFFFFF) },
    { juce::ComboBox::backgroundColourId, all (0xFF000000) },
    { juce::ComboBox::arrowColourId, all (0x99000000) },
    { juce::TextPropertyComponent::backgroundColourId, all (0xFFFFFFFF) },
    { juce::TextPropertyComponent::textColourId, all (0xFF000000) },
    { juce::TextPropertyComponent::outlineColourId, { 0x00000000, 0x00000000, 0xB2808080, 0x99808080, 0x99808080, 0xB2808080 } },
    { juce::ListBox::backgroundColourId, all (0xFFFFFFFF) },
    { juce::ListBox::outlineColourId, { 0x00000000, 0x00000000, 0xB2808080, 0x99808080, 0x99808080, 0xB2808080 } },
    { juce::ListBox::textColourId, all (0xFF000000) },
    { juce::Slider::backgroundColourId, all (0x00000000) },
    { juce::Slider::thumbColourId, { 0xFF111111, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF } },
    { juce::Slider::trackColourId, all (0x7FFFFFFF) },
    { juce::Slider::rotarySliderFillColourId, all (0x7F0000FF) },
    { juce::Slider::rotarySliderOutlineColourId, all (0x66000000) },
    { juce::Slider::textBoxTextColourId, all (0xFF000000) },
    { juce::Slider::textBoxBackgroundColourId, all (0xFFFFFFFF) },
    { juce::Slider::textBoxHighlightColourId, { 0x20000000, 0x20000000, 0xFFAAAAAA, 0xFF000000, 0xFF000000, 0xFFAAAAAA } },
    { juce::Slider::textBoxOutlineColourId, { 0x00000000, 0x00000000, 0xB2808080, 0x99808080, 0x99808080, 0xB2808080 } },
    { juce::ResizableWindow::backgroundColourId, all (0xFF777777) },
    { juce::AlertWindow::backgroundColourId, all (0xFFEDEDED) },
    { juce::AlertWindow::textColourId, all (0xFF000000) },
    { juce::AlertWindow::outlineColourId, all (0xFF666666) },
    { juce::ProgressBar::backgroundColourId, all (0xFFEEEEEE) },
    { juce::ProgressBar::foregroundColourId, all (0xFFAAAAEE) },
    { juce::TooltipWindow::backgroundColourId, all (0xFFFFFFFF) },
    { juce::TooltipWindow::textColourId, all (0xFF000000) },
    { juce::TooltipWindow::outlineColourId, all (0x4C000000) },
    { juce::TabbedComponent::backgroundColourId, all (0x00000000) },
    { juce::TabbedComponent::outlineColourId, all (0xFF777777) },
    { juce::TabbedButtonBar::tabOutlineColourId, all (0x80000000) },
    { juce::TabbedButtonBar::frontOutlineColourId, all (0x90000000) },
    { juce::Toolbar::backgroundColourId, all (0xFFF6F8F9) },
    { juce::Toolbar::separatorColourId, { 0x4C000000, 0x4C000000, 0x4C000000, 0x4C000000, 0x20000000, 0x4C000000 } },
    { juce::Toolbar::buttonMouseOverBackgroundColourId, all (0x4C0000FF) },
    { juce::Toolbar::buttonMouseDownBackgroundColourId, all (0x800000FF) },
    { juce::Toolbar::labelTextColourId, all (0xFF000000) },
    { juce::Toolbar::editingModeOutlineColourId, all (0xFFFF0000) },
    { juce::DrawableButton::textColourId, all (0xFF000000) },
    { juce::DrawableButton::textColourOnId, all (0xFF000000) },
    { juce::DrawableButton::backgroundColourId, all (0x00000000) },
    { juce::DrawableButton::backgroundOnColourId, all (0xAABBBBFF) },
    { juce::HyperlinkButton::textColourId, all (0xCC1111EE) },
    { juce::GroupComponent::outlineColourId, all (0x66000000) },
    { juce::GroupComponent::textColourId, all (0xFF000000) },
    { juce::BubbleComponent::backgroundColourId, all (0xEEEEEEBB) },
    { juce::BubbleComponent::outlineColourId, all (0x77000000) },
    { juce::DirectoryContentsDisplayComponent::highlightColourId, { 0x20000000, 0x20000000, 0xFFAAAAAA, 0xFF000000, 0xFF000000, 0xFFAAAAAA } },
    { juce::DirectoryContentsDisplayComponent::textColourId, all (0xFF000000) },
    { 0x1000440 /* LassoComponent::lassoFillColourId */, all (0x66DDDDDD) },
    { 0x1000441 /* LassoComponent::lassoOutlineColourId */, all (0x99111111) },
    { 0x1005000 /* MidiKeyboardComponent::whiteNoteColourId */, all (0xFFFFFFFF) },
    { 0x1005001 /* MidiKeyboardComponent::blackNoteColourId */, all (0xFF000000) },
    { 0x1005002 /* MidiKeyboardComponent::keySeparatorLineColourId */, all (0x66000000) },
    { 0x1005003 /* MidiKeyboardComponent::mouseOverKeyOverlayColourId */, all (0x80FFFF00) },
    { 0x1005004 /* MidiKeyboardComponent::keyDownOverlayColourId */, all (0xFFB6B600) },
    { 0x1005005 /* MidiKeyboardComponent::textLabelColourId */, all (0xFF000000) },
    { 0x1005006 /* MidiKeyboardComponent::upDownButtonBackgroundColourId */, all (0xFFD3D3D3) },
    { 0x1005007 /* MidiKeyboardComponent::upDownButtonArrowColourId */, all (0xFF000000) },
    { juce::CodeEditorComponent::backgroundColourId, all (0xFFFFFFFF) },
    { juce::CodeEditorComponent::highlightColourId, { 0x20000000, 0x20000000, 0xFFAAAAAA, 0xFF000000, 0xFF000000, 0xFFAAAAAA } },
    { juce::CodeEditorComponent::defaultTextColourId, all (0xFF000000) },
    { juce::CodeEditorComponent::lineNumberBackgroundId, all (0x44999999) },
    { juce::CodeEditorComponent::lineNumberTextId, all (0x44000000) },
    { juce::ColourSelector::backgroundColourId, all (0xFFE5E5E5) },
    { juce::ColourSelector::labelTextColourId, all (0xFFFFFFFF) },
    { juce::KeyMappingEditorComponent::backgroundColourId, all (0x00000000) },
    { juce::KeyMappingEditorComponent::textColourId, all (0xFF000000) },
    { juce::FileSearchPathListComponent::backgroundColourId, all (0xFFFFFFFF) },
    { juce::FileChooserDialogBox::titleTextColourId, all (0xFF000000) },
};

static_assert (std::size (colourRows) == 97);
} // namespace

void setSkinColours (juce::LookAndFeel& skin, SkinColours column)
{
    const auto index = static_cast<size_t> (column);

    for (const auto& row : colourRows)
        skin.setColour (row.colourId, juce::Colour (row.argb[index]));
}
} // namespace kelmora::skins
