#pragma once

#include "editor/AbstractOverlay.h"

#include <memory>
#include <vector>

namespace kelmora::editor
{
/** The hover-help mode: a transparent overlay over the whole editor on which the editor
    registers the rectangles of its controls, each with a help topic. When the mouse rests on one
    for the fourth 50 ms tick, a speech-bubble box beside it shows the topic's headline and text
    from the product's or the framework's help text; moving off hides it at once. Releasing any
    mouse button anywhere ends the mode (change message). A topic neither help text has shows
    no box. Message thread only. */
class DynamicHelpOverlay : public AbstractOverlay,
                           private juce::Timer
{
public:
    /** Where a box sits relative to its region; automatic lets the overlay choose. */
    enum Placement { automatic = -1, below = 0, left = 1, above = 2, right = 3, centre = 4 };

    DynamicHelpOverlay();
    ~DynamicHelpOverlay() override;

    /** Appends a region; the first registered region under the mouse answers.
        @param placement a Placement
        @param mode      -1 for always, else the region counts only while activeMode equals it */
    void addHelpRegion (juce::Rectangle<int> bounds, const juce::String& topic, int placement = automatic,
                        int mode = -1);

    /** The help button, highlighted while the mode is on. */
    void setHelpButtonBounds (juce::Rectangle<int> bounds);

    /** The editor's zoom flag; regions with a mode count only while it matches. */
    void setActiveMode (int mode) noexcept { activeMode = mode; }

    /** Index of the first active region containing p, or -1. */
    int findRegionAt (juce::Point<int> p) const;

    /** The region whose box is shown, or -1. */
    int getShownRegion() const noexcept { return shownRegion; }
    const juce::String& getHelpTitle() const noexcept { return helpTitle; }

    /** The placement the shown region's box takes. */
    int chooseTextBoxPlacement() const;

    /** The shown box, kept 4 pixels inside the overlay, and its pointer triangle (which stays at
        the region). Meaningful while a box is shown. */
    juce::Rectangle<int> getTextBoxBounds() const;
    juce::Path getPointer() const;

    /** One 50 ms tick of the hover count; public so the count can be driven directly. */
    void timerCallback() override;

    void mouseMove (const juce::MouseEvent&) override;
    void mouseExit (const juce::MouseEvent&) override;
    void mouseDown (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;
    void resized() override;

private:
    struct HelpRegion
    {
        juce::Rectangle<int> bounds;
        juce::String topic;
        int placement, mode;
    };

    void updateHelpText();

    std::unique_ptr<juce::XmlElement> productHelp, frameworkHelp;
    std::vector<HelpRegion> regions;
    juce::Rectangle<int> helpButtonArea;
    int textWidth = 0;
    int hoveredRegion = -1;
    int activeMode = -1;
    int shownRegion = -1;
    int ticksLeft = 3;
    juce::String helpTitle;
    juce::TextLayout helpLayout;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DynamicHelpOverlay)
};
} // namespace kelmora::editor
