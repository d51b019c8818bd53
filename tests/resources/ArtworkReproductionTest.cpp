#include "tools/artwork/Artwork.h"

#include <gtest/gtest.h>

#include <set>

namespace
{
using kelmora::artwork::Artwork;

const juce::File imageFolder = juce::File (QUIETLINE_SOURCE_DIR).getChildFile ("resources/images");

// Pixels, not bytes: another libpng or zlib compresses the same pixels into other bytes. Both
// sides pass through the same encoder and decoder, so the premultiplied alpha rounds alike.
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

    // The generator draws exactly the images the resource list embeds.
    std::set<juce::String> listed, drawn;
#define QUIETLINE_RESOURCE(symbol, file) \
    if (juce::String (file).startsWith ("images/")) listed.insert (juce::String (file).fromFirstOccurrenceOf ("/", false, false));
#include "resources/ResourceList.inc"
#undef QUIETLINE_RESOURCE
    for (const auto& item : images)
        drawn.insert (item.fileName);
    ASSERT_EQ (drawn, listed);

    for (const auto& item : images)
    {
        juce::MemoryBlock committed;
        ASSERT_TRUE (imageFolder.getChildFile (item.fileName).loadFileAsData (committed)) << item.fileName;
        EXPECT_TRUE (samePixels (Artwork::encodePng (item.image), committed))
            << item.fileName << " changed: run quietline_artwork resources/images and commit the images";
    }
}
} // namespace
