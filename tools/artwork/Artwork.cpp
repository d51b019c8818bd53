#include "tools/artwork/Artwork.h"

#include "tools/artwork/StrokeFont.h"

#include <functional>
#include <tuple>

namespace kelmora::artwork
{
namespace
{
using juce::Colour;
using juce::ColourGradient;
using juce::Graphics;
using juce::Path;
using juce::PathStrokeType;
using juce::Rectangle;

//==============================================================================
// One palette for the whole editor: a dark blue-grey panel, near-black display and value
// boxes, light grey lettering and one blue accent (the colour of the response curve).
namespace palette
{
const Colour accent { 0xff3399ff };
const Colour accentBright { 0xff7cc2ff };
const Colour ink { 0xffc9d2dd };
const Colour inkBright { 0xffffffff };
const Colour inkDim { 0xff5b6470 };
const Colour caption { 0xff98a4b3 };
const Colour panelTop { 0xff1e2834 };
const Colour panelBottom { 0xff111720 };
const Colour windowTop { 0xff06080b };
const Colour windowBottom { 0xff0b0e13 };
const Colour bezel { 0xff2b3542 };
const Colour boxTop { 0xff06080b };
const Colour boxBottom { 0xff0e1117 };
const Colour boxEdge { 0xff313b48 };
const Colour dialogBody { 0xffe6e9ed };
const Colour dialogEdge { 0xff5c6672 };
} // namespace palette

enum class State
{
    normal,
    over,
    down
};

constexpr State allStates[] = { State::normal, State::over, State::down };

juce::String stateSuffix (State state)
{
    switch (state)
    {
        case State::over: return "_over";
        case State::down: return "_down";
        case State::normal: break;
    }

    return {};
}

juce::Image makeImage (int width, int height, bool withAlpha = true)
{
    return juce::Image (withAlpha ? juce::Image::ARGB : juce::Image::RGB, width, height, true,
                        juce::SoftwareImageType());
}

void fillVertical (Graphics& g, const Path& shape, Colour top, Colour bottom, float y0, float y1)
{
    g.setGradientFill (ColourGradient (top, 0.0f, y0, bottom, 0.0f, y1, false));
    g.fillPath (shape);
}

//==============================================================================
// Dark keys of the preset bar, which sits on a black strip.
struct KeyLook
{
    Colour top, bottom, edge, shine, ink;
    float inkOffset;   // pressed keys move their symbol down by one pixel
};

KeyLook keyLook (State state)
{
    switch (state)
    {
        case State::over: return { Colour (0xff3b424d), Colour (0xff272c34), Colour (0xff5a6574), Colour (0x24ffffff), palette::inkBright, 0.0f };
        case State::down: return { Colour (0xff16191e), Colour (0xff21252b), Colour (0xff3b4450), Colour (0x00ffffff), palette::accentBright, 1.0f };
        case State::normal: break;
    }

    return { Colour (0xff30363f), Colour (0xff1f2329), Colour (0xff454d59), Colour (0x18ffffff), palette::ink, 0.0f };
}

void paintKey (Graphics& g, Rectangle<float> area, State state, float radius,
               bool roundTop = true, bool roundBottom = true)
{
    const auto look = keyLook (state);
    const auto r = area.reduced (0.5f);

    Path body;
    body.addRoundedRectangle (r.getX(), r.getY(), r.getWidth(), r.getHeight(), radius, radius,
                              roundTop, roundTop, roundBottom, roundBottom);
    fillVertical (g, body, look.top, look.bottom, r.getY(), r.getBottom());

    {
        // A faint line of light along the upper edge gives the key its lift.
        Graphics::ScopedSaveState saved (g);
        g.reduceClipRegion (body);
        g.setColour (look.shine);
        g.fillRect (Rectangle<float> (area.getX(), area.getY() + 1.0f, area.getWidth(), 1.0f));
    }

    g.setColour (look.edge);
    g.strokePath (body, PathStrokeType (1.0f));
}

Path arrowUndo()
{
    // A hooked arrow: the tail comes up from the lower right and points left.
    Path shaft;
    shaft.startNewSubPath (16.8f, 16.2f);
    shaft.cubicTo (16.8f, 11.6f, 14.6f, 9.0f, 10.6f, 9.0f);
    shaft.lineTo (9.4f, 9.0f);

    Path arrow;
    PathStrokeType (2.0f, PathStrokeType::curved, PathStrokeType::rounded).createStrokedPath (arrow, shaft);
    arrow.addTriangle (5.2f, 9.0f, 10.2f, 5.0f, 10.2f, 13.0f);
    return arrow;
}

Path mirrored (Path p, float width)
{
    p.applyTransform (juce::AffineTransform::scale (-1.0f, 1.0f).translated (width, 0.0f));
    return p;
}

Path letterI()
{
    Path p;
    p.addEllipse (10.65f, 4.9f, 2.7f, 2.7f);
    p.addRoundedRectangle (10.95f, 9.0f, 2.1f, 8.0f, 1.05f);
    return p;
}

Path gear (float cx, float cy)
{
    // Eight teeth: the outline alternates between the tips and the roots of the teeth.
    constexpr int teeth = 8;
    constexpr float tip = 7.0f, root = 5.0f, hole = 2.3f;
    Path p;

    for (int i = 0; i < teeth * 4; ++i)
    {
        const auto angle = juce::MathConstants<float>::twoPi * ((float) i - 0.5f) / (float) (teeth * 4);
        const auto radius = (i % 4) < 2 ? tip : root;
        const juce::Point<float> point (cx + radius * std::sin (angle), cy - radius * std::cos (angle));

        if (i == 0)
            p.startNewSubPath (point);
        else
            p.lineTo (point);
    }

    p.closeSubPath();
    p.addEllipse (cx - hole, cy - hole, 2.0f * hole, 2.0f * hole);
    p.setUsingNonZeroWinding (false);
    return p;
}

juce::Image drawToolKey (State state, int width, int height, const std::function<void (Graphics&, const KeyLook&)>& symbol)
{
    auto image = makeImage (width, height);
    Graphics g (image);
    paintKey (g, image.getBounds().toFloat(), state, 3.5f);

    const auto look = keyLook (state);
    g.addTransform (juce::AffineTransform::translation (0.0f, look.inkOffset));
    symbol (g, look);
    return image;
}

void fillSymbol (Graphics& g, const Path& p, Colour c)
{
    g.setColour (c);
    g.fillPath (p);
}

// The A/B keys: both letters, the active state's letter lit in the accent colour.
void paintStateLetters (Graphics& g, State state, bool aLit)
{
    const auto lit = state == State::over ? palette::accentBright : (state == State::down ? palette::accent : Colour (0xff55aaff));
    const auto dim = state == State::over ? Colour (0xff7b8592) : palette::inkDim;

    fillSymbol (g, StrokeFont::strokedText ("A", 11.0f, 6.5f, 9.0f, 0.0f, 1.8f), aLit ? lit : dim);
    fillSymbol (g, StrokeFont::strokedText ("B", 25.0f, 6.5f, 9.0f, 0.0f, 1.8f), aLit ? dim : lit);

    g.setColour (Colour (0xff454d59));
    g.fillRect (Rectangle<float> (17.5f, 6.5f, 1.0f, 9.0f));
}

void paintCopyLetters (Graphics& g, const KeyLook& look, const juce::String& from, const juce::String& to)
{
    constexpr float cap = 8.0f, gap = 2.2f, stroke = 1.6f;
    const juce::String all = from + ">" + to;
    const auto left = 18.0f - 0.5f * StrokeFont::textWidth (all, cap, gap);
    const auto fromWidth = StrokeFont::textWidth (from, cap, gap);
    const auto arrowWidth = StrokeFont::textWidth (">", cap, gap);

    fillSymbol (g, StrokeFont::strokedText (from, left + 0.5f * fromWidth, 7.0f, cap, gap, stroke), look.ink);
    fillSymbol (g, StrokeFont::strokedText (">", left + fromWidth + gap + 0.5f * arrowWidth, 7.0f, cap, gap, stroke),
                palette::accentBright);
    fillSymbol (g, StrokeFont::strokedText (to, left + fromWidth + 2.0f * gap + arrowWidth
                                                    + 0.5f * StrokeFont::textWidth (to, cap, gap),
                                            7.0f, cap, gap, stroke),
                look.ink);
}

juce::Image drawPresetArrow (State state, bool up)
{
    auto image = makeImage (24, 11);
    Graphics g (image);
    // The two arrows stack into one 24 x 22 key beside the preset list.
    paintKey (g, image.getBounds().toFloat(), state, 3.5f, up, ! up);

    const auto look = keyLook (state);
    Path triangle;
    const float y = look.inkOffset * 0.5f;

    if (up)
        triangle.addTriangle (8.5f, 7.6f + y, 15.5f, 7.6f + y, 12.0f, 3.4f + y);
    else
        triangle.addTriangle (8.5f, 3.4f + y, 15.5f, 3.4f + y, 12.0f, 7.6f + y);

    fillSymbol (g, triangle, look.ink);
    return image;
}

//==============================================================================
// Bars that the skins cut into three slices: the caps hold all of the rounding, every column in
// between is the same, so the stretched column joins seamlessly.
juce::Image drawBar (int width, int height, float radius, Colour top, Colour bottom, Colour edge, Colour shine)
{
    auto image = makeImage (width, height);
    Graphics g (image);
    const auto r = image.getBounds().toFloat().reduced (0.5f);

    Path body;
    body.addRoundedRectangle (r, radius);
    fillVertical (g, body, top, bottom, r.getY(), r.getBottom());

    {
        Graphics::ScopedSaveState saved (g);
        g.reduceClipRegion (body);
        g.setColour (shine);
        g.fillRect (Rectangle<float> (0.0f, 1.0f, (float) width, 1.0f));
    }

    g.setColour (edge);
    g.strokePath (body, PathStrokeType (1.0f));
    return image;
}

juce::Image drawMenuButton (State state)
{
    switch (state)
    {
        case State::over: return drawBar (102, 22, 4.5f, Colour (0xff363d48), Colour (0xff242930), Colour (0xff5e6a7a), Colour (0x22ffffff));
        case State::down: return drawBar (102, 22, 4.5f, Colour (0xff14171b), Colour (0xff1f2329), Colour (0xff3b4450), Colour (0x00ffffff));
        case State::normal: break;
    }

    return drawBar (102, 22, 4.5f, Colour (0xff2c323b), Colour (0xff1c2026), Colour (0xff48515d), Colour (0x16ffffff));
}

juce::Image drawDialogButton (State state)
{
    switch (state)
    {
        case State::over: return drawBar (83, 26, 4.5f, Colour (0xffffffff), Colour (0xffe2e6eb), Colour (0xff5d677a), Colour (0xffffffff));
        case State::down: return drawBar (83, 26, 4.5f, Colour (0xffc4c9d0), Colour (0xffd9dde3), Colour (0xff5d6774), Colour (0x00ffffff));
        case State::normal: break;
    }

    return drawBar (83, 26, 4.5f, Colour (0xfff7f8fa), Colour (0xffd4d9df), Colour (0xff88929e), Colour (0xffffffff));
}

// The dark recessed box behind values and labels.
juce::Image drawValueBox (int width, int height, float radius)
{
    auto image = makeImage (width, height);
    Graphics g (image);
    const auto r = image.getBounds().toFloat().reduced (0.5f);

    Path body;
    body.addRoundedRectangle (r, radius);
    fillVertical (g, body, palette::boxTop, palette::boxBottom, r.getY(), r.getBottom());

    {
        Graphics::ScopedSaveState saved (g);
        g.reduceClipRegion (body);
        g.setColour (Colour (0x40000000));   // inner shadow under the upper edge
        g.fillRect (Rectangle<float> (0.0f, 1.0f, (float) width, 2.0f));
    }

    g.setColour (palette::boxEdge);
    g.strokePath (body, PathStrokeType (1.0f));
    return image;
}

juce::Image drawLabelBox()
{
    auto image = makeImage (50, 18);
    Graphics g (image);
    const auto r = image.getBounds().toFloat().reduced (0.5f);
    Path body;
    body.addRoundedRectangle (r, 4.0f);
    g.setColour (juce::Colours::black);
    g.fillPath (body);
    g.setColour (Colour (0xff262d36));
    g.strokePath (body, PathStrokeType (1.0f));
    return image;
}

//==============================================================================
juce::Image drawTickBox()
{
    auto image = makeImage (32, 16);
    Graphics g (image);

    for (int half = 0; half < 2; ++half)
    {
        const auto cx = 8.0f + 16.0f * (float) half, cy = 8.0f;
        Path ring;
        ring.addEllipse (cx - 6.5f, cy - 6.5f, 13.0f, 13.0f);
        fillVertical (g, ring, Colour (0xfffdfdfe), Colour (0xffd5dae0), cy - 6.5f, cy + 6.5f);
        g.setColour (Colour (0xff6f7986));
        g.strokePath (ring, PathStrokeType (1.0f));

        if (half == 1)
        {
            Path dot;
            dot.addEllipse (cx - 3.2f, cy - 3.2f, 6.4f, 6.4f);
            fillVertical (g, dot, palette::accentBright, Colour (0xff1f7fe0), cy - 3.2f, cy + 3.2f);
        }
    }

    return image;
}

// Nine-slice dialog frame: corners 29 wide, the top row 46 high, the bottom row 32 high. The
// rounding stays within seven pixels of the outside, so the title and the close button, which
// sit well inside, always lie on plain body colour.
juce::Image drawWindowFrame()
{
    auto image = makeImage (61, 93);
    Graphics g (image);
    const auto r = image.getBounds().toFloat().reduced (0.5f);

    Path body;
    body.addRoundedRectangle (r, 5.0f);
    g.setColour (palette::dialogBody);
    g.fillPath (body);

    {
        Graphics::ScopedSaveState saved (g);
        g.reduceClipRegion (body);
        g.setColour (Colour (0xb0ffffff));
        g.fillRect (Rectangle<float> (0.0f, 1.0f, 61.0f, 1.0f));
        g.setColour (Colour (0x18000000));
        g.fillRect (Rectangle<float> (0.0f, 91.0f, 61.0f, 1.0f));
    }

    g.setColour (palette::dialogEdge);
    g.strokePath (body, PathStrokeType (1.0f));
    return image;
}

// Makes the image transparent where the shape covers it (the shape's own overlaps included).
void cutOut (juce::Image& image, const Path& shape)
{
    juce::Image mask (juce::Image::SingleChannel, image.getWidth(), image.getHeight(), true, juce::SoftwareImageType());
    {
        Graphics g (mask);
        g.setColour (juce::Colours::white);
        g.fillPath (shape);
    }

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
        {
            const auto pixel = image.getPixelAt (x, y);
            const auto keep = 1.0f - mask.getPixelAt (x, y).getFloatAlpha();
            image.setPixelAt (x, y, pixel.withAlpha (pixel.getFloatAlpha() * keep));
        }
}

juce::Image drawFallbackLogo()
{
    // The maker's mark: a black tile with a K cut out of it.
    auto image = makeImage (40, 35);
    {
        Graphics g (image);
        g.setColour (juce::Colours::black);
        g.fillRoundedRectangle (3.5f, 1.0f, 33.0f, 33.0f, 7.5f);
    }

    cutOut (image, StrokeFont::strokedText ("K", 21.0f, 8.5f, 18.0f, 0.0f, 3.6f));
    return image;
}

//==============================================================================
// One knob frame at 70 x 70; proportion 0 points lower left, 1 lower right.
void paintKnob (Graphics& g, float proportion)
{
    constexpr float cx = 35.0f, cy = 35.0f;
    constexpr float start = -0.75f * juce::MathConstants<float>::pi;
    constexpr float range = 1.5f * juce::MathConstants<float>::pi;
    const auto angle = start + range * proportion;

    Path track;
    track.addCentredArc (cx, cy, 30.0f, 30.0f, 0.0f, start, start + range, true);
    g.setColour (Colour (0xff232a33));
    g.strokePath (track, PathStrokeType (3.5f, PathStrokeType::curved, PathStrokeType::rounded));

    if (proportion > 0.0f)
    {
        Path value;
        value.addCentredArc (cx, cy, 30.0f, 30.0f, 0.0f, start, angle, true);
        g.setColour (palette::accent);
        g.strokePath (value, PathStrokeType (3.5f, PathStrokeType::curved, PathStrokeType::rounded));
    }

    Path shadow;
    shadow.addEllipse (cx - 24.0f, cy - 22.5f, 48.0f, 48.0f);
    g.setColour (Colour (0x66000000));
    g.fillPath (shadow);

    Path body;
    body.addEllipse (cx - 24.0f, cy - 24.0f, 48.0f, 48.0f);
    g.setGradientFill (ColourGradient (Colour (0xff454d59), cx - 8.0f, cy - 20.0f,
                                       Colour (0xff171b21), cx + 10.0f, cy + 24.0f, false));
    g.fillPath (body);
    g.setColour (Colour (0xff0b0d10));
    g.strokePath (body, PathStrokeType (1.0f));

    Path cap;
    cap.addEllipse (cx - 18.0f, cy - 18.0f, 36.0f, 36.0f);
    g.setGradientFill (ColourGradient (Colour (0xff2b3139), cx, cy - 18.0f,
                                       Colour (0xff1f242b), cx, cy + 18.0f, false));
    g.fillPath (cap);
    g.setColour (Colour (0x30ffffff));
    g.strokePath (cap, PathStrokeType (0.8f));

    Path pointer;
    pointer.startNewSubPath (cx, cy - 8.0f);
    pointer.lineTo (cx, cy - 16.0f);
    pointer.applyTransform (juce::AffineTransform::rotation (angle, cx, cy));
    g.setColour (juce::Colours::white.withAlpha (0.92f));
    g.strokePath (pointer, PathStrokeType (3.0f, PathStrokeType::curved, PathStrokeType::rounded));
}

juce::Image drawKnobStrip (int size)
{
    constexpr int frames = 150;
    auto image = makeImage (size, size * frames);
    Graphics g (image);

    for (int frame = 0; frame < frames; ++frame)
    {
        Graphics::ScopedSaveState saved (g);
        g.reduceClipRegion (0, frame * size, size, size);
        g.addTransform (juce::AffineTransform::scale ((float) size / 70.0f).translated (0.0f, (float) (frame * size)));
        paintKnob (g, (float) frame / (float) (frames - 1));
    }

    return image;
}

//==============================================================================
void paintLed (Graphics& g, float cx, float cy, Colour colour, bool lit)
{
    if (lit)
    {
        ColourGradient halo (colour.withAlpha (0.45f), cx, cy, colour.withAlpha (0.0f), cx + 11.5f, cy, true);
        g.setGradientFill (halo);
        g.fillEllipse (cx - 11.5f, cy - 11.5f, 23.0f, 23.0f);
    }

    Path bezel;
    bezel.addEllipse (cx - 8.0f, cy - 8.0f, 16.0f, 16.0f);
    fillVertical (g, bezel, Colour (0xff0b0d10), Colour (0xff3a424d), cy - 8.0f, cy + 8.0f);

    Path lens;
    lens.addEllipse (cx - 6.0f, cy - 6.0f, 12.0f, 12.0f);

    if (lit)
        g.setGradientFill (ColourGradient (colour.interpolatedWith (juce::Colours::white, 0.7f), cx - 1.5f, cy - 2.0f,
                                           colour, cx + 6.0f, cy + 6.0f, true));
    else
        g.setGradientFill (ColourGradient (colour.withMultipliedBrightness (0.35f).withMultipliedSaturation (0.6f),
                                           cx, cy - 6.0f, colour.withMultipliedBrightness (0.18f), cx, cy + 6.0f, false));
    g.fillPath (lens);

    g.setColour (juce::Colours::white.withAlpha (lit ? 0.55f : 0.18f));   // specular glint
    g.fillEllipse (cx - 3.6f, cy - 4.4f, 3.4f, 2.2f);
}

juce::Image drawLed (Colour colour)
{
    auto image = makeImage (23, 46);
    Graphics g (image);
    paintLed (g, 11.5f, 11.5f, colour, true);
    paintLed (g, 11.5f, 34.5f, colour, false);
    return image;
}

//==============================================================================
// The bypass key. The editor centres the 54 x 40 image in a button 88 x 35 that runs past the
// editor's right edge, so only columns 0..47 and rows 2..36 are ever seen: the key lies within.
juce::Image drawBypassKey (bool lit)
{
    auto image = makeImage (54, 40);
    Graphics g (image);
    const Rectangle<float> key (1.5f, 5.5f, 44.0f, 30.0f);

    Path body;
    body.addRoundedRectangle (key, 4.0f);

    if (lit)
        fillVertical (g, body, Colour (0xff1b3b6b), Colour (0xff2858a0), key.getY(), key.getBottom());
    else
        fillVertical (g, body, Colour (0xff2f5f9f), Colour (0xff1d3d6e), key.getY(), key.getBottom());

    {
        Graphics::ScopedSaveState saved (g);
        g.reduceClipRegion (body);
        g.setColour (lit ? Colour (0x50000000) : Colour (0x38ffffff));
        g.fillRect (Rectangle<float> (key.getX(), key.getY() + 1.0f, key.getWidth(), lit ? 2.0f : 1.0f));
    }

    g.setColour (Colour (0xff0c1c36));
    g.strokePath (body, PathStrokeType (1.0f));

    // An indicator bar over the lettering: glowing when bypassed.
    const Rectangle<float> indicator (key.getCentreX() - 7.0f, key.getY() + 6.0f, 14.0f, 3.0f);
    if (lit)
    {
        g.setColour (Colour (0x507cc2ff));
        g.fillRoundedRectangle (indicator.expanded (2.0f, 1.5f), 2.5f);
        g.setColour (Colour (0xffd8eeff));
    }
    else
    {
        g.setColour (Colour (0xff13284a));
    }
    g.fillRoundedRectangle (indicator, 1.5f);

    const auto text = StrokeFont::strokedText ("BYPASS", key.getCentreX(), key.getY() + 15.0f, 6.0f, 1.3f, 1.25f);

    if (lit)
    {
        Path glow;
        PathStrokeType (2.0f, PathStrokeType::curved, PathStrokeType::rounded).createStrokedPath (glow, text);
        g.setColour (Colour (0x407cc2ff));
        g.fillPath (glow);
    }

    g.setColour (lit ? Colour (0xfff4faff) : Colour (0xff8ea5c6));
    g.fillPath (text);
    return image;
}

//==============================================================================
// The editor's panel below the preset bar (drawn at y 27 of the editor). The magnitude display
// lies over the black window at (16, 11, 366, 142); the three value boxes sit at x 125, 190 and
// 255 (62 wide) from y 180, with their captions just above.
juce::Image drawBackground()
{
    auto image = makeImage (406, 214, false);
    Graphics g (image);

    g.setGradientFill (ColourGradient (palette::panelTop, 0.0f, 0.0f, palette::panelBottom, 0.0f, 214.0f, false));
    g.fillAll();

    g.setColour (Colour (0xff0a0d12));   // seam under the black preset bar
    g.fillRect (0, 0, 406, 1);
    g.setColour (Colour (0x12ffffff));
    g.fillRect (0, 1, 406, 1);

    const Rectangle<float> window (16.0f, 11.0f, 366.0f, 142.0f);
    g.setColour (Colour (0x14ffffff));   // lower lip of the recess
    g.fillRoundedRectangle (window.expanded (2.0f).translated (0.0f, 1.0f), 5.0f);
    g.setColour (palette::bezel);
    g.fillRoundedRectangle (window.expanded (1.5f), 4.5f);
    g.setGradientFill (ColourGradient (palette::windowTop, 0.0f, window.getY(), palette::windowBottom, 0.0f,
                                       window.getBottom(), false));
    g.fillRect (window);

    g.setColour (palette::caption);
    const float captionTop = 169.0f, captionCap = 6.5f;
    g.fillPath (StrokeFont::strokedText ("FREQUENCY", 156.0f, captionTop, captionCap, 1.5f, 1.15f));
    g.fillPath (StrokeFont::strokedText ("SLOPE", 221.0f, captionTop, captionCap, 1.5f, 1.15f));
    g.fillPath (StrokeFont::strokedText ("AMOUNT", 286.0f, captionTop, captionCap, 1.5f, 1.15f));

    // The product's name at the lower left.
    const float titleLeft = 18.0f;
    auto lettering = [&] (const juce::String& text, float top, float cap, float tracking, float stroke, Colour colour)
    {
        const auto width = StrokeFont::textWidth (text, cap, tracking);
        g.setColour (colour);
        g.fillPath (StrokeFont::strokedText (text, titleLeft + 0.5f * width, top, cap, tracking, stroke));
    };

    lettering ("ORVEL", 168.0f, 6.0f, 3.0f, 1.2f, palette::accent);
    lettering ("QUIETLINE", 179.0f, 11.0f, 2.9f, 1.7f, Colour (0xffe6ebf1));
    lettering ("KELMORA LABS", 197.0f, 5.0f, 1.6f, 1.0f, Colour (0xff6c7888));
    return image;
}
} // namespace

//==============================================================================
std::vector<ArtworkImage> Artwork::drawAll()
{
    std::vector<ArtworkImage> images;
    auto add = [&] (const juce::String& name, juce::Image image) { images.push_back ({ name + ".png", std::move (image) }); };

    using SymbolPainter = std::function<void (Graphics&, const KeyLook&)>;
    const std::pair<const char*, SymbolPainter> toolKeys[] = {
        { "undo", [] (Graphics& g, const KeyLook& look) { fillSymbol (g, arrowUndo(), look.ink); } },
        { "redo", [] (Graphics& g, const KeyLook& look)
          { fillSymbol (g, mirrored (arrowUndo(), 24.0f), look.ink); } },
        { "about", [] (Graphics& g, const KeyLook& look) { fillSymbol (g, letterI(), look.ink); } },
        { "help", [] (Graphics& g, const KeyLook& look)
          { fillSymbol (g, StrokeFont::strokedText ("?", 12.0f, 5.5f, 11.0f, 0.0f, 2.0f), look.ink); } },
        { "settings", [] (Graphics& g, const KeyLook& look) { fillSymbol (g, gear (12.0f, 11.0f), look.ink); } },
    };

    for (const auto& [name, symbol] : toolKeys)
        for (auto state : allStates)
            add (name + stateSuffix (state), drawToolKey (state, 24, 22, symbol));

    for (const auto& [name, aLit] : { std::pair<const char*, bool> { "state_a", true }, { "state_b", false } })
        for (auto state : allStates)
            add (name + stateSuffix (state),
                 drawToolKey (state, 36, 22, [state, lit = aLit] (Graphics& g, const KeyLook&)
                              { paintStateLetters (g, state, lit); }));

    for (const auto& [name, from, to] : { std::tuple<const char*, const char*, const char*> { "copy_a_to_b", "A", "B" },
                                          { "copy_b_to_a", "B", "A" } })
        for (auto state : allStates)
            add (name + stateSuffix (state),
                 drawToolKey (state, 36, 22, [f = juce::String (from), t = juce::String (to)] (Graphics& g, const KeyLook& look)
                              { paintCopyLetters (g, look, f, t); }));

    for (auto state : allStates)
        add ("preset_up" + stateSuffix (state), drawPresetArrow (state, true));
    for (auto state : allStates)
        add ("preset_down" + stateSuffix (state), drawPresetArrow (state, false));
    for (auto state : allStates)
        add ("menu_button" + stateSuffix (state), drawMenuButton (state));
    for (auto state : allStates)
        add ("dialog_button" + stateSuffix (state), drawDialogButton (state));

    add ("tickbox", drawTickBox());
    add ("window_frame", drawWindowFrame());
    add ("fallback_logo", drawFallbackLogo());
    add ("knob_large", drawKnobStrip (70));
    add ("knob_small", drawKnobStrip (50));
    add ("bypass_lit", drawBypassKey (true));
    add ("bypass_dim", drawBypassKey (false));
    add ("background", drawBackground());
    add ("label_box", drawLabelBox());
    add ("value_box", drawValueBox (55, 21, 3.5f));
    add ("wide_box", drawValueBox (84, 21, 3.5f));
    add ("led_blue", drawLed (palette::accent));
    add ("led_green", drawLed (Colour (0xff38d46c)));
    add ("led_orange", drawLed (Colour (0xffff9a2e)));
    add ("led_red", drawLed (Colour (0xffff4343)));
    add ("led_white", drawLed (Colour (0xfff2f6fa)));
    return images;
}

juce::MemoryBlock Artwork::encodePng (const juce::Image& image)
{
    juce::MemoryOutputStream stream;
    juce::PNGImageFormat().writeImageToStream (image, stream);
    return stream.getMemoryBlock();
}
} // namespace kelmora::artwork
