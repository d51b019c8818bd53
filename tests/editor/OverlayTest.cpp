#include "editor/PresetComboBox.h"
#include "editor/WindowOverlay.h"
#include "MessageQueue.h"
#include "MouseEvents.h"

#include "resources/BinaryData.h"

#include <gtest/gtest.h>

namespace
{
using kelmora::editor::PresetComboBox;
using kelmora::editor::WindowOverlay;
using quietline::test::deliverPostedMessages;
using quietline::test::mouseAt;

struct Dialog : WindowOverlay
{
    Dialog (int width, int height) : WindowOverlay ("SHARE PRESET")
    {
        dialogWidth = width;
        dialogHeight = height;
        setBounds (0, 0, 406, 242);
    }

    using WindowOverlay::closeButton;
    using WindowOverlay::contentLeft;
    using WindowOverlay::dialogTop;
};

struct Messages : juce::ChangeListener, juce::ActionListener
{
    explicit Messages (WindowOverlay& o) : overlay (o)
    {
        overlay.addChangeListener (this);
        overlay.addActionListener (this);
    }
    ~Messages() override
    {
        overlay.removeChangeListener (this);
        overlay.removeActionListener (this);
    }
    void changeListenerCallback (juce::ChangeBroadcaster*) override { ++changes; }
    void actionListenerCallback (const juce::String&) override { ++actions; }

    WindowOverlay& overlay;
    int changes = 0, actions = 0;
};

TEST (WindowOverlay, PressesOnTheEdgeKeepTheDialogAndOnePixelOutsideCloseIt)
{
    // 300 wide leaves 53 pixels each side; 301 leaves an odd 105, rounded down to 52 on the left.
    struct Row { int width; int x, y; bool closes; };
    const Row rows[] = {
        { 300, 53, 100, false }, { 300, 52, 100, true }, { 300, 353, 100, false }, { 300, 354, 100, true },
        { 300, 200, 46, false }, { 300, 200, 45, true }, { 300, 200, 196, false }, { 300, 200, 197, true },
        { 301, 52, 100, false }, { 301, 51, 100, true },
    };

    for (const auto& row : rows)
    {
        Dialog dialog (row.width, 150);
        dialog.resized();
        Messages messages (dialog);
        dialog.mouseDown (mouseAt (dialog, { (float) row.x, (float) row.y }));
        deliverPostedMessages();
        EXPECT_EQ (messages.changes, row.closes ? 1 : 0) << row.width << " at " << row.x << "," << row.y;
        EXPECT_EQ (messages.actions, 0);
    }
}

TEST (WindowOverlay, CloseButtonSendsOneChangeMessageAndNoAction)
{
    Dialog dialog (301, 150);
    dialog.resized();
    EXPECT_EQ (dialog.closeButton.getBounds(), juce::Rectangle<int> (325, 55, 24, 18));
    EXPECT_EQ (dialog.closeButton.getButtonText(), "X");

    Messages messages (dialog);
    dialog.buttonClicked (&dialog.closeButton);
    deliverPostedMessages();
    EXPECT_EQ (messages.changes, 1);
    EXPECT_EQ (messages.actions, 0);
}

// Each of the nine parts of a synthetic frame image has its own colour; the unused rows and
// columns between the parts are magenta and must never show.
TEST (WindowOverlay, FrameIsDrawnInNineSlices)
{
    auto classOf = [] (int v, int first, int middle, int last) { return v < first ? 0 : v == middle ? 1 : v >= last ? 2 : -1; };
    auto colourOf = [] (int column, int row) { return juce::Colour::fromRGB ((juce::uint8) (40 + 100 * column), (juce::uint8) (40 + 100 * row), 200); };

    juce::Image frame (juce::Image::ARGB, 61, 93, true);
    for (int y = 0; y < 93; ++y)
        for (int x = 0; x < 61; ++x)
        {
            const int column = classOf (x, 29, 29, 32), row = classOf (y, 46, 46, 61);
            frame.setPixelAt (x, y, column < 0 || row < 0 ? juce::Colours::magenta : colourOf (column, row));
        }

    juce::Image target (juce::Image::ARGB, 200, 160, true);
    {
        juce::Graphics g (target);
        WindowOverlay::drawFrame (g, frame, 10, 10, 150, 120);
    }

    const int xs[] = { 12, 85, 157 }, ys[] = { 12, 80, 127 };
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ (target.getPixelAt (xs[column], ys[row]), colourOf (column, row)) << column << "," << row;

    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 200; ++x)
        {
            const auto p = target.getPixelAt (x, y);
            ASSERT_FALSE (p.getRed() > 200 && p.getBlue() > 200 && p.getGreen() < 60) << "magenta at " << x << "," << y;
            if (! juce::Rectangle<int> (10, 10, 150, 120).contains (x, y))
            {
                ASSERT_EQ (p.getAlpha(), 0) << "outside at " << x << "," << y;
            }
        }
}

TEST (WindowOverlay, WindowIsOpaqueOverTheDimmingAndALongTitleStopsBeforeTheCloseButton)
{
    Dialog dialog (300, 150);
    dialog.resized();

    auto render = [&] (const juce::String& title)
    {
        juce::Image image (juce::Image::ARGB, 406, 242, true);
        juce::Graphics g (image);
        g.fillAll (juce::Colours::black);
        dialog.paintWindow (g, title);
        return image;
    };

    const auto empty = render ({});
    const auto frame = juce::ImageCache::getFromMemory (kelmora::resources::window_frame_png, kelmora::resources::window_frame_pngSize);
    EXPECT_EQ (empty.getPixelAt (200, 120), frame.getPixelAt (29, 46).withAlpha (1.0f));
    EXPECT_EQ (empty.getPixelAt (0, 0), juce::Colours::black.overlaidWith (juce::Colour (0x99111111)));

    const auto titled = render (juce::String::repeatedString ("WIDE TITLE ", 10));
    int ink = 0;
    for (int y = dialog.dialogTop + 7; y < dialog.dialogTop + 30; ++y)
        for (int x = 0; x < 406; ++x)
            if (titled.getPixelAt (x, y) != empty.getPixelAt (x, y))
            {
                ++ink;
                ASSERT_LT (x, dialog.contentLeft + 300 - 28 - 14 - 24) << "title ink under the close button at " << x;
            }
    EXPECT_GT (ink, 0);
}

TEST (PresetComboBox, ContextMenuHoldsOneOrSevenItemsWithTheirFlags)
{
    struct Row { bool reset, overwrite, remove, userItems; const char* expected; };
    const Row rows[] = {
        { false, true, true, false, "1-" },
        { true, false, false, false, "1+" },
        { false, false, false, true, "1- | 2+ 3- 4- | 5+ 6+ 7+" },
        { true, true, true, true, "1+ | 2+ 3+ 4+ | 5+ 6+ 7+" },
    };

    for (const auto& row : rows)
    {
        PresetComboBox box;
        box.resetEnabled = row.reset;
        box.overwriteEnabled = row.overwrite;
        box.deleteEnabled = row.remove;
        box.userPresetItemsShown = row.userItems;
        const auto menu = box.createContextMenu();

        juce::StringArray items;
        for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
        {
            const auto& item = it.getItem();
            items.add (item.isSeparator ? "|" : juce::String (item.itemID) + (item.isEnabled ? "+" : "-"));
        }
        EXPECT_EQ (items.joinIntoString (" "), row.expected);
    }

    PresetComboBox box;
    box.userPresetItemsShown = true;
    const auto menu = box.createContextMenu();
    juce::StringArray texts;
    for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
        texts.add (it.getItem().text);
    EXPECT_EQ (texts, juce::StringArray ({ "Reset to Original State", "", "Save As New Global User-Preset...",
                                           "Overwrite/Rename Selected User-Preset...", "Delete Selected User-Preset...",
                                           "", "Copy State (Cmd+C)", "Paste State (Cmd+V)", "Share State..." }));
}
} // namespace
