#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <vector>

namespace kelmora::editor
{
/** An on-screen keyboard of text buttons that types into one text editor, so that a preset name
    can be entered with the mouse alone: three letter rows, a block of digits and a few signs,
    SHIFT (one-shot: it applies to the next key only), SPACE and BACK.

    Typed text goes through the target's own input restrictions, so its length and character
    limits hold for these keys too. After every click the target has the keyboard focus again.
    The keys take the look-and-feel of the component the keyboard is placed in. 302 x 83 pixels;
    only the keys take mouse clicks, the rest of its bounds lets them through to what lies below.
    Message thread only. */
class VirtualKeyboard : public juce::Component,
                        public juce::Button::Listener,
                        public juce::ChangeBroadcaster
{
public:
    /** @param target  the editor typed into; not owned, must outlive the keyboard
        @param shiftOn whether the first key typed is a capital */
    VirtualKeyboard (juce::TextEditor& target, bool shiftOn);
    ~VirtualKeyboard() override;

    void buttonClicked (juce::Button*) override;
    void paint (juce::Graphics&) override;
    void resized() override;

private:
    using Row = std::vector<std::unique_ptr<juce::TextButton>>;

    void addKey (juce::TextButton&);
    bool isKey (const juce::Button&) const;

    juce::TextButton shiftButton { "SHIFT" };
    juce::TextEditor& target;
    Row rows[4];
    juce::TextButton spaceButton { "SPACE" };
    juce::TextButton backButton { "BACK" };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VirtualKeyboard)
};
} // namespace kelmora::editor
