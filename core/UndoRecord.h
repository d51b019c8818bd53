#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>
#include <vector>

namespace kelmora::core
{
/** The kind of an undo entry. Values outside 1..7 may arrive from a saved state; such an
    entry has no effect when undone or redone. 0 marks an entry erased by pruning. */
enum class UndoOp : std::int32_t
{
    None = 0,
    ParameterChange = 1, ///< editing one parameter: paramIndex, normalisedValue before the edit
    PresetChange = 2,    ///< selecting a preset: presetIndex = the slot active before
    PresetValues = 3,    ///< revert or paste: presetName and every live value before
    StateSwitch = 4,     ///< selecting A or B: stateBActive before
    CopyAToB = 5,        ///< linked before; when it was false, B's stored values before
    CopyBToA = 6,        ///< linked before; when it was false, A's stored values before
    PresetRename = 7     ///< renaming the active preset: the old presetName
};

/** One entry of the undo history. A plain value type: copying copies the values too. */
struct UndoRecord
{
    juce::String presetName;       ///< PresetValues, PresetRename
    float normalisedValue = 0.0f;  ///< ParameterChange, 0..1
    std::int32_t paramIndex = 0;   ///< ParameterChange
    std::vector<float> values;     ///< PresetValues, CopyAToB, CopyBToA; empty when none
    std::int32_t presetIndex = 0;  ///< PresetChange
    bool stateBActive = false;     ///< StateSwitch
    bool linked = false;           ///< CopyAToB, CopyBToA (false for PresetValues)
    UndoOp op = UndoOp::None;
    /** Millisecond counter when the entry was made or last extended (wraps after ~49 days;
        compared by unsigned difference). */
    std::uint32_t time = 0;
    /** Put in place by undo, redo or a restored history, so no later edit extends it: the
        step it stands for would become unreachable. Not saved. */
    bool sealed = false;

    /** Every number and flag zero, no values, no name; `time` set to `now`. */
    void clear (std::uint32_t now) noexcept;
};
} // namespace kelmora::core
