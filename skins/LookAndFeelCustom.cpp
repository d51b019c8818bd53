#include "skins/LookAndFeelCustom.h"

#include "resources/BinaryData.h"
#include "skins/ColourTable.h"
#include "skins/SharedFonts.h"
#include "skins/SkinPainters.h"

#include <cmath>

namespace kelmora::skins
{
namespace
{
namespace res = kelmora::resources;
using painters::plainFont;

juce::Image valueBoxImage()
{
    return juce::ImageCache::getFromMemory (res::value_box_png, res::value_box_pngSize);
}

// The toggle text is designed for "Arial". Where that is missing a face of the same metrics, else
// the shared family, stands in: JUCE would otherwise hand back a face that draws nothing.
juce::Font arialFont (float height)
{
    static const juce::String family = []
    {
        const auto installed = juce::Font::findAllTypefaceNames();

        for (auto* name : { "Arial", "Liberation Sans" })
            if (installed.contains (name))
                return juce::String (name);

        return SharedFonts::getFamilyName();
    }();

    return family.isEmpty() ? plainFont (height) : juce::Font (family, height, juce::Font::plain);
}
} // namespace

LookAndFeelCustom::LookAndFeelCustom()
{
    setSkinColours (*this, SkinColours::custom);
}

juce::Typeface::Ptr LookAndFeelCustom::getTypefaceForFont (const juce::Font&)
{
    return painters::plainTypeface();
}

std::unique_ptr<juce::DropShadower> LookAndFeelCustom::createDropShadowerForComponent (juce::Component&)
{
    return nullptr;
}

void LookAndFeelCustom::drawButtonBackground (juce::Graphics& g, juce::Button& button,
                                              const juce::Colour& backgroundColour, bool isMouseOver,
                                              bool isButtonDown)
{
    const int w = button.getWidth(), h = button.getHeight();
    const auto corner = (float) juce::jmin (juce::roundToInt (0.4f * (float) w), juce::roundToInt (0.4f * (float) h));

    juce::Path outline;
    outline.addRoundedRectangle (2.0f, 2.0f, (float) w - 4.0f, (float) h - 4.0f, corner);

    auto base = backgroundColour.withMultipliedSaturation (0.3f);

    if (isMouseOver)
    {
        if (isButtonDown)
            base = base.brighter (0.4f);
        else
            base = base.getBrightness() > 0.5f ? base.darker (0.1f) : base.brighter (0.1f);
    }

    g.setColour (base);
    g.fillPath (outline);
    g.setColour (base.contrasting (1.0f).withAlpha (isMouseOver ? 0.6f : 0.4f));
    g.strokePath (outline, juce::PathStrokeType (isMouseOver ? 2.0f : 1.4f));
}

void LookAndFeelCustom::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool isMouseOver,
                                          bool isButtonDown)
{
    const int w = button.getWidth(), h = button.getHeight();
    const int tick = juce::jmin (20, h - 4);

    drawTickBox (g, button, 4.0f, (float) (h - tick) * 0.5f, (float) tick, (float) tick, button.getToggleState(),
                 button.isEnabled(), isMouseOver, isButtonDown);

    g.setColour (button.findColour (juce::ToggleButton::textColourId)
                     .withMultipliedAlpha (button.isEnabled() ? 1.0f : 0.5f));
    g.setFont (arialFont (12.0f));
    g.drawFittedText (button.getButtonText(), tick + 5, 4, w - tick - 7, h - 8, juce::Justification::centredLeft, 10,
                      0.7f);
}

void LookAndFeelCustom::drawTickBox (juce::Graphics& g, juce::Component&, float x, float y, float w, float h,
                                     bool ticked, bool isEnabled, bool, bool)
{
    // Drawn in a 9 x 9 design space.
    const auto toBox = juce::AffineTransform::scale (w / 9.0f, h / 9.0f).translated (x, y);

    juce::Path box;
    box.addRoundedRectangle (0.0f, 2.0f, 6.0f, 6.0f, 1.0f);
    g.setColour (isEnabled ? juce::Colour (0xFF555555) : juce::Colour (0xFFD3D3D3).withAlpha (0.1f));
    g.fillPath (box, toBox);
    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.strokePath (box, juce::PathStrokeType (0.9f), toBox);

    if (ticked)
    {
        juce::Path tick;
        tick.startNewSubPath (1.5f, 3.0f);
        tick.lineTo (3.0f, 6.0f);
        tick.lineTo (6.0f, 0.0f);
        g.setColour (isEnabled ? juce::Colour (0xFFFFFFFF) : juce::Colour (0xFF808080));
        g.strokePath (tick, juce::PathStrokeType (2.5f), toBox);
    }
}

void LookAndFeelCustom::drawTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor& editor)
{
    if (! editor.isEnabled())
        return;

    g.setColour (editor.findColour (juce::TextEditor::outlineColourId));
    g.drawRect (0, 0, width, height);
}

void LookAndFeelCustom::drawPopupMenuBackground (juce::Graphics& g, int width, int height)
{
    painters::drawFramedPopupBackground (g, *this, width, height, 0.1f);
}

void LookAndFeelCustom::drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area, bool isSeparator,
                                           bool isActive, bool isHighlighted, bool isTicked, bool hasSubMenu,
                                           const juce::String& text, const juce::String& shortcutKeyText,
                                           const juce::Drawable* icon, const juce::Colour* textColour)
{
    painters::drawPopupItem (g, *this, area, isSeparator, isActive, isHighlighted, isTicked, hasSubMenu, text,
                             shortcutKeyText, icon, textColour,
                             { 5, juce::Colour (0x22000000), juce::Colour (0x10FFFFFF), plainFont (12.2f) });
}

void LookAndFeelCustom::drawMenuBarBackground (juce::Graphics& g, int, int, bool, juce::MenuBarComponent& menuBar)
{
    g.fillAll (menuBar.findColour (juce::PopupMenu::backgroundColourId));
}

void LookAndFeelCustom::drawComboBox (juce::Graphics& g, int width, int height, bool, int, int, int, int,
                                      juce::ComboBox&)
{
    painters::drawThreeSlice (g, valueBoxImage(), width, height, 10);
}

juce::Font LookAndFeelCustom::getComboBoxFont (juce::ComboBox&)
{
    return plainFont (12.2f);
}

void LookAndFeelCustom::positionComboBoxText (juce::ComboBox& box, juce::Label& label)
{
    painters::positionComboBoxLabel (box, label, getComboBoxFont (box));
}

void LookAndFeelCustom::drawLabel (juce::Graphics& g, juce::Label& label)
{
    if (label.getWidth() == 50)
        g.drawImage (juce::ImageCache::getFromMemory (res::label_box_png, res::label_box_pngSize),
                     juce::Rectangle<float> (0.0f, 1.0f, 50.0f, 18.0f));

    const auto font = label.getFont();
    const auto border = label.getBorderSize();

    g.setColour (painters::labelTextColour (label));
    g.setFont (font);
    g.drawFittedText (label.getText(), border.getLeft(), 0, label.getWidth() - 2 * border.getLeft(),
                      label.getHeight() - 2 * border.getTop(), label.getJustificationType(),
                      painters::labelLines (label, font.getHeight()), label.getMinimumHorizontalScale());
}

void LookAndFeelCustom::drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                          float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle style,
                                          juce::Slider& slider)
{
    g.fillAll (slider.findColour (juce::Slider::backgroundColourId));

    if (style == juce::Slider::LinearBar || style == juce::Slider::LinearBarVertical)
    {
        painters::drawThreeSlice (g, valueBoxImage(), width, height, 10);
        return;
    }

    drawLinearSliderBackground (g, x, y, width, height, sliderPos, minSliderPos, maxSliderPos, style, slider);
    drawLinearSliderThumb (g, x, y, width, height, sliderPos, minSliderPos, maxSliderPos, style, slider);
}

void LookAndFeelCustom::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float, float,
                                          float, juce::Slider& slider)
{
    drawKnobFrame (g, x, y, width, height, slider);
}

int LookAndFeelCustom::getSliderThumbRadius (juce::Slider&)
{
    return 8;
}

juce::Label* LookAndFeelCustom::createSliderTextBox (juce::Slider& slider)
{
    // A plain label: JUCE's own slider label would swallow mouse-wheel events.
    auto* label = new juce::Label();
    const bool bar = slider.getSliderStyle() == juce::Slider::LinearBar;

    label->setFont (plainFont (11.8f));
    label->setJustificationType (juce::Justification::centred);
    label->setColour (juce::Label::textColourId, slider.findColour (juce::Label::textColourId));
    label->setColour (juce::Label::backgroundColourId,
                      bar ? juce::Colours::transparentBlack : slider.findColour (juce::Slider::textBoxBackgroundColourId));
    label->setColour (juce::Label::outlineColourId, slider.findColour (juce::Slider::textBoxOutlineColourId));
    label->setColour (juce::TextEditor::textColourId, slider.findColour (juce::Slider::textBoxTextColourId));
    label->setColour (juce::TextEditor::backgroundColourId,
                      slider.findColour (juce::Slider::textBoxBackgroundColourId).withAlpha (bar ? 0.7f : 1.0f));
    label->setColour (juce::TextEditor::outlineColourId, slider.findColour (juce::Slider::textBoxOutlineColourId));
    label->setSize (50, 20);
    return label;
}

void LookAndFeelCustom::drawTabButtonText (juce::TabBarButton& button, juce::Graphics& g, bool isMouseOver,
                                           bool isButtonDown)
{
    const auto area = button.getTextArea().toFloat();
    auto& bar = button.getTabbedButtonBar();
    float length = area.getWidth(), depth = area.getHeight();

    if (bar.isVertical())
        std::swap (length, depth);

    juce::Font font (depth * 0.6f);
    font.setUnderline (button.hasKeyboardFocus (false));

    juce::AffineTransform toTab;

    switch (bar.getOrientation())
    {
        case juce::TabbedButtonBar::TabsAtLeft:
            toTab = toTab.rotated (-juce::MathConstants<float>::halfPi).translated (area.getX(), area.getBottom());
            break;
        case juce::TabbedButtonBar::TabsAtRight:
            toTab = toTab.rotated (juce::MathConstants<float>::halfPi).translated (area.getRight(), area.getY());
            break;
        case juce::TabbedButtonBar::TabsAtTop:
        case juce::TabbedButtonBar::TabsAtBottom:
            toTab = toTab.translated (area.getX(), area.getY());
            break;
    }

    const auto specified = [&] (int id) { return button.isColourSpecified (id) || isColourSpecified (id); };
    juce::Colour colour;

    if (button.isFrontTab() && specified (juce::TabbedButtonBar::frontTextColourId))
        colour = button.findColour (juce::TabbedButtonBar::frontTextColourId);
    else if (specified (juce::TabbedButtonBar::tabTextColourId))
        colour = button.findColour (juce::TabbedButtonBar::tabTextColourId);
    else
        colour = button.getTabBackgroundColour().contrasting();

    const float alpha = ! button.isEnabled() ? 0.3f : (isMouseOver || isButtonDown) ? 1.0f : 0.8f;

    g.setColour (colour.withMultipliedAlpha (alpha));
    g.setFont (font);
    g.addTransform (toTab);
    g.drawFittedText (button.getButtonText().trim(), 0, 0, (int) length, (int) depth, juce::Justification::centred,
                      juce::jmax (1, (int) (depth / 12.0f)), 0.7f);
}

int LookAndFeelCustom::filmStripFrame (double value, double minimum, double maximum, int frames) noexcept
{
    if (frames < 1)
        return 0;

    const double range = maximum - minimum;
    double proportion = range > 0.0 ? (value - minimum) / range : 0.0;

    if (! std::isfinite (proportion))
        proportion = 0.0;

    const double frame = std::ceil ((double) (frames - 1) * juce::jlimit (0.0, 1.0, proportion));
    return juce::jlimit (0, frames - 1, (int) frame);
}

int LookAndFeelCustom::drawKnobFrame (juce::Graphics& g, int x, int y, int width, int height, juce::Slider& slider)
{
    const float radius = juce::jmin (0.5f * (float) width, 0.5f * (float) height);
    const int left = (int) ((float) x + 0.5f * (float) width - radius - 1.0f);
    const int top = (int) ((float) y + 0.5f * (float) height - radius);

    const auto strip = width == 70 ? juce::ImageCache::getFromMemory (res::knob_large_png, res::knob_large_pngSize)
                                   : juce::ImageCache::getFromMemory (res::knob_small_png, res::knob_small_pngSize);
    const int side = strip.getWidth();

    // A strip that failed to decode has no frames to pick from.
    if (side <= 0 || strip.getHeight() < side)
        return top;

    const int frame = filmStripFrame (slider.getValue(), slider.getMinimum(), slider.getMaximum(),
                                      strip.getHeight() / side);
    g.drawImage (strip, left, top, side, side, 0, frame * side, side, side);
    return top;
}
} // namespace kelmora::skins
