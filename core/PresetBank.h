#pragma once

#include "core/PresetRecord.h"

#include <memory>
#include <vector>

namespace kelmora::core
{
/** A fixed bank of preset slots: `count` records of `numValues` values each.

    The slots are created once and never replaced, so `copyFrom` writes into the existing
    records and a reference to a slot stays valid for the bank's lifetime.
    Not locked itself; see ParamManager. */
class PresetBank
{
public:
    /** `count` cleared records of `numValues` values (negative sizes count as 0). */
    PresetBank (int count, int numValues);

    /** The number of slots, fixed at construction. Any thread. */
    int getCount() const noexcept { return (int) slots.size(); }
    /** The number of values of every slot (the number of parameters). Any thread. */
    int getNumValues() const noexcept { return numValues; }
    /** 0 <= index < getCount(). Any thread. */
    bool isValidIndex (int index) const noexcept { return index >= 0 && index < getCount(); }

    /** The slot at `index`, or nullptr outside the bank. */
    PresetRecord* getSlot (int index) noexcept;

    /** The slot at `index`; outside the bank a shared empty record (empty name, values 0.0,
        flags clear). */
    const PresetRecord& get (int index) const noexcept;

    /** Copies every slot of `other` (name, values, both flags) into the slots of this bank,
        in place. Slots beyond `other`'s count are cleared. */
    void copyFrom (const PresetBank& other);

private:
    std::vector<std::unique_ptr<PresetRecord>> slots;
    int numValues;
};
} // namespace kelmora::core
