#pragma once

#include <juce_core/juce_core.h>

#include <atomic>
#include <vector>

namespace kelmora::core
{
/** One preset slot, and also the form of the A and B comparison states: a name and one
    normalised value (0..1) per parameter index.

    A record never changes its number of values after construction, so copying one record
    into another of the same size never reallocates: the editor may read a slot's name
    while a host thread rewrites the bank. The flags are atomics because the editor tests
    `inUse` without the controller's lock.

    Not locked itself; the owner (ParamManager, under the PresetController's lock) serialises
    writers. */
class PresetRecord
{
public:
    /** A cleared record: empty name, `numValues` values of 0.0, both flags clear. */
    explicit PresetRecord (int numValues = 0);
    PresetRecord (const PresetRecord& other);
    /** Copies name, values and flags into this record in place. */
    PresetRecord& operator= (const PresetRecord& other);

    /** The number of values; always the number of parameters. */
    int getNumValues() const noexcept { return (int) values.size(); }

    /** The normalised value at `index`; 0.0 at or beyond `getNumValues` (or below 0). */
    float getValue (int index) const noexcept;

    /** All values, `getNumValues` long. */
    const std::vector<float>& getValues() const noexcept { return values; }

    /** Replaces the value at `index` only when it differs (NaN on either side counts as
        different) and raises `modified` then. Ignores an index outside the record.
        @returns true when the value was replaced. */
    bool setValue (int index, float newValue) noexcept;

    /** Longest name kept, in characters; a longer one is cut to this length. Bounds what the
        state and the user-preset file carry, so that both stay readable by XmlUtils. */
    static constexpr int maxNameLength = 255;

    /** Sets the name (cut to maxNameLength) when it differs and raises `modified` then.
        @returns true on a change. */
    bool setName (const juce::String& newName);

    /** The preset's name (shown in the preset list and as the host's program name). */
    const juce::String& getName() const noexcept { return name; }

    /** Copies name, values and both flags from `other`, in place. Values beyond `other`'s
        length become 0.0; extra values of `other` are ignored. */
    void copyFrom (const PresetRecord& other);

    /** Back to a cleared record (name empty, values 0.0, flags clear). */
    void clear();

    /** Raised by any change of the name or a value; the state saves exactly the modified slots.
        Any thread. */
    bool isModified() const noexcept { return modified.load (std::memory_order_relaxed); }
    void setModified (bool m) noexcept { modified.store (m, std::memory_order_relaxed); }
    /** The slot holds a preset (meaningful for user slots only). Any thread. */
    bool isInUse() const noexcept { return inUse.load (std::memory_order_relaxed); }
    void setInUse (bool u) noexcept { inUse.store (u, std::memory_order_relaxed); }

    /** True when the two values count as equal for presets: same float, neither NaN. */
    static bool sameValue (float a, float b) noexcept { return a == b; }

private:
    juce::String name;
    std::vector<float> values;
    /** Raised when an operation changes the name or a value; the state writer saves exactly
        the modified slots. */
    std::atomic<bool> modified { false };
    /** The slot holds a preset; only tested on user slots. */
    std::atomic<bool> inUse { false };
};
} // namespace kelmora::core
