#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace kelmora::skins
{
/** The look of the product's value controls: vertical bar sliders drawn as dark value boxes with
    their value as text, rotary sliders drawn from the knob film strips, vector tick boxes, dark
    popup menus and 50-pixel label boxes. Makes no drop shadows. Message thread only. */
class LookAndFeelCustom : public juce::LookAndFeel_V3
{
public:
    LookAndFeelCustom();

    juce::Typeface::Ptr getTypefaceForFont (const juce::Font&) override;
    std::unique_ptr<juce::DropShadower> createDropShadowerForComponent (juce::Component&) override;

    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool isMouseOver, bool isButtonDown) override;
    void drawToggleButton (juce::Graphics&, juce::ToggleButton&, bool isMouseOver, bool isButtonDown) override;
    void drawTickBox (juce::Graphics&, juce::Component&, float x, float y, float w, float h,
                      bool ticked, bool isEnabled, bool isMouseOver, bool isButtonDown) override;

    void drawTextEditorOutline (juce::Graphics&, int width, int height, juce::TextEditor&) override;

    void drawPopupMenuBackground (juce::Graphics&, int width, int height) override;
    void drawPopupMenuItem (juce::Graphics&, const juce::Rectangle<int>& area, bool isSeparator, bool isActive,
                            bool isHighlighted, bool isTicked, bool hasSubMenu, const juce::String& text,
                            const juce::String& shortcutKeyText, const juce::Drawable* icon,
                            const juce::Colour* textColour) override;
    void drawMenuBarBackground (juce::Graphics&, int width, int height, bool isMouseOverBar,
                                juce::MenuBarComponent&) override;

    void drawComboBox (juce::Graphics&, int width, int height, bool isButtonDown,
                       int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox&) override;
    juce::Font getComboBoxFont (juce::ComboBox&) override;
    void positionComboBoxText (juce::ComboBox&, juce::Label&) override;

    void drawLabel (juce::Graphics&, juce::Label&) override;

    void drawLinearSlider (juce::Graphics&, int x, int y, int width, int height, float sliderPos,
                           float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle,
                           juce::Slider&) override;
    void drawRotarySlider (juce::Graphics&, int x, int y, int width, int height, float sliderPosProportional,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider&) override;
    int getSliderThumbRadius (juce::Slider&) override;
    juce::Label* createSliderTextBox (juce::Slider&) override;

    void drawTabButtonText (juce::TabBarButton&, juce::Graphics&, bool isMouseOver, bool isButtonDown) override;

    /** The film-strip frame a knob shows for a value: the value's linear proportion of the range
        times (frames - 1), rounded up, within 0 .. frames - 1. An empty or reversed range, a
        non-finite value or fewer than one frame give frame 0. */
    static int filmStripFrame (double value, double minimum, double maximum, int frames) noexcept;

protected:
    /** Draws the slider's film-strip frame at its native size, placed by the component's radius;
        returns the frame's top edge, where the twelve-o'clock tick starts. A strip that failed to
        decode draws nothing. */
    int drawKnobFrame (juce::Graphics&, int x, int y, int width, int height, juce::Slider&);

private:
    JUCE_DECLARE_NON_COPYABLE (LookAndFeelCustom)
};
} // namespace kelmora::skins
