#include "editor/DynamicHelpOverlay.h"
#include "EditorTestSupport.h"

namespace
{
using Help = kelmora::editor::DynamicHelpOverlay;

struct HelpOn : Help
{
    HelpOn() { setBounds (0, 0, 406, 242); }
    void moveTo (juce::Point<int> p) { mouseMove (quietline::test::mouseAt (*this, p.toFloat())); }
    void rest (juce::Point<int> p, int ticks = 4)
    {
        moveTo (p);
        for (int i = 0; i < ticks; ++i)
            timerCallback();
    }
};

// The first registered region of the active mode answers; the box shows on the fourth tick,
// stays within its region, hides at once outside it, and a topic neither text has shows nothing
// rather than the previous text.
TEST (DynamicHelpOverlay, RegionsAnswerInOrderAndTheBoxShowsOnTheFourthTick)
{
    HelpOn help;
    help.addHelpRegion ({ 10, 100, 60, 40 }, "frequency");
    help.addHelpRegion ({ 40, 120, 60, 40 }, "slope");
    help.addHelpRegion ({ 200, 0, 50, 50 }, "amount", Help::automatic, 1);
    help.addHelpRegion ({ 300, 100, 60, 40 }, "noSuchTopic");
    EXPECT_EQ (help.findRegionAt ({ 60, 130 }), 0);
    EXPECT_EQ (help.findRegionAt ({ 80, 150 }), 1);
    EXPECT_EQ (help.findRegionAt ({ 210, 10 }), -1);
    help.rest ({ 20, 110 }, 3);
    EXPECT_EQ (help.getShownRegion(), -1);
    help.timerCallback();
    EXPECT_EQ (help.getShownRegion(), 0);
    EXPECT_EQ (help.getHelpTitle(), "Filter frequency");
    help.rest ({ 60, 130 });
    EXPECT_EQ (help.getShownRegion(), 0);
    help.moveTo ({ 300, 10 });
    EXPECT_EQ (help.getShownRegion(), -1);
    help.rest ({ 310, 110 });
    EXPECT_EQ (help.getShownRegion(), -1);
    help.setActiveMode (1);
    EXPECT_EQ (help.findRegionAt ({ 210, 10 }), 2);
}

TEST (DynamicHelpOverlay, EveryTopicOfBothTextsHasItsTitleAndABody)
{
    const std::pair<const char*, const char*> topics[] = {
        { "display", "Frequency magnitude" }, { "frequency", "Filter frequency" }, { "slope", "Filter slope" },
        { "amount", "Filter amount" }, { "bypass", "Bypass" }, { "about", "About" }, { "abStates", "A/B States" },
        { "help", "Dynamic help mode" }, { "presetManagement", "Preset management" }, { "settings", "Settings" },
        { "UNDOREDO", "Undo/Redo" },
    };
    for (const auto& [topic, title] : topics)
    {
        HelpOn help;
        help.addHelpRegion ({ 100, 100, 50, 20 }, topic);
        help.rest ({ 110, 110 });
        EXPECT_EQ (help.getHelpTitle(), title);
        EXPECT_GT (help.getTextBoxBounds().getHeight(), 39) << topic << " has no body";
    }
}

TEST (DynamicHelpOverlay, BoxSitsBesideItsRegionAndStaysFourPixelsInside)
{
    const std::tuple<juce::Rectangle<int>, int, int> rows[] = {
        { { 150, 10, 40, 20 }, Help::automatic, Help::below }, { { 150, 210, 40, 20 }, Help::automatic, Help::above },
        { { 10, 100, 40, 20 }, Help::automatic, Help::right }, { { 340, 100, 40, 20 }, Help::automatic, Help::left },
        { { 100, 60, 200, 100 }, Help::centre, Help::centre }, { { 380, 5, 20, 10 }, Help::automatic, Help::below },
        { { 0, 230, 10, 10 }, Help::automatic, Help::above },
    };
    for (const auto& [r, placement, expected] : rows)
    {
        HelpOn help;
        help.resized();
        help.addHelpRegion (r, "frequency", placement);
        help.rest (r.getCentre());
        ASSERT_EQ (help.chooseTextBoxPlacement(), expected) << r.toString();
        const auto box = help.getTextBoxBounds();
        const auto pointer = help.getPointer().getBounds();
        EXPECT_TRUE (juce::Rectangle<int> (4, 4, 398, 234).contains (box)) << r.toString() << " " << box.toString();
        EXPECT_LE (box.getWidth(), 173);
        switch (expected)
        {
            case Help::below: EXPECT_EQ (box.getY(), r.getBottom() + 6); EXPECT_EQ (pointer.getY(), r.getBottom() - 4); break;
            case Help::above: EXPECT_EQ (box.getBottom(), r.getY() - 5); EXPECT_EQ (pointer.getBottom(), r.getY() + 4); break;
            case Help::right: EXPECT_EQ (box.getX(), r.getRight() + 6); EXPECT_EQ (pointer.getX(), r.getRight() - 4); break;
            case Help::left:  EXPECT_EQ (box.getRight(), r.getX() - 6); EXPECT_EQ (pointer.getRight(), r.getX() + 4); break;
            default:          EXPECT_EQ (box.getY(), r.getCentreY() + 6); break;
        }
    }
}
} // namespace
