#pragma once

#include <juce_graphics/juce_graphics.h>

namespace kelmora::artwork
{
/** Capital lettering built from our own centre-line shapes, so that the artwork never depends on
    the fonts installed on the machine that draws it. Glyphs are designed on a cap height of 1;
    the caller strokes the returned outline centre-lines with PathStrokeType. */
class StrokeFont
{
public:
    /** Centre-lines of the text with its cap height capHeight (pixels), the first glyph's left
        edge at x = 0 and the cap line at y = 0. tracking is the extra gap between glyphs, in
        pixels. Characters without a glyph are left out. */
    static juce::Path textPath (const juce::String& text, float capHeight, float tracking);

    /** Width in pixels of textPath's glyphs with the same arguments (centre-lines, no stroke). */
    static float textWidth (const juce::String& text, float capHeight, float tracking);

    /** The stroked text, centred horizontally on centreX with its cap line at top. */
    static juce::Path strokedText (const juce::String& text, float centreX, float top,
                                   float capHeight, float tracking, float strokeWidth);
};
} // namespace kelmora::artwork
