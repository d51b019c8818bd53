#include "formats/aax/AAX_CPacket.h"

namespace kelmora::aax {

AAX_CPacket::AAX_CPacket (uint32_t portIndex)
    : port (portIndex), buffer (8, 0)
{
}

void* AAX_CPacket::GetPtr (uint32_t numBytes)
{
    buffer.resize (numBytes, 0);
    return buffer.data();
}

} // namespace kelmora::aax
