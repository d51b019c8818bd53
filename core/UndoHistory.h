#pragma once

#include "core/UndoRecord.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace kelmora::core
{
class ParamManager;

/** The undo/redo list of one plug-in instance: a ring of 256 entries holding at most 255
    undoable steps (the slot at `position` is always free).

    The undoable entries are the slots from `tail` up to `position` - 1 (cyclically), the
    redoable ones from `position` up to `end` - 1. Undoing an entry replaces it by its
    inverse, which redo then applies.

    Owned by the PresetController; every operation runs under the controller's lock, except
    `canUndo`, `canRedo` and the counts, which the editor may read from any thread. */
class UndoHistory
{
public:
    static constexpr int capacity = 256;

    /** An empty history for `numValues` parameters. */
    explicit UndoHistory (int numValues);

    /** Appends a copy of `entry`, discarding every redoable entry; drops the oldest entry
        when the ring is full. */
    void push (const UndoRecord& entry);

    /** The makers: one entry of their kind with `time` = now, pushed. */
    void pushParameterChange (int paramIndex, float normalisedValue);
    void pushPresetChange (int previousSlot);
    void pushPresetValues (const juce::String& name, const std::vector<float>& liveValues);
    void pushStateSwitch (bool wasB);
    /** `bValues` are kept only when `linked` is false. */
    void pushCopyAToB (const std::vector<float>& bValues, bool linked);
    /** `aValues` are kept only when `linked` is false. */
    void pushCopyBToA (const std::vector<float>& aValues, bool linked);
    void pushRename (const juce::String& oldName);

    /** Any thread. */
    bool canUndo() const noexcept { return position.load() != tail.load(); }
    /** Any thread. */
    bool canRedo() const noexcept { return position.load() != end.load(); }
    /** Entries undo can step back over (0..255). Any thread. */
    int getNumUndoable() const noexcept;
    /** Entries redo can step forward over. Any thread. */
    int getNumRedoable() const noexcept;

    /** The newest undoable entry (slot `position` - 1), or nullptr when nothing is undoable. */
    UndoRecord* getNewestUndoable() noexcept;
    /** The newest undoable entry unless it is sealed: the one an edit may extend in place. */
    UndoRecord* getExtendableEntry() noexcept;

    /** The entry k steps back from the newest undoable one (k = 0: the newest), or nullptr. */
    const UndoRecord* getUndoEntry (int k) const noexcept;
    /** The entry k steps forward from `position` among the redoable ones, or nullptr. */
    const UndoRecord* getRedoEntry (int k) const noexcept;

    /** Removes the newest undoable entry and every redoable one (used when an action that
        was recorded turns out to change nothing). Does nothing when nothing is undoable. */
    void dropNewestUndoable() noexcept;

    /** Undo step in two halves, so that the caller can apply the entry in between:
        `peekUndo` copies the newest undoable entry (false when there is none);
        `commitUndo` steps `position` back and stores `inverse` in its place. */
    bool peekUndo (UndoRecord& out) const;
    void commitUndo (const UndoRecord& inverse);
    /** The same for redo: `peekRedo` copies slot `position`; `commitRedo` stores `inverse`
        there and steps `position` forward. */
    bool peekRedo (UndoRecord& out) const;
    void commitRedo (const UndoRecord& inverse);

    /** The editor's tooltip text for an entry (names taken from `manager`). */
    static juce::String describe (const UndoRecord& entry, const ParamManager& manager);

    /** Appends an `undo` child holding one `ui` element per entry from `tail` to `end` - 1;
        the newest undoable entry carries "active" = 1. */
    void writeToXml (juce::XmlElement& stateElement) const;

    /** Replaces the history by the entries of the element's `undo` child (none: empty);
        entries after the one marked "active" are redoable, and all of them when none is
        marked (a history saved fully undone). Entries that could only do harm (a parameter
        index outside the list, a value that is not finite) are skipped. */
    void readFromXml (const juce::XmlElement& stateElement);

    /** Empties the history. */
    void clear();

    /** Prunes the history when the active user slot `deletedSlot` is deleted: discards the
        redoable entries and every entry made while that slot was active, and returns the
        slot to select instead (the one active before it was selected, or 0). */
    int removePresetEntries (int deletedSlot);

    /** The millisecond counter used for `time`: Clock::counterMillis, so tests can step it. */
    static std::uint32_t now() noexcept;

private:
    static int next (int slot) noexcept { return (slot + 1) % capacity; }
    static int prev (int slot) noexcept { return (slot + capacity - 1) % capacity; }
    void sealNewest() noexcept;

    std::vector<UndoRecord> ring;
    int numValues;
    std::atomic<int> end { 0 }, position { 0 }, tail { 0 };
};
} // namespace kelmora::core
