#include "formats/aax/AAX_CChunkDataParser.h"
#include "formats/aax/fakehost/ChunkBuffer.h"
#include "platform/aax/AAXResults.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

using namespace kelmora::aax;
using quietline::test::aax::ChunkBuffer;
using Bytes = std::vector<uint8_t>;

namespace
{
Bytes write (const AAX_CChunkDataParser& parser)
{
    ChunkBuffer buffer (Bytes (static_cast<size_t> (parser.GetChunkDataSize())));
    EXPECT_EQ (parser.GetChunkData (buffer.record()), kAAXSuccess);
    return buffer.data();
}

AAX_CChunkDataParser load (const Bytes& data)
{
    ChunkBuffer buffer (data);
    AAX_CChunkDataParser parser;
    parser.LoadChunk (buffer.record());
    return parser;
}

Bytes operator+ (Bytes a, const Bytes& b)
{
    a.insert (a.end(), b.begin(), b.end());
    return a;
}

/** The text and its NUL, padded with zeros to `length` bytes. */
Bytes text (const char* s, size_t length)
{
    Bytes result (length, 0);
    std::memcpy (result.data(), s, std::strlen (s));
    return result;
}

const Bytes marker { 1, 1, 1, 1 };

bool sameEntries (const std::vector<ChunkEntry>& a, const std::vector<ChunkEntry>& b, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        if (a[i].type != b[i].type || ! (a[i].name == b[i].name) || a[i].value != b[i].value || ! (a[i].text == b[i].text))
            return false;
    return true;
}

/** One entry of each kind the writer makes, with texts that need 1 to 4 fill bytes. */
AAX_CChunkDataParser sampleParser()
{
    AAX_CChunkDataParser parser;
    parser.AddDouble ("freqParam", 21000.0);
    parser.AddInt32 ("MasterBypassID", 1);
    parser.AddString ("t", AAX_CString ("abc"));
    parser.AddDouble ("x", -0.1);
    parser.AddString ("label", AAX_CString ("ab"));
    parser.AddInt32 ("neg", -7);
    parser.AddString ("empty", AAX_CString (""));
    return parser;
}
} // namespace

TEST (AAXChunkFormat, WritesByteForByteWithNamesAndTextsPaddedToFourBytes)
{
    AAX_CChunkDataParser example;
    example.AddDouble ("0", 1.0);
    EXPECT_EQ (write (example), (Bytes { 1, 1, 1, 1, 0x64, 0x5F, 0x30, 0, 0x3F, 0xF0, 0, 0, 0, 0, 0, 0 }));

    AAX_CChunkDataParser parser;
    EXPECT_EQ (write (parser), marker) << "the empty chunk is the marker alone";
    parser.AddInt32 ("a", -2);
    parser.AddInt32 ("ab", 0x01020304);
    for (const char* value : { "ab", "abc", "abcd", "" })
        parser.AddString ("r", AAX_CString (value));

    const auto expected = marker + text ("l_a", 4) + Bytes { 0xFF, 0xFF, 0xFF, 0xFE } + text ("l_ab", 8) + Bytes { 1, 2, 3, 4 }
                        + text ("r_r", 4) + text ("ab", 4) + text ("r_r", 4) + text ("abc", 4)
                        + text ("r_r", 4) + text ("abcd", 8) + text ("r_r", 4) + text ("", 4);
    EXPECT_EQ (parser.GetChunkDataSize(), static_cast<int32_t> (expected.size()));
    EXPECT_EQ (write (parser), expected);
    EXPECT_EQ (parser.GetChunkData (nullptr), kAAXNullObject);
}

TEST (AAXChunkFormat, RoundTripKeepsEntriesAndOrder)
{
    AAX_CChunkDataParser parser = sampleParser();
    for (const char* value : { "a", "abcdefg", "abcdefgh", "abcdefghi" })
        parser.AddString ("text", AAX_CString (value));
    parser.AddDouble ("freqParam", 1.0);   // a duplicate name is kept

    const auto data = write (parser);
    const auto reader = load (data);
    ASSERT_EQ (reader.GetEntries().size(), parser.GetEntries().size());
    EXPECT_TRUE (sameEntries (reader.GetEntries(), parser.GetEntries(), parser.GetEntries().size()));
    EXPECT_EQ (write (reader), data);

    ChunkBuffer stale (marker);
    stale.record()->version = 7;
    parser.LoadChunk (stale.record());
    EXPECT_TRUE (parser.GetEntries().empty());
    EXPECT_EQ (parser.GetVersion(), 7);
    parser.AddInt32 ("stale", 1);
    parser.LoadChunk (nullptr);
    EXPECT_TRUE (parser.GetEntries().empty());
}

TEST (AAXChunkFormat, ReadsHandMadeEntriesOfEveryTypeLetter)
{
    auto parser = load (marker + text ("f_float", 8) + Bytes { 0x3F, 0xC0, 0, 0 }    // 1.5f
                        + text ("l_long", 8) + Bytes { 0x80, 0, 0, 0 }               // INT32_MIN
                        + text ("d_double", 12) + Bytes { 0xC0, 0x04, 0, 0, 0, 0, 0, 0 }   // -2.5
                        + text ("s_short", 8) + Bytes { 0xFF, 0xFE, 0xAA, 0xBB }     // -2, the rest ignored
                        + text ("r_text", 8) + text ("hello", 8)
                        + text ("x_odd", 8)                                          // unknown letter: no value
                        + text ("l_last", 8) + Bytes { 0, 0, 0, 42 });

    const auto& entries = parser.GetEntries();
    ASSERT_EQ (entries.size(), 7u);
    const std::pair<int32_t, const char*> expected[] = { { 1, "float" }, { 2, "long" }, { 3, "double" }, { 4, "short" },
                                                         { 5, "text" }, { 0, "odd" }, { 2, "last" } };
    for (size_t i = 0; i < 7; ++i)
    {
        EXPECT_EQ (entries[i].type, expected[i].first) << i;
        EXPECT_STREQ (entries[i].name.Get(), expected[i].second) << i;
    }
    float f = 0.0f;
    const auto floatBits = static_cast<uint32_t> (entries[0].value);
    std::memcpy (&f, &floatBits, sizeof (f));
    EXPECT_EQ (f, 1.5f);
    EXPECT_EQ (static_cast<int32_t> (static_cast<uint32_t> (entries[3].value)), -2);

    int32_t i32 = 0;
    double d = 0.0;
    AAX_CString s;
    EXPECT_TRUE (parser.FindInt32 ("long", &i32) && i32 == INT32_MIN);
    EXPECT_TRUE (parser.FindDouble ("double", &d) && d == -2.5);
    EXPECT_TRUE (parser.FindString ("text", &s) && s == AAX_CString ("hello"));
    EXPECT_TRUE (parser.FindInt32 ("last", &i32) && i32 == 42);

    // Types 1 and 4 are read but never found; a wrong type leaves the output alone.
    EXPECT_FALSE (parser.FindDouble ("float", &d) || parser.FindDouble ("long", &d) || parser.FindInt32 ("short", &i32)
                  || parser.FindString ("double", &s));
    EXPECT_TRUE (d == -2.5 && i32 == 42 && s == AAX_CString ("hello"));
}

TEST (AAXChunkFormat, FindEntryResumesAfterTheLastHitAndWraps)
{
    AAX_CChunkDataParser parser;
    EXPECT_EQ (parser.FindEntry ("a"), -1);
    for (const char* name : { "a", "b", "c", "b" })
        parser.AddInt32 (name, 0);

    const std::pair<const char*, int> lookups[] = { { "a", 0 }, { "b", 1 }, { "c", 2 }, { "b", 3 }, { "b", 1 }, { "a", 0 },
                                                    { "c", 2 }, { "a", 0 }, { "missing", -1 }, { "b", 1 }, { nullptr, -1 }, { "A", -1 } };
    for (const auto& [name, index] : lookups)
        EXPECT_EQ (parser.FindEntry (name), index) << (name != nullptr ? name : "null");
}

TEST (AAXChunkFormat, MalformedChunksEndTheParse)
{
    const auto good = text ("l_ok", 8) + Bytes { 0, 0, 0, 1 };
    Bytes longName (260, 'n');
    longName[0] = 'l';
    longName[1] = '_';
    longName[256] = 0;   // the NUL just beyond 255 bytes

    const std::pair<Bytes, size_t> cases[] = {
        { marker + good, 1 },
        { Bytes { 1, 1, 1, 2 } + good, 0 },                                  // wrong marker
        { marker + good + text ("l", 4), 1 },                               // a name field too short
        { marker + good + text ("", 4) + good, 1 },                         // an empty name field
        { marker + good + text ("d_v", 4) + Bytes { 0, 0, 0, 0 }, 1 },       // value past the end
        { marker + good + text ("r_t", 4) + Bytes { 'a', 'b' }, 1 },         // text without NUL
        { marker + good + Bytes (300, 'l'), 1 },                             // name without NUL
        { marker + good + longName + Bytes (8, 0), 1 },
    };
    for (size_t i = 0; i < std::size (cases); ++i)
        EXPECT_EQ (load (cases[i].first).GetEntries().size(), cases[i].second) << i;

    for (int32_t badSize : { -1, -4, INT32_MIN, 0, 4 })
    {
        ChunkBuffer buffer (marker + good);
        buffer.record()->size = badSize;
        AAX_CChunkDataParser parser;
        parser.LoadChunk (buffer.record());
        EXPECT_TRUE (parser.GetEntries().empty()) << badSize;
    }
}

TEST (AAXChunkFormat, EveryTruncationAndSingleByteCorruptionStaysInsideTheChunk)
{
    const AAX_CChunkDataParser full = sampleParser();
    const auto data = write (full);

    for (size_t length = 0; length <= data.size(); ++length)
    {
        const auto parser = load (Bytes (data.begin(), data.begin() + static_cast<std::ptrdiff_t> (length)));
        const auto& entries = parser.GetEntries();
        ASSERT_LE (entries.size(), full.GetEntries().size()) << length;
        EXPECT_TRUE (sameEntries (entries, full.GetEntries(), entries.size())) << "a prefix of the entries: " << length;
        EXPECT_TRUE (length < data.size() || entries.size() == full.GetEntries().size());
    }

    for (size_t position = 0; position < data.size(); ++position)
    {
        for (int value = 0; value < 256; ++value)
        {
            auto corrupted = data;
            corrupted[position] = static_cast<uint8_t> (value);
            const auto parser = load (corrupted);

            // Whatever was read writes out and reads back the same.
            size_t known = 0;
            for (const auto& entry : parser.GetEntries())
                known += entry.type != 0 ? 1 : 0;
            ASSERT_EQ (load (write (parser)).GetEntries().size(), known) << position << " " << value;
        }
    }
}
