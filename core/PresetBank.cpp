#include "core/PresetBank.h"

namespace kelmora::core
{
PresetBank::PresetBank (int count, int numValuesIn)
    : numValues (juce::jmax (0, numValuesIn))
{
    for (int i = 0; i < count; ++i)
        slots.push_back (std::make_unique<PresetRecord> (numValues));
}

PresetRecord* PresetBank::getSlot (int index) noexcept
{
    return isValidIndex (index) ? slots[(size_t) index].get() : nullptr;
}

const PresetRecord& PresetBank::get (int index) const noexcept
{
    // Never written: every writer goes through getSlot, which refuses a bad index.
    static const PresetRecord empty;
    return isValidIndex (index) ? *slots[(size_t) index] : empty;
}

void PresetBank::copyFrom (const PresetBank& other)
{
    if (this == &other)
        return;

    for (int i = 0; i < getCount(); ++i)
    {
        if (other.isValidIndex (i))
            slots[(size_t) i]->copyFrom (other.get (i));
        else
            slots[(size_t) i]->clear();
    }
}
} // namespace kelmora::core
