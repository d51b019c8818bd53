#pragma once

// A chunk record as a host allocates it: the header and exactly the data bytes, so that the
// address sanitizer reports any read past the data.

#include "formats/aax/ChunkRecord.h"

#include <cstring>
#include <memory>
#include <vector>

namespace quietline::test::aax
{
class ChunkBuffer
{
public:
    explicit ChunkBuffer (const std::vector<uint8_t>& data, uint32_t chunkID = 0)
        : bytes (new uint8_t[kelmora::aax::kChunkRecordHeaderSize + data.size()]())
    {
        record()->size = static_cast<int32_t> (data.size());
        record()->chunkID = chunkID;
        if (! data.empty())
            std::memcpy (kelmora::aax::ChunkRecordData (record()), data.data(), data.size());
    }

    kelmora::aax::ChunkRecord* record() { return reinterpret_cast<kelmora::aax::ChunkRecord*> (bytes.get()); }

    /** The data area as far as the size field says. */
    std::vector<uint8_t> data()
    {
        const uint8_t* start = kelmora::aax::ChunkRecordData (record());
        return { start, start + record()->size };
    }

private:
    std::unique_ptr<uint8_t[]> bytes;
};
} // namespace quietline::test::aax
