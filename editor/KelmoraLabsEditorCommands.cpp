// The editor's commands: the preset bar's buttons and box, the two context menus, the overlays'
// commands, and the state text that is copied, pasted and shared.
#include "editor/KelmoraLabsEditor.h"

#include "core/OutsideText.h"
#include "core/XmlUtils.h"
#include "editor/DynamicHelpOverlay.h"
#include "editor/InfoOverlay.h"
#include "editor/SettingsOverlay.h"
#include "editor/SharePresetOverlay.h"
#include "editor/UserPresetOverlays.h"

namespace kelmora::editor
{
namespace
{
// Another edition of a product carries this suffix on its tag.
const juce::String editionSuffix ("QZ");
const juce::String frameworkTag ("KelmoraLabs");

// The texts of the "not saved" notice: the file had changed under us, or could not be written.
const char* const overtakenText = "Another instance changed this preset, so it was not overwritten, and no free slot could take it. Your settings stay loaded.";
const char* const notWrittenText = "The user-preset file could not be written, so the preset was not saved. Your settings stay loaded.";

juce::String fromFirst (const juce::String& text, const juce::String& start)
{
    const int at = text.indexOfIgnoreCase (start);
    return at < 0 ? juce::String() : text.substring (at);
}
}

void KelmoraLabsEditor::presetMenuCallback (int result, juce::Component* component)
{
    if (auto* editor = dynamic_cast<KelmoraLabsEditor*> (component); editor != nullptr && result >= 1 && result <= 7)
        editor->runMenuCommand (result);
}

void KelmoraLabsEditor::runMenuCommand (int id)
{
    switch (id)
    {
        case 1:
            kelmoraProcessor.runEditorCommand ([this] { controller->revertActivePreset(); });
            kelmoraProcessor.updateHostDisplay();
            break;

        case 2:
            if (controller->findFreeUserPresetSlot() >= 0)
                showOverlay (std::make_unique<AddUserPresetOverlay> ("CREATE USER-PRESET", *controller));
            else
                showOverlay (std::make_unique<CannotCreatePresetOverlay> ("ALL USER-PRESET-SLOTS IN USE"));
            break;

        case 3:
        {
            auto overlay = std::make_unique<OverwriteUserPresetOverlay> ("OVERWRITE USER-PRESET", *controller);
            overlay->setPresetToOverwrite (kelmoraProcessor.getParamManager().getActivePresetIndex(),
                                           controller->getActivePresetName());
            showOverlay (std::move (overlay));
            break;
        }

        case 4:
        {
            auto overlay = std::make_unique<DeleteUserPresetOverlay> ("DELETE USER-PRESET");
            overlay->setPresetToDelete (kelmoraProcessor.getParamManager().getActivePresetIndex(),
                                        controller->getActivePresetName());
            showOverlay (std::move (overlay));
            break;
        }

        case 5: copyStateToClipboard(); break;
        case 6: pasteStateFromClipboard(); break;

        case 7:
        {
            auto overlay = std::make_unique<SharePresetOverlay> ("SHARE PRESET", *clipboard, *launcher);
            overlay->setCode (createStateText());
            showOverlay (std::move (overlay));
            break;
        }

        default: break;
    }
}

void KelmoraLabsEditor::buttonClicked (juce::Button* button)
{
    const auto command = [this] (auto&& c) { kelmoraProcessor.runEditorCommand (c); };

    if (button == &undoButton)
        command ([this] { controller->undo(); });
    else if (button == &redoButton)
        command ([this] { controller->redo(); });
    else if (button == &previousPresetButton || button == &nextPresetButton)
    {
        bool selected = false;
        command ([&] { selected = button == &nextPresetButton ? controller->selectNextPreset() : controller->selectPreviousPreset(); });
        if (selected)
            kelmoraProcessor.updateHostDisplay();
    }
    else if (button == &stateAButton)
        command ([this] { controller->selectStateB(); });
    else if (button == &stateBButton)
        command ([this] { controller->selectStateA(); });
    else if (button == &copyAToBButton)
        command ([this] { controller->copyAToB(); });
    else if (button == &copyBToAButton)
        command ([this] { controller->copyBToA(); });
    else if (button == &aboutButton)
        showOverlay (std::make_unique<InfoOverlay> ("ABOUT", static_cast<int> (kelmoraProcessor.wrapperType), *launcher));
    else if (button == &helpButton)
    {
        auto help = std::make_unique<DynamicHelpOverlay>();
        help->setActiveMode (zoomFlag);
        registerHelpRegions (help.get());
        help->setHelpButtonBounds (helpButton.getBounds());
        showOverlay (std::move (help));
    }
    else if (button == &settingsButton)
    {
        auto& settings = kelmoraProcessor.getGlobalSettings();
        auto overlay = std::make_unique<SettingsOverlay> ("SETTINGS");
        overlay->setValues (settings.getParam (core::GlobalParamList::sliderModeIndex)->getIntValue(),
                            settings.getParam (core::GlobalParamList::mouseSensitivityIndex)->getIntValue(),
                            kelmoraProcessor.getLatencySamples(), kelmoraProcessor.getSampleRate());
        showOverlay (std::move (overlay));
    }
}

void KelmoraLabsEditor::comboBoxChanged (juce::ComboBox* box)
{
    if (box != &presetBox || presetBox.getSelectedId() == 0)
        return;

    const int slot = presetBox.getSelectedId() - 1;
    kelmoraProcessor.runEditorCommand ([this, slot] { controller->selectPreset (slot); });
    kelmoraProcessor.updateHostDisplay();
}

void KelmoraLabsEditor::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    if (currentOverlay != nullptr && source == currentOverlay.get())
        removeOverlay();
}

void KelmoraLabsEditor::actionListenerCallback (const juce::String& message)
{
    auto* overlay = currentOverlay.get();
    auto& settings = kelmoraProcessor.getGlobalSettings();

    using Write = core::PresetController::UserPresetWrite;
    // Whatever kept the preset from the file, the user must know it was not stored (the values
    // stay live).
    const auto showNotSaved = [this] (const char* why)
    {
        showOverlay (std::make_unique<CannotCreatePresetOverlay> ("USER-PRESET NOT SAVED", why));
    };

    const auto setGlobal = [&settings] (int index, int value)
    {
        auto* p = settings.getParam (index);
        p->setNormalisedValue (p->valueToNormalised (value));
        settings.save();
    };

    if (auto* s = dynamic_cast<SettingsOverlay*> (overlay))
    {
        if (message == "changeSettings_sliderMode")
            setGlobal (core::GlobalParamList::sliderModeIndex, s->getSliderMode());
        else if (message == "changeSettings_mouseSensitivity")
            setGlobal (core::GlobalParamList::mouseSensitivityIndex, s->getMouseSensitivity());
    }
    else if (auto* o = dynamic_cast<OverwriteUserPresetOverlay*> (overlay))
    {
        // Only the slot the dialog was opened for, and only while it is still the active one.
        if (message == "overwriteUserPresetOverlay_add")
        {
            const bool renamed = o->presetName != controller->getActivePresetName();
            auto outcome = Write::ignored;
            controller->overwriteUserPreset (o->getPresetSlot(), o->presetName, &outcome);

            // A rename changes the list, and so may anything but a plain write: when the entry had
            // changed in the file, the list now shows the file, with the preset in a new slot or,
            // none free, nowhere.
            if (outcome != Write::ignored && (outcome != Write::written || renamed))
                kelmoraProcessor.updateHostDisplay();

            if (outcome == Write::refused)
                showNotSaved (overtakenText);
            else if (outcome == Write::failed)
                showNotSaved (notWrittenText);
        }
    }
    else if (auto* a = dynamic_cast<AddUserPresetOverlay*> (overlay))
    {
        if (message == "addUserPresetOverlay_add")
        {
            auto outcome = Write::ignored;
            if (controller->storeUserPresetInFreeSlot (a->presetName, &outcome) >= 0)
                kelmoraProcessor.updateHostDisplay();
            else if (outcome == Write::failed)
                showNotSaved (notWrittenText);
        }
    }
    else if (auto* d = dynamic_cast<DeleteUserPresetOverlay*> (overlay))
    {
        if (message == "deleteUserPresetOverlay_delete")
        {
            // Deleting reverts and selects another preset.
            bool deleted = false;
            kelmoraProcessor.runEditorCommand ([&] { deleted = controller->deleteUserPreset (d->getPresetSlot()); },
                                               core::PresetController::FileAccess::writes);
            if (deleted)
                kelmoraProcessor.updateHostDisplay();
        }
    }
}

//==============================================================================
juce::String KelmoraLabsEditor::createStateText()
{
    juce::XmlElement element (core::KelmoraLabsAudioProcessor::getStateTag());
    controller->writeValuesToXml (element);

    juce::MemoryOutputStream out (256);
    element.writeTo (out, juce::XmlElement::TextFormat().singleLine().withoutHeader());
    return out.toUTF8();
}

std::unique_ptr<juce::XmlElement> KelmoraLabsEditor::findStateElement (const juce::String& text)
{
    const auto tag = core::KelmoraLabsAudioProcessor::getStateTag();
    const bool isEdition = tag.endsWith (editionSuffix);
    const auto shortTag = tag.dropLastCharacters (editionSuffix.length());
    auto piece = fromFirst (text, "<" + tag);

    if (piece.isEmpty() && isEdition)
        piece = fromFirst (text, "<" + shortTag).replace (shortTag, tag);

    if (piece.isEmpty())
        piece = fromFirst (text, "<" + frameworkTag).replace (frameworkTag, tag);

    const int end = piece.indexOfIgnoreCase ("/>");
    if (end >= 0)
        piece = piece.substring (0, end + 2);

    auto element = core::XmlUtils::parseText (piece);

    // Our tag, our edition's, or ours without the edition suffix. A value that does not read
    // (a non-finite number among them) leaves its parameter as it is when the values are loaded.
    if (element == nullptr
        || ! (element->getTagName().equalsIgnoreCase (tag) || element->getTagName().equalsIgnoreCase (tag + editionSuffix)
              || element->getTagName().equalsIgnoreCase (shortTag)))
        return nullptr;

    return element;
}

void KelmoraLabsEditor::copyStateToClipboard()
{
    clipboard->copyText (createStateText());
}

void KelmoraLabsEditor::pasteStateFromClipboard()
{
    // The desktop's text holds whatever bytes were copied: read whole or not at all.
    const auto text = core::OutsideText::fromString (clipboard->getText());

    if (! text.has_value())
        return;

    if (const auto element = findStateElement (*text))
        kelmoraProcessor.runEditorCommand ([&] { controller->readValuesFromXml (*element); });
}
} // namespace kelmora::editor
