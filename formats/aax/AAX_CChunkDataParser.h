#pragma once

#include "formats/aax/AAX_CString.h"
#include "formats/aax/ChunkRecord.h"

#include <cstdint>
#include <vector>

namespace kelmora::aax {

/** One typed, named value of a state chunk. */
struct ChunkEntry
{
    /** 1 float ("f"), 2 int32 ("l"), 3 double ("d"), 4 int16 ("s"), 5 text ("r"); 0 unknown. */
    int32_t type = 0;
    AAX_CString name;
    /** The value's bits: int32, int16 (sign-extended) and float in the low 32, a double in all 64. */
    uint64_t value = 0;
    AAX_CString text;
};

/** Writes and reads the data area of a state chunk: the marker 01 01 01 01, then per entry a
    name field (type letter, '_', name, NUL, padded to 4 bytes) and a big-endian value field.

    Reading never looks outside the record's data area: a field that does not fit, a name without
    a terminator within 255 bytes or a size below 5 ends the parse with the entries read so far.
    Not locked; the owning effect serialises its chunk operations. */
class AAX_CChunkDataParser
{
public:
    static constexpr int32_t typeFloat = 1;
    static constexpr int32_t typeInt32 = 2;
    static constexpr int32_t typeDouble = 3;
    static constexpr int32_t typeInt16 = 4;
    static constexpr int32_t typeString = 5;

    AAX_CChunkDataParser() = default;
    virtual ~AAX_CChunkDataParser() = default;

    void Clear();

    /** Append an entry; a name already present is appended again. */
    void AddDouble (const char* name, double value);
    void AddInt32 (const char* name, int32_t value);
    void AddString (const char* name, const AAX_CString& value);

    /** True and the value written only for an entry of that name and of the matching type. */
    bool FindDouble (const char* name, double* value);
    bool FindInt32 (const char* name, int32_t* value);
    bool FindString (const char* name, AAX_IString* value);

    /** Index of an entry with exactly this name, or -1. The search resumes after the entry found
        last and wraps around, so lookups in stored order compare one entry each. */
    int32_t FindEntry (const char* name);

    /** Number of data bytes GetChunkData() writes (at least the 4 marker bytes). */
    int32_t GetChunkDataSize() const;

    /** Writes the size field and GetChunkDataSize() data bytes; the record must have room for
        them. 0, or -20004 for a null record. */
    int32_t GetChunkData (ChunkRecord* record) const;

    /** Replaces the entries with those read from the record and takes over its version. */
    void LoadChunk (const ChunkRecord* record);

    int32_t GetVersion() const { return version; }
    const std::vector<ChunkEntry>& GetEntries() const { return entries; }

private:
    const ChunkEntry* findTyped (const char* name, int32_t type);

    int32_t searchPosition = -1;
    int32_t version = -1;
    std::vector<ChunkEntry> entries;
};

} // namespace kelmora::aax
