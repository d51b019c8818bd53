#include "SkinTestSupport.h"

#include "resources/BinaryData.h"

#include <gtest/gtest.h>

namespace
{
using namespace kelmora::skins;
using namespace skintest;
namespace res = kelmora::resources;

const auto isInk = [] (juce::Colour c) { return c.getAlpha() > 40; };
const auto isRed = [] (juce::Colour c) { return c.getRed() > c.getGreen() + 60 && c.getAlpha() > 20; };

int most (const juce::Image& image, const std::function<int (juce::Colour)>& measure)
{
    int m = 0;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            m = std::max (m, measure (image.getPixelAt (x, y)));
    return m;
}

TEST (SkinPainters, ThreeSliceButtonsShowTheImageOfTheirStateAndStretchTheMiddleColumn)
{
    const auto art = [] (const void* d, int n) { return juce::ImageCache::getFromMemory (d, n); };
    const juce::Image dialog[] = { art (res::dialog_button_png, res::dialog_button_pngSize),
                                   art (res::dialog_button_over_png, res::dialog_button_over_pngSize),
                                   art (res::dialog_button_down_png, res::dialog_button_down_pngSize) };
    const juce::Image menu[] = { art (res::menu_button_png, res::menu_button_pngSize),
                                 art (res::menu_button_over_png, res::menu_button_over_pngSize),
                                 art (res::menu_button_down_png, res::menu_button_down_pngSize) };
    enum { normal, over, down };
    // Combo boxes never show the over image; the menu skins' combo boxes never the down one either.
    struct Case { MakeSkin make; const juce::Image* art; bool comboBox, isOver, isDown; int shows; };
    const Case cases[] = {
        { make<LookAndFeelOverlay>, dialog, false, false, false, normal }, { make<LookAndFeelOverlay>, dialog, false, true, false, over },
        { make<LookAndFeelOverlay>, dialog, false, true, true, down },     { make<LookAndFeelOverlay>, dialog, true, true, false, normal },
        { make<LookAndFeelOverlay>, dialog, true, false, true, down },     { make<LookAndFeelContextMenu>, menu, true, true, true, normal },
        { make<LookAndFeelToolbar>, menu, false, true, true, down },       { make<LookAndFeelToolbar>, menu, true, true, true, normal },
    };
    for (const auto& c : cases)
    {
        const auto& source = c.art[c.shows];
        const int w = 200, h = source.getHeight(), y = h / 2;
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
        SCOPED_TRACE (&c - cases);
        EXPECT_TRUE (near (shown.getPixelAt (2, y), source.getPixelAt (2, y)));
        EXPECT_TRUE (near (shown.getPixelAt (w / 2, y), source.getPixelAt (6, y)));
        EXPECT_TRUE (near (shown.getPixelAt (w - 3, y), source.getPixelAt (source.getWidth() - 3, y)));
    }
}

// Text drawn twice: only the text fades on a disabled button, the dialog's white highlight keeps
// its strength; a pressed dialog button moves its text one pixel down, the menu skins do not.
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
        // Premultiplied red less green: how much pure red a pixel holds whatever lies under it.
        const auto red = [] (juce::Colour c) { return (int) c.getPixelARGB().getRed() - (int) c.getPixelARGB().getGreen(); };
        const auto white = [] (juce::Colour p) { return std::min ({ p.getRed(), p.getGreen(), p.getBlue() }) > 200 ? (int) p.getAlpha() : 0; };
        const auto enabled = text (true, false), disabled = text (false, false), pressed = text (true, true);
        EXPECT_GT (most (enabled, red), 240);
        EXPECT_NEAR (most (disabled, red), 128, 12);
        EXPECT_EQ (most (disabled, white) > 240, c.whiteHighlight);
        EXPECT_EQ (boundsOf (pressed, isRed).getY(), boundsOf (enabled, isRed).getY() + c.pressedShift);
    }
}

TEST (SkinPainters, ImageTickBoxIsSixteenSquareWhateverSizeIsAsked)
{
    LookAndFeelToolbar skin;
    juce::ToggleButton toggle;
    const auto tick = [&] (bool ticked) {
        return render (40, 40, [&] (juce::Graphics& g) { skin.drawTickBox (g, toggle, 5.7f, 5.2f, 30.0f, 30.0f, ticked, true, false, false); });
    };
    const auto on = tick (true), off = tick (false);
    EXPECT_TRUE (juce::Rectangle<int> (5, 5, 16, 16).contains (boundsOf (on, isInk)));
    EXPECT_GT (boundsOf (on, isInk).getWidth(), 8);
    EXPECT_NE (on.getPixelAt (12, 12), off.getPixelAt (12, 12)) << "ticked and unticked halves alike";
}

// Labels not being edited: the dialog skin frames them in black whatever their outline colour,
// the menu skins in the outline colour, LookAndFeelCustom not at all. LfTextEditor's fields are
// flat light grey without outline, read-only or not.
TEST (SkinPainters, LabelFramesAndFlatTextFields)
{
    struct Case { MakeSkin make; juce::uint32 frame; };
    for (const auto& c : { Case { make<LookAndFeelOverlay>, 0xFF000000 }, Case { make<LookAndFeelContextMenu>, 0xFF0000FF },
                           Case { make<LookAndFeelToolbar>, 0xFF0000FF }, Case { make<LookAndFeelCustom>, 0 } })
    {
        juce::Label label ({}, "Name");
        label.setSize (80, 20);
        label.setColour (juce::Label::outlineColourId, juce::Colours::blue);
        const auto shown = snapshot (label, *c.make());
        EXPECT_EQ (shown.getPixelAt (0, 10).getARGB(), c.frame);
        EXPECT_EQ (shown.getPixelAt (79, 19).getARGB(), c.frame);
    }
    LfTextEditor skin;
    juce::TextEditor editor;
    editor.setSize (60, 30);
    editor.setColour (juce::TextEditor::backgroundColourId, juce::Colours::red);
    editor.setColour (juce::TextEditor::outlineColourId, juce::Colours::blue);
    for (const bool readOnly : { false, true })
    {
        editor.setReadOnly (readOnly);
        const auto shown = snapshot (editor, skin);
        for (const auto& p : { juce::Point<int> (0, 0), juce::Point<int> (59, 29), juce::Point<int> (30, 15) })
            EXPECT_EQ (shown.getPixelAt (p.x, p.y).getARGB(), 0xFFEEEEEEu) << p.toString();
    }
}

// Toggle text shows under every skin that draws toggles, the "Arial" one included; the
// toolbar's is black whatever its colour. The close button looks the same in any state.
TEST (SkinPainters, ToggleTextAndStateIndependentLooks)
{
    for (const auto& [name, make] : allSkins())
    {
        if (std::string (name) == "LookAndFeelOverlayButton")
            continue; // draws text buttons only
        juce::ToggleButton toggle ("Mode");
        toggle.setSize (120, 28);
        toggle.setColour (juce::ToggleButton::textColourId, juce::Colours::white);
        const auto text = snapshot (toggle, *make()).getClippedImage ({ 30, 0, 90, 28 });
        EXPECT_FALSE (boundsOf (text, isInk).isEmpty()) << name;
        const bool light = ! boundsOf (text, [] (juce::Colour p) { return p.getAlpha() > 0 && p.getBrightness() > 0.3f; }).isEmpty();
        EXPECT_EQ (light, std::string (name) != "LookAndFeelToolbar") << name;
    }
    LookAndFeelOverlayButton closeSkin;
    juce::TextButton close ("Close");
    close.setSize (60, 24);
    const auto enabled = snapshot (close, closeSkin);
    close.setEnabled (false);
    close.setToggleState (true, juce::dontSendNotification);
    const auto disabled = snapshot (close, closeSkin);
    EXPECT_GT (boundsOf (enabled, isInk).getWidth(), 10);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_EQ (enabled.getPixelAt (x, y), disabled.getPixelAt (x, y)) << x << "," << y;
}
} // namespace
