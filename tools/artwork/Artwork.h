#pragma once

#include <juce_graphics/juce_graphics.h>

#include <vector>

namespace kelmora::artwork
{
/** One image of the embedded resource table and the file it is stored in. */
struct ArtworkImage
{
    juce::String fileName;   // e.g. "undo_over.png"; the resource name is "undo_over_png"
    juce::Image image;
};

/** Draws every image of the embedded resource table: the preset-bar keys, the three-slice bars,
    the dialog frame, the knob film strips, the LEDs, the bypass key and the editor background.
    Everything is drawn with paths and gradients, lettering included, so the result depends on
    nothing installed on the machine. */
class Artwork
{
public:
    /** All 55 images, in the order of the resource table. */
    static std::vector<ArtworkImage> drawAll();

    /** The PNG bytes of an image as they are committed (RGBA, or RGB for images without alpha). */
    static juce::MemoryBlock encodePng (const juce::Image& image);
};
} // namespace kelmora::artwork
