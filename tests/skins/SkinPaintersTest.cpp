#include "SkinTestSupport.h"

#include "resources/BinaryData.h"

#include <gtest/gtest.h>

namespace
{
using namespace kelmora::skins;
using namespace skintest;
namespace res = kelmora::resources;

const auto isInk = [] (juce::Colour c) { return c.getAlpha() > 40; };
const auto isWhite = [] (juce::Colour c) { return c.getRed() > 200 && c.getGreen() > 200 && c.getBlue() > 200; };
const auto isRed = [] (juce::Colour c) { return c.getRed() > c.getGreen() + 60 && c.getAlpha() > 20; };

// How much pure red a pixel holds whatever lies under it: premultiplied red less green.
int redOf (juce::Colour c)
{
    const auto p = c.getPixelARGB();
    return (int) p.getRed() - (int) p.getGreen();
}

TEST (SkinPainters, ThreeSliceButtonsShowTheImageOfTheirStateAndStretchTheMiddleColumn)
{
    const juce::Image dialogArt[] = { juce::ImageCache::getFromMemory (res::dialog_button_png, res::dialog_button_pngSize),
                                      juce::ImageCache::getFromMemory (res::dialog_button_over_png, res::dialog_button_over_pngSize),
                                      juce::ImageCache::getFromMemory (res::dialog_button_down_png, res::dialog_button_down_pngSize) };
    const juce::Image menuArt[] = { juce::ImageCache::getFromMemory (res::menu_button_png, res::menu_button_pngSize),
                                    juce::ImageCache::getFromMemory (res::menu_button_over_png, res::menu_button_over_pngSize),
                                    juce::ImageCache::getFromMemory (res::menu_button_down_png, res::menu_button_down_pngSize) };
    enum { normal, over, down };
    struct Case { MakeSkin make; const juce::Image* art; bool comboBox, isOver, isDown; int shows; };
    const Case cases[] = {
        { make<LookAndFeelOverlay>, dialogArt, false, false, false, normal },
        { make<LookAndFeelOverlay>, dialogArt, false, true, false, over },
        { make<LookAndFeelOverlay>, dialogArt, false, true, true, down },
        { make<LookAndFeelOverlay>, dialogArt, true, true, false, normal },
        { make<LookAndFeelOverlay>, dialogArt, true, false, true, down },
        { make<LookAndFeelContextMenu>, menuArt, false, true, false, over },
        { make<LookAndFeelContextMenu>, menuArt, false, false, true, down },
        { make<LookAndFeelContextMenu>, menuArt, true, true, true, normal },
        { make<LookAndFeelToolbar>, menuArt, false, true, true, down },
        { make<LookAndFeelToolbar>, menuArt, true, true, true, normal },
    };

    for (const auto& c : cases)
    {
        const auto& source = c.art[c.shows];
        const int w = 200, h = source.getHeight(), y = h / 2;
        for (int other = normal; other <= down; ++other)
            ASSERT_TRUE (other == c.shows || ! near (c.art[other].getPixelAt (6, y), source.getPixelAt (6, y), 8))
                << "the art's states look alike";

        auto skin = c.make();
        juce::TextButton button;
        juce::ComboBox box;
        button.setSize (w, h);
        const auto shown = render (w, h, [&] (juce::Graphics& g) {
            if (c.comboBox)
                skin->drawComboBox (g, w, h, c.isDown, 0, 0, w, h, box);
            else
                skin->drawButtonBackground (g, button, juce::Colours::red, c.isOver, c.isDown);
        });

        SCOPED_TRACE (::testing::Message() << "combo " << c.comboBox << " over " << c.isOver << " down " << c.isDown);
        EXPECT_TRUE (near (shown.getPixelAt (2, y), source.getPixelAt (2, y)));
        EXPECT_TRUE (near (shown.getPixelAt (w / 2, y), source.getPixelAt (6, y)));
        EXPECT_TRUE (near (shown.getPixelAt (w - 3, y), source.getPixelAt (source.getWidth() - 3, y)));
    }
}

// Text drawn twice: the highlight or shadow keeps its strength on a disabled button, only the
// text fades; a pressed dialog button moves its text one pixel down, the menu skins do not.
TEST (SkinPainters, ButtonTextFadesWhenDisabledAndDialogButtonsMoveWhenPressed)
{
    struct Case { MakeSkin make; int pressedShift; bool whiteHighlight; };
    for (const auto& c : { Case { make<LookAndFeelOverlay>, 1, true }, Case { make<LookAndFeelContextMenu>, 0, false },
                           Case { make<LookAndFeelToolbar>, 0, false } })
    {
        auto skin = c.make();
        juce::TextButton button ("Save");
        button.setSize (80, 26);
        button.setColour (juce::TextButton::textColourOffId, juce::Colours::red);
        const auto text = [&] (bool enabled, bool down) {
            button.setEnabled (enabled);
            return render (80, 26, [&] (juce::Graphics& g) { skin->drawButtonText (g, button, false, down); });
        };

        const auto enabled = text (true, false), disabled = text (false, false), pressed = text (true, true);
        EXPECT_GT (maxOver (enabled, redOf), 240);
        EXPECT_NEAR (maxOver (disabled, redOf), 128, 12);
        EXPECT_EQ (maxOver (disabled, [] (juce::Colour p) { return isWhite (p) ? (int) p.getAlpha() : 0; }) > 240,
                   c.whiteHighlight);
        EXPECT_EQ (boundsOf (pressed, isRed).getY(), boundsOf (enabled, isRed).getY() + c.pressedShift);
    }
}

TEST (SkinPainters, ImageTickBoxesAreSixteenSquareWhateverSizeIsAsked)
{
    for (const auto makeSkin : { make<LookAndFeelOverlay>, make<LookAndFeelContextMenu>, make<LookAndFeelToolbar> })
    {
        auto skin = makeSkin();
        juce::ToggleButton toggle;
        const auto tick = [&] (bool ticked) {
            return render (40, 40, [&] (juce::Graphics& g) {
                skin->drawTickBox (g, toggle, 5.7f, 5.2f, 30.0f, 30.0f, ticked, true, false, false);
            });
        };
        const auto on = tick (true), off = tick (false);
        EXPECT_TRUE (juce::Rectangle<int> (5, 5, 16, 16).contains (boundsOf (on, isInk)));
        EXPECT_GT (boundsOf (on, isInk).getWidth(), 8);
        EXPECT_NE (on.getPixelAt (12, 12), off.getPixelAt (12, 12)) << "ticked and unticked halves alike";
    }
}

TEST (SkinPainters, PopupItemSizesFollowEachSkinsFontAndFactor)
{
    struct Case { MakeSkin make; bool separator; int standard, width, height; };
    const Case cases[] = {
        { make<LookAndFeelOverlay>, true, 0, 50, 10 },      { make<LookAndFeelOverlay>, true, 25, 50, 12 },
        { make<LookAndFeelOverlay>, false, 0, -1, 16 },     { make<LookAndFeelOverlay>, false, 20, -1, 20 },
        { make<LookAndFeelContextMenu>, false, 0, -1, 22 }, { make<LookAndFeelContextMenu>, true, 0, 50, 10 },
        { make<LookAndFeelToolbar>, false, 0, -1, 16 },     { make<LookAndFeelToolbar>, true, 25, 50, 12 },
    };

    for (const auto& c : cases)
    {
        int w = 0, h = 0;
        c.make()->getIdealPopupMenuItemSize ("Default", c.separator, c.standard, w, h);
        EXPECT_EQ (h, c.height) << "separator " << c.separator << " standard " << c.standard;
        EXPECT_TRUE (c.width >= 0 ? w == c.width : w > 2 * h) << w;   // an item: its text plus twice its height
    }
}

TEST (SkinPainters, SeparatorsPaintTheirTwoRowsInsetPerSkin)
{
    struct Case { MakeSkin make; int inset; juce::uint32 dark; };
    for (const auto& c : { Case { make<LookAndFeelContextMenu>, 4, 0x20000000 }, Case { make<LookAndFeelToolbar>, 5, 0x22000000 },
                           Case { make<LookAndFeelCustom>, 5, 0x22000000 } })
    {
        auto skin = c.make();
        const auto drawn = render (100, 10, [&] (juce::Graphics& g) {
            skin->drawPopupMenuItem (g, { 0, 0, 100, 10 }, true, true, false, false, false, {}, {}, nullptr, nullptr);
        });

        EXPECT_EQ (boundsOf (drawn, [] (juce::Colour p) { return p.getAlpha() > 0; }),
                   juce::Rectangle<int> (c.inset, 4, 100 - 2 * c.inset, 2));
        EXPECT_EQ (drawn.getPixelAt (50, 4).getARGB(), c.dark);
        EXPECT_EQ (drawn.getPixelAt (50, 5).getARGB(), 0x10FFFFFFu);
    }
}

// The dialog skin frames a label in black whatever its outline colour, the menu skins in the
// outline colour; LookAndFeelCustom draws no frame at all.
TEST (SkinPainters, LabelsNotBeingEditedGetTheirSkinsFrame)
{
    struct Case { MakeSkin make; juce::uint32 frame; };
    for (const auto& c : { Case { make<LookAndFeelOverlay>, 0xFF000000 }, Case { make<LookAndFeelContextMenu>, 0xFF0000FF },
                           Case { make<LookAndFeelToolbar>, 0xFF0000FF }, Case { make<LookAndFeelCustom>, 0 } })
    {
        auto skin = c.make();
        juce::Label label ({}, "Name");
        label.setLookAndFeel (skin.get());
        label.setSize (80, 20);
        label.setColour (juce::Label::outlineColourId, juce::Colours::blue);
        const auto shown = snapshot (label);
        label.setLookAndFeel (nullptr);

        EXPECT_EQ (shown.getPixelAt (0, 10).getARGB(), c.frame);
        EXPECT_EQ (shown.getPixelAt (79, 19).getARGB(), c.frame);
    }
}

TEST (SkinPainters, TextFieldsUnderLfTextEditorAreFlatLightGreyWithoutOutline)
{
    LfTextEditor skin;
    juce::TextEditor editor;
    editor.setLookAndFeel (&skin);
    editor.setSize (60, 30);
    editor.setColour (juce::TextEditor::backgroundColourId, juce::Colours::red);
    editor.setColour (juce::TextEditor::outlineColourId, juce::Colours::blue);

    for (const bool readOnly : { false, true })
    {
        editor.setReadOnly (readOnly);
        const auto shown = snapshot (editor);
        for (const auto& p : { juce::Point<int> (0, 0), juce::Point<int> (59, 29), juce::Point<int> (30, 15) })
            EXPECT_EQ (shown.getPixelAt (p.x, p.y).getARGB(), 0xFFEEEEEEu) << p.toString();
    }
    editor.setLookAndFeel (nullptr);
}

// The close button ignores its state; the toolbar's toggle text is black whatever its colour.
TEST (SkinPainters, StateIndependentLooks)
{
    LookAndFeelOverlayButton closeSkin;
    juce::TextButton close ("Close");
    close.setLookAndFeel (&closeSkin);
    close.setSize (60, 24);
    const auto enabled = snapshot (close);
    close.setEnabled (false);
    close.setToggleState (true, juce::dontSendNotification);
    const auto disabled = snapshot (close);
    close.setLookAndFeel (nullptr);
    EXPECT_GT (boundsOf (enabled, isInk).getWidth(), 10);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_EQ (enabled.getPixelAt (x, y), disabled.getPixelAt (x, y)) << x << "," << y;

    LookAndFeelToolbar toolbarSkin;
    juce::ToggleButton toggle ("Velocity mode");
    toggle.setLookAndFeel (&toolbarSkin);
    toggle.setSize (160, 28);
    toggle.setColour (juce::ToggleButton::textColourId, juce::Colours::white);
    const auto toggleText = snapshot (toggle).getClippedImage ({ 26, 0, 134, 28 });
    toggle.setLookAndFeel (nullptr);
    EXPECT_GT (boundsOf (toggleText, isInk).getWidth(), 20);
    EXPECT_TRUE (boundsOf (toggleText, [] (juce::Colour p) { return p.getAlpha() > 0 && p.getBrightness() > 0.3f; }).isEmpty());
}

// Toggle text must show under every skin that draws toggles, including the one designed for "Arial".
TEST (SkinPainters, ToggleTextInksUnderEverySkin)
{
    for (const auto& s : allSkins())
    {
        if (std::string (s.name) == "LookAndFeelOverlayButton")
            continue;   // draws text buttons only
        auto skin = s.make();
        juce::ToggleButton toggle ("Mode");
        toggle.setLookAndFeel (skin.get());
        toggle.setSize (120, 28);
        toggle.setColour (juce::ToggleButton::textColourId, juce::Colours::red);
        const auto text = snapshot (toggle).getClippedImage ({ 30, 0, 90, 28 });
        toggle.setLookAndFeel (nullptr);
        EXPECT_FALSE (boundsOf (text, isInk).isEmpty()) << s.name;
    }
}

TEST (SkinPainters, TooltipsWrapAtTheirSkinsLineWidth)
{
    const juce::String text ("Drag up and down to change the corner frequency; double-click to go back to the default");
    LookAndFeelOverlay overlay;
    LookAndFeelContextMenu menu;
    const auto wide = overlay.getTooltipSize (text), narrow = menu.getTooltipSize (text);

    EXPECT_LE (wide.getWidth(), 220 + 14);
    EXPECT_LE (narrow.getWidth(), 200 + 14);
    EXPECT_GT (narrow.getWidth(), 150);
    EXPECT_EQ (overlay.getTooltipBounds (text, { 10, 10 }, { 0, 0, 800, 600 }).withZeroOrigin(), wide);
}
} // namespace
