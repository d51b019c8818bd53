#pragma once

#include "core/KelmoraLabsAudioProcessor.h"
#include "editor/AbstractOverlay.h"
#include "editor/Clipboard.h"
#include "editor/Launcher.h"
#include "editor/PresetComboBox.h"
#include "skins/LookAndFeelContextMenu.h"
#include "skins/LookAndFeelToolbar.h"
#include "skins/OwnedSkin.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace kelmora::editor
{
class DynamicHelpOverlay;

/** The editor base every product editor derives from. It owns the preset bar (the 28-pixel
    black strip with undo and redo, the preset box and its arrows, the A/B and copy buttons, the
    help, settings and about buttons), the one overlay dialog that may cover the editor, the
    tooltip window, the list of sliders that follow the global slider settings, and the 50 ms
    tick that brings everything up to date with the processor.

    It reaches the processor only through the processor base, its PresetController and its
    global settings. Commands come from the preset bar, the two context menus, Ctrl/Cmd+C and
    Ctrl/Cmd+V and the overlays' action messages; the state text they copy, paste and share is
    the live values as one line of XML.

    A product sets baseWidth and baseHeight, adds its controls, appends its sliders to
    `sliders`, and overrides the listener callbacks, the tick, updateControlStates and
    registerHelpRegions, calling the base version from each. Message thread only. */
class KelmoraLabsEditor : public juce::AudioProcessorEditor,
                          public juce::Slider::Listener,
                          public juce::Button::Listener,
                          public juce::ComboBox::Listener,
                          public juce::ChangeListener,
                          public juce::KeyListener,
                          public juce::ActionListener,
                          public juce::Timer
{
public:
    explicit KelmoraLabsEditor (core::KelmoraLabsAudioProcessor& processor);
    ~KelmoraLabsEditor() override;

    void mouseDown (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;
    void resized() override;

    /** The 50 ms refresh; a product runs its own refresh first, then this. */
    void timerCallback() override;
    void sliderValueChanged (juce::Slider*) override;
    void sliderDragStarted (juce::Slider*) override;
    void sliderDragEnded (juce::Slider*) override;
    void buttonClicked (juce::Button*) override;
    void comboBoxChanged (juce::ComboBox*) override;
    /** Ctrl (or Cmd) with C copies, with V pastes the state text. */
    bool keyPressed (const juce::KeyPress&, juce::Component* originatingComponent) override;
    using juce::Component::keyPressed;
    /** An overlay asking to close. */
    void changeListenerCallback (juce::ChangeBroadcaster*) override;
    /** An overlay's command. */
    void actionListenerCallback (const juce::String& message) override;

    /** The state text to the clipboard. */
    virtual void copyStateToClipboard();
    /** Loads the state text found in the clipboard's text, as one undo step; anything else
        changes nothing. */
    virtual void pasteStateFromClipboard();
    /** Called at the end of every tick; the product dims its controls here. */
    virtual void updateControlStates();
    /** Slider mode (0 velocity based, 1 linear) and linear-mode sensitivity (1..200 %) for
        every slider in `sliders`. */
    virtual void applySliderSettings (int mode, int sensitivity);
    virtual void setSliderTextBoxesReadOnly();
    /** 125 % size (on) or the base size. */
    virtual void setZoomed (bool on);
    /** The preset bar's help regions; a product adds its own after calling this. */
    virtual void registerHelpRegions (DynamicHelpOverlay* help);

    /** Replaces the shown overlay (if any) by this one, covering the base area. */
    void showOverlay (std::unique_ptr<AbstractOverlay> overlay);
    AbstractOverlay* getCurrentOverlay() const noexcept { return currentOverlay.get(); }

    /** Runs a menu command (ids 1..7) on the component when it is a live editor; anything else
        (a dismissed menu, an editor deleted while its menu was open) does nothing. */
    static void presetMenuCallback (int result, juce::Component* component);

    /** The live values as one line: <OrvelQuietline freqParam="21000" .../> */
    juce::String createStateText();
    /** The state element found in a pasted text, when its tag is this product's; else null. */
    std::unique_ptr<juce::XmlElement> findStateElement (const juce::String& text);

    /** The clipboard and launcher used by the commands and handed to the dialogs; the system's
        unless replaced. Not owned; must outlive the editor. */
    void setDesktopSeams (Clipboard& clipboard, Launcher& launcher);

protected:
    int baseWidth = 400, baseHeight = 300;
    int zoomFlag = 0;
    juce::Array<juce::Slider*> sliders;
    skins::OwnedSkin<skins::LookAndFeelToolbar> toolbarSkin { *this };
    skins::OwnedSkin<skins::LookAndFeelContextMenu> contextMenuSkin { *this };
    juce::TooltipWindow tooltipWindow { nullptr, 700 };
    juce::ImageButton undoButton, redoButton, copyAToBButton, copyBToAButton, aboutButton, helpButton, settingsButton,
        stateAButton, stateBButton, previousPresetButton, nextPresetButton;
    PresetComboBox presetBox;
    int presetBoxWidthLimit = -1;
    std::unique_ptr<AbstractOverlay> currentOverlay;
    core::KelmoraLabsAudioProcessor& kelmoraProcessor;
    core::PresetController* controller;
    bool sliderDragging = false;

private:
    void setUpButton (juce::ImageButton&, const char* normal, int normalSize, const char* over, int overSize,
                      const char* down, int downSize, const juce::String& tooltip);
    void runMenuCommand (int id);
    void removeOverlay();

    Clipboard* clipboard = &systemClipboard();
    Launcher* launcher = &systemLauncher();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KelmoraLabsEditor)
};
} // namespace kelmora::editor
