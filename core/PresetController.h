#pragma once

#include "core/ParamManager.h"
#include "core/UndoHistory.h"

#include <atomic>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace kelmora::core
{
/** The one object through which the editor and the host change an instance's parameters,
    presets and A/B states. It owns the ParamManager and the UndoHistory, serialises every
    change with its own recursive lock, takes the user-preset file lock (before its own, so
    that its own is never held while another process holds the file) around every write of
    the shared user-preset file, records the undo entries, and keeps the flags by which the
    editor knows what to redraw.

    Every recording operation works in the same order: the undo entry (from the state before
    the change), then the change, then the flags.

    Threads: every operation takes the controller's lock except `setParameterFromHost`,
    `setSampleRate`, the flag tests and the read-only accessors, which any thread may call. The processor's callback
    lock must never be taken while this lock is held. */
class PresetController
{
public:
    /** Takes ownership of a fully built manager and reads the user-preset file `fileName`
        (a bare file name in the maker's settings folder). */
    PresetController (std::unique_ptr<ParamManager> manager, const juce::String& fileName);
    ~PresetController();

    PresetController (const PresetController&) = delete;
    PresetController& operator= (const PresetController&) = delete;

    /** How an overwrite or a new user preset ended, for what the editor tells the user and the host. */
    enum class UserPresetWrite
    {
        ignored,         /**< nothing done: the slot is no longer the active user slot, or no user slot is free */
        written,         /**< the file holds the preset */
        storedElsewhere, /**< the file's entry had changed: stored as a new entry, now the active slot */
        refused,         /**< the file's entry had changed and no user slot was free: nothing written */
        failed           /**< the file could not be read or written (folder, disk): nothing written */
    };

    //==============================================================================
    // Read-only accessors (any thread)

    ParamManager& getParamManager() noexcept { return *paramManager; }
    const ParamManager& getParamManager() const noexcept { return *paramManager; }
    /** The bare name of the user-preset file ("Orvel Quietline.conf" in the product). */
    const juce::String& getUserPresetFileName() const noexcept { return userPresetFileName; }
    /** Every live value equals the stored value of the inactive comparison state. */
    bool isStatesEqual() const noexcept { return statesEqual.load(); }
    /** The active preset differs from its saved copy ("Reset to Original State" enabled). */
    bool isPresetModified() const noexcept { return presetModified.load(); }
    /** For the undo and redo buttons. */
    bool canUndo() const noexcept { return undoHistory.canUndo(); }
    bool canRedo() const noexcept { return undoHistory.canRedo(); }
    /** Controller's lock for anything but the counts. */
    const UndoHistory& getUndoHistory() const noexcept { return undoHistory; }

    //==============================================================================
    // Parameters

    /** Editor, drag start: records the value before the drag (unless `noUndo`). */
    void beginParameterChange (int index);
    /** Editor: sets a normalised value (0..1), recording an undo entry unless a drag is under
        way or the newest entry is for the same parameter and at most 999 ms old. */
    void setParameterFromUi (int index, float normalised);
    /** Editor, drag end: drops the drag's entry when the value ended where it began. */
    void endParameterChange (int index);
    /** Host automation: sets a normalised value without an undo entry. Lock-free, so any
        thread, the audio thread included. */
    void setParameterFromHost (int index, float normalised);

    //==============================================================================
    // Presets

    /** Selects a slot (an index outside the bank still records its entry and changes nothing). */
    void selectPreset (int index);
    /** Selects the next slot holding a preset, without wrap-around. @returns false when none. */
    bool selectNextPreset();
    /** Selects the previous slot holding a preset. @returns false when none. */
    bool selectPreviousPreset();
    /** Host program change: a factory slot or a user slot in use; anything else is ignored,
        and so is the slot already active (nothing recorded). */
    void selectProgram (int index);
    /** "Reset to Original State": a factory slot goes back to its saved copy, a user slot is
        read again from the user-preset file. */
    void revertActivePreset();
    /** Overwrite dialog: renames user slot `slot` to `name` (when it differs) and writes it
        into the user-preset file. Acts only when `slot` is a user slot and still the active
        one, so a program change while the dialog was open cannot make it overwrite another
        preset. When the file's entry is no longer the one this instance read (another
        instance deleted, renamed or replaced it), the preset is stored as a new entry instead,
        which becomes the active slot, and the list is refreshed. When that cannot be done
        either (every user slot in use), nothing is written and the list is refreshed all the
        same. Whenever nothing is written the live values stay as they are; `outcome` (when
        given) says why, so that the user can be told. @returns true when the file was written. */
    bool overwriteUserPreset (int slot, const juce::String& name, UserPresetWrite* outcome = nullptr);
    /** New-preset dialog: finds a user slot that the user-preset file does not use and stores
        the live values there as `name`, as one operation under both locks, so that two
        instances never take the same slot. Undo (or deleting the new preset) returns to the
        preset active before. @returns the slot, or -1 (nothing selected, no slot used) when
        every user slot is taken or the file cannot be read or written, which `outcome` (when
        given) tells apart. */
    int storeUserPresetInFreeSlot (const juce::String& name, UserPresetWrite* outcome = nullptr);
    /** The slot `storeUserPresetInFreeSlot` would take now (-1: none). Takes only the
        user-preset file lock; the editor asks before it opens its dialog. */
    int findFreeUserPresetSlot() const;
    /** Delete dialog: marks user slot `slot` deleted in the file, reverts it, prunes the undo
        history and selects the preset that was active before it. Acts only when `slot` is a
        user slot and still the active one, and only when the file's entry is still the one
        this instance read (otherwise the list is refreshed and the file left alone).
        @returns true when it acted. */
    bool deleteUserPreset (int slot);
    /** Host program naming (an undo entry when `index` is the active slot). */
    void renamePreset (int index, const juce::String& name);
    /** Editor: renames the active slot, as `renamePreset` does. */
    void renameActivePreset (const juce::String& name);

    //==============================================================================
    // A/B

    /** Switches to comparison state A or B (undoable). */
    void selectStateA();
    void selectStateB();
    /** Copies A into B (or B into A), unlinking the states (undoable). */
    void copyAToB();
    void copyBToA();

    //==============================================================================
    // Undo

    /** Steps back (or forward) one entry of the history; nothing when there is none. */
    void undo();
    void redo();
    /** Tooltip of the entry k steps back (k = 0: the next undo); empty when there is none. */
    juce::String getUndoDescription (int k);
    /** Tooltip of the entry k steps forward (k = 0: the next redo); empty when there is none. */
    juce::String getRedoDescription (int k);

    //==============================================================================
    // State

    /** Host state save: values, presets, A/B and the undo history into `element`. */
    void saveState (juce::XmlElement& element);
    /** Host state restore: the factory presets and the user-preset file first, then the
        state's values, presets and A/B states; its undo history replaces this one. */
    void loadState (const juce::XmlElement& element);
    /** A host state that cannot be used: back to the initial state with the user presets read
        again from the file (history and flags stay). */
    void resetState();
    /** Copy and share: the live values as attributes. */
    void writeValuesToXml (juce::XmlElement& element);
    /** Paste: reads values (undoable as one step). */
    void readValuesFromXml (const juce::XmlElement& element);

    /** The slot's name; "N/A" when it is empty or the index lies outside the bank. */
    juce::String getPresetName (int index);
    /** The active slot's name as it is (possibly empty). */
    juce::String getActivePresetName();
    /** Whether any slot is named `name` (compared in lower case with `ignoreCase`). */
    bool presetNameExists (const juce::String& name, bool ignoreCase);

    //==============================================================================
    // Commands as a whole

    /** Whether a command writes the user-preset file, and so needs that lock before this one. */
    enum class FileAccess { none, writes };
    /** A parameter's index and its new normalised value. */
    using ValueChange = std::pair<int, float>;
    /** Runs `command` (any of the operations above) under the lock, and the user-preset file's
        lock before it when the command writes the file, and returns every parameter whose
        normalised value it changed. */
    std::vector<ValueChange> changesMadeBy (const std::function<void()>& command, FileAccess access);

    //==============================================================================
    // Without the lock

    /** Preparation for playback: marks the sample-rate dependent parameters changed when
        the rate (Hz) differs from the last one. */
    void setSampleRate (double rate);
    /** The editor's refresh flag for the undo/redo buttons. */
    bool testAndClearStateChanged (bool clear);

private:
    UndoRecord makeInverseRecord (UndoOp op, int paramIndex) const;
    void applyRecord (const UndoRecord& entry);
    void recomputeStatesEqual();
    /** State B's (true) or A's (false) values as they stand now: the live values for the
        active state, the stored ones for the other. */
    std::vector<float> currentStateValues (bool b) const;
    void updateAfterPresetChange();
    /** Stores the live values as `name` in user slot `slot` and selects it, recording the
        change of preset; false (nothing changed) unless the file was written. Both locks. */
    bool storeInUserSlot (int slot, const juce::String& name);
    bool isNoUndo (int index) const;

    std::unique_ptr<ParamManager> paramManager;
    juce::CriticalSection lock;
    juce::String userPresetFileName;
    std::atomic<bool> statesEqual { true };
    std::atomic<bool> presetModified { false };
    std::vector<bool> gestureActive;
    std::atomic<bool> stateChanged { false };
    std::atomic<double> sampleRate { 0.0 };
    UndoHistory undoHistory;
};
} // namespace kelmora::core
