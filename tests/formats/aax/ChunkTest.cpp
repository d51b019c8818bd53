#include "formats/aax/FakeEffect.h"

#include <gtest/gtest.h>

#include <climits>

using namespace quietline::test::aax;
using Bytes = std::vector<uint8_t>;

namespace
{
AAX_CChunkDataParser load (const Bytes& data)
{
    AAX_CChunkDataParser parser;
    parser.LoadChunk (ChunkBuffer (data).record());
    return parser;
}

Bytes operator+ (Bytes a, const Bytes& b) { return a.insert (a.end(), b.begin(), b.end()), a; }

/** The text and its NUL, padded with zeros to `length` bytes. */
Bytes text (const std::string& s, size_t length)
{
    Bytes result (s.begin(), s.end());
    return result.resize (length), result;
}

const Bytes marker { 1, 1, 1, 1 };

/** Whether the first entries of `a` are those of `b`. */
bool samePrefix (const std::vector<ChunkEntry>& a, const std::vector<ChunkEntry>& b)
{
    for (size_t i = 0; i < a.size(); ++i)
        if (i >= b.size() || a[i].type != b[i].type || a[i].name != b[i].name || a[i].value != b[i].value || a[i].text != b[i].text)
            return false;
    return true;
}

/** One entry of each kind the writer makes, with texts that need 1 to 4 fill bytes. */
AAX_CChunkDataParser sampleParser()
{
    AAX_CChunkDataParser parser;
    parser.AddDouble ("freqParam", 21000.0), parser.AddInt32 ("MasterBypassID", 1);
    for (const char* value : { "abc", "ab", "", "abcdefg", "abcdefgh" })
        parser.AddString ("t", AAX_CString (value));
    parser.AddDouble ("x", -0.1), parser.AddInt32 ("neg", -7), parser.AddDouble ("freqParam", 1.0);   // a duplicate name is kept
    return parser;
}
} // namespace

TEST (AAXChunkFormat, WritesByteForByteWithNamesAndTextsPaddedToFourBytes)
{
    AAX_CChunkDataParser example, parser;
    example.AddDouble ("0", 1.0);
    EXPECT_EQ (ChunkBuffer::of (example), (Bytes { 1, 1, 1, 1, 0x64, 0x5F, 0x30, 0, 0x3F, 0xF0, 0, 0, 0, 0, 0, 0 }));
    EXPECT_EQ (ChunkBuffer::of (parser), marker) << "the empty chunk is the marker alone";
    parser.AddInt32 ("a", -2), parser.AddInt32 ("ab", 0x01020304);
    for (const char* value : { "ab", "abc", "abcd", "" })
        parser.AddString ("r", AAX_CString (value));
    EXPECT_EQ (ChunkBuffer::of (parser), (marker + text ("l_a", 4) + Bytes { 0xFF, 0xFF, 0xFF, 0xFE } + text ("l_ab", 8) + Bytes { 1, 2, 3, 4 }
                                + text ("r_r", 4) + text ("ab", 4) + text ("r_r", 4) + text ("abc", 4)
                                + text ("r_r", 4) + text ("abcd", 8) + text ("r_r", 4) + text ("", 4)));
    EXPECT_EQ (parser.GetChunkData (nullptr), kAAXNullObject);
}

TEST (AAXChunkFormat, ReadsHandMadeEntriesOfEveryTypeLetter)
{
    auto parser = load (marker + text ("f_float", 8) + Bytes { 0x3F, 0xC0, 0, 0 }                   // 1.5f
                        + text ("l_long", 8) + Bytes { 0x80, 0, 0, 0 }                              // INT32_MIN
                        + text ("d_double", 12) + Bytes { 0xC0, 0x04, 0, 0, 0, 0, 0, 0 }            // -2.5
                        + text ("s_short", 8) + Bytes { 0xFF, 0xFE, 0xAA, 0xBB }                    // -2, the rest ignored
                        + text ("r_text", 8) + text ("hello", 8) + text ("x_odd", 8)                // unknown letter: no value
                        + text ("l_last", 8) + Bytes { 0, 0, 0, 42 });
    std::vector<std::tuple<int32_t, std::string, int64_t>> read;
    for (const auto& entry : parser.GetEntries())
        read.emplace_back (entry.type, entry.name.Get(), entry.type == 3 || entry.type == 5 ? 0 : entry.value);
    EXPECT_EQ (read, (std::vector<std::tuple<int32_t, std::string, int64_t>> {
                         { 1, "float", 0x3FC00000 }, { 2, "long", 0x80000000u }, { 3, "double", 0 }, { 4, "short", 0xFFFFFFFEu },
                         { 5, "text", 0 }, { 0, "odd", 0 }, { 2, "last", 42 } }));

    int32_t i32 = 0, last = 0;
    double d = 0.0;
    AAX_CString s;
    EXPECT_TRUE (parser.FindInt32 ("long", &i32) && parser.FindDouble ("double", &d) && parser.FindString ("text", &s) && parser.FindInt32 ("last", &last));
    EXPECT_TRUE (i32 == INT32_MIN && d == -2.5 && s == AAX_CString ("hello") && last == 42);

    // Types 1 and 4 are read but never found; a wrong type leaves the output alone.
    EXPECT_FALSE (parser.FindDouble ("float", &d) || parser.FindDouble ("long", &d) || parser.FindInt32 ("short", &i32) || parser.FindString ("double", &s));
    EXPECT_TRUE (d == -2.5 && i32 == INT32_MIN && s == AAX_CString ("hello"));

    // A look-up resumes after the last hit, so duplicate names are found in turn.
    for (const char* name : { "a", "b", "c", "b" })
        parser.AddInt32 (name, 0);
    for (const auto& [name, index] : { std::pair { "b", 8 }, { "b", 10 }, { "b", 8 }, { "A", -1 }, { nullptr, -1 } })
        EXPECT_EQ (parser.FindEntry (name), index) << (name != nullptr ? name : "null");
}

TEST (AAXChunkFormat, MalformedChunksEndTheParse)
{
    const auto good = text ("l_ok", 8) + Bytes { 0, 0, 0, 1 };
    const auto longName = text ("l_" + std::string (254, 'n'), 257) + Bytes (3, 'n');   // the NUL just beyond 255 bytes
    const std::pair<Bytes, size_t> cases[] = {
        { marker + good, 1 }, { Bytes { 1, 1, 1, 2 } + good, 0 },                             // wrong marker
        { marker + good + text ("l", 4), 1 }, { marker + good + text ("", 4) + good, 1 },    // name too short or empty
        { marker + good + text ("d_v", 4) + Bytes (4), 1 },                                  // value past the end
        { marker + good + text ("r_t", 4) + Bytes { 'a', 'b' }, 1 },                         // text without NUL
        { marker + good + Bytes (300, 'l'), 1 }, { marker + good + longName + Bytes (8), 1 },  // name without NUL, too long
    };
    for (const auto& [data, entries] : cases)
        EXPECT_EQ (load (data).GetEntries().size(), entries) << data.size();

    for (int32_t badSize : { -1, -4, INT32_MIN, 0, 4 })
    {
        ChunkBuffer buffer (marker + good);
        AAX_CChunkDataParser parser;
        parser.AddInt32 ("stale", 1);   // a load replaces what was there
        buffer.record()->size = badSize;
        parser.LoadChunk (buffer.record());
        EXPECT_TRUE (parser.GetEntries().empty()) << badSize;
    }
}

TEST (AAXChunkFormat, RoundTripsByteForByteAndEveryTruncationReadsAPrefix)
{
    const auto full = sampleParser();
    const auto data = ChunkBuffer::of (full);
    EXPECT_EQ (ChunkBuffer::of (load (data)), data) << "a round trip is byte for byte";
    for (size_t length = 0; length <= data.size(); ++length)
    {
        const auto entries = load (Bytes (data.begin(), data.begin() + static_cast<std::ptrdiff_t> (length))).GetEntries();
        EXPECT_TRUE (samePrefix (entries, full.GetEntries()) && (length < data.size() || entries.size() == full.GetEntries().size())) << "a prefix of the entries: " << length;
    }

}
