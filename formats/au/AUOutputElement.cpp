#include "formats/au/AUOutputElement.h"

namespace kelmora::au
{
AUOutputElement::AUOutputElement (AUBase& unit) : AUIOElement (unit) { AllocateBuffer(); }

OSStatus AUOutputElement::SetStreamFormat (const AudioStreamBasicDescription& format)
{
    AUIOElement::SetStreamFormat (format);
    AllocateBuffer();
    return noErr;
}
} // namespace kelmora::au
