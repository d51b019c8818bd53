#include "editor/PresetComboBox.h"
#include "editor/WindowOverlay.h"
#include "EditorTestSupport.h"

namespace
{
using kelmora::editor::PresetComboBox;
using kelmora::editor::WindowOverlay;
using quietline::test::deliverPostedMessages;

struct Dialog : WindowOverlay, juce::ChangeListener, juce::ActionListener
{
    explicit Dialog (int width) : WindowOverlay ("SHARE PRESET")
    {
        dialogWidth = width;
        dialogHeight = 150;
        setBounds (0, 0, 406, 242);
        addChangeListener (this);
        addActionListener (this);
    }
    void changeListenerCallback (juce::ChangeBroadcaster*) override { ++changes; }
    void actionListenerCallback (const juce::String&) override { ++actions; }
    using WindowOverlay::closeButton;
    int changes = 0, actions = 0;
};

// 300 wide leaves 53 pixels each side; 301 leaves an odd 105, the left side rounded down.
// x = -1: the "X" button.
TEST (WindowOverlay, EdgeKeepsTheDialogOnePixelOutsideOrXClosesItWithOneChangeAndNoAction)
{
    const std::tuple<int, int, int, bool> rows[] = {
        { 300, 53, 100, false }, { 300, 52, 100, true }, { 300, 353, 100, false }, { 300, 354, 100, true },
        { 300, 200, 46, false }, { 300, 200, 45, true }, { 300, 200, 196, false }, { 300, 200, 197, true },
        { 301, 52, 100, false }, { 301, 51, 100, true }, { 301, -1, -1, true },
    };
    for (const auto& [width, x, y, closes] : rows)
    {
        Dialog dialog (width);
        dialog.resized();
        if (x < 0)
            dialog.buttonClicked (&dialog.closeButton);
        else
            dialog.mouseDown (quietline::test::mouseAt (dialog, { (float) x, (float) y }));
        deliverPostedMessages();
        EXPECT_EQ (std::pair (dialog.changes, dialog.actions), std::pair (closes ? 1 : 0, 0)) << width << " at " << x << "," << y;
    }
}

// Each of the nine parts of a synthetic frame image has its own colour; the rows and columns
// between the parts are transparent.
TEST (WindowOverlay, FrameIsDrawnInNineSlices)
{
    const auto part = [] (int v, int middle, int last) { return v < middle ? 0 : v == middle ? 1 : v >= last ? 2 : -1; };
    const auto colourOf = [] (int column, int row) { return juce::Colour::fromRGB ((juce::uint8) (40 + 100 * column), (juce::uint8) (40 + 100 * row), 200); };
    juce::Image frame (juce::Image::ARGB, 61, 93, true), target (juce::Image::ARGB, 200, 160, true);
    for (int y = 0; y < 93; ++y)
        for (int x = 0; x < 61; ++x)
            if (part (x, 29, 32) >= 0 && part (y, 46, 61) >= 0)
                frame.setPixelAt (x, y, colourOf (part (x, 29, 32), part (y, 46, 61)));
    juce::Graphics g (target);
    WindowOverlay::drawFrame (g, frame, 10, 10, 150, 120);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ (target.getPixelAt (std::array { 12, 85, 157 }[column], std::array { 12, 80, 127 }[row]), colourOf (column, row)) << column << "," << row;
    for (auto [x, y] : { std::pair (9, 70), std::pair (160, 70), std::pair (85, 9), std::pair (85, 130) })
        EXPECT_EQ (target.getPixelAt (x, y).getAlpha(), 0) << "outside the frame at " << x << "," << y;
}

TEST (PresetComboBox, ContextMenuHoldsOneOrSevenItemsWithTheirFlags)
{
    const std::tuple<bool, bool, bool, bool, const char*> rows[] = {
        { false, true, true, false, "1-" }, { true, false, false, false, "1+" },
        { false, false, false, true, "1- | 2+ 3- 4- | 5+ 6+ 7+" }, { true, true, true, true, "1+ | 2+ 3+ 4+ | 5+ 6+ 7+" },
    };
    for (const auto& [reset, overwrite, remove, userItems, expected] : rows)
    {
        PresetComboBox box;
        std::tie (box.resetEnabled, box.overwriteEnabled, box.deleteEnabled, box.userPresetItemsShown) = std::tie (reset, overwrite, remove, userItems);
        juce::StringArray items;
        const auto menu = box.createContextMenu();
        for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
            items.add (it.getItem().isSeparator ? "|" : juce::String (it.getItem().itemID) + (it.getItem().isEnabled ? "+" : "-"));
        EXPECT_EQ (items.joinIntoString (" "), expected);
    }
}
} // namespace
