#pragma once

#include "core/Parameter.h"

namespace kelmora::core
{
/** A two-state parameter: range 0..1, no decimals, shown as its first choice text below 0.5
    and its second from 0.5 (e.g. choices "Off|On"). Threads as Parameter. */
class BooleanParameter : public Parameter
{
public:
    /** @param defaultValue true gives the default 1.0, false 0.0
        @param choices      "off-text|on-text"; null for none (the texts are then empty) */
    BooleanParameter (const char* id, const char* name, const char* unit, bool defaultValue,
                      const char* choices, juce::uint32 flags);

    /** Ignores the arguments: the range is always 0..1. */
    void setRange (double minimum, double maximum) override;

    /** The minimum text below 0.5, else the maximum text. */
    juce::String getText (double v) const override;
};
} // namespace kelmora::core
