#pragma once

#include <cstdint>
#include <vector>

namespace kelmora::aax {

/** One block of bytes for the audio side, bound to a port (a field index of the audio side's
    context record). Owned by AAX_CPacketDispatcher and touched only under its mutex. */
class AAX_CPacket
{
public:
    explicit AAX_CPacket (uint32_t port);

    uint32_t GetID() const { return port; }

    bool IsDirty() const { return dirty; }
    void SetDirty (bool isDirty) { dirty = isDirty; }

    /** Number of valid bytes, as posted to the host. */
    uint32_t GetSize() const { return size; }
    void SetSize (uint32_t numBytes) { size = numBytes; }

    /** Resizes the buffer to numBytes (new bytes are zero) and returns its start. */
    void* GetPtr (uint32_t numBytes);

    const void* GetData() const { return buffer.data(); }

private:
    uint32_t port;
    bool dirty = true;
    uint32_t size = 0;
    std::vector<uint8_t> buffer;
};

} // namespace kelmora::aax
