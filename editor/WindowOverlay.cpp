#include "editor/WindowOverlay.h"

#include "resources/BinaryData.h"

namespace kelmora::editor
{
WindowOverlay::WindowOverlay (const juce::String& titleText) : title (titleText)
{
    closeButton.addListener (this);
    closeButton.setLookAndFeel (closeButtonSkin);
    addAndMakeVisible (closeButton);
}

WindowOverlay::~WindowOverlay() = default;

void WindowOverlay::resized()
{
    dialogLeft = (getWidth() - dialogWidth) / 2;
    dialogTop = (getHeight() - dialogHeight) / 2;
    frameWidth = dialogWidth + 2;
    frameHeight = dialogHeight;
    frameLeft = dialogLeft;
    frameTop = dialogTop;
    frameBottom = dialogTop + dialogHeight;
    contentWidth = dialogWidth - 2 * margin;
    contentHeight = dialogHeight - 2 * margin;
    contentLeft = dialogLeft + margin;
    contentTop = dialogTop + 22;
    bottomLine = dialogTop + dialogHeight - 6;

    closeButton.setBounds (getX() + getWidth() - 29 - dialogLeft, dialogTop + 9, closeButtonWidth, 18);
}

void WindowOverlay::paint (juce::Graphics& g)
{
    AbstractOverlay::paint (g);
    paintWindow (g, title);
}

void WindowOverlay::drawFrame (juce::Graphics& g, const juce::Image& image, int l, int t, int w, int h)
{
    constexpr int side = 29, topRow = 46, bottomRow = 32, farColumn = 32, farRow = 61;
    const int b = t + h, middleWidth = w - 2 * side, middleHeight = h - topRow - bottomRow;

    struct Slice { int dx, dy, dw, dh, sx, sy, sw, sh; };
    const Slice slices[] = {
        { l, t, side, topRow, 0, 0, side, topRow },
        { l + side, t, middleWidth, topRow, side, 0, 1, topRow },
        { l + w - side, t, side, topRow, farColumn, 0, side, topRow },
        { l, t + topRow, side, middleHeight, 0, topRow, side, 1 },
        { l + side, t + topRow, middleWidth, middleHeight, side, topRow, 1, 1 },
        { l + w - side, t + topRow, side, middleHeight, farColumn, topRow, side, 1 },
        { l, b - bottomRow, side, bottomRow, 0, farRow, side, bottomRow },
        { l + side, b - bottomRow, middleWidth, bottomRow, side, farRow, 1, bottomRow },
        { l + w - side, b - bottomRow, side, bottomRow, farColumn, farRow, side, bottomRow },
    };

    for (const auto& s : slices)
        g.drawImage (image, s.dx, s.dy, s.dw, s.dh, s.sx, s.sy, s.sw, s.sh, false);
}

void WindowOverlay::paintWindow (juce::Graphics& g, const juce::String& titleText)
{
    // fillAll (colour) leaves the current colour opaque, and images are drawn with its opacity.
    g.fillAll (juce::Colour (0x99111111));
    drawFrame (g, juce::ImageCache::getFromMemory (resources::window_frame_png, resources::window_frame_pngSize),
               frameLeft, frameTop, frameWidth, frameHeight);

    // The title in two passes, white one pixel lower; its box stops clear of the close button.
    drawShadowedText (g, titleText, contentLeft, dialogTop + 7, contentWidth - 14 - closeButtonWidth, 22, true,
                      juce::Justification::centredLeft, true, juce::Colour (0xFF111111), 14.0f);
}

void WindowOverlay::mouseDown (const juce::MouseEvent& e)
{
    const bool outside = e.x < dialogLeft || e.x > getWidth() - dialogLeft
                      || e.y < dialogTop || e.y > getHeight() - dialogTop;

    if (outside)
        sendChangeMessage();
}

void WindowOverlay::buttonClicked (juce::Button* button)
{
    AbstractOverlay::buttonClicked (button);

    if (button == &closeButton)
        sendChangeMessage();
}
} // namespace kelmora::editor
