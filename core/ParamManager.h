#pragma once

#include "core/ParamList.h"
#include "core/PresetBank.h"

#include <atomic>

namespace kelmora::core
{
/** The product's parameter list extended with what a user switches between: a bank of
    preset slots (factory slots first, then user slots), a saved copy of that bank (the
    reference for reverting a slot and for telling whether it was modified), the A and B
    comparison states, and the change flags the editor polls. Also reads and writes every
    XML form of these: the plug-in state element, the user-preset file, the factory-preset
    text and the sharing element.

    Threads: takes no lock. Every operation that changes something runs under the
    PresetController's lock (file operations also under the user-preset file lock), except
    the set-up before the controller exists. The accessors, the slot tests and the
    test-and-clear flags may be called from the editor without a lock. */
class ParamManager : public ParamList
{
public:
    /** How writing or deleting a user slot's entry in the user-preset file ended. */
    enum class FileWrite
    {
        written, /**< the file holds the change */
        stale,   /**< the entry is no longer the one this instance read or wrote: nothing written */
        failed   /**< the file could not be read, parsed or written: nothing written */
    };

    /** A list for `numParams` parameters (filled afterwards with `setParam`), both banks with
        `numPresets` slots of which the last `numUserPresets` are user slots. */
    ParamManager (int numParams, int numPresets, int numUserPresets);
    ~ParamManager() override;

    //==============================================================================
    // Set-up, called by the product before the controller exists

    /** Once, after every parameter has been set: names the slots ("Default", "PRST%03d",
        "USER%03d"), fills every slot with the live values and takes the saved copy. */
    void initialisePresets();

    /** Once, with the root element of the factory-preset text: fills the factory slots in
        element order, takes the saved copy and applies slot 0. */
    void loadFactoryPresets (const juce::XmlElement& root);

    //==============================================================================
    // Bank and states (controller's lock)

    /** Live values into the active slot and into the active state (both states while linked). */
    void storeCurrentValues();
    /** Makes a slot active and applies it; nothing outside 0..count-1. */
    void applyPreset (int index);
    /** Puts the active slot back to its saved copy and applies it; a user slot becomes empty.
        @returns whether the name changed for a factory slot; true for a user slot. */
    bool revertPresetToSaved();
    /** The active slot's name or any live value differs from the saved copy. */
    bool isActivePresetModified() const;
    /** Writes the live values as preset `name` into the user-preset file's entry for user slot
        `index`, then fills and selects the slot. Nothing changes in memory unless the file was
        written. @returns true when it was; false also for an index that is not a user slot. */
    bool storeUserPreset (const juce::String& fileName, int index, const juce::String& name);
    /** Copies A into B (applied when B is active) and unlinks the states. */
    void copyAToB();
    /** Copies B into A (applied when A is active) and unlinks the states. */
    void copyBToA();
    /** Switches to B (true) or A (false), storing the live values into the state left. */
    void selectState (bool useB);
    /** Back to the state after the factory presets loaded: saved bank, slot 0, A active, linked. */
    void resetState();
    /** Gives slot `index` a new name; raises its `modified` and `presetListChanged` on a change.
        Slot 0 keeps its name until a preset was applied or a state restored.
        @returns true when the name changed. */
    bool renameSlot (int index, const juce::String& name);
    /** Restores the link between the states (undo of a copy); no values move. */
    void setLinked (bool shouldBeLinked) noexcept { linked.store (shouldBeLinked); }

    //==============================================================================
    // Accessors and tests (any thread)

    /** Factory and user slots together (the host's number of programs). */
    int getNumPresets() const noexcept { return currentBank.getCount(); }
    /** The slot shown and edited (the host's current program). */
    int getActivePresetIndex() const noexcept { return activePresetIndex.load(); }
    /** Slots 0 .. getNumFactoryPresets() - 1 are factory slots, the rest user slots. */
    int getNumFactoryPresets() const noexcept { return numFactoryPresets; }
    int getNumUserPresets() const noexcept { return numUserPresets; }
    /** B (true) or A (false) is the active comparison state. */
    bool isStateBActive() const noexcept { return stateBActive.load(); }
    /** While linked, storing the live values writes them into both states. */
    bool isLinked() const noexcept { return linked.load(); }
    /** A preset was applied or a state restored; until then slot 0 keeps its name. */
    bool isPresetApplied() const noexcept { return presetApplied.load(); }
    /** The index names one of the user slots (the last slots of the bank). */
    bool isUserSlot (int index) const noexcept { return index >= numFactoryPresets && index < getNumPresets(); }
    /** The next later slot that is a factory slot or a user slot in use exists (no wrap). */
    bool hasNextPreset() const;
    /** The same looking down from the active slot. */
    bool hasPreviousPreset() const;
    /** The slot after (step 1) or before (step -1) the active one that `hasNextPreset` /
        `hasPreviousPreset` would find, or -1. */
    int findNeighbourPreset (int step) const;
    /** False for a factory index; otherwise whether the slot holds no preset (true beyond the bank). */
    bool isUserPresetSlotEmpty (int index) const;
    /** A slot's name or in-use flag changed (the editor rebuilds its list); cleared when asked. */
    bool testAndClearPresetListChanged (bool clear);
    /** The active slot changed (the editor selects the new entry); cleared when asked. */
    bool testAndClearActivePresetChanged (bool clear);

    /** A slot of the current bank (an empty record outside it). Controller's lock for
        anything but the name of a slot. */
    const PresetRecord& getPreset (int index) const noexcept { return currentBank.get (index); }
    const PresetRecord& getSavedPreset (int index) const noexcept { return savedBank.get (index); }
    /** The stored values of state A (false) or B (true). Controller's lock. */
    const PresetRecord& getState (bool b) const noexcept { return b ? stateB : stateA; }
    PresetRecord& getState (bool b) noexcept { return b ? stateB : stateA; }
    /** Every parameter's normalised value, in index order. */
    std::vector<float> getLiveValues() const;
    /** Sets every parameter's normalised value from `values` (notInPresets included);
        indices beyond `values` keep their value. */
    void setLiveValues (const std::vector<float>& values);

    /** The number a slot is written as: factory slot i as i + 1, user slot i as
        i + 1000 - numFactoryPresets. */
    int slotToNumber (int slot) const noexcept;
    /** The slot a written number names (may lie outside the bank). */
    int numberToSlot (juce::int64 number) const noexcept;

    //==============================================================================
    // XML forms (controller's lock; file operations also under the user-preset file lock)

    /** One attribute per parameter (display text of the record's values) and, with
        `withLogical`, a `logical` child with the real values. */
    void writeValueAttributes (const PresetRecord& record, juce::XmlElement& element, bool withLogical) const;
    /** The same for the live values. */
    void writeValues (juce::XmlElement& element, bool withLogical);
    /** The plug-in state element without its `undo` child. */
    void writeState (juce::XmlElement& element);
    /** Reads value attributes into a record: the exact `logical` value where it is finite and
        shows as the attribute's text, else the text, else `logical`. */
    void readValueAttributes (PresetRecord& record, const juce::XmlElement& element) const;
    /** Reads value attributes into the parameters; unmentioned parameters go to their default. */
    void readValues (const juce::XmlElement& element);
    /** Reads the plug-in state element (without `undo`). */
    void readState (const juce::XmlElement& element);
    /** Reads `preset` children into the slots; every slot an entry names counts as modified. */
    void readPresets (const juce::XmlElement& presetsElement, bool skipActive);

    /** Reads the user-preset file's entries into the slots with readPresets (numbered as the
        factory text is when they carry no "_No_"; of entries loading into one slot the last
        wins; a factory slot may be read too), clears every slot's `modified`, applies the
        active slot and copies it into both states. Reading needs no file lock: writers
        replace the file whole. */
    void loadUserPresets (const juce::String& fileName);
    /** Back to the factory presets as loaded plus the user-preset file, before a state is read
        (the active slot and the A/B states are left to the state). */
    void restorePresetBank (const juce::String& fileName);
    /** Reverts the active user slot and re-reads its entry from the file. */
    void revertUserPresetFromFile (const juce::String& fileName);
    /** Writes the active user slot, named `name`, into the user-preset file, unless its entry
        changed in the file since this instance last read or wrote it (another instance deleted
        it or stored another preset under its number): then nothing is written (stale). */
    FileWrite saveUserPresets (const juce::String& fileName, const juce::String& name);
    /** Marks the file's entries for user slot `index` deleted, unless the entry changed in the
        file since this instance last read or wrote it (stale). An entry that is absent both in
        the file and here counts as written. */
    FileWrite deleteUserPresetFromFile (const juce::String& fileName, int index);
    /** Takes into the user slots every entry that changed in the file since this instance last
        read or wrote it; slots whose entries did not change keep their in-memory edits. */
    void syncUserPresets (const juce::String& fileName);
    /** The first user slot that no live file entry loads into, the first user slot when the
        file is missing or unusable, -1 when every user slot is taken. */
    int findFreeUserPresetSlot (const juce::String& fileName) const;

    /** The user-preset file for a bare file name, in the maker's settings folder. */
    static juce::File getUserPresetFile (const juce::String& fileName);

private:
    void applyRecord (const PresetRecord& record);
    /** What the file says about user slot `index`: the saved slot with every live entry that
        loads into it read over it in document order, in use; or the saved slot, not in use,
        when there is none. */
    PresetRecord readUserEntry (const juce::XmlElement* presets, int index) const;
    /** Puts `record` into the file's entry for user slot `index`, the last live entry loading
        into it (stale when `checkStale` and the entry changed since this instance read or wrote
        it). Every write first gives the entries without "_No_" their numbers. */
    FileWrite writeUserEntry (const juce::String& fileName, int index, const PresetRecord& record, bool checkStale);
    void storeLiveValuesInto (PresetRecord& record) const;
    /** The user-preset document when the file exists, parses and has our root, else nullptr. */
    static std::unique_ptr<juce::XmlElement> readUserPresetDocument (const juce::String& fileName);

    PresetBank currentBank, savedBank;
    // Per user slot, the file's entry as this instance last read or wrote it (see readUserEntry).
    PresetBank fileBank;
    int numFactoryPresets, numUserPresets;
    std::atomic<int> activePresetIndex { 0 };
    std::atomic<bool> presetApplied { false };
    PresetRecord stateA, stateB;
    std::atomic<bool> stateBActive { false };
    std::atomic<bool> linked { true };
    std::atomic<bool> presetListChanged { false };
    std::atomic<bool> activePresetChanged { true };
};
} // namespace kelmora::core
