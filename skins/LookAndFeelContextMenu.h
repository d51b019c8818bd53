#pragma once

#include "skins/ImageButtonLook.h"

namespace kelmora::skins
{
/** The look of the editor's right-click menu and of the preset list: light popup menus with black
    text, dark three-slice buttons, text with a soft dark drop shadow. Message thread only. */
class LookAndFeelContextMenu : public ImageButtonLook
{
public:
    LookAndFeelContextMenu();

    void drawButtonText (juce::Graphics&, juce::TextButton&, bool isMouseOver, bool isButtonDown) override;
    void drawToggleButton (juce::Graphics&, juce::ToggleButton&, bool isMouseOver, bool isButtonDown) override;




private:
    JUCE_DECLARE_NON_COPYABLE (LookAndFeelContextMenu)
};
} // namespace kelmora::skins
