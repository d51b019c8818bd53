#include "editor/InfoOverlay.h"

#include "core/ProductIdentity.h"
#include "resources/BinaryData.h"
#include "skins/SharedFonts.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace kelmora::editor
{
InfoOverlay::InfoOverlay (const juce::String& titleText, int wrapper, Launcher& l)
    : WindowOverlay (titleText), wrapperType (wrapper), launcher (l)
{
    dialogWidth = 360;
    dialogHeight = 221;

    for (auto* button : { &websiteButton, &manualButton, &forumButton })
    {
        button->addListener (this);
        addAndMakeVisible (*button);
    }

    infoText.setMultiLine (true, true);
    infoText.setReadOnly (true);
    infoText.setScrollBarThickness (7);
    infoText.setSelectAllWhenFocused (false);
    infoText.setFont (juce::Font (skins::SharedFonts::getInstance()->getPlainTypeface()).withHeight (12.5f));
    infoText.setBorder ({ 0, 0, 0, 0 });
    infoText.setCaretVisible (false);
    infoText.setIndents (0, 0);
    infoText.setLookAndFeel (infoTextSkin);
    infoText.setText (createVersionLine (wrapperType) + "\n\n" + "Designed and built by " + identity::makerName
                      + ".\n\nA linear-phase low-pass that removes what lies above the audible band.");
    addAndMakeVisible (infoText);
}

InfoOverlay::~InfoOverlay() = default;

juce::String InfoOverlay::createVersionLine (int wrapper)
{
    juce::String line = juce::String ("v") + identity::versionString + " 64bit";

    switch (wrapper)
    {
        case juce::AudioProcessor::wrapperType_VST: line << " VST2"; break;
        case juce::AudioProcessor::wrapperType_VST3: line << " VST3"; break;
        case juce::AudioProcessor::wrapperType_AudioUnit: line << " AU"; break;
        case juce::AudioProcessor::wrapperType_AAX: line << " AAX"; break;
        default: break;
    }

    return line << " alpha " << 1 << " (" << __DATE__ << ", " << __TIME__ << ")";
}

juce::URL InfoOverlay::createWebsiteUrl()
{
    return juce::URL (juce::String (identity::websiteUrl) + "?id=" + juce::String (identity::productCode)
                      + "&version=" + juce::String (identity::versionNumber));
}

juce::File InfoOverlay::getLocalManual()
{
    return juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory)
        .getChildFile (identity::makerName)
        .getChildFile (identity::productName)
        .getChildFile (juce::String (identity::productName) + " - Manual.pdf");
}

void InfoOverlay::openWebPage (const juce::URL& url)
{
    if (url.isWellFormed())
        launcher.openUrl (url);
}

void InfoOverlay::buttonClicked (juce::Button* button)
{
    WindowOverlay::buttonClicked (button);

    if (button == &websiteButton)
    {
        openWebPage (createWebsiteUrl());
    }
    else if (button == &manualButton)
    {
        // The desktop's default viewer opens the file; it is never started as a program.
        const auto manual = getLocalManual();
        if (manual.existsAsFile())
            launcher.openUrl (juce::URL (manual));
        else
            openWebPage (juce::URL (identity::manualUrl));
    }
    else if (button == &forumButton)
    {
        openWebPage (juce::URL (identity::forumUrl));
    }
}

void InfoOverlay::paint (juce::Graphics& g)
{
    WindowOverlay::paint (g);
    g.setColour (juce::Colour (0xFF000000));

    int size = 0;
    if (const auto* logo = resources::getNamedResource ("infologo_png", size))
    {
        g.drawImage (juce::ImageCache::getFromMemory (logo, size), contentLeft, contentTop + margin + 7, 332, 33, 0, 0, 332, 33);
        return;
    }

    g.drawImage (juce::ImageCache::getFromMemory (resources::fallback_logo_png, resources::fallback_logo_pngSize),
                 contentLeft - 1, contentTop + margin + 7, 50, 44, 0, 0, 50, 44);
    const auto fonts = skins::SharedFonts::getInstance();
    g.setFont (juce::Font (fonts->getBoldTypeface()).withHeight (14.0f));
    g.drawText (juce::String (identity::makerName).toUpperCase(), contentLeft + 42, contentTop + margin + 5, contentWidth - 50, 18,
                juce::Justification::centredLeft, true);
    g.setFont (juce::Font (fonts->getBoldTypeface()).withHeight (20.0f));
    g.drawText (identity::productName, contentLeft + 42, contentTop + margin + 18, contentWidth - 40, 28,
                juce::Justification::centredLeft, true);
}

void InfoOverlay::resized()
{
    WindowOverlay::resized();
    const int t = contentWidth / 3;
    infoText.setBounds (contentLeft + 1, contentTop + 59, contentWidth + 1, contentHeight - 95);
    manualButton.setBounds (contentLeft - 1, bottomLine - 30, t - 1, 26);
    websiteButton.setBounds (contentLeft + t + 2, bottomLine - 30, t - 1, 26);
    forumButton.setBounds (contentLeft + 2 * t + 5, bottomLine - 30, t - 1, 26);
}
} // namespace kelmora::editor
