#include "editor/AbstractOverlay.h"

#include "skins/SharedFonts.h"

namespace kelmora::editor
{
AbstractOverlay::AbstractOverlay()
{
    setLookAndFeel (skin);
    setBufferedToImage (true);
}

AbstractOverlay::~AbstractOverlay() = default;

void AbstractOverlay::buttonClicked (juce::Button*) {}

void AbstractOverlay::drawShadowedText (juce::Graphics& g, const juce::String& text, int x, int y, int width,
                                        int height, bool bold, juce::Justification justification, bool useColour,
                                        juce::Colour colour, float fontHeight)
{
    const auto fonts = skins::SharedFonts::getInstance();
    g.setFont (bold ? fonts->makeBoldFont (fontHeight) : fonts->makePlainFont (fontHeight));
    g.setColour (juce::Colours::white);
    g.drawText (text, x, y + 1, width, height, justification, true);
    g.setColour (useColour ? colour : juce::Colour (0x55000000));
    g.drawText (text, x, y, width, height, justification, true);
}

void AbstractOverlay::drawSimpleText (juce::Graphics& g, const juce::String& text, int x, int y, int maxWidth,
                                      juce::Colour colour)
{
    g.setFont (skins::SharedFonts::getInstance()->makePlainFont (13.0f));
    g.setColour (juce::Colours::white);
    g.drawMultiLineText (text, x, y + 1, maxWidth);
    g.setColour (colour);
    g.drawMultiLineText (text, x, y, maxWidth);
}

void AbstractOverlay::mouseDown (const juce::MouseEvent& e) { juce::Component::mouseDown (e); }
void AbstractOverlay::paint (juce::Graphics&) {}
void AbstractOverlay::resized() {}
} // namespace kelmora::editor
