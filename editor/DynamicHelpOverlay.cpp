#include "editor/DynamicHelpOverlay.h"

#include "core/XmlUtils.h"
#include "resources/BinaryData.h"
#include "skins/SharedFonts.h"

namespace kelmora::editor
{
namespace
{
constexpr int tickMs = 50, ticksBeforeShowing = 3, edge = 4;

std::unique_ptr<juce::XmlElement> parseHelp (const char* data, int size)
{
    return core::XmlUtils::parseBytes (data, (std::size_t) size);
}
}

DynamicHelpOverlay::DynamicHelpOverlay()
    : productHelp (parseHelp (resources::help_product_xml, resources::help_product_xmlSize)),
      frameworkHelp (parseHelp (resources::help_framework_xml, resources::help_framework_xmlSize))
{
}

DynamicHelpOverlay::~DynamicHelpOverlay() = default;

void DynamicHelpOverlay::addHelpRegion (juce::Rectangle<int> bounds, const juce::String& topic, int placement,
                                        int mode)
{
    regions.push_back ({ bounds, topic, placement, mode });
}

void DynamicHelpOverlay::setHelpButtonBounds (juce::Rectangle<int> b)
{
    helpButtonArea = { b.getX() + 1, b.getY() + 2, juce::jmax (0, b.getWidth() - 2), juce::jmax (0, b.getHeight() - 2) };
}

void DynamicHelpOverlay::resized()
{
    textWidth = juce::jmin (320, (int) (getWidth() / 2.3));
}

int DynamicHelpOverlay::findRegionAt (juce::Point<int> p) const
{
    for (size_t i = 0; i < regions.size(); ++i)
    {
        const auto& r = regions[i];

        if ((r.mode == -1 || r.mode == activeMode) && r.bounds.contains (p))
            return (int) i;
    }

    return -1;
}

void DynamicHelpOverlay::mouseMove (const juce::MouseEvent& e)
{
    const int r = findRegionAt (e.getPosition());

    if (r == hoveredRegion)
        return;

    shownRegion = -1;
    repaint();
    stopTimer();
    hoveredRegion = r;
    startTimer (tickMs);
}

void DynamicHelpOverlay::timerCallback()
{
    if (shownRegion == hoveredRegion)
    {
        ticksLeft = ticksBeforeShowing;
        stopTimer();
    }
    else if (ticksLeft < 1)
    {
        shownRegion = hoveredRegion;
        ticksLeft = ticksBeforeShowing;
        updateHelpText();
    }
    else
    {
        --ticksLeft;
    }
}

void DynamicHelpOverlay::updateHelpText()
{
    stopTimer();

    if (shownRegion < 0)
    {
        repaint();
        return;
    }

    const auto& topic = regions[(size_t) shownRegion].topic;
    juce::String body, headline;

    // The framework's text comes second, so its entry wins when both have the topic.
    for (auto* root : { productHelp.get(), frameworkHelp.get() })
    {
        if (auto* entry = root != nullptr ? core::XmlUtils::findChild (*root, topic) : nullptr)
        {
            auto* content = entry->getFirstChildElement();
            body = content != nullptr ? content->getText() : juce::String();
            headline = core::XmlUtils::getAttribute (*entry, "title", "Warning: Missing headline");
        }
    }

    if (headline.isEmpty())
    {
        // Neither text knows the topic: show nothing rather than the previous topic's text.
        shownRegion = -1;
        repaint();
        return;
    }

    helpTitle = headline;
    juce::AttributedString text;
    text.append (body, skins::SharedFonts::getInstance()->makePlainFont (13.0f), juce::Colour (0xFF000000));
    helpLayout.createLayout (text, (float) (textWidth - 18));
    repaint();
}

int DynamicHelpOverlay::chooseTextBoxPlacement() const
{
    if (shownRegion < 0)
        return automatic;

    const auto& region = regions[(size_t) shownRegion];

    if (region.placement != automatic)
        return region.placement;

    const auto r = region.bounds;
    const int cy = r.getY() + r.getHeight() / 2;
    const int w = juce::jmin (textWidth, (int) helpLayout.getWidth() + 18);

    if (cy > 40 && cy + 40 < getHeight())
        return r.getRight() + w + 6 < getWidth() ? right : left;

    return cy <= 40 ? below : above;
}

juce::Rectangle<int> DynamicHelpOverlay::getTextBoxBounds() const
{
    if (shownRegion < 0)
        return {};

    const auto r = regions[(size_t) shownRegion].bounds;
    const int layoutWidth = (int) helpLayout.getWidth();
    const int w = juce::jmin (textWidth, layoutWidth + 18);
    const int h = (int) helpLayout.getHeight() + 39;
    const int cx = r.getX() + r.getWidth() / 2, cy = r.getY() + r.getHeight() / 2;
    int x = 0, y = 0;

    switch (chooseTextBoxPlacement())
    {
        case below:  x = cx - w / 2;           y = r.getBottom() + 6; break;
        case left:   x = r.getX() - 6 - w;     y = cy - h / 3; break;
        case above:  x = cx - layoutWidth / 2; y = r.getY() - 5 - h; break;
        case right:  x = r.getRight() + 6;     y = cy - h / 3; break;
        default:     x = cx - w / 2;           y = cy + 6; break;
    }

    x = juce::jmin (juce::jmax (x, edge), getWidth() - edge - w);
    y = juce::jmin (juce::jmax (y, edge), getHeight() - edge - h);
    return { x, y, w, h };
}

juce::Path DynamicHelpOverlay::getPointer() const
{
    juce::Path p;

    if (shownRegion < 0)
        return p;

    const auto r = regions[(size_t) shownRegion].bounds.toFloat();
    const float cx = r.getX() + r.getWidth() * 0.5f, cy = r.getY() + r.getHeight() * 0.5f;
    const float top = r.getY(), bottom = r.getBottom(), leftEdge = r.getX(), rightEdge = r.getRight();

    switch (chooseTextBoxPlacement())
    {
        case below:  p.addTriangle (cx - 4, bottom + 6, cx + 4, bottom + 6, cx, bottom - 4); break;
        case left:   p.addTriangle (leftEdge - 6, cy - 4, leftEdge - 6, cy + 4, leftEdge + 4, cy); break;
        case above:  p.addTriangle (cx - 4, top - 6, cx + 4, top - 6, cx, top + 4); break;
        case right:  p.addTriangle (rightEdge + 6, cy - 4, rightEdge + 6, cy + 4, rightEdge - 4, cy); break;
        default:     p.addTriangle (cx - 4, cy + 6, cx + 4, cy + 6, cx, cy - 4); break;
    }

    return p;
}

void DynamicHelpOverlay::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0x00FFFFFF));
    g.setColour (juce::Colour (0x80FFFF00));
    g.fillRoundedRectangle (helpButtonArea.toFloat(), 2.0f);

    if (shownRegion < 0)
        return;

    const auto box = getTextBoxBounds();
    const auto pointer = getPointer();
    const float bx = (float) box.getX(), by = (float) box.getY(), bw = (float) box.getWidth(), bh = (float) box.getHeight();
    auto shadowBox = [&g] (float x, float y, float w, float h)
    {
        g.fillRoundedRectangle (x, y, juce::jmax (0.0f, w), juce::jmax (0.0f, h), 4.0f);
    };

    g.setColour (juce::Colour (0x19000000));
    g.fillPath (pointer, juce::AffineTransform::translation (1.0f, 1.0f));
    shadowBox (bx - 2, by, bw + 2, bh + 2);
    shadowBox (bx + 1, by + 1, bw, bh);
    g.fillPath (pointer, juce::AffineTransform::translation (2.0f, 2.0f));
    shadowBox (bx - 1, by + 1, bw + 2, bh + 2);
    shadowBox (bx + 2, by + 2, bw, bh);

    g.setColour (juce::Colours::white);
    g.fillPath (pointer);
    g.fillRoundedRectangle (box.toFloat(), 4.0f);

    helpLayout.draw (g, { bx + 9, by + 30, bw - 18, bh - 42 });

    g.setColour (juce::Colours::black);
    g.setFont (skins::SharedFonts::getInstance()->makeBoldFont (14.0f));
    g.drawText (helpTitle, box.getX() + 9, box.getY() + 7, box.getWidth() - 18, 12, juce::Justification::centredLeft, true);
}

void DynamicHelpOverlay::mouseExit (const juce::MouseEvent& e) { juce::Component::mouseExit (e); }
void DynamicHelpOverlay::mouseDown (const juce::MouseEvent& e) { juce::Component::mouseDown (e); }
void DynamicHelpOverlay::mouseUp (const juce::MouseEvent&) { sendChangeMessage(); }
} // namespace kelmora::editor
