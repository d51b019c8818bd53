#include "core/BooleanParameter.h"

namespace kelmora::core
{
BooleanParameter::BooleanParameter (const char* id, const char* name, const char* unit, bool defaultValue,
                                     const char* choices, juce::uint32 flags)
    : Parameter (id, name, unit, 0, choices, flags, 0.0, 1.0, defaultValue ? 1.0 : 0.0)
{
}

void BooleanParameter::setRange (double, double)
{
    Parameter::setRange (0.0, 1.0);
}

juce::String BooleanParameter::getText (double v) const
{
    return v < 0.5 ? minText : maxText;
}
} // namespace kelmora::core
