#pragma once

#include <cstdint>

namespace kelmora::aax {

class AAX_CPacket;

/** Fills a packet for one parameter identifier; the dispatcher keeps its own clone of each. */
class AAX_IPacketHandler
{
public:
    virtual ~AAX_IPacketHandler() = default;

    virtual AAX_IPacketHandler* Clone() const = 0;

    /** Fills the packet for the identifier (NUL-terminated); 0 on success, then it is posted. */
    virtual int32_t Call (const char* identifier, AAX_CPacket& packet) const = 0;
};

} // namespace kelmora::aax
