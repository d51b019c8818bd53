#pragma once

#include "formats/au/AUIOElement.h"

namespace kelmora::au
{
/** An output bus: always has room for a rendered slice of its own. */
class AUOutputElement : public AUIOElement
{
public:
    explicit AUOutputElement (AUBase& unit);

    OSStatus SetStreamFormat (const AudioStreamBasicDescription& format) override;
    bool NeedsBufferSpace() const override { return true; }
};
} // namespace kelmora::au
