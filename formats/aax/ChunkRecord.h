#pragma once

#include <cstddef>
#include <cstdint>

namespace kelmora::aax {

/** The host's state-chunk record: a 56-byte header in host byte order followed by `size` data
    bytes. The host allocates it (header plus the size it was told), so the data area is reached
    through ChunkRecordData() rather than as a member. */
struct ChunkRecord
{
    int32_t size;              // number of data bytes after the header
    int32_t version;
    int32_t hostFields[3];     // the host's own; never read or written by the plug-in
    uint32_t chunkID;
    char name[32];             // always NUL-terminated when written by the plug-in
};

static_assert (offsetof (ChunkRecord, size) == 0);
static_assert (offsetof (ChunkRecord, version) == 4);
static_assert (offsetof (ChunkRecord, hostFields) == 8);
static_assert (offsetof (ChunkRecord, chunkID) == 20);
static_assert (offsetof (ChunkRecord, name) == 24);
static_assert (sizeof (ChunkRecord) == 56, "the data area starts at byte 56");

inline constexpr size_t kChunkRecordHeaderSize = sizeof (ChunkRecord);

inline uint8_t* ChunkRecordData (ChunkRecord* record)
{
    return reinterpret_cast<uint8_t*> (record) + kChunkRecordHeaderSize;
}

inline const uint8_t* ChunkRecordData (const ChunkRecord* record)
{
    return reinterpret_cast<const uint8_t*> (record) + kChunkRecordHeaderSize;
}

} // namespace kelmora::aax
