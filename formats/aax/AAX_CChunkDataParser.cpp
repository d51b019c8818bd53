#include "formats/aax/AAX_CChunkDataParser.h"

#include "platform/aax/AAXResults.h"

#include <algorithm>
#include <cstring>

namespace kelmora::aax {

namespace {

constexpr uint8_t marker[4] = { 1, 1, 1, 1 };
constexpr size_t maxNameFieldLength = 255;

size_t roundUpTo4 (size_t n)
{
    return (n + 3) & ~static_cast<size_t> (3);
}

size_t nameFieldLength (const ChunkEntry& entry)
{
    return roundUpTo4 (std::strlen (entry.name.Get()) + 3);
}

size_t valueFieldLength (const ChunkEntry& entry)
{
    switch (entry.type)
    {
        case AAX_CChunkDataParser::typeFloat:
        case AAX_CChunkDataParser::typeInt32:
        case AAX_CChunkDataParser::typeInt16:
            return 4;
        case AAX_CChunkDataParser::typeDouble:
            return 8;
        case AAX_CChunkDataParser::typeString:
            return roundUpTo4 (std::strlen (entry.text.Get()) + 1);
        default:
            return 0;
    }
}

char typeLetter (int32_t type)
{
    switch (type)
    {
        case AAX_CChunkDataParser::typeFloat: return 'f';
        case AAX_CChunkDataParser::typeInt32: return 'l';
        case AAX_CChunkDataParser::typeDouble: return 'd';
        case AAX_CChunkDataParser::typeInt16: return 's';
        case AAX_CChunkDataParser::typeString: return 'r';
        default: return 0;
    }
}

void writeBigEndian (uint8_t* destination, uint64_t value, size_t numBytes)
{
    for (size_t i = 0; i < numBytes; ++i)
        destination[i] = static_cast<uint8_t> (value >> (8 * (numBytes - 1 - i)));
}

uint64_t readBigEndian (const uint8_t* source, size_t numBytes)
{
    uint64_t value = 0;
    for (size_t i = 0; i < numBytes; ++i)
        value = (value << 8) | source[i];
    return value;
}

uint64_t doubleBits (double value)
{
    uint64_t bits;
    std::memcpy (&bits, &value, sizeof (bits));
    return bits;
}

double bitsToDouble (uint64_t bits)
{
    double value;
    std::memcpy (&value, &bits, sizeof (value));
    return value;
}

} // namespace

void AAX_CChunkDataParser::Clear()
{
    entries.clear();
    searchPosition = -1;
    version = -1;
}

void AAX_CChunkDataParser::AddDouble (const char* name, double value)
{
    ChunkEntry entry;
    entry.type = typeDouble;
    entry.name = AAX_CString (name);
    entry.value = doubleBits (value);
    entries.push_back (std::move (entry));
}

void AAX_CChunkDataParser::AddInt32 (const char* name, int32_t value)
{
    ChunkEntry entry;
    entry.type = typeInt32;
    entry.name = AAX_CString (name);
    entry.value = static_cast<uint32_t> (value);
    entries.push_back (std::move (entry));
}

void AAX_CChunkDataParser::AddString (const char* name, const AAX_CString& value)
{
    ChunkEntry entry;
    entry.type = typeString;
    entry.name = AAX_CString (name);
    entry.text = value;
    entries.push_back (std::move (entry));
}

const ChunkEntry* AAX_CChunkDataParser::findTyped (const char* name, int32_t type)
{
    const int32_t index = FindEntry (name);
    if (index < 0 || entries[static_cast<size_t> (index)].type != type)
        return nullptr;
    return &entries[static_cast<size_t> (index)];
}

bool AAX_CChunkDataParser::FindDouble (const char* name, double* value)
{
    const ChunkEntry* entry = findTyped (name, typeDouble);
    if (entry == nullptr || value == nullptr)
        return false;
    *value = bitsToDouble (entry->value);
    return true;
}

bool AAX_CChunkDataParser::FindInt32 (const char* name, int32_t* value)
{
    const ChunkEntry* entry = findTyped (name, typeInt32);
    if (entry == nullptr || value == nullptr)
        return false;
    *value = static_cast<int32_t> (static_cast<uint32_t> (entry->value));
    return true;
}

bool AAX_CChunkDataParser::FindString (const char* name, AAX_IString* value)
{
    const ChunkEntry* entry = findTyped (name, typeString);
    if (entry == nullptr || value == nullptr)
        return false;
    *value = entry->text;
    return true;
}

int32_t AAX_CChunkDataParser::FindEntry (const char* name)
{
    if (name == nullptr)
        return -1;

    const auto count = static_cast<int32_t> (entries.size());
    if (searchPosition >= count - 1)
        searchPosition = -1;

    auto matches = [this, name] (int32_t index) {
        return std::strcmp (entries[static_cast<size_t> (index)].name.Get(), name) == 0;
    };

    for (int32_t i = searchPosition + 1; i < count; ++i)
        if (matches (i))
            return searchPosition = i;

    for (int32_t i = 0; i <= searchPosition; ++i)
        if (matches (i))
            return searchPosition = i;

    return -1;
}

int32_t AAX_CChunkDataParser::GetChunkDataSize() const
{
    size_t size = sizeof (marker);
    for (const auto& entry : entries)
        if (entry.type != 0)
            size += nameFieldLength (entry) + valueFieldLength (entry);

    return static_cast<int32_t> (size);
}

int32_t AAX_CChunkDataParser::GetChunkData (ChunkRecord* record) const
{
    if (record == nullptr)
        return kAAXNullObject;

    const int32_t size = GetChunkDataSize();
    record->size = size;

    uint8_t* data = ChunkRecordData (record);
    std::memset (data, 0, static_cast<size_t> (size));
    std::memcpy (data, marker, sizeof (marker));

    size_t position = sizeof (marker);
    for (const auto& entry : entries)
    {
        // Entries of an unknown type (read from someone else's chunk) have no value to write.
        if (entry.type == 0)
            continue;

        data[position] = static_cast<uint8_t> (typeLetter (entry.type));
        data[position + 1] = '_';
        std::memcpy (data + position + 2, entry.name.Get(), std::strlen (entry.name.Get()));
        position += nameFieldLength (entry);

        switch (entry.type)
        {
            case typeFloat:
            case typeInt32:
                writeBigEndian (data + position, entry.value & 0xFFFFFFFFu, 4);
                break;
            case typeInt16:
                writeBigEndian (data + position, entry.value & 0xFFFFu, 2);
                break;
            case typeDouble:
                writeBigEndian (data + position, entry.value, 8);
                break;
            case typeString:
                std::memcpy (data + position, entry.text.Get(), std::strlen (entry.text.Get()));
                break;
            default:
                break;
        }
        position += valueFieldLength (entry);
    }

    return kAAXSuccess;
}

void AAX_CChunkDataParser::LoadChunk (const ChunkRecord* record)
{
    Clear();
    if (record == nullptr)
        return;

    version = record->version;

    if (record->size < 5)
        return;

    const auto end = static_cast<size_t> (record->size);
    const uint8_t* data = ChunkRecordData (record);
    if (std::memcmp (data, marker, sizeof (marker)) != 0)
        return;

    size_t position = sizeof (marker);
    while (position < end)
    {
        const auto* terminator = static_cast<const uint8_t*> (
            std::memchr (data + position, 0, std::min (maxNameFieldLength, end - position)));
        if (terminator == nullptr)
            return;

        // The name field holds the type letter and '_' before the name itself.
        const auto fieldLength = static_cast<size_t> (terminator - (data + position));
        if (fieldLength < 2)
            return;

        ChunkEntry entry;
        entry.name = AAX_CString (reinterpret_cast<const char*> (data + position + 2));

        const char letter = static_cast<char> (data[position]);
        const size_t valuePosition = roundUpTo4 (position + fieldLength + 1);
        size_t next = valuePosition;

        auto readValue = [&] (int32_t type, size_t fieldBytes, size_t valueBytes) {
            if (valuePosition > end || end - valuePosition < fieldBytes)
                return false;
            entry.type = type;
            entry.value = readBigEndian (data + valuePosition, valueBytes);
            next = valuePosition + fieldBytes;
            return true;
        };

        switch (letter)
        {
            case 'f':
                if (! readValue (typeFloat, 4, 4))
                    return;
                break;
            case 'l':
                if (! readValue (typeInt32, 4, 4))
                    return;
                break;
            case 'd':
                if (! readValue (typeDouble, 8, 8))
                    return;
                break;
            case 's':
                if (! readValue (typeInt16, 4, 2))
                    return;
                entry.value = static_cast<uint32_t> (static_cast<int32_t> (static_cast<int16_t> (entry.value)));
                break;
            case 'r':
            {
                if (valuePosition >= end)
                    return;
                const auto* textEnd = static_cast<const uint8_t*> (
                    std::memchr (data + valuePosition, 0, end - valuePosition));
                if (textEnd == nullptr)
                    return;
                entry.type = typeString;
                entry.text = AAX_CString (reinterpret_cast<const char*> (data + valuePosition));
                next = roundUpTo4 (static_cast<size_t> (textEnd - data) + 1);
                break;
            }
            default:
                break;
        }

        entries.push_back (std::move (entry));
        position = next;
    }
}

} // namespace kelmora::aax
