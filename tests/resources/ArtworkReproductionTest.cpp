#include "tools/artwork/Artwork.h"

#include <gtest/gtest.h>

namespace
{
using kelmora::artwork::Artwork;

const juce::File imageFolder = juce::File (QUIETLINE_SOURCE_DIR).getChildFile ("resources/images");

// Tells a changed drawing apart from a different PNG encoder (libpng or zlib version) that
// compresses the same pixels into other bytes.
bool samePixels (const juce::MemoryBlock& drawnPng, const juce::MemoryBlock& committedPng)
{
    const auto drawn = juce::ImageFileFormat::loadFrom (drawnPng.getData(), drawnPng.getSize());
    const auto committed = juce::ImageFileFormat::loadFrom (committedPng.getData(), committedPng.getSize());
    if (! drawn.isValid() || ! committed.isValid() || drawn.getBounds() != committed.getBounds())
        return false;

    for (int y = 0; y < drawn.getHeight(); ++y)
        for (int x = 0; x < drawn.getWidth(); ++x)
            if (drawn.getPixelAt (x, y) != committed.getPixelAt (x, y))
                return false;
    return true;
}

TEST (Artwork, CommittedImagesAreWhatTheGeneratorDraws)
{
    const auto images = Artwork::drawAll();
    ASSERT_EQ (images.size(), 55u);

    for (const auto& item : images)
    {
        SCOPED_TRACE (item.fileName);
        const auto file = imageFolder.getChildFile (item.fileName);
        ASSERT_TRUE (file.existsAsFile());

        juce::MemoryBlock committed;
        ASSERT_TRUE (file.loadFileAsData (committed));
        const auto drawn = Artwork::encodePng (item.image);

        EXPECT_TRUE (drawn == committed)
            << (samePixels (drawn, committed)
                    ? "same pixels, other bytes: the PNG encoder differs from the one that made the committed file"
                    : "the drawing changed: run quietline_artwork resources/images and commit the images");
    }

    // Nothing in the folder that the generator does not make.
    EXPECT_EQ (imageFolder.getNumberOfChildFiles (juce::File::findFiles, "*.png"), 55);
}
} // namespace
