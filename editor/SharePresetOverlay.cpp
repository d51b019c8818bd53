#include "editor/SharePresetOverlay.h"

#include "core/ProductIdentity.h"
#include "skins/SharedFonts.h"

namespace kelmora::editor
{
SharePresetOverlay::SharePresetOverlay (const juce::String& titleText, Clipboard& c, Launcher& l)
    : WindowOverlay (titleText), clipboard (c), launcher (l)
{
    dialogWidth = 320;
    dialogHeight = 210;

    for (auto* button : { &copyButton, &emailButton })
    {
        button->addListener (this);
        addAndMakeVisible (*button);
    }

    codeView.setMultiLine (true, true);
    codeView.setReadOnly (true);
    codeView.setScrollBarThickness (7);
    codeView.setSelectAllWhenFocused (true);
    codeView.setFont (juce::Font (skins::SharedFonts::getInstance()->getPlainTypeface()).withHeight (11.0f));
    addAndMakeVisible (codeView);
}

SharePresetOverlay::~SharePresetOverlay() = default;

void SharePresetOverlay::setCode (const juce::String& text)
{
    code = text;
    codeView.setText (text, true);
}

juce::URL SharePresetOverlay::createMailUrl() const
{
    const juce::String product (identity::productName);
    return juce::URL ("mailto:")
        .withParameter ("subject", product + " Preset")
        .withParameter ("body", "This e-mail contains a " + product + " Preset. To load it, just copy and paste the code below into a "
                                    + product + " instance.\n\n-------- copy code below this line --------\n\n" + code
                                    + "\n\n-------- copy code above this line --------\n\n\n");
}

void SharePresetOverlay::buttonClicked (juce::Button* button)
{
    WindowOverlay::buttonClicked (button);

    if (button == &copyButton)
    {
        codeView.selectAll();
        clipboard.copyText (code);
    }
    else if (button == &emailButton)
    {
        launcher.openUrl (createMailUrl());
    }
}

void SharePresetOverlay::paint (juce::Graphics& g)
{
    WindowOverlay::paint (g);
    drawSimpleText (g, "Copy & paste the following code to share (or recall) the current plug-in state.", contentLeft,
                    contentTop + 30, contentWidth, juce::Colour (0xFF000000));
}

void SharePresetOverlay::resized()
{
    WindowOverlay::resized();
    const int overlayRight = getX() + getWidth(), overlayBottom = getY() + getHeight();
    const int buttonY = overlayBottom - 22 - margin - dialogTop;
    copyButton.setBounds (overlayRight - 142 - dialogLeft - margin, buttonY, 142, 26);
    emailButton.setBounds (contentLeft, buttonY, 142, 26);
    codeView.setBounds (contentLeft, contentTop + 53, contentWidth, 95);
}
} // namespace kelmora::editor
