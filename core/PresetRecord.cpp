#include "core/PresetRecord.h"

namespace kelmora::core
{
PresetRecord::PresetRecord (int numValues)
    : values ((size_t) juce::jmax (0, numValues), 0.0f)
{
}

PresetRecord::PresetRecord (const PresetRecord& other)
    : name (other.name),
      values (other.values),
      modified (other.isModified()),
      inUse (other.isInUse())
{
}

PresetRecord& PresetRecord::operator= (const PresetRecord& other)
{
    if (this != &other)
        copyFrom (other);

    return *this;
}

float PresetRecord::getValue (int index) const noexcept
{
    return index >= 0 && index < getNumValues() ? values[(size_t) index] : 0.0f;
}

bool PresetRecord::setValue (int index, float newValue) noexcept
{
    if (index < 0 || index >= getNumValues())
        return false;

    auto& v = values[(size_t) index];

    if (sameValue (v, newValue))
        return false;

    v = newValue;
    setModified (true);
    return true;
}

bool PresetRecord::setName (const juce::String& newName)
{
    const auto bounded = newName.substring (0, maxNameLength);

    if (name == bounded)
        return false;

    name = bounded;
    setModified (true);
    return true;
}

void PresetRecord::copyFrom (const PresetRecord& other)
{
    if (this == &other)
        return;

    name = other.name;

    for (int i = 0; i < getNumValues(); ++i)
        values[(size_t) i] = other.getValue (i);

    setModified (other.isModified());
    setInUse (other.isInUse());
}

void PresetRecord::clear()
{
    name.clear();
    std::fill (values.begin(), values.end(), 0.0f);
    setModified (false);
    setInUse (false);
}
} // namespace kelmora::core
