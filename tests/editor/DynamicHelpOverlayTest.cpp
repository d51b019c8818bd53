#include "editor/DynamicHelpOverlay.h"
#include "MouseEvents.h"

#include <gtest/gtest.h>

namespace
{
using Help = kelmora::editor::DynamicHelpOverlay;
using quietline::test::mouseAt;

class DynamicHelpOverlayTest : public ::testing::Test
{
protected:
    DynamicHelpOverlayTest() { help.setBounds (0, 0, 406, 242); }

    void moveTo (int x, int y) { help.mouseMove (mouseAt (help, { (float) x, (float) y })); }
    void tick (int n) { for (int i = 0; i < n; ++i) help.timerCallback(); }

    // Rests on the region's centre until its box shows.
    void showBoxFor (juce::Rectangle<int> bounds)
    {
        moveTo (bounds.getCentreX(), bounds.getCentreY());
        tick (4);
    }

    Help help;
};

TEST_F (DynamicHelpOverlayTest, FirstRegisteredActiveRegionAnswers)
{
    help.addHelpRegion ({ 0, 0, 100, 100 }, "frequency");
    help.addHelpRegion ({ 50, 50, 100, 100 }, "slope");
    help.addHelpRegion ({ 200, 0, 50, 50 }, "amount", Help::automatic, 1);

    struct Row { int mode; int x, y; int expected; };
    const Row rows[] = {
        { -1, 60, 60, 0 }, { -1, 100, 100, 1 }, { -1, 99, 99, 0 }, { -1, 150, 150, -1 },
        { -1, 210, 10, -1 }, { 1, 210, 10, 2 }, { 0, 210, 10, -1 }, { 1, 60, 60, 0 },
    };
    for (const auto& row : rows)
    {
        help.setActiveMode (row.mode);
        EXPECT_EQ (help.findRegionAt ({ row.x, row.y }), row.expected) << row.mode << " " << row.x << "," << row.y;
    }
}

TEST_F (DynamicHelpOverlayTest, BoxShowsOnTheFourthTickStaysWithinTheRegionAndHidesAtOnce)
{
    help.addHelpRegion ({ 10, 100, 60, 40 }, "frequency");
    help.addHelpRegion ({ 100, 100, 60, 40 }, "noSuchTopic");

    moveTo (20, 110);
    tick (3);
    EXPECT_EQ (help.getShownRegion(), -1);
    tick (1);
    EXPECT_EQ (help.getShownRegion(), 0);
    EXPECT_EQ (help.getHelpTitle(), "Filter frequency");

    moveTo (60, 130); // within the region
    tick (4);
    EXPECT_EQ (help.getShownRegion(), 0);

    moveTo (300, 10); // off it
    EXPECT_EQ (help.getShownRegion(), -1);

    // A topic neither text has shows nothing, not the previous topic's text.
    moveTo (110, 110);
    tick (4);
    EXPECT_EQ (help.getShownRegion(), -1);
}

TEST_F (DynamicHelpOverlayTest, EveryTopicOfBothTextsHasItsTitle)
{
    const std::pair<const char*, const char*> topics[] = {
        { "display", "Frequency magnitude" }, { "frequency", "Filter frequency" }, { "slope", "Filter slope" },
        { "amount", "Filter amount" }, { "bypass", "Bypass" }, { "about", "About" }, { "abStates", "A/B States" },
        { "help", "Dynamic help mode" }, { "presetManagement", "Preset management" }, { "settings", "Settings" },
        { "UNDOREDO", "Undo/Redo" },
    };

    for (const auto& [topic, title] : topics)
    {
        Help h;
        h.setBounds (0, 0, 406, 242);
        h.addHelpRegion ({ 100, 100, 50, 20 }, topic);
        h.mouseMove (mouseAt (h, { 110, 110 }));
        for (int i = 0; i < 4; ++i)
            h.timerCallback();
        EXPECT_EQ (h.getShownRegion(), 0) << topic;
        EXPECT_EQ (h.getHelpTitle(), title);
        EXPECT_GT (h.getTextBoxBounds().getHeight(), 39) << topic << " has no body";
    }
}

TEST_F (DynamicHelpOverlayTest, BoxPlacementFollowsTheRegionAndStaysFourPixelsInside)
{
    struct Row { const char* name; juce::Rectangle<int> region; int placement; int expected; };
    const Row rows[] = {
        { "near the top", { 150, 10, 40, 20 }, Help::automatic, Help::below },
        { "near the bottom", { 150, 210, 40, 20 }, Help::automatic, Help::above },
        { "room on the right", { 10, 100, 40, 20 }, Help::automatic, Help::right },
        { "no room on the right", { 340, 100, 40, 20 }, Help::automatic, Help::left },
        { "fixed centre", { 100, 60, 200, 100 }, Help::centre, Help::centre },
        { "top right corner", { 380, 5, 20, 10 }, Help::automatic, Help::below },
        { "bottom left corner", { 0, 230, 10, 10 }, Help::automatic, Help::above },
    };

    for (const auto& row : rows)
    {
        Help h;
        h.setBounds (0, 0, 406, 242);
        h.resized();
        h.addHelpRegion (row.region, "frequency", row.placement);
        h.mouseMove (mouseAt (h, row.region.getCentre().toFloat()));
        for (int i = 0; i < 4; ++i)
            h.timerCallback();

        ASSERT_EQ (h.chooseTextBoxPlacement(), row.expected) << row.name;
        const auto box = h.getTextBoxBounds();
        const auto r = row.region;
        EXPECT_TRUE (juce::Rectangle<int> (4, 4, 398, 234).contains (box)) << row.name << " " << box.toString();
        EXPECT_LE (box.getWidth(), 173);

        const auto pointer = h.getPointer().getBounds();
        switch (row.expected)
        {
            case Help::below:  EXPECT_EQ (box.getY(), r.getBottom() + 6) << row.name; EXPECT_EQ (pointer.getY(), r.getBottom() - 4); break;
            case Help::above:  EXPECT_EQ (box.getBottom(), r.getY() - 5) << row.name; EXPECT_EQ (pointer.getBottom(), r.getY() + 4); break;
            case Help::right:  EXPECT_EQ (box.getX(), r.getRight() + 6) << row.name; EXPECT_EQ (pointer.getX(), r.getRight() - 4); break;
            case Help::left:   EXPECT_EQ (box.getRight(), r.getX() - 6) << row.name; EXPECT_EQ (pointer.getRight(), r.getX() + 4); break;
            default:           EXPECT_EQ (box.getY(), r.getCentreY() + 6) << row.name; break;
        }
    }
}
} // namespace
