// Draws the editor artwork into resources/images. Run it after changing the drawing code and
// commit the images it writes; a test checks that the committed files match a fresh run.
//
//   quietline_artwork <output folder>
//   quietline_artwork --preview <file.png>   a mock-up of the editor and a dialog, for review
#include "tools/artwork/Artwork.h"

#include <cstdio>
#include <map>

namespace
{
using kelmora::artwork::Artwork;

int writeAll (const juce::File& folder)
{
    if (! folder.createDirectory())
    {
        std::fprintf (stderr, "cannot create %s\n", folder.getFullPathName().toRawUTF8());
        return 1;
    }

    for (const auto& item : Artwork::drawAll())
    {
        const auto bytes = Artwork::encodePng (item.image);
        const auto file = folder.getChildFile (item.fileName);

        if (! file.replaceWithData (bytes.getData(), bytes.getSize()))
        {
            std::fprintf (stderr, "cannot write %s\n", file.getFullPathName().toRawUTF8());
            return 1;
        }
    }

    return 0;
}

// Three slices as the skins draw them: caps of `cap` columns, the column after the left cap
// stretched over the middle.
void drawSliced (juce::Graphics& g, const juce::Image& im, int x, int y, int w, int h, int cap)
{
    const int ih = im.getHeight(), iw = im.getWidth();
    g.drawImage (im, x, y, cap, h, 0, 0, cap, ih);
    g.drawImage (im, x + cap, y, w - 2 * cap, h, cap, 0, 1, ih);
    g.drawImage (im, x + w - cap, y, cap, h, iw - cap, 0, cap, ih);
}

void drawFrame (juce::Graphics& g, const juce::Image& im, int L, int T, int W, int H)
{
    const int B = T + H;
    g.drawImage (im, L, T, 29, 46, 0, 0, 29, 46);
    g.drawImage (im, L + 29, T, W - 58, 46, 29, 0, 1, 46);
    g.drawImage (im, L + W - 29, T, 29, 46, 32, 0, 29, 46);
    g.drawImage (im, L, T + 46, 29, H - 78, 0, 46, 29, 1);
    g.drawImage (im, L + 29, T + 46, W - 58, H - 78, 29, 46, 1, 1);
    g.drawImage (im, L + W - 29, T + 46, 29, H - 78, 32, 46, 29, 1);
    g.drawImage (im, L, B - 32, 29, 32, 0, 61, 29, 32);
    g.drawImage (im, L + 29, B - 32, W - 58, 32, 29, 61, 1, 32);
    g.drawImage (im, L + W - 29, B - 32, 29, 32, 32, 61, 29, 32);
}

int writePreview (const juce::File& file)
{
    std::map<juce::String, juce::Image> images;
    for (auto& item : Artwork::drawAll())
        images[item.fileName.upToLastOccurrenceOf (".", false, false)] = item.image;

    juce::Image editor (juce::Image::RGB, 406 * 2 + 20, 242, true);
    juce::Graphics g (editor);
    g.fillAll (juce::Colour (0xff404040));
    {
        juce::Graphics::ScopedSaveState s (g);
        g.reduceClipRegion (0, 0, 406, 242);
        g.fillAll (juce::Colours::black);
        g.drawImageAt (images["background"], 0, 27);
        const std::pair<const char*, int> keys[] = { { "undo", 3 }, { "redo", 28 }, { "state_a", 241 }, { "copy_a_to_b", 278 },
                                                     { "help", 329 }, { "settings", 354 }, { "about", 379 } };
        for (auto [name, x] : keys)
            g.drawImageAt (images[name], x, 3);
        drawSliced (g, images["menu_button"], 66, 3, 136, 22, 6);
        g.setColour (juce::Colours::white);
        g.setFont (juce::Font (12.2f, juce::Font::bold));
        g.drawText ("Default", 67, 4, 134, 20, juce::Justification::centredLeft);
        g.drawImageAt (images["preset_up"], 203, 3);
        g.drawImageAt (images["preset_down"], 203, 14);

        // The magnitude display over the window, roughly as the editor draws it.
        g.setColour (juce::Colour (0xff222222));
        for (int x = 60; x < 380; x += 48)
            g.drawVerticalLine (x, 63.0f, 164.0f);
        juce::Path curve;
        curve.startNewSubPath (38.0f, 43.0f);
        curve.lineTo (230.0f, 43.0f);
        curve.cubicTo (260.0f, 43.0f, 270.0f, 120.0f, 290.0f, 178.0f);
        g.setColour (juce::Colour (0xff3399ff));
        g.strokePath (curve, juce::PathStrokeType (2.0f));
        g.setFont (13.0f);
        g.setColour (juce::Colours::white);
        g.drawText ("dB", 16, 38, 19, 18, juce::Justification::centredRight);
        g.setColour (juce::Colour (0xff3399ff));
        g.drawText ("Frequency response", 43, 38, 200, 18, juce::Justification::centredLeft);

        const std::pair<int, const char*> boxes[] = { { 125, "21.0 kHz" }, { 190, "75.0 %" }, { 255, "100.0 %" } };
        for (auto [x, text] : boxes)
        {
            drawSliced (g, images["value_box"], x + 1, 208, 60, 22, 10);
            g.setColour (juce::Colours::white);
            g.setFont (11.8f);
            g.drawText (text, x, 207, 62, 24, juce::Justification::centred);
        }

        g.drawImageAt (images["bypass_dim"], 341 + 17, 190 - 2);
    }

    // Right half: a dialog over the dimmed editor, and the lit bypass key.
    g.drawImageAt (editor.getClippedImage ({ 0, 0, 406, 242 }), 426, 0);
    g.setColour (juce::Colour (0x99111111));
    g.fillRect (426, 0, 406, 242);
    g.setOpacity (1.0f);   // images are drawn with the current colour's opacity
    drawFrame (g, images["window_frame"], 426 + 43, 21, 322, 200);
    g.setColour (juce::Colour (0xff111111));
    g.setFont (juce::Font (14.0f, juce::Font::bold));
    g.drawText ("SETTINGS", 426 + 56, 28, 200, 22, juce::Justification::centredLeft);
    g.drawText ("X", 426 + 43 + 322 - 31, 30, 24, 18, juce::Justification::centred);
    g.drawImage (images["tickbox"], 426 + 60, 80, 16, 16, 0, 0, 16, 16);
    g.drawImage (images["tickbox"], 426 + 170, 80, 16, 16, 16, 0, 16, 16);
    g.setFont (12.2f);
    g.drawText ("Velocity based", 426 + 82, 80, 90, 16, juce::Justification::centredLeft);
    g.drawText ("Linear", 426 + 192, 80, 90, 16, juce::Justification::centredLeft);
    drawSliced (g, images["dialog_button"], 426 + 60, 170, 142, 26, 6);
    drawSliced (g, images["dialog_button_over"], 426 + 220, 170, 100, 26, 6);
    g.drawText ("Copy to Clipboard", 426 + 60, 170, 142, 26, juce::Justification::centred);
    g.drawImageAt (images["fallback_logo"], 426 + 60, 110);
    g.drawImageAt (images["bypass_lit"], 426 + 341 + 17 - 90, 190 - 2);

    // A second file: every small image, and a few knob frames, at twice their size.
    juce::Image sheet (juce::Image::RGB, 832, 260, true);
    {
        juce::Graphics gs (sheet);
        gs.fillAll (juce::Colour (0xff303030));
        int x = 2, y = 2, rowHeight = 0;
        for (auto& [name, im] : images)
        {
            if (name.startsWith ("knob") || name == "background")
                continue;
            if (x + im.getWidth() + 2 > 832) { x = 2; y += rowHeight + 3; rowHeight = 0; }
            gs.drawImageAt (im, x, y);
            x += im.getWidth() + 3;
            rowHeight = juce::jmax (rowHeight, im.getHeight());
        }
        y += rowHeight + 3;
        for (int i = 0; i < 5; ++i)
            gs.drawImage (images["knob_large"], 2 + i * 72, y, 70, 70, 0, 70 * (i * 149 / 4), 70, 70);
        for (int i = 0; i < 5; ++i)
            gs.drawImage (images["knob_small"], 370 + i * 52, y, 50, 50, 0, 50 * (i * 149 / 4), 50, 50);
    }
    {
        auto big = sheet.rescaled (832 * 2, 260 * 2, juce::Graphics::lowResamplingQuality);
        juce::FileOutputStream sheetOut (file.getSiblingFile (file.getFileNameWithoutExtension() + "_sheet.png"));
        sheetOut.setPosition (0);
        sheetOut.truncate();
        juce::PNGImageFormat().writeImageToStream (big, sheetOut);
    }

    auto scaled = editor.rescaled (editor.getWidth() * 2, editor.getHeight() * 2, juce::Graphics::lowResamplingQuality);
    juce::FileOutputStream out (file);
    if (! out.openedOk() || ! out.setPosition (0) || ! out.truncate().wasOk()
        || ! juce::PNGImageFormat().writeImageToStream (scaled, out))
        return 1;
    return 0;
}
} // namespace

int main (int argc, char** argv)
{
    const auto cwd = juce::File::getCurrentWorkingDirectory();

    if (argc == 3 && juce::String (argv[1]) == "--preview")
    {
        juce::ScopedJuceInitialiser_GUI gui;   // the mock-up's sample text needs fonts
        return writePreview (cwd.getChildFile (argv[2]));
    }

    if (argc == 2)
        return writeAll (cwd.getChildFile (argv[1]));

    std::fprintf (stderr, "usage: quietline_artwork <output folder> | --preview <file.png>\n");
    return 2;
}
