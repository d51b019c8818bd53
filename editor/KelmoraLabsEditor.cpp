#include "editor/KelmoraLabsEditor.h"

#include "editor/DynamicHelpOverlay.h"
#include "editor/PopupMenuClick.h"
#include "resources/BinaryData.h"

namespace kelmora::editor
{
namespace
{
constexpr int stripHeight = 28;

juce::Image imageOf (const char* data, int size) { return juce::ImageCache::getFromMemory (data, size); }
}

#define QUIETLINE_IMAGES(name) res::name##_png, res::name##_pngSize, res::name##_over_png, res::name##_over_pngSize, \
                               res::name##_down_png, res::name##_down_pngSize

KelmoraLabsEditor::KelmoraLabsEditor (core::KelmoraLabsAudioProcessor& p)
    : juce::AudioProcessorEditor (p), kelmoraProcessor (p), controller (&p.getPresetController())
{
    namespace res = resources;
    setBufferedToImage (true);
    tooltipWindow.setLookAndFeel (toolbarSkin);
    setLookAndFeel (toolbarSkin);

    setUpButton (undoButton, QUIETLINE_IMAGES (undo), {});
    setUpButton (redoButton, QUIETLINE_IMAGES (redo), {});
    setUpButton (aboutButton, QUIETLINE_IMAGES (about), {});
    setUpButton (helpButton, QUIETLINE_IMAGES (help), {});
    setUpButton (settingsButton, QUIETLINE_IMAGES (settings), {});
    setUpButton (stateAButton, QUIETLINE_IMAGES (state_a), "State A");
    setUpButton (stateBButton, QUIETLINE_IMAGES (state_b), "State B");
    setUpButton (copyAToBButton, QUIETLINE_IMAGES (copy_a_to_b), "Copy A to B");
    setUpButton (copyBToAButton, QUIETLINE_IMAGES (copy_b_to_a), "Copy B to A");

    auto& manager = p.getParamManager();
    presetBox.setEditableText (false);
    presetBox.setJustificationType (juce::Justification::centredLeft);
    const int numFactory = manager.getNumFactoryPresets();

    for (int i = 0; i < numFactory; ++i)
        presetBox.addItem (controller->getPresetName (i), i + 1);

    // The number of user slots is fixed when the manager is built, so it needs no file lock.
    if (manager.getNumUserPresets() > 0)
    {
        presetBox.addSeparator();

        for (int i = numFactory; i < manager.getNumPresets(); ++i)
            presetBox.addItem (controller->getPresetName (i), i + 1);

        for (int i = numFactory; i < manager.getNumPresets(); ++i)
            presetBox.setItemEnabled (i + 1, ! manager.isUserPresetSlotEmpty (i));
    }

    presetBox.addListener (this);
    presetBox.setMenuCallback (&KelmoraLabsEditor::presetMenuCallback);
    presetBox.setSelectedId (manager.getActivePresetIndex() + 1, juce::dontSendNotification);
    presetBox.setLookAndFeel (toolbarSkin);
    addAndMakeVisible (presetBox);

    setUpButton (previousPresetButton, QUIETLINE_IMAGES (preset_up), {});
    setUpButton (nextPresetButton, QUIETLINE_IMAGES (preset_down), {});

    addKeyListener (this);
    // Clicked, the editor takes the keyboard focus, so its shortcuts work inside a host window.
    setWantsKeyboardFocus (true);
    manager.markAllChanged (core::Parameter::editorChanged);
    startTimer (50);
}

#undef QUIETLINE_IMAGES

KelmoraLabsEditor::~KelmoraLabsEditor()
{
    stopTimer();
    removeOverlay();
    removeKeyListener (this);
}

void KelmoraLabsEditor::setUpButton (juce::ImageButton& button, const char* normal, int normalSize, const char* over,
                                     int overSize, const char* down, int downSize, const juce::String& tooltip)
{
    const auto none = juce::Colours::transparentBlack;
    button.setImages (true, false, false, imageOf (normal, normalSize), 1.0f, none, imageOf (over, overSize), 1.0f, none,
                      imageOf (down, downSize), 1.0f, none, 0.0f);
    button.setTooltip (tooltip);
    button.addListener (this);
    button.setLookAndFeel (toolbarSkin);
    addAndMakeVisible (button);
}

void KelmoraLabsEditor::setDesktopSeams (Clipboard& c, Launcher& l)
{
    clipboard = &c;
    launcher = &l;
}

//==============================================================================
void KelmoraLabsEditor::paint (juce::Graphics& g)
{
    g.setColour (juce::Colour (0xFF000000));
    g.fillRect (0, 0, getWidth(), stripHeight);
}

void KelmoraLabsEditor::resized()
{
    undoButton.setBounds (3, 3, 24, 22);
    redoButton.setBounds (undoButton.getRight() + 1, 3, 24, 22);
    aboutButton.setBounds (baseWidth - 27, 3, 24, 22);
    settingsButton.setBounds (aboutButton.getX() - 25, 3, 24, 22);
    helpButton.setBounds (settingsButton.getX() - 25, 3, 24, 22);

    const int available = helpButton.getRight() - 165 - redoButton.getRight();
    int width = available < 215 ? available : 214;
    if (presetBoxWidthLimit != -1)
        width = juce::jmin (available, presetBoxWidthLimit);

    presetBox.setBounds (redoButton.getRight() + 14, 3, width, 22);
    previousPresetButton.setBounds (presetBox.getRight() + 1, 3, 24, 11);
    nextPresetButton.setBounds (presetBox.getRight() + 1, previousPresetButton.getBottom(), 24, 11);
    stateAButton.setBounds (previousPresetButton.getRight() + 14, 3, 36, 22);
    stateBButton.setBounds (stateAButton.getBounds());
    copyAToBButton.setBounds (stateAButton.getRight() + 1, 3, 36, 22);
    copyBToAButton.setBounds (copyAToBButton.getBounds());

    if (currentOverlay != nullptr)
        currentOverlay->setBounds (0, 0, baseWidth, baseHeight);
}

void KelmoraLabsEditor::mouseDown (const juce::MouseEvent& e)
{
    if (! isEnabled() || ! isPopupMenuClick (e.mods))
        return;

    juce::PopupMenu menu;
    menu.addItem (5, "Copy State (Cmd+C)");
    menu.addItem (6, "Paste State (Cmd+V)");
    menu.addItem (7, "Share State...");
    menu.setLookAndFeel (contextMenuSkin);

    juce::Component::SafePointer<juce::Component> self (this);
    menu.showMenuAsync (juce::PopupMenu::Options().withTargetScreenArea ({ e.getScreenX(), e.getScreenY(), 1, 1 }),
                        [self] (int result) { presetMenuCallback (result, self.getComponent()); });
}

bool KelmoraLabsEditor::keyPressed (const juce::KeyPress& key, juce::Component*)
{
    const auto mods = key.getModifiers();

    if (! (mods.isCtrlDown() || mods.isCommandDown()) || mods.isAltDown())
        return false;

    const auto code = juce::CharacterFunctions::toUpperCase (static_cast<juce::juce_wchar> (key.getKeyCode()));

    if (code == 'C')
        copyStateToClipboard();
    else if (code == 'V')
        pasteStateFromClipboard();
    else
        return false;

    return true;
}

void KelmoraLabsEditor::sliderValueChanged (juce::Slider*) {}
void KelmoraLabsEditor::sliderDragStarted (juce::Slider*) { sliderDragging = true; }
void KelmoraLabsEditor::sliderDragEnded (juce::Slider*) { sliderDragging = false; }
void KelmoraLabsEditor::updateControlStates() {}

//==============================================================================
void KelmoraLabsEditor::timerCallback()
{
    auto& manager = kelmoraProcessor.getParamManager();

    // 1. Editor edits to the audio side, under the callback lock; flush-to-zero only for this.
    for (int i = 0; i < manager.getCount(); ++i)
    {
        if (manager.getParam (i)->isChanged (core::Parameter::editorChanged))
        {
            const juce::ScopedLock sl (kelmoraProcessor.getCallbackLock());
            const juce::ScopedNoDenormals noDenormals;
            kelmoraProcessor.dispatchChangedParameters();
            break;
        }
    }

    // 2. Settings another instance saved.
    auto& settings = kelmoraProcessor.getGlobalSettings();
    settings.pollFileChanges();
    auto& mode = *settings.getParam (core::GlobalParamList::sliderModeIndex);
    auto& sensitivity = *settings.getParam (core::GlobalParamList::mouseSensitivityIndex);
    const bool modeChanged = mode.testAndClearChanged (core::Parameter::editorChanged);
    if (modeChanged || sensitivity.testAndClearChanged (core::Parameter::editorChanged))
        applySliderSettings (mode.getIntValue(), sensitivity.getIntValue());

    // 3. Undo and redo.
    undoButton.setEnabled (controller->canUndo());
    redoButton.setEnabled (controller->canRedo());

    // 4. A/B: the pair shown names the active state and the copy from it.
    const bool b = manager.isStateBActive(), linked = manager.isLinked();
    const bool copyEnabled = ! (controller->isStatesEqual() && ! linked);
    copyAToBButton.setEnabled (copyEnabled);
    copyBToAButton.setEnabled (copyEnabled);
    stateAButton.setEnabled (! linked);
    stateBButton.setEnabled (! linked);
    stateAButton.setVisible (! b);
    copyAToBButton.setVisible (! b);
    stateBButton.setVisible (b);
    copyBToAButton.setVisible (b);

    // 5. The preset menu's flags and the arrows.
    const int active = manager.getActivePresetIndex();
    presetBox.resetEnabled = controller->isPresetModified();
    presetBox.overwriteEnabled = active >= manager.getNumFactoryPresets();
    presetBox.deleteEnabled = presetBox.overwriteEnabled && ! manager.isUserPresetSlotEmpty (active);
    presetBox.userPresetItemsShown = manager.getNumUserPresets() > 0;
    previousPresetButton.setEnabled (manager.hasPreviousPreset());
    nextPresetButton.setEnabled (manager.hasNextPreset());

    // 6. Tooltips.
    if (controller->testAndClearStateChanged (true))
    {
        undoButton.setTooltip (controller->canUndo() ? controller->getUndoDescription (0) : juce::String());
        redoButton.setTooltip (controller->canRedo() ? controller->getRedoDescription (0) : juce::String());
    }

    // 7. The list and its selection, by id: names may repeat.
    if (manager.testAndClearPresetListChanged (true))
    {
        for (int i = 0; i < manager.getNumPresets(); ++i)
        {
            presetBox.changeItemText (i + 1, controller->getPresetName (i));
            presetBox.setItemEnabled (i + 1, ! manager.isUserPresetSlotEmpty (i));
        }

        presetBox.setSelectedId (manager.getActivePresetIndex() + 1, juce::dontSendNotification);
    }

    if (manager.testAndClearActivePresetChanged (true))
        presetBox.setSelectedId (manager.getActivePresetIndex() + 1, juce::dontSendNotification);

    // 8.
    updateControlStates();
}

//==============================================================================
void KelmoraLabsEditor::showOverlay (std::unique_ptr<AbstractOverlay> overlay)
{
    removeOverlay();

    if (overlay == nullptr)
        return;

    currentOverlay = std::move (overlay);
    currentOverlay->addChangeListener (this);
    currentOverlay->addActionListener (this);
    currentOverlay->setBounds (0, 0, baseWidth, baseHeight);
    currentOverlay->resized();
    addAndMakeVisible (*currentOverlay);
}

void KelmoraLabsEditor::removeOverlay()
{
    if (currentOverlay == nullptr)
        return;

    removeChildComponent (currentOverlay.get());
    currentOverlay.reset();
}

void KelmoraLabsEditor::applySliderSettings (int mode, int sensitivity)
{
    // In float and truncated: 1 % gives 946 pixels, 100 % 550, 200 % 150.
    const int dragSensitivity = static_cast<int> ((static_cast<float> (sensitivity) / -200.0f + 1.0f) * 800.0f) + 150;

    for (auto* slider : sliders)
    {
        slider->setVelocityBasedMode (mode == 0);
        // A linear drag counts from where it was pressed, over the sensitivity's pixels: JUCE's
        // bar sliders would otherwise jump to the pointer's height within the box.
        slider->setSliderSnapsToMousePosition (mode == 0);
        slider->setMouseDragSensitivity (juce::jmax (1, dragSensitivity));
        slider->setVelocityModeParameters (1.0, 1, 0.02, false);
    }
}

void KelmoraLabsEditor::setSliderTextBoxesReadOnly()
{
    for (auto* slider : sliders)
        slider->setTextBoxStyle (slider->getTextBoxPosition(), true, slider->getTextBoxWidth(), slider->getTextBoxHeight());
}

void KelmoraLabsEditor::setZoomed (bool on)
{
    if (on)
    {
        setSize (static_cast<int> (baseWidth * 1.25), static_cast<int> (baseHeight * 1.25));
        setTransform (juce::AffineTransform::scale (1.25f));
    }
    else
    {
        setSize (baseWidth, baseHeight);
        setTransform ({});
    }
}

void KelmoraLabsEditor::registerHelpRegions (DynamicHelpOverlay* help)
{
    if (help == nullptr)
        return;

    help->addHelpRegion (undoButton.getBounds().getUnion (redoButton.getBounds()), "undoRedo", -1, -1);
    help->addHelpRegion (previousPresetButton.getBounds().getUnion (nextPresetButton.getBounds()).getUnion (presetBox.getBounds()),
                         "presetManagement", -1, -1);
    help->addHelpRegion (stateAButton.getBounds().getUnion (copyAToBButton.getBounds()), "abStates", -1, -1);
    help->addHelpRegion (settingsButton.getBounds(), "settings", -1, -1);
    help->addHelpRegion (aboutButton.getBounds(), "about", -1, -1);
    help->addHelpRegion (helpButton.getBounds(), "help", -1, -1);
}
} // namespace kelmora::editor
