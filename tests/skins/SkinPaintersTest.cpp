#include "SkinTestSupport.h"

#include "resources/BinaryData.h"

#include <gtest/gtest.h>

namespace
{
using namespace kelmora::skins;
namespace res = kelmora::resources;
using skintest::render;

juce::Image image (const char* data, int size)
{
    return juce::ImageCache::getFromMemory (data, size);
}

// The smallest rectangle holding every pixel that passes the test.
juce::Rectangle<int> boundsOf (const juce::Image& im, const std::function<bool (juce::Colour)>& test)
{
    juce::Rectangle<int> found;
    for (int y = 0; y < im.getHeight(); ++y)
        for (int x = 0; x < im.getWidth(); ++x)
            if (test (im.getPixelAt (x, y)))
                found = found.isEmpty() ? juce::Rectangle<int> (x, y, 1, 1) : found.getUnion ({ x, y, 1, 1 });
    return found;
}

int maxAlphaOf (const juce::Image& im, const std::function<bool (juce::Colour)>& test)
{
    int alpha = 0;
    for (int y = 0; y < im.getHeight(); ++y)
        for (int x = 0; x < im.getWidth(); ++x)
            if (const auto c = im.getPixelAt (x, y); test (c))
                alpha = std::max (alpha, (int) c.getAlpha());
    return alpha;
}

const auto isRed = [] (juce::Colour c) { return c.getRed() > c.getGreen() + 60 && c.getAlpha() > 20; };

// How much pure red a pixel holds, whatever lies under it: premultiplied red less green.
int maxRedOf (const juce::Image& im)
{
    int red = 0;
    for (int y = 0; y < im.getHeight(); ++y)
        for (int x = 0; x < im.getWidth(); ++x)
        {
            const auto p = im.getPixelAt (x, y).getPixelARGB();
            red = std::max (red, (int) p.getRed() - (int) p.getGreen());
        }
    return red;
}
const auto isWhite = [] (juce::Colour c) { return c.getRed() > 200 && c.getGreen() > 200 && c.getBlue() > 200; };
const auto isInk = [] (juce::Colour c) { return c.getAlpha() > 40; };

struct ButtonArtCase
{
    const char* skinName;
    std::function<std::unique_ptr<juce::LookAndFeel>()> make;
    bool comboBox, over, down;
    const char* expected;   // which image shows: "normal", "over" or "down"
};

TEST (SkinPainters, ThreeSliceButtonsShowTheImageOfTheirStateAndStretchTheMiddleColumn)
{
    using skintest::maker;
    const auto overlay = maker<LookAndFeelOverlay> ("").make, menu = maker<LookAndFeelContextMenu> ("").make,
               toolbar = maker<LookAndFeelToolbar> ("").make;
    const ButtonArtCase cases[] = {
        { "overlay", overlay, false, false, false, "normal" },  { "overlay", overlay, false, true, false, "over" },
        { "overlay", overlay, false, true, true, "down" },      { "overlay", overlay, true, true, false, "normal" },
        { "overlay", overlay, true, false, true, "down" },      { "menu", menu, false, true, false, "over" },
        { "menu", menu, false, false, true, "down" },           { "menu", menu, true, true, true, "normal" },
        { "toolbar", toolbar, false, true, true, "down" },      { "toolbar", toolbar, true, true, true, "normal" },
    };

    for (const auto& c : cases)
    {
        const bool dialog = std::string (c.skinName) == "overlay";
        const std::map<std::string, juce::Image> art {
            { "normal", dialog ? image (res::dialog_button_png, res::dialog_button_pngSize)
                               : image (res::menu_button_png, res::menu_button_pngSize) },
            { "over", dialog ? image (res::dialog_button_over_png, res::dialog_button_over_pngSize)
                             : image (res::menu_button_over_png, res::menu_button_over_pngSize) },
            { "down", dialog ? image (res::dialog_button_down_png, res::dialog_button_down_pngSize)
                             : image (res::menu_button_down_png, res::menu_button_down_pngSize) } };
        const auto& source = art.at (c.expected);
        const int w = 200, h = source.getHeight(), y = h / 2, sw = source.getWidth();

        auto skin = c.make();
        juce::TextButton button;
        juce::ComboBox box;
        button.setSize (w, h);
        box.setSize (w, h);
        const auto shown = render (w, h, [&] (juce::Graphics& g) {
            if (c.comboBox)
                skin->drawComboBox (g, w, h, c.down, 0, 0, w, h, box);
            else
                skin->drawButtonBackground (g, button, juce::Colours::red, c.over, c.down);
        });

        const auto trace = ::testing::Message() << c.skinName << (c.comboBox ? " combo" : " button") << " over "
                                                << c.over << " down " << c.down;
        for (const auto& [name, other] : art)
        {
            if (name != c.expected)
            {
                ASSERT_FALSE (skintest::near (other.getPixelAt (6, y), source.getPixelAt (6, y), 8)) << "art states alike";
            }
        }

        EXPECT_TRUE (skintest::near (shown.getPixelAt (2, y), source.getPixelAt (2, y))) << trace;
        EXPECT_TRUE (skintest::near (shown.getPixelAt (w / 2, y), source.getPixelAt (6, y))) << trace;
        EXPECT_TRUE (skintest::near (shown.getPixelAt (w - 3, y), source.getPixelAt (sw - 3, y))) << trace;
    }
}

// Text drawn twice: the highlight or shadow stays at full strength on a disabled button, only the
// text fades; a pressed dialog button moves both one pixel down, the menu skins do not move.
TEST (SkinPainters, ButtonTextFadesWhenDisabledAndDialogButtonsMoveWhenPressed)
{
    struct Case { std::function<std::unique_ptr<juce::LookAndFeel>()> make; int pressedShift; bool whiteHighlight; };
    const Case cases[] = { { skintest::maker<LookAndFeelOverlay> ("").make, 1, true },
                           { skintest::maker<LookAndFeelContextMenu> ("").make, 0, false },
                           { skintest::maker<LookAndFeelToolbar> ("").make, 0, false } };

    for (const auto& c : cases)
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
        EXPECT_GT (maxRedOf (enabled), 240);
        EXPECT_NEAR (maxRedOf (disabled), 128, 12);
        if (c.whiteHighlight)
        {
            EXPECT_GT (maxAlphaOf (disabled, isWhite), 240);
        }
        EXPECT_EQ (boundsOf (pressed, isRed).getY(), boundsOf (enabled, isRed).getY() + c.pressedShift);
    }
}

TEST (SkinPainters, ImageTickBoxesAreSixteenSquareWhateverSizeIsAsked)
{
    for (const auto& skin : { skintest::maker<LookAndFeelOverlay> ("").make(), skintest::maker<LookAndFeelContextMenu> ("").make(),
                              skintest::maker<LookAndFeelToolbar> ("").make() })
    {
        juce::ToggleButton toggle;
        const auto tick = [&] (bool ticked) {
            return render (40, 40, [&] (juce::Graphics& g) {
                skin->drawTickBox (g, toggle, 5.7f, 5.2f, 30.0f, 30.0f, ticked, true, false, false);
            });
        };
        const auto on = tick (true), off = tick (false);
        EXPECT_TRUE (juce::Rectangle<int> (5, 5, 16, 16).contains (boundsOf (on, isInk)));
        EXPECT_GT (boundsOf (on, isInk).getWidth(), 8);
        EXPECT_FALSE (on.getPixelAt (12, 12) == off.getPixelAt (12, 12)) << "ticked and unticked halves alike";
    }
}

TEST (SkinPainters, PopupItemSizesFollowEachSkinsFontAndFactor)
{
    struct Case { const char* skin; bool separator; int standard, width, height; };
    const Case cases[] = {
        { "LookAndFeelOverlay", true, 0, 50, 10 },       { "LookAndFeelOverlay", true, 25, 50, 12 },
        { "LookAndFeelOverlay", false, 0, -1, 16 },      { "LookAndFeelOverlay", false, 20, -1, 20 },
        { "LookAndFeelContextMenu", false, 0, -1, 22 },  { "LookAndFeelContextMenu", true, 0, 50, 10 },
        { "LookAndFeelToolbar", false, 0, -1, 16 },      { "LookAndFeelToolbar", true, 25, 50, 12 },
    };

    for (const auto& c : cases)
        for (const auto& s : skintest::allSkins())
            if (std::string (s.name) == c.skin)
            {
                int w = 0, h = 0;
                s.make()->getIdealPopupMenuItemSize ("Default", c.separator, c.standard, w, h);
                EXPECT_EQ (h, c.height) << c.skin << " separator " << c.separator << " standard " << c.standard;
                if (c.width >= 0)
                    EXPECT_EQ (w, c.width) << c.skin;
                else
                    EXPECT_GT (w, 2 * h) << c.skin;   // the text plus twice the height
            }
}

TEST (SkinPainters, SeparatorsPaintTheirTwoRowsInsetPerSkin)
{
    struct Case { std::function<std::unique_ptr<juce::LookAndFeel>()> make; int inset; juce::uint8 darkAlpha; };
    const Case cases[] = { { skintest::maker<LookAndFeelContextMenu> ("").make, 4, 0x20 },
                           { skintest::maker<LookAndFeelToolbar> ("").make, 5, 0x22 },
                           { skintest::maker<LookAndFeelCustom> ("").make, 5, 0x22 } };

    for (const auto& c : cases)
    {
        auto skin = c.make();
        const auto drawn = render (100, 10, [&] (juce::Graphics& g) {
            skin->drawPopupMenuItem (g, { 0, 0, 100, 10 }, true, true, false, false, false, {}, {}, nullptr, nullptr);
        });

        EXPECT_EQ (boundsOf (drawn, [] (juce::Colour col) { return col.getAlpha() > 0; }),
                   juce::Rectangle<int> (c.inset, 4, 100 - 2 * c.inset, 2));
        EXPECT_EQ (drawn.getPixelAt (50, 4).getARGB(), juce::uint32 (c.darkAlpha) << 24);
        EXPECT_EQ (drawn.getPixelAt (50, 5).getAlpha(), 0x10);
        EXPECT_TRUE (isWhite (drawn.getPixelAt (50, 5)));
    }
}

// The dialog skin frames a label in black whatever its outline colour, the menu skins in the
// outline colour; LookAndFeelCustom draws no frame at all.
TEST (SkinPainters, LabelsNotBeingEditedGetTheirSkinsFrame)
{
    struct Case { std::function<std::unique_ptr<juce::LookAndFeel>()> make; juce::uint32 frame; };
    const Case cases[] = { { skintest::maker<LookAndFeelOverlay> ("").make, 0xFF000000 },
                           { skintest::maker<LookAndFeelContextMenu> ("").make, 0xFF0000FF },
                           { skintest::maker<LookAndFeelToolbar> ("").make, 0xFF0000FF },
                           { skintest::maker<LookAndFeelCustom> ("").make, 0x00000000 } };

    for (const auto& c : cases)
    {
        auto skin = c.make();
        juce::Label label ({}, "Name");
        label.setLookAndFeel (skin.get());
        label.setSize (80, 20);
        label.setColour (juce::Label::outlineColourId, juce::Colours::blue);
        const auto shown = skintest::snapshot (label);
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
        const auto shown = skintest::snapshot (editor);
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
    const auto enabled = skintest::snapshot (close);
    close.setEnabled (false);
    close.setToggleState (true, juce::dontSendNotification);
    const auto disabled = skintest::snapshot (close);
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
    const auto toggleShown = skintest::snapshot (toggle).getClippedImage ({ 26, 0, 134, 28 });
    toggle.setLookAndFeel (nullptr);
    EXPECT_GT (boundsOf (toggleShown, isInk).getWidth(), 20);
    EXPECT_TRUE (boundsOf (toggleShown, [] (juce::Colour c) { return c.getAlpha() > 0 && c.getBrightness() > 0.3f; })
                     .isEmpty());
}

// Toggle text must show under every skin that draws it, including the one designed for "Arial".
TEST (SkinPainters, ToggleTextInksUnderEverySkin)
{
    for (const auto& s : skintest::allSkins())
    {
        if (std::string (s.name) == "LookAndFeelOverlayButton")
            continue;   // draws text buttons only
        auto skin = s.make();
        juce::ToggleButton toggle ("Mode");
        toggle.setLookAndFeel (skin.get());
        toggle.setSize (120, 28);
        toggle.setColour (juce::ToggleButton::textColourId, juce::Colours::red);
        const auto text = skintest::snapshot (toggle).getClippedImage ({ 30, 0, 90, 28 });
        toggle.setLookAndFeel (nullptr);
        EXPECT_FALSE (boundsOf (text, isInk).isEmpty()) << s.name;
    }
}

TEST (SkinPainters, TooltipsWrapAtTheirSkinsLineWidth)
{
    const juce::String text ("Drag up and down to change the corner frequency; double-click to go back to the default value");
    LookAndFeelOverlay overlay;
    LookAndFeelContextMenu menu;
    const auto wide = overlay.getTooltipSize (text), narrow = menu.getTooltipSize (text);

    EXPECT_LE (wide.getWidth(), 220 + 14);
    EXPECT_LE (narrow.getWidth(), 200 + 14);
    EXPECT_GT (narrow.getWidth(), 150);
    EXPECT_EQ (overlay.getTooltipBounds (text, { 10, 10 }, { 0, 0, 800, 600 }).withZeroOrigin(), wide);
    EXPECT_TRUE (juce::Rectangle<int> (0, 0, 300, 200).contains (overlay.getTooltipBounds (text, { 290, 190 }, { 0, 0, 300, 200 })));
}
} // namespace
