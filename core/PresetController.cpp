#include "core/PresetController.h"

#include "core/UserPresetFileLock.h"

#include <cmath>
#include <optional>

namespace kelmora::core
{
namespace
{
// Names cross the controller's lock only as copies with storage of their own. A juce::String
// shares its storage and the holder that lets go last frees it, so a name shared with a
// caller's string or a state element could be freed outside the lock by that holder, with no
// order against the readers that copy it under the lock.
juce::String ownCopy (const juce::String& text)
{
    return juce::String (juce::CharPointer_UTF8 (text.toRawUTF8()));
}

void ownStrings (juce::XmlElement& element)
{
    for (int i = 0; i < element.getNumAttributes(); ++i)
        element.setAttribute (juce::Identifier (element.getAttributeName (i)), ownCopy (element.getAttributeValue (i)));

    for (auto* child : element.getChildIterator())
        ownStrings (*child);
}
} // namespace

PresetController::PresetController (std::unique_ptr<ParamManager> manager, const juce::String& fileName)
    : paramManager (std::move (manager)),
      userPresetFileName (fileName),
      gestureActive ((size_t) paramManager->getCount(), false),
      undoHistory (paramManager->getCount())
{
    // Construction reads without the file lock: every write replaces the file whole.
    paramManager->loadUserPresets (userPresetFileName);
    recomputeStatesEqual();
}

PresetController::~PresetController() = default;

//==============================================================================
bool PresetController::isNoUndo (int index) const
{
    return (paramManager->getParam (index)->getFlags() & Parameter::noUndo) != 0;
}

void PresetController::recomputeStatesEqual()
{
    const auto& inactive = paramManager->getState (! paramManager->isStateBActive());
    bool equal = true;

    for (int i = 0; i < paramManager->getCount() && equal; ++i)
        equal = PresetRecord::sameValue (paramManager->getParam (i)->getNormalisedValue(), inactive.getValue (i));

    statesEqual.store (equal);
}

std::vector<float> PresetController::currentStateValues (bool b) const
{
    // The active state's stored values lag behind the live ones until its next store, so an
    // entry made from them would bring back values from before the latest edits.
    return b == paramManager->isStateBActive() ? paramManager->getLiveValues()
                                               : paramManager->getState (b).getValues();
}

void PresetController::updateAfterPresetChange()
{
    recomputeStatesEqual();
    presetModified.store (paramManager->isActivePresetModified());
    stateChanged.store (true);
}

//==============================================================================
void PresetController::beginParameterChange (int index)
{
    const juce::ScopedLock sl (lock);

    if (! paramManager->isValidIndex (index))
        return;

    if (! isNoUndo (index))
    {
        undoHistory.pushParameterChange (index, paramManager->getParam (index)->getNormalisedValue());
        stateChanged.store (true);
    }

    gestureActive[(size_t) index] = true;
}

void PresetController::setParameterFromUi (int index, float normalised)
{
    const juce::ScopedLock sl (lock);

    // No entry for a value the parameter would refuse, nor for an index outside the list
    // (its undo could only ever address the shared fallback parameter).
    if (! paramManager->isValidIndex (index) || ! std::isfinite (normalised))
        return;

    auto* param = paramManager->getParam (index);
    const bool recorded = ! gestureActive[(size_t) index] && ! isNoUndo (index);

    if (recorded)
    {
        const auto now = UndoHistory::now();
        auto* newest = undoHistory.getExtendableEntry();

        if (newest != nullptr && newest->op == UndoOp::ParameterChange && newest->paramIndex == index
            && (std::uint32_t) (now - newest->time) <= 999)
        {
            newest->time = now;
        }
        else
        {
            undoHistory.pushParameterChange (index, param->getNormalisedValue());
            stateChanged.store (true);
        }
    }

    param->setNormalisedValue (normalised);
    statesEqual.store (false);
    presetModified.store (true);

    // A burst back where it began leaves no step whose undo would change nothing, as a drag does.
    if (recorded && undoHistory.getNewestUndoable()->normalisedValue == param->getNormalisedValue())
    {
        undoHistory.dropNewestUndoable();
        recomputeStatesEqual();
        stateChanged.store (true);
    }
}

void PresetController::endParameterChange (int index)
{
    const juce::ScopedLock sl (lock);

    if (! paramManager->isValidIndex (index))
        return;

    const auto* newest = undoHistory.getNewestUndoable();

    if (newest != nullptr && newest->op == UndoOp::ParameterChange && newest->paramIndex == index
        && newest->normalisedValue == paramManager->getParam (index)->getNormalisedValue()
        && ! isNoUndo (index))
    {
        undoHistory.dropNewestUndoable();
        recomputeStatesEqual();
        stateChanged.store (true);
    }

    gestureActive[(size_t) index] = false;
}

void PresetController::setParameterFromHost (int index, float normalised)
{
    // No lock: hosts call this on the audio thread, and the value and both flags are atomics.
    // A host that hands back the value the plug-in just told it changes nothing: the preset
    // shown is not modified by it.
    auto* param = paramManager->getParam (index);
    if (param->getNormalisedValue() == normalised)
        return;

    param->setNormalisedValue (normalised);
    statesEqual.store (false);
    presetModified.store (true);
}

//==============================================================================
void PresetController::selectPreset (int index)
{
    const juce::ScopedLock sl (lock);
    undoHistory.pushPresetChange (paramManager->getActivePresetIndex());
    paramManager->applyPreset (index);
    updateAfterPresetChange();
}

bool PresetController::selectNextPreset()
{
    const juce::ScopedLock sl (lock);
    undoHistory.pushPresetChange (paramManager->getActivePresetIndex());
    const int next = paramManager->findNeighbourPreset (1);

    if (next >= 0)
        paramManager->applyPreset (next);
    else
        undoHistory.dropNewestUndoable();

    updateAfterPresetChange();
    return next >= 0;
}

bool PresetController::selectPreviousPreset()
{
    const juce::ScopedLock sl (lock);
    undoHistory.pushPresetChange (paramManager->getActivePresetIndex());
    const int previous = paramManager->findNeighbourPreset (-1);

    if (previous >= 0)
        paramManager->applyPreset (previous);
    else
        undoHistory.dropNewestUndoable();

    updateAfterPresetChange();
    return previous >= 0;
}

void PresetController::selectProgram (int index)
{
    const juce::ScopedLock sl (lock);

    if (index < 0)
        return;

    // Re-selecting the active slot keeps the live values (they are stored into it first), so a
    // host that re-sends its current program records nothing and pushes out no edits.
    if (index == paramManager->getActivePresetIndex())
    {
        paramManager->applyPreset (index);
        return;
    }

    if (index < paramManager->getNumFactoryPresets() || ! paramManager->isUserPresetSlotEmpty (index))
        selectPreset (index);
}

void PresetController::revertActivePreset()
{
    const juce::ScopedLock sl (lock);
    const int active = paramManager->getActivePresetIndex();
    undoHistory.pushPresetValues (paramManager->getPreset (active).getName(), paramManager->getLiveValues());

    if (paramManager->isUserSlot (active))
        paramManager->revertUserPresetFromFile (userPresetFileName); // reading needs no file lock
    else
    {
        paramManager->revertPresetToSaved();
    }

    recomputeStatesEqual();
    presetModified.store (false);
    stateChanged.store (true);
}

// The file operations take the user-preset file lock before the controller's own: the file
// lock may wait on another process, and the controller's lock must never be held meanwhile,
// or a host's program change or state save would wait on that process as well.

bool PresetController::overwriteUserPreset (int slot, const juce::String& name, UserPresetWrite* outcome)
{
    const UserPresetFileLock::Scoped fileLock;
    const juce::ScopedLock sl (lock);
    const auto ended = [outcome] (UserPresetWrite how)
    {
        if (outcome != nullptr)
            *outcome = how;

        return how == UserPresetWrite::written || how == UserPresetWrite::storedElsewhere;
    };

    if (! paramManager->isUserSlot (slot) || slot != paramManager->getActivePresetIndex())
        return ended (UserPresetWrite::ignored);

    switch (paramManager->saveUserPresets (userPresetFileName, name))
    {
        case ParamManager::FileWrite::written:
            renamePreset (slot, name);
            presetModified.store (false);
            return ended (UserPresetWrite::written);

        case ParamManager::FileWrite::stale:
        {
            // Another instance deleted this entry or stored another preset under its number
            // since this one read it: keep both by storing the user's preset as a new entry.
            // Otherwise the other instance's entry stays, and the values stay live here.
            const int freeSlot = paramManager->findFreeUserPresetSlot (userPresetFileName);
            const bool stored = freeSlot >= 0 && storeInUserSlot (freeSlot, name);
            paramManager->syncUserPresets (userPresetFileName);
            updateAfterPresetChange();

            if (stored)
                presetModified.store (false);

            return ended (stored ? UserPresetWrite::storedElsewhere
                                 : freeSlot >= 0 ? UserPresetWrite::failed : UserPresetWrite::refused);
        }

        case ParamManager::FileWrite::failed:
        default:
            return ended (UserPresetWrite::failed);
    }
}

bool PresetController::storeInUserSlot (int slot, const juce::String& name)
{
    const int previous = paramManager->getActivePresetIndex();

    if (! paramManager->storeUserPreset (userPresetFileName, slot, ownCopy (name)))
        return false;

    // Undo goes back to the preset the user came from, and so does deleting the new preset
    // (the history prunes back to this step).
    if (slot != previous)
    {
        undoHistory.pushPresetChange (previous);
        stateChanged.store (true);
    }

    return true;
}

int PresetController::storeUserPresetInFreeSlot (const juce::String& name, UserPresetWrite* outcome)
{
    const UserPresetFileLock::Scoped fileLock;
    const juce::ScopedLock sl (lock);
    const int slot = paramManager->findFreeUserPresetSlot (userPresetFileName);
    const bool stored = slot >= 0 && storeInUserSlot (slot, name);

    if (outcome != nullptr)
        *outcome = stored ? UserPresetWrite::written : slot >= 0 ? UserPresetWrite::failed : UserPresetWrite::ignored;

    if (! stored)
        return -1;

    presetModified.store (false);
    return slot;
}

int PresetController::findFreeUserPresetSlot() const
{
    const UserPresetFileLock::Scoped fileLock;
    return paramManager->findFreeUserPresetSlot (userPresetFileName);
}

bool PresetController::deleteUserPreset (int slot)
{
    const UserPresetFileLock::Scoped fileLock;
    const juce::ScopedLock sl (lock);

    if (! paramManager->isUserSlot (slot) || slot != paramManager->getActivePresetIndex())
        return false;

    switch (paramManager->deleteUserPresetFromFile (userPresetFileName, slot))
    {
        case ParamManager::FileWrite::written:
            break;

        case ParamManager::FileWrite::stale:
            // The entry is no longer the preset the user meant: leave the file alone and show
            // what it holds now.
            paramManager->syncUserPresets (userPresetFileName);
            updateAfterPresetChange();
            return false;

        case ParamManager::FileWrite::failed:
        default:
            return false;
    }

    revertActivePreset();
    paramManager->applyPreset (undoHistory.removePresetEntries (slot));
    // The preset now shown decides both flags, not the reverted one.
    updateAfterPresetChange();
    return true;
}

void PresetController::renamePreset (int index, const juce::String& newName)
{
    const juce::ScopedLock sl (lock);
    const auto name = ownCopy (newName);

    if (index == paramManager->getActivePresetIndex())
    {
        undoHistory.pushRename (paramManager->getPreset (index).getName());

        if (! paramManager->renameSlot (index, name))
        {
            undoHistory.dropNewestUndoable();
            stateChanged.store (true);
            return;
        }

        stateChanged.store (true);
        presetModified.store (true);
        return;
    }

    if (paramManager->renameSlot (index, name))
        presetModified.store (true);
}

void PresetController::renameActivePreset (const juce::String& name)
{
    const juce::ScopedLock sl (lock);
    renamePreset (paramManager->getActivePresetIndex(), name);
}

//==============================================================================
void PresetController::selectStateA()
{
    const juce::ScopedLock sl (lock);
    undoHistory.pushStateSwitch (paramManager->isStateBActive());
    paramManager->selectState (false);
    presetModified.store (paramManager->isActivePresetModified());
    stateChanged.store (true);
}

void PresetController::selectStateB()
{
    const juce::ScopedLock sl (lock);
    undoHistory.pushStateSwitch (paramManager->isStateBActive());
    paramManager->selectState (true);
    presetModified.store (paramManager->isActivePresetModified());
    stateChanged.store (true);
}

void PresetController::copyAToB()
{
    const juce::ScopedLock sl (lock);
    undoHistory.pushCopyAToB (currentStateValues (true), paramManager->isLinked());
    paramManager->copyAToB();
    statesEqual.store (true);
    stateChanged.store (true);
}

void PresetController::copyBToA()
{
    const juce::ScopedLock sl (lock);
    undoHistory.pushCopyBToA (currentStateValues (false), paramManager->isLinked());
    paramManager->copyBToA();
    statesEqual.store (true);
    stateChanged.store (true);
}

//==============================================================================
UndoRecord PresetController::makeInverseRecord (UndoOp op, int paramIndex) const
{
    UndoRecord r;
    r.clear (UndoHistory::now());
    r.op = op;
    const auto& pm = *paramManager;
    const int active = pm.getActivePresetIndex();

    switch (op)
    {
        case UndoOp::ParameterChange:
            r.paramIndex = paramIndex;
            r.normalisedValue = pm.getParam (paramIndex)->getNormalisedValue();
            break;
        case UndoOp::PresetChange:
            r.presetIndex = active;
            break;
        case UndoOp::PresetValues:
            r.values = pm.getLiveValues();
            r.presetName = pm.getPreset (active).getName();
            break;
        case UndoOp::StateSwitch:
            r.stateBActive = pm.isStateBActive();
            break;
        case UndoOp::CopyAToB:
        case UndoOp::CopyBToA:
            r.linked = pm.isLinked();

            if (! r.linked)
                r.values = currentStateValues (op == UndoOp::CopyAToB);

            break;
        case UndoOp::PresetRename:
            r.presetName = pm.getPreset (active).getName();
            break;
        case UndoOp::None:
        default:
            break;
    }

    return r;
}

void PresetController::applyRecord (const UndoRecord& e)
{
    auto& pm = *paramManager;
    const int active = pm.getActivePresetIndex();

    auto storeInto = [] (PresetRecord& state, const std::vector<float>& values)
    {
        for (int i = 0; i < (int) values.size(); ++i)
            state.setValue (i, values[(size_t) i]);
    };

    // Undoing a copy relinks the states without a store; the copy being put back stored the
    // live values into both states before unlinking them, and so must its redo.
    if ((e.op == UndoOp::CopyAToB || e.op == UndoOp::CopyBToA) && pm.isLinked() && ! e.linked)
        pm.storeCurrentValues();

    switch (e.op)
    {
        case UndoOp::ParameterChange:
            if (pm.isValidIndex (e.paramIndex))
                pm.getParam (e.paramIndex)->setNormalisedValue (e.normalisedValue);
            break;
        case UndoOp::PresetChange:
            pm.applyPreset (e.presetIndex);
            break;
        case UndoOp::PresetValues:
            // A restored entry may come without values; then only the name is put back.
            pm.setLiveValues (e.values);
            pm.renameSlot (active, e.presetName);
            break;
        case UndoOp::StateSwitch:
            pm.selectState (e.stateBActive);
            break;
        case UndoOp::CopyAToB:
            pm.setLinked (e.linked);

            if (! e.linked)
            {
                if (pm.isStateBActive())
                    pm.setLiveValues (e.values);
                else
                    storeInto (pm.getState (true), e.values);
            }
            break;
        case UndoOp::CopyBToA:
            pm.setLinked (e.linked);

            if (! e.linked)
            {
                if (pm.isStateBActive())
                    storeInto (pm.getState (false), e.values);
                else
                    pm.setLiveValues (e.values);
            }
            break;
        case UndoOp::PresetRename:
            pm.renameSlot (active, e.presetName);
            break;
        case UndoOp::None:
        default:
            break;
    }
}

void PresetController::undo()
{
    const juce::ScopedLock sl (lock);
    UndoRecord entry;

    if (! undoHistory.peekUndo (entry))
        return;

    const auto inverse = makeInverseRecord (entry.op, entry.paramIndex);
    applyRecord (entry);
    undoHistory.commitUndo (inverse);
    updateAfterPresetChange();
}

void PresetController::redo()
{
    const juce::ScopedLock sl (lock);
    UndoRecord entry;

    if (! undoHistory.peekRedo (entry))
        return;

    const auto inverse = makeInverseRecord (entry.op, entry.paramIndex);
    applyRecord (entry);
    undoHistory.commitRedo (inverse);
    updateAfterPresetChange();
}

juce::String PresetController::getUndoDescription (int k)
{
    const juce::ScopedLock sl (lock);
    const auto* entry = undoHistory.getUndoEntry (k);
    return entry != nullptr ? UndoHistory::describe (*entry, *paramManager) : juce::String();
}

juce::String PresetController::getRedoDescription (int k)
{
    const juce::ScopedLock sl (lock);
    const auto* entry = undoHistory.getRedoEntry (k);
    return entry != nullptr ? UndoHistory::describe (*entry, *paramManager) : juce::String();
}

//==============================================================================
std::vector<PresetController::ValueChange> PresetController::changesMadeBy (const std::function<void()>& command, FileAccess access)
{
    // The file's lock first, as the file operations take it.
    std::optional<UserPresetFileLock::Scoped> fileLock;
    if (access == FileAccess::writes)
        fileLock.emplace();

    const juce::ScopedLock sl (lock);
    const auto before = paramManager->getLiveValues();
    command();
    const auto after = paramManager->getLiveValues();

    std::vector<ValueChange> changed;
    for (size_t i = 0; i < after.size(); ++i)
        if (! PresetRecord::sameValue (before[i], after[i]))
            changed.emplace_back ((int) i, after[i]);

    return changed;
}

//==============================================================================
void PresetController::saveState (juce::XmlElement& element)
{
    const juce::ScopedLock sl (lock);
    paramManager->writeState (element);
    undoHistory.writeToXml (element);
    ownStrings (element);
}

void PresetController::loadState (const juce::XmlElement& state)
{
    const juce::ScopedLock sl (lock);
    juce::XmlElement element (state);
    ownStrings (element);
    // Edits of presets that the state does not mention must not survive it.
    paramManager->restorePresetBank (userPresetFileName);
    paramManager->readState (element);
    undoHistory.readFromXml (element);
    updateAfterPresetChange();
}

void PresetController::resetState()
{
    const juce::ScopedLock sl (lock);
    paramManager->resetState();
    // The reset empties the user slots; the user presets are still in the file.
    paramManager->loadUserPresets (userPresetFileName);
}

void PresetController::writeValuesToXml (juce::XmlElement& element)
{
    const juce::ScopedLock sl (lock);
    paramManager->writeValues (element, false);
}

void PresetController::readValuesFromXml (const juce::XmlElement& element)
{
    const juce::ScopedLock sl (lock);
    const int active = paramManager->getActivePresetIndex();
    undoHistory.pushPresetValues (paramManager->getPreset (active).getName(), paramManager->getLiveValues());
    paramManager->readValues (element);
    recomputeStatesEqual();
    presetModified.store (false);
    stateChanged.store (true);
}

juce::String PresetController::getPresetName (int index)
{
    const juce::ScopedLock sl (lock);
    const auto& name = paramManager->getPreset (index).getName();
    return name.isEmpty() ? juce::String ("N/A") : ownCopy (name);
}

juce::String PresetController::getActivePresetName()
{
    const juce::ScopedLock sl (lock);
    return ownCopy (paramManager->getPreset (paramManager->getActivePresetIndex()).getName());
}

bool PresetController::presetNameExists (const juce::String& name, bool ignoreCase)
{
    const juce::ScopedLock sl (lock);
    const auto wanted = ignoreCase ? name.toLowerCase() : name;

    for (int i = 0; i < paramManager->getNumPresets(); ++i)
    {
        const auto& slotName = paramManager->getPreset (i).getName();

        if ((ignoreCase ? slotName.toLowerCase() : slotName) == wanted)
            return true;
    }

    return false;
}

//==============================================================================
void PresetController::setSampleRate (double rate)
{
    if (sampleRate.exchange (rate) != rate)
        paramManager->markFlaggedParametersChanged();
}

bool PresetController::testAndClearStateChanged (bool clear)
{
    return clear ? stateChanged.exchange (false) : stateChanged.load();
}
} // namespace kelmora::core
