#include "skins/SkinPainters.h"

#include "resources/BinaryData.h"
#include "skins/SharedFonts.h"

namespace kelmora::skins::painters
{
namespace res = kelmora::resources;

juce::Font plainFont (float height)
{
    return SharedFonts::getInstance()->makePlainFont (height);
}

juce::Font boldFont (float height)
{
    return SharedFonts::getInstance()->makeBoldFont (height);
}

juce::Typeface::Ptr plainTypeface()
{
    return SharedFonts::getInstance()->getPlainTypeface();
}

juce::Image buttonImage (ButtonArt art, bool isMouseOver, bool isButtonDown)
{
    const bool dialog = art == ButtonArt::dialog;

    if (isButtonDown)
        return dialog ? juce::ImageCache::getFromMemory (res::dialog_button_down_png, res::dialog_button_down_pngSize)
                      : juce::ImageCache::getFromMemory (res::menu_button_down_png, res::menu_button_down_pngSize);
    if (isMouseOver)
        return dialog ? juce::ImageCache::getFromMemory (res::dialog_button_over_png, res::dialog_button_over_pngSize)
                      : juce::ImageCache::getFromMemory (res::menu_button_over_png, res::menu_button_over_pngSize);
    return dialog ? juce::ImageCache::getFromMemory (res::dialog_button_png, res::dialog_button_pngSize)
                  : juce::ImageCache::getFromMemory (res::menu_button_png, res::menu_button_pngSize);
}

void drawThreeSlice (juce::Graphics& g, const juce::Image& image, int width, int height, int capWidth)
{
    const int imageWidth = image.getWidth(), imageHeight = image.getHeight();

    if (! image.isValid() || imageWidth <= capWidth)
        return;

    g.drawImage (image, 0, 0, capWidth, height, 0, 0, capWidth, imageHeight);
    g.drawImage (image, capWidth, 0, width - 2 * capWidth, height, capWidth, 0, 1, imageHeight);
    g.drawImage (image, width - capWidth, 0, capWidth, height, imageWidth - capWidth, 0, capWidth, imageHeight);
}

void drawImageTickBox (juce::Graphics& g, float x, float y, bool ticked)
{
    constexpr int side = 16;
    const auto image = juce::ImageCache::getFromMemory (res::tickbox_png, res::tickbox_pngSize);
    g.drawImage (image, (int) x, (int) y, side, side, ticked ? side : 0, 0, side, side);
}

void drawPopupScrollArrow (juce::Graphics& g, juce::LookAndFeel& skin, int width, int height, bool isScrollUpArrow)
{
    const auto background = skin.findColour (juce::PopupMenu::backgroundColourId);
    const auto w = (float) width, h = (float) height;

    g.setGradientFill (juce::ColourGradient (background, 0.0f, 0.5f * h,
                                             background.withAlpha (0.0f), 0.0f, isScrollUpArrow ? h : 0.0f,
                                             false));
    g.fillRect (1, 1, width - 2, height - 2);

    const float y1 = isScrollUpArrow ? 0.6f * h : 0.3f * h;
    const float y2 = isScrollUpArrow ? 0.3f * h : 0.6f * h;
    juce::Path arrow;
    arrow.addTriangle (0.5f * w - 0.3f * h, y1, 0.5f * w + 0.3f * h, y1, 0.5f * w, y2);

    g.setColour (skin.findColour (juce::PopupMenu::textColourId).withAlpha (0.5f));
    g.fillPath (arrow);
}

void drawFramedPopupBackground (juce::Graphics& g, juce::LookAndFeel& skin, int width, int height,
                                float highlightAlpha)
{
    const auto w = (float) width, h = (float) height;

    g.fillAll (skin.findColour (juce::PopupMenu::backgroundColourId));
    g.setColour (juce::Colours::black.withAlpha (0.2f));
    g.drawRect (0, 0, width, height, 1);
    g.setColour (juce::Colours::white.withAlpha (highlightAlpha));
    g.drawLine (0.0f, 0.0f, w, 0.0f, 1.0f);
    g.drawLine (0.0f, 1.0f, 0.0f, h - 1.0f, 1.0f);
}

void idealPopupItemSize (juce::Font font, const juce::String& text, bool isSeparator, int standardItemHeight,
                         float heightFactor, int& idealWidth, int& idealHeight)
{
    if (isSeparator)
    {
        idealWidth = 50;
        idealHeight = standardItemHeight > 0 ? standardItemHeight / 2 : 10;
        return;
    }

    if (standardItemHeight > 0 && font.getHeight() > (float) standardItemHeight / 1.3f)
        font.setHeight ((float) standardItemHeight / 1.3f);

    idealHeight = standardItemHeight > 0 ? standardItemHeight : juce::roundToInt (font.getHeight() * heightFactor);
    idealWidth = font.getStringWidth (text) + idealHeight * 2;
}

void drawPopupItem (juce::Graphics& g, juce::LookAndFeel& skin, juce::Rectangle<int> area, bool isSeparator,
                    bool isActive, bool isHighlighted, bool isTicked, bool hasSubMenu, const juce::String& text,
                    const juce::String& shortcutKeyText, const juce::Drawable* icon,
                    const juce::Colour* textColour, const PopupItemStyle& style)
{
    if (isSeparator)
    {
        auto r = area.reduced (style.separatorInset, 0);
        const int h = r.getHeight();
        r.removeFromTop (juce::jlimit (0, h, h / 2 - 1));
        g.setColour (style.separatorDark);
        g.fillRect (r.removeFromTop (1));
        g.setColour (style.separatorLight);
        g.fillRect (r.removeFromTop (1));
        return;
    }

    const auto colour = textColour != nullptr ? *textColour : skin.findColour (juce::PopupMenu::textColourId);
    auto r = area.reduced (1);

    if (isHighlighted)
    {
        g.setColour (skin.findColour (juce::PopupMenu::highlightedBackgroundColourId));
        g.fillRect (r);
        g.setColour (skin.findColour (juce::PopupMenu::highlightedTextColourId));
    }
    else
    {
        g.setColour (colour);
    }

    if (! isActive)
        g.setOpacity (0.3f);

    auto font = style.font;
    const float maxFontHeight = (float) area.getHeight() / 1.3f;

    if (font.getHeight() > maxFontHeight)
        font.setHeight (maxFontHeight);

    g.setFont (font);

    const auto iconArea = r.removeFromLeft (juce::jmin (r.getHeight() * 5 / 4, r.getWidth())).reduced (3).toFloat();

    if (icon != nullptr)
    {
        icon->drawWithin (g, iconArea, juce::RectanglePlacement::centred | juce::RectanglePlacement::onlyReduceInSize,
                          1.0f);
    }
    else if (isTicked)
    {
        const auto tick = skin.getTickShape (1.0f);
        g.fillPath (tick, tick.getTransformToScaleToFit (iconArea, true));
    }

    if (hasSubMenu)
    {
        const float arrowH = 0.6f * style.font.getAscent();
        const auto x = (float) r.removeFromRight ((int) arrowH).getX();
        const auto halfH = (float) r.getCentreY();

        juce::Path arrow;
        arrow.addTriangle (x, halfH - 0.5f * arrowH, x, halfH + 0.5f * arrowH, x + 0.6f * arrowH, halfH);
        g.fillPath (arrow);
    }

    r.removeFromRight (juce::jmin (3, r.getWidth()));
    g.drawFittedText (text, r, juce::Justification::centredLeft, 1, 0.7f);

    if (shortcutKeyText.isNotEmpty())
    {
        auto shortcutFont = font;
        shortcutFont.setHeight (font.getHeight() * 0.75f);
        shortcutFont.setHorizontalScale (0.95f);
        g.setFont (shortcutFont);
        g.drawText (shortcutKeyText, r, juce::Justification::centredRight, true);
    }
}

juce::TextLayout tooltipLayout (const juce::String& text, juce::Colour colour, TooltipStyle style)
{
    juce::AttributedString s;
    s.setJustification (juce::Justification::centred);
    s.append (text, plainFont (style.fontHeight), colour);

    juce::TextLayout layout;
    layout.createLayoutWithBalancedLineLengths (s, style.maxLineWidth);
    return layout;
}

juce::Rectangle<int> tooltipSize (const juce::String& text, TooltipStyle style)
{
    const auto layout = tooltipLayout (text, juce::Colours::black, style);
    return { (int) (layout.getWidth() + 14.0f), (int) (layout.getHeight() + 6.0f) };
}

juce::Rectangle<int> tooltipBounds (const juce::String& text, TooltipStyle style, juce::Point<int> screenPos,
                                    juce::Rectangle<int> parentArea)
{
    const auto size = tooltipSize (text, style);
    const int w = size.getWidth(), h = size.getHeight();

    return juce::Rectangle<int> (screenPos.x > parentArea.getCentreX() ? screenPos.x - (w + 12) : screenPos.x + 24,
                                 screenPos.y > parentArea.getCentreY() ? screenPos.y - (h + 6) : screenPos.y + 6,
                                 w, h)
        .constrainedWithin (parentArea);
}

void drawTooltip (juce::Graphics& g, juce::LookAndFeel& skin, const juce::String& text, int width, int height,
                  TooltipStyle style)
{
    g.fillAll (skin.findColour (juce::TooltipWindow::backgroundColourId));
    tooltipLayout (text, skin.findColour (juce::TooltipWindow::textColourId), style)
        .draw (g, juce::Rectangle<float> ((float) width, (float) height));
}

void drawTwoPassText (juce::Graphics& g, const juce::String& text, TextPass shadow, TextPass front,
                      juce::Justification justification, int maxLines, float minimumHorizontalScale)
{
    for (const auto& pass : { shadow, front })
    {
        g.setColour (pass.colour);
        g.drawFittedText (text, pass.box, justification, maxLines, minimumHorizontalScale);
    }
}

int buttonTextIndent (juce::Component& button)
{
    return juce::jmin (4, button.proportionOfHeight (0.3f));
}

juce::Colour buttonTextColour (juce::TextButton& button)
{
    return button.findColour (button.getToggleState() ? juce::TextButton::textColourOnId
                                                      : juce::TextButton::textColourOffId)
        .withMultipliedAlpha (button.isEnabled() ? 1.0f : 0.5f);
}

juce::Colour labelTextColour (juce::Label& label)
{
    return label.findColour (juce::Label::textColourId).withMultipliedAlpha (label.isEnabled() ? 1.0f : 0.5f);
}

int labelLines (const juce::Label& label, float fontHeight)
{
    return juce::jmax (1, (int) ((float) label.getHeight() / fontHeight));
}

void drawFramedLabel (juce::Graphics& g, juce::Label& label, const juce::Font& font, LabelStyle style)
{
    g.fillAll (label.findColour (juce::Label::backgroundColourId));

    if (! label.isBeingEdited())
    {
        const float alpha = label.isEnabled() ? 1.0f : 0.5f;
        const auto border = label.getBorderSize();
        const juce::Rectangle<int> box (border.getLeft(), border.getTop(), label.getWidth() - 2 * border.getLeft(),
                                        label.getHeight() - 2 * border.getTop());
        const auto text = label.getText();
        const auto justification = label.getJustificationType();
        const int lines = labelLines (label, font.getHeight());
        const float minScale = label.getMinimumHorizontalScale();

        g.setFont (font);

        if (style.dropShadow)
        {
            const auto shadow = juce::Colour (0x55000000).withMultipliedAlpha (style.shadowTakesAlpha ? alpha : 1.0f);
            drawTwoPassText (g, text, { shadow, box.translated (1, 1) }, { labelTextColour (label), box },
                             justification, lines, minScale);
        }
        else
        {
            g.setColour (labelTextColour (label));
            g.drawFittedText (text, box, justification, lines, minScale);
        }

        g.setColour (style.frameInOutlineColour
                         ? label.findColour (juce::Label::outlineColourId).withMultipliedAlpha (alpha)
                         : juce::Colour (0xFF000000));
    }
    else if (label.isEnabled())
    {
        g.setColour (label.findColour (juce::Label::outlineColourId));
    }

    g.drawRect (label.getLocalBounds());
}

void drawBevelledTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor& editor)
{
    if (! editor.isEnabled())
        return;

    const auto shadow = editor.findColour (juce::TextEditor::shadowColourId);

    if (editor.hasKeyboardFocus (true) && ! editor.isReadOnly())
    {
        g.setColour (editor.findColour (juce::TextEditor::focusedOutlineColourId));
        g.drawRect (0, 0, width, height, 2);
        g.setOpacity (1.0f);
        const auto bevel = shadow.withMultipliedAlpha (0.75f);
        juce::LookAndFeel_V2::drawBevel (g, 0, 0, width, height + 2, 4, bevel, bevel);
    }
    else
    {
        g.setColour (editor.findColour (juce::TextEditor::outlineColourId));
        g.drawRect (0, 0, width, height);
        g.setOpacity (1.0f);
        juce::LookAndFeel_V2::drawBevel (g, 0, 0, width, height + 2, 3, shadow, shadow);
    }
}

void fitToggleButtonToText (juce::ToggleButton& button)
{
    const int h = button.getHeight();
    const juce::Font font (juce::jmin (0.6f * (float) h, 13.0f));
    button.setSize (font.getStringWidth (button.getButtonText()) + juce::jmin (h, 24) + 8, h);
}

void drawShadowedToggle (juce::Graphics& g, juce::LookAndFeel& skin, juce::ToggleButton& button, bool isMouseOver,
                         bool isButtonDown, int shadowWidthCut, int textWidthCut, const juce::Colour* textColour)
{
    // The tick box image takes the opacity of the current colour; the texts take it below.
    const float opacity = button.isEnabled() ? 1.0f : 0.5f;
    g.setOpacity (opacity);
    skin.drawTickBox (g, button, 4.0f, 4.0f, 20.0f, 20.0f, button.getToggleState(), button.isEnabled(),
                      isMouseOver, isButtonDown);

    g.setFont (plainFont (13.0f));

    const int w = button.getWidth(), h = button.getHeight();
    const auto colour = (textColour != nullptr ? *textColour : button.findColour (juce::ToggleButton::textColourId))
                            .withMultipliedAlpha (opacity);
    drawTwoPassText (g, button.getButtonText(),
                     { juce::Colour (0x55000000).withMultipliedAlpha (opacity), { 27, 1, w - shadowWidthCut, h } },
                     { colour, { 26, 0, w - textWidthCut, h } }, juce::Justification::centredLeft, 10, 0.7f);
}

void positionComboBoxLabel (juce::ComboBox& box, juce::Label& label, const juce::Font& font)
{
    label.setBounds (1, 1, box.getWidth() - 2, box.getHeight() - 2);
    label.setFont (font);
}
} // namespace kelmora::skins::painters
