#include "tools/artwork/StrokeFont.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace kelmora::artwork
{
namespace
{
struct Glyph
{
    juce::juce_wchar character;
    float width;           // in cap heights
    const char* outline;   // SVG path data on a cap height of 1, y growing downwards
};

// Geometric capitals. Bowls are cubic curves; a zero-length segment with round caps is a dot.
constexpr Glyph glyphs[] = {
    { 'A', 0.72f, "M0 1 L0.36 0 L0.72 1 M0.14 0.64 L0.58 0.64" },
    { 'B', 0.60f, "M0 0.5 L0.32 0.5 C0.60 0.5 0.60 0 0.32 0 L0 0 L0 1 L0.35 1 C0.64 1 0.64 0.5 0.35 0.5" },
    { 'C', 0.66f, "M0.65 0.17 C0.57 0.06 0.46 0 0.35 0 C0.14 0 0 0.22 0 0.5 C0 0.78 0.14 1 0.35 1 "
                  "C0.46 1 0.57 0.94 0.65 0.83" },
    { 'E', 0.54f, "M0.54 0 L0 0 L0 1 L0.54 1 M0 0.5 L0.44 0.5" },
    { 'F', 0.52f, "M0.52 0 L0 0 L0 1 M0 0.5 L0.42 0.5" },
    { 'I', 0.00f, "M0 0 L0 1" },
    { 'K', 0.60f, "M0 0 L0 1 M0.58 0 L0 0.64 M0.22 0.4 L0.60 1" },
    { 'L', 0.50f, "M0 0 L0 1 L0.5 1" },
    { 'M', 0.80f, "M0 1 L0 0 L0.4 0.72 L0.8 0 L0.8 1" },
    { 'N', 0.66f, "M0 1 L0 0 L0.66 1 L0.66 0" },
    { 'O', 0.80f, "M0.4 0 C0.63 0 0.8 0.22 0.8 0.5 C0.8 0.78 0.63 1 0.4 1 C0.17 1 0 0.78 0 0.5 "
                  "C0 0.22 0.17 0 0.4 0 Z" },
    { 'P', 0.58f, "M0 1 L0 0 L0.31 0 C0.64 0 0.64 0.54 0.31 0.54 L0 0.54" },
    { 'Q', 0.80f, "M0.4 0 C0.63 0 0.8 0.22 0.8 0.5 C0.8 0.78 0.63 1 0.4 1 C0.17 1 0 0.78 0 0.5 "
                  "C0 0.22 0.17 0 0.4 0 Z M0.5 0.7 L0.82 1.04" },
    { 'R', 0.60f, "M0 1 L0 0 L0.31 0 C0.64 0 0.64 0.54 0.31 0.54 L0 0.54 M0.3 0.54 L0.6 1" },
    { 'S', 0.58f, "M0.56 0.15 C0.49 0.05 0.39 0 0.28 0 C0.12 0 0.02 0.1 0.02 0.25 C0.02 0.58 0.58 0.42 "
                  "0.58 0.74 C0.58 0.9 0.46 1 0.29 1 C0.17 1 0.06 0.95 0 0.85" },
    { 'T', 0.60f, "M0 0 L0.6 0 M0.3 0 L0.3 1" },
    { 'U', 0.64f, "M0 0 L0 0.64 C0 0.87 0.14 1 0.32 1 C0.5 1 0.64 0.87 0.64 0.64 L0.64 0" },
    { 'V', 0.70f, "M0 0 L0.35 1 L0.7 0" },
    { 'Y', 0.66f, "M0 0 L0.33 0.5 L0.66 0 M0.33 0.5 L0.33 1" },
    { '>', 0.50f, "M0 0.16 L0.5 0.5 L0 0.84" },
    { '?', 0.54f, "M0 0.22 C0.02 0.08 0.13 0 0.27 0 C0.43 0 0.54 0.1 0.54 0.25 C0.54 0.46 0.27 0.46 "
                  "0.27 0.7 M0.27 0.96 L0.27 0.961" },
    { ' ', 0.30f, "" },
};

const Glyph* findGlyph (juce::juce_wchar c)
{
    for (const auto& glyph : glyphs)
        if (glyph.character == c)
            return &glyph;

    return nullptr;
}

template <typename Visitor>
float layOut (const juce::String& text, float capHeight, float tracking, Visitor&& visit)
{
    float x = 0.0f, right = 0.0f;

    for (auto c : text)
        if (auto* glyph = findGlyph (c))
        {
            visit (*glyph, x);
            right = x + glyph->width * capHeight;
            x = right + tracking;
        }

    return right;
}
} // namespace

juce::Path StrokeFont::textPath (const juce::String& text, float capHeight, float tracking)
{
    juce::Path result;
    layOut (text, capHeight, tracking, [&] (const Glyph& glyph, float x)
    {
        auto shape = juce::Drawable::parseSVGPath (glyph.outline);
        result.addPath (shape, juce::AffineTransform::scale (capHeight).translated (x, 0.0f));
    });
    return result;
}

float StrokeFont::textWidth (const juce::String& text, float capHeight, float tracking)
{
    return layOut (text, capHeight, tracking, [] (const Glyph&, float) {});
}

juce::Path StrokeFont::strokedText (const juce::String& text, float centreX, float top,
                                    float capHeight, float tracking, float strokeWidth)
{
    auto lines = textPath (text, capHeight, tracking);
    lines.applyTransform (juce::AffineTransform::translation (
        centreX - 0.5f * textWidth (text, capHeight, tracking), top));

    juce::Path outline;
    juce::PathStrokeType (strokeWidth, juce::PathStrokeType::curved, juce::PathStrokeType::rounded)
        .createStrokedPath (outline, lines);
    return outline;
}
} // namespace kelmora::artwork
