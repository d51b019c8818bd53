#include "skins/LookAndFeelCustom.h"

namespace kelmora::skins
{
LookAndFeelCustom::LookAndFeelCustom() = default;

juce::Typeface::Ptr LookAndFeelCustom::getTypefaceForFont (const juce::Font& a0)
{
    return juce::LookAndFeel_V3::getTypefaceForFont (a0);
}

std::unique_ptr<juce::DropShadower> LookAndFeelCustom::createDropShadowerForComponent (juce::Component& a0)
{
    return juce::LookAndFeel_V3::createDropShadowerForComponent (a0);
}

void LookAndFeelCustom::drawButtonBackground (juce::Graphics& a0, juce::Button& a1, const juce::Colour& backgroundColour, bool isMouseOver, bool isButtonDown)
{
    juce::LookAndFeel_V3::drawButtonBackground (a0, a1, backgroundColour, isMouseOver, isButtonDown);
}

void LookAndFeelCustom::drawToggleButton (juce::Graphics& a0, juce::ToggleButton& a1, bool isMouseOver, bool isButtonDown)
{
    juce::LookAndFeel_V3::drawToggleButton (a0, a1, isMouseOver, isButtonDown);
}

void LookAndFeelCustom::drawTickBox (juce::Graphics& a0, juce::Component& a1, float x, float y, float w, float h, bool ticked, bool isEnabled, bool isMouseOver, bool isButtonDown)
{
    juce::LookAndFeel_V3::drawTickBox (a0, a1, x, y, w, h, ticked, isEnabled, isMouseOver, isButtonDown);
}

void LookAndFeelCustom::drawTextEditorOutline (juce::Graphics& a0, int width, int height, juce::TextEditor& a3)
{
    juce::LookAndFeel_V3::drawTextEditorOutline (a0, width, height, a3);
}

void LookAndFeelCustom::drawPopupMenuBackground (juce::Graphics& a0, int width, int height)
{
    juce::LookAndFeel_V3::drawPopupMenuBackground (a0, width, height);
}

void LookAndFeelCustom::drawPopupMenuItem (juce::Graphics& a0, const juce::Rectangle<int>& area, bool isSeparator, bool isActive, bool isHighlighted, bool isTicked, bool hasSubMenu, const juce::String& text, const juce::String& shortcutKeyText, const juce::Drawable* icon, const juce::Colour* textColour)
{
    juce::LookAndFeel_V3::drawPopupMenuItem (a0, area, isSeparator, isActive, isHighlighted, isTicked, hasSubMenu, text, shortcutKeyText, icon, textColour);
}

void LookAndFeelCustom::drawMenuBarBackground (juce::Graphics& a0, int width, int height, bool isMouseOverBar, juce::MenuBarComponent& a4)
{
    juce::LookAndFeel_V3::drawMenuBarBackground (a0, width, height, isMouseOverBar, a4);
}

void LookAndFeelCustom::drawComboBox (juce::Graphics& a0, int width, int height, bool isButtonDown, int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox& a8)
{
    juce::LookAndFeel_V3::drawComboBox (a0, width, height, isButtonDown, buttonX, buttonY, buttonW, buttonH, a8);
}

juce::Font LookAndFeelCustom::getComboBoxFont (juce::ComboBox& a0)
{
    return juce::LookAndFeel_V3::getComboBoxFont (a0);
}

void LookAndFeelCustom::positionComboBoxText (juce::ComboBox& a0, juce::Label& a1)
{
    juce::LookAndFeel_V3::positionComboBoxText (a0, a1);
}

void LookAndFeelCustom::drawLabel (juce::Graphics& a0, juce::Label& a1)
{
    juce::LookAndFeel_V3::drawLabel (a0, a1);
}

void LookAndFeelCustom::drawLinearSlider (juce::Graphics& a0, int x, int y, int width, int height, float sliderPos, float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle a8, juce::Slider& a9)
{
    juce::LookAndFeel_V3::drawLinearSlider (a0, x, y, width, height, sliderPos, minSliderPos, maxSliderPos, a8, a9);
}

void LookAndFeelCustom::drawRotarySlider (juce::Graphics& a0, int x, int y, int width, int height, float sliderPosProportional, float rotaryStartAngle, float rotaryEndAngle, juce::Slider& a8)
{
    juce::LookAndFeel_V3::drawRotarySlider (a0, x, y, width, height, sliderPosProportional, rotaryStartAngle, rotaryEndAngle, a8);
}

int LookAndFeelCustom::getSliderThumbRadius (juce::Slider& a0)
{
    return juce::LookAndFeel_V3::getSliderThumbRadius (a0);
}

juce::Label* LookAndFeelCustom::createSliderTextBox (juce::Slider& a0)
{
    return juce::LookAndFeel_V3::createSliderTextBox (a0);
}

void LookAndFeelCustom::drawTabButtonText (juce::TabBarButton& a0, juce::Graphics& a1, bool isMouseOver, bool isButtonDown)
{
    juce::LookAndFeel_V3::drawTabButtonText (a0, a1, isMouseOver, isButtonDown);
}

int LookAndFeelCustom::filmStripFrame (double, double, double, int) noexcept
{
    return 0;
}

int LookAndFeelCustom::drawKnobFrame (juce::Graphics&, int, int y, int, int, juce::Slider&)
{
    return y;
}

} // namespace kelmora::skins
