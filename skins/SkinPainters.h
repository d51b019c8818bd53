#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/*  The drawing that several skins share, written once. Every function runs on the message thread
    inside a paint call; images come from juce::ImageCache, so nothing here decodes twice. */
namespace kelmora::skins::painters
{
/** Fonts of the shared plain or bold face, made at each call. */
juce::Font plainFont (float height);
juce::Font boldFont (float height);

/** The shared plain face, which every skin gives for any font it is asked about. */
juce::Typeface::Ptr plainTypeface();

/** The two sets of three button images: light dialog buttons and dark menu buttons. */
enum class ButtonArt
{
    dialog,
    menu
};

/** The pressed image when down, else the mouse-over image when over, else the normal one. */
juce::Image buttonImage (ButtonArt art, bool isMouseOver, bool isButtonDown);

/** The image in three slices over (0, 0, width, height): the first and last capWidth columns at
    their own width, column capWidth stretched between them, every slice over the full height.
    An image that failed to decode draws nothing. */
void drawThreeSlice (juce::Graphics&, const juce::Image&, int width, int height, int capWidth);

/** One 16 x 16 half of the tick-box image at the integer corner: right half when ticked. */
void drawImageTickBox (juce::Graphics&, float x, float y, bool ticked);

/** The popup menu's scroll arrow: background fading out towards the edge, a half-transparent
    triangle in the menu's text colour. */
void drawPopupScrollArrow (juce::Graphics&, juce::LookAndFeel&, int width, int height, bool isScrollUpArrow);

/** The menu background with a faint dark frame and a white highlight along its top and left
    edges at the given alpha. */
void drawFramedPopupBackground (juce::Graphics&, juce::LookAndFeel&, int width, int height, float highlightAlpha);

/** A popup item's ideal size. A separator is 50 wide and half the standard height (10 without
    one); an item's font is capped at standard height / 1.3, its height is the standard height or
    else the font height times heightFactor, and its width the text plus twice the height. */
void idealPopupItemSize (juce::Font menuFont, const juce::String& text, bool isSeparator,
                         int standardItemHeight, float heightFactor, int& idealWidth, int& idealHeight);

/** The parameters that tell the popup-item painters of the skins apart. */
struct PopupItemStyle
{
    int separatorInset;
    juce::Colour separatorDark, separatorLight;
    juce::Font font;    // before the cap at area height / 1.3; the sub-menu arrow follows it
};

/** A popup-menu item or separator: highlight, icon or tick, sub-menu arrow, text, shortcut. */
void drawPopupItem (juce::Graphics&, juce::LookAndFeel&, juce::Rectangle<int> area, bool isSeparator,
                    bool isActive, bool isHighlighted, bool isTicked, bool hasSubMenu, const juce::String& text,
                    const juce::String& shortcutKeyText, const juce::Drawable* icon,
                    const juce::Colour* textColour, const PopupItemStyle&);

/** Font height and longest line of a skin's tooltips. */
struct TooltipStyle
{
    float fontHeight;
    float maxLineWidth;
};

/** The tooltip text laid out centred in balanced lines in the shared plain face. */
juce::TextLayout tooltipLayout (const juce::String& text, juce::Colour, TooltipStyle);

/** The tooltip's size at (0, 0): its layout plus 14 by 6 pixels, truncated. */
juce::Rectangle<int> tooltipSize (const juce::String& text, TooltipStyle);

/** The tooltip of that size placed beside the mouse as JUCE places its own, kept in the area. */
juce::Rectangle<int> tooltipBounds (const juce::String& text, TooltipStyle, juce::Point<int> screenPos,
                                    juce::Rectangle<int> parentArea);

/** The tooltip window's background and text; no outline. */
void drawTooltip (juce::Graphics&, juce::LookAndFeel&, const juce::String& text, int width, int height,
                  TooltipStyle);

/** One colour and box of a text drawn twice, a highlight or shadow first and the text on it. */
struct TextPass
{
    juce::Colour colour;
    juce::Rectangle<int> box;
};

/** The text in the current font, first in the shadow's colour and box, then in the text's. */
void drawTwoPassText (juce::Graphics&, const juce::String& text, TextPass shadow, TextPass front,
                      juce::Justification, int maxLines, float minimumHorizontalScale);

/** min(4, 30 % of the button's height): the top and bottom margin of a button's text. */
int buttonTextIndent (juce::Component& button);

/** The button's text colour: on or off by its toggle state, half alpha when disabled. */
juce::Colour buttonTextColour (juce::TextButton&);

/** The label's text colour, at half alpha when the label is disabled. */
juce::Colour labelTextColour (juce::Label&);

/** As many lines as the label's height holds of a font of the given height, at least one. */
int labelLines (const juce::Label&, float fontHeight);

/** How the dialog, menu and toolbar skins frame a label. */
struct LabelStyle
{
    bool dropShadow;              // 0x55000000 one pixel right of and below the text
    bool shadowTakesAlpha;        // the shadow fades with a disabled label too
    bool frameInOutlineColour;    // else the frame of a label not being edited is opaque black
};

/** Background, text (when not being edited) and a one-pixel frame around the label. */
void drawFramedLabel (juce::Graphics&, juce::Label&, const juce::Font&, LabelStyle);

/** The dialog skins' text field outline: focused, a 2-pixel outline with a deep bevel; else a
    1-pixel outline with a shallow one; nothing when the field is disabled. */
void drawBevelledTextEditorOutline (juce::Graphics&, int width, int height, juce::TextEditor&);

/** The toggle button width that fits its text, measured in a default-typeface font. */
void fitToggleButtonToText (juce::ToggleButton&);

/** The menu and toolbar toggle: tick box at (4, 4), 20 x 20; text at height 13 with a soft shadow
    at (27, 1) and the text at (26, 0), each as wide as the button less its cut. textColour null
    means the button's own toggle text colour. Half opacity when disabled. */
void drawShadowedToggle (juce::Graphics&, juce::LookAndFeel&, juce::ToggleButton&, bool isMouseOver,
                         bool isButtonDown, int shadowWidthCut, int textWidthCut, const juce::Colour* textColour);

/** The combo box's label over the whole box but a one-pixel margin, in the given font. */
void positionComboBoxLabel (juce::ComboBox&, juce::Label&, const juce::Font&);
} // namespace kelmora::skins::painters
