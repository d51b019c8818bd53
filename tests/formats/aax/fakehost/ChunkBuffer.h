#pragma once

// A chunk record as a host allocates it: the header and exactly the data bytes, so that the
// address sanitizer reports any read past the data.

#include "formats/aax/ChunkRecord.h"

#include <cstring>
#include <memory>
#include <vector>

namespace quietline::test::aax
{
struct ChunkBuffer
{
    explicit ChunkBuffer (const std::vector<uint8_t>& data, uint32_t chunkID = 0)
        : bytes (new uint8_t[kelmora::aax::kChunkRecordHeaderSize + data.size()]())
    {
        *record() = { static_cast<int32_t> (data.size()), 0, {}, chunkID, {} };
        std::copy (data.begin(), data.end(), kelmora::aax::ChunkRecordData (record()));
    }

    kelmora::aax::ChunkRecord* record() { return reinterpret_cast<kelmora::aax::ChunkRecord*> (bytes.get()); }

    /** The data area as far as the size field says. */
    std::vector<uint8_t> data() { return { kelmora::aax::ChunkRecordData (record()), kelmora::aax::ChunkRecordData (record()) + record()->size }; }

    std::unique_ptr<uint8_t[]> bytes;
};
} // namespace quietline::test::aax
