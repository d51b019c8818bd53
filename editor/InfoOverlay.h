#pragma once

#include "editor/Launcher.h"
#include "editor/WindowOverlay.h"
#include "skins/LfTextEditor.h"

namespace kelmora::editor
{
/** The about box: the logo, the maker's and the product's names, the version line naming the
    plug-in format, two credit lines and the links "Manual", "Website" and "Forum", which open in
    the desktop's default application and leave the dialog open. Message thread only. */
class InfoOverlay : public WindowOverlay
{
public:
    /** @param wrapperType the format that created the instance (juce::AudioProcessor::WrapperType)
        @param launcher    the desktop seam; not owned, must outlive the dialog */
    InfoOverlay (const juce::String& title, int wrapperType, Launcher& launcher = systemLauncher());
    ~InfoOverlay() override;

    /** "v1.0.0 64bit VST2 alpha 1 (<build date>, <build time>)": the format named for VST 2,
        VST 3, Audio Unit and AAX, nothing for any other. */
    static juce::String createVersionLine (int wrapperType);
    /** The product page with "?id=" (the product code) and "&version=" (the version number). */
    static juce::URL createWebsiteUrl();
    /** The manual installed under the user's application data, opened when it exists. */
    static juce::File getLocalManual();

    void buttonClicked (juce::Button*) override;
    void paint (juce::Graphics&) override;
    void resized() override;

private:
    void openWebPage (const juce::URL&);

    juce::TextButton websiteButton { "Website", {} };
    juce::TextButton manualButton { "Manual", {} };
    juce::TextButton forumButton { "Forum", {} };
    skins::OwnedSkin<skins::LfTextEditor> infoTextSkin { *this };
    juce::TextEditor infoText;
    int wrapperType;
    Launcher& launcher;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (InfoOverlay)
};
} // namespace kelmora::editor
