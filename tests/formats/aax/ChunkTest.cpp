#include "formats/aax/AAX_CChunkDataParser.h"
#include "formats/aax/fakehost/ChunkBuffer.h"
#include "platform/aax/AAXResults.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace kelmora::aax;
using quietline::test::aax::ChunkBuffer;

namespace {

std::vector<uint8_t> write (const AAX_CChunkDataParser& parser)
{
    ChunkBuffer buffer (static_cast<size_t> (parser.GetChunkDataSize()));
    EXPECT_EQ (parser.GetChunkData (buffer.record()), kAAXSuccess);
    EXPECT_EQ (buffer.record()->size, parser.GetChunkDataSize());
    return buffer.data();
}

std::vector<uint8_t> bytes (std::initializer_list<int> values)
{
    std::vector<uint8_t> result;
    for (int v : values)
        result.push_back (static_cast<uint8_t> (v));
    return result;
}

std::vector<uint8_t> operator+ (std::vector<uint8_t> a, const std::vector<uint8_t>& b)
{
    a.insert (a.end(), b.begin(), b.end());
    return a;
}

std::vector<uint8_t> textBytes (const char* text, size_t paddedLength)
{
    std::vector<uint8_t> result (paddedLength, 0);
    std::memcpy (result.data(), text, std::strlen (text));
    return result;
}

const std::vector<uint8_t> marker = bytes ({ 1, 1, 1, 1 });

bool sameEntries (const std::vector<ChunkEntry>& a, const std::vector<ChunkEntry>& b, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        if (a[i].type != b[i].type || ! (a[i].name == b[i].name) || a[i].value != b[i].value || ! (a[i].text == b[i].text))
            return false;
    return true;
}

/** One entry of each kind the writer makes, plus texts that need 1, 2, 3 and 4 fill bytes. */
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

TEST (AAXChunkFormat, WritesTheDocumentedExampleByteForByte)
{
    AAX_CChunkDataParser parser;
    parser.AddDouble ("0", 1.0);
    EXPECT_EQ (parser.GetChunkDataSize(), 16);
    EXPECT_EQ (write (parser), bytes ({ 1, 1, 1, 1, 0x64, 0x5F, 0x30, 0, 0x3F, 0xF0, 0, 0, 0, 0, 0, 0 }));
}

TEST (AAXChunkFormat, PadsNamesAndTextsToFourBytes)
{
    AAX_CChunkDataParser parser;
    parser.AddInt32 ("a", -2);
    parser.AddInt32 ("ab", 0x01020304);
    parser.AddString ("r", AAX_CString ("ab"));
    parser.AddString ("s", AAX_CString ("abc"));
    parser.AddString ("u", AAX_CString ("abcd"));
    parser.AddString ("v", AAX_CString (""));

    const auto expected = marker
                          + textBytes ("l_a", 4) + bytes ({ 0xFF, 0xFF, 0xFF, 0xFE })
                          + textBytes ("l_ab", 8) + bytes ({ 1, 2, 3, 4 })
                          + textBytes ("r_r", 4) + textBytes ("ab", 4)
                          + textBytes ("r_s", 4) + textBytes ("abc", 4)
                          + textBytes ("r_u", 4) + textBytes ("abcd", 8)
                          + textBytes ("r_v", 4) + textBytes ("", 4);
    EXPECT_EQ (parser.GetChunkDataSize(), static_cast<int32_t> (expected.size()));
    EXPECT_EQ (write (parser), expected);
}

TEST (AAXChunkFormat, EmptyChunkIsTheMarkerAlone)
{
    AAX_CChunkDataParser parser;
    EXPECT_EQ (parser.GetChunkDataSize(), 4);
    EXPECT_EQ (write (parser), marker);

    ChunkBuffer buffer (marker);
    buffer.record()->version = 7;
    parser.AddInt32 ("stale", 1);
    parser.LoadChunk (buffer.record());
    EXPECT_TRUE (parser.GetEntries().empty());
    EXPECT_EQ (parser.GetVersion(), 7);

    parser.Clear();
    EXPECT_EQ (parser.GetVersion(), -1);
    EXPECT_EQ (parser.GetChunkData (nullptr), kAAXNullObject);
    parser.LoadChunk (nullptr);
    EXPECT_TRUE (parser.GetEntries().empty());
}

TEST (AAXChunkFormat, RoundTripKeepsEntriesAndOrder)
{
    AAX_CChunkDataParser parser = sampleParser();
    for (const char* text : { "a", "abcdefg", "abcdefgh", "abcdefghi" })
        parser.AddString ("text", AAX_CString (text));
    parser.AddDouble ("freqParam", 1.0);  // a duplicate name is kept

    ChunkBuffer buffer (write (parser));
    AAX_CChunkDataParser reader;
    reader.LoadChunk (buffer.record());

    ASSERT_EQ (reader.GetEntries().size(), parser.GetEntries().size());
    EXPECT_TRUE (sameEntries (reader.GetEntries(), parser.GetEntries(), parser.GetEntries().size()));
    EXPECT_EQ (write (reader), buffer.data());
}

TEST (AAXChunkFormat, ReadsHandMadeEntriesOfEveryTypeLetter)
{
    const auto data = marker
                      + textBytes ("f_float", 8) + bytes ({ 0x3F, 0xC0, 0, 0 })         // 1.5f
                      + textBytes ("l_long", 8) + bytes ({ 0x80, 0, 0, 0 })             // INT32_MIN
                      + textBytes ("d_double", 12) + bytes ({ 0xC0, 0x04, 0, 0, 0, 0, 0, 0 }) // -2.5
                      + textBytes ("s_short", 8) + bytes ({ 0xFF, 0xFE, 0xAA, 0xBB })   // -2, rest ignored
                      + textBytes ("r_text", 8) + textBytes ("hello", 8)
                      + textBytes ("x_odd", 8)                                         // unknown letter: no value
                      + textBytes ("l_last", 8) + bytes ({ 0, 0, 0, 42 });
    ChunkBuffer buffer (data);
    AAX_CChunkDataParser parser;
    parser.LoadChunk (buffer.record());

    const auto& entries = parser.GetEntries();
    ASSERT_EQ (entries.size(), 7u);
    const std::vector<std::pair<int32_t, std::string>> expected {
        { 1, "float" }, { 2, "long" }, { 3, "double" }, { 4, "short" }, { 5, "text" }, { 0, "odd" }, { 2, "last" }
    };
    for (size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ (entries[i].type, expected[i].first) << i;
        EXPECT_STREQ (entries[i].name.Get(), expected[i].second.c_str()) << i;
    }

    float f = 0.0f;
    const auto floatBits = static_cast<uint32_t> (entries[0].value);
    std::memcpy (&f, &floatBits, sizeof (f));
    EXPECT_EQ (f, 1.5f);
    EXPECT_EQ (static_cast<int32_t> (static_cast<uint32_t> (entries[3].value)), -2);
    EXPECT_STREQ (entries[4].text.Get(), "hello");

    int32_t i32 = 0;
    double d = 0.0;
    AAX_CString s;
    EXPECT_TRUE (parser.FindInt32 ("long", &i32));
    EXPECT_EQ (i32, INT32_MIN);
    EXPECT_TRUE (parser.FindDouble ("double", &d));
    EXPECT_EQ (d, -2.5);
    EXPECT_TRUE (parser.FindString ("text", &s));
    EXPECT_STREQ (s.Get(), "hello");
    EXPECT_TRUE (parser.FindInt32 ("last", &i32));
    EXPECT_EQ (i32, 42);

    // Types 1 and 4 are read but never found; a wrong type leaves the output alone.
    d = 9.0;
    EXPECT_FALSE (parser.FindDouble ("float", &d));
    EXPECT_FALSE (parser.FindDouble ("long", &d));
    EXPECT_FALSE (parser.FindInt32 ("short", &i32));
    EXPECT_FALSE (parser.FindString ("double", &s));
    EXPECT_EQ (d, 9.0);
    EXPECT_EQ (i32, 42);
    EXPECT_STREQ (s.Get(), "hello");
}

TEST (AAXChunkFormat, FindEntryResumesAfterTheLastHitAndWraps)
{
    AAX_CChunkDataParser parser;
    for (const char* name : { "a", "b", "c", "b" })
        parser.AddInt32 (name, 0);

    // In stored order each lookup finds the next entry, duplicates included.
    EXPECT_EQ (parser.FindEntry ("a"), 0);
    EXPECT_EQ (parser.FindEntry ("b"), 1);
    EXPECT_EQ (parser.FindEntry ("c"), 2);
    EXPECT_EQ (parser.FindEntry ("b"), 3);
    EXPECT_EQ (parser.FindEntry ("b"), 1);

    // Out of order the search wraps around.
    EXPECT_EQ (parser.FindEntry ("a"), 0);
    EXPECT_EQ (parser.FindEntry ("c"), 2);
    EXPECT_EQ (parser.FindEntry ("a"), 0);
    EXPECT_EQ (parser.FindEntry ("missing"), -1);
    EXPECT_EQ (parser.FindEntry ("b"), 1);
    EXPECT_EQ (parser.FindEntry (nullptr), -1);
    EXPECT_EQ (parser.FindEntry ("A"), -1);

    AAX_CChunkDataParser empty;
    EXPECT_EQ (empty.FindEntry ("a"), -1);
}

TEST (AAXChunkFormat, MalformedChunksEndTheParse)
{
    AAX_CChunkDataParser parser;
    auto load = [&parser] (const std::vector<uint8_t>& data) {
        ChunkBuffer buffer (data);
        parser.LoadChunk (buffer.record());
        return parser.GetEntries().size();
    };
    const auto good = textBytes ("l_ok", 8) + bytes ({ 0, 0, 0, 1 });

    EXPECT_EQ (load (marker + good), 1u);
    EXPECT_EQ (load (bytes ({ 1, 1, 1, 2 }) + good), 0u);                   // wrong marker
    EXPECT_EQ (load (marker + good + textBytes ("l", 4)), 1u);             // a name field too short
    EXPECT_EQ (load (marker + good + textBytes ("", 4) + good), 1u);       // an empty name field
    EXPECT_EQ (load (marker + good + textBytes ("d_v", 4) + bytes ({ 0, 0, 0, 0 })), 1u); // value past the end
    EXPECT_EQ (load (marker + good + textBytes ("r_t", 4) + bytes ({ 'a', 'b' })), 1u);  // text without NUL
    EXPECT_EQ (load (marker + good + std::vector<uint8_t> (300, 'l')), 1u);  // name without NUL

    std::vector<uint8_t> longName (260, 'n');
    longName[0] = 'l';
    longName[1] = '_';
    longName[256] = 0;                                                     // NUL just beyond 255 bytes
    EXPECT_EQ (load (marker + good + longName + bytes ({ 0, 0, 0, 0, 0, 0, 0, 0 })), 1u);

    for (int32_t badSize : { -1, -4, INT32_MIN, 0, 4 })
    {
        ChunkBuffer buffer (marker + good);
        buffer.record()->size = badSize;
        parser.LoadChunk (buffer.record());
        EXPECT_TRUE (parser.GetEntries().empty()) << badSize;
    }
}

TEST (AAXChunkFormat, EveryTruncationLoadsAPrefixOfTheEntries)
{
    const AAX_CChunkDataParser full = sampleParser();
    const auto data = write (full);

    for (size_t length = 0; length <= data.size(); ++length)
    {
        ChunkBuffer buffer (std::vector<uint8_t> (data.begin(), data.begin() + static_cast<std::ptrdiff_t> (length)));
        AAX_CChunkDataParser parser;
        parser.LoadChunk (buffer.record());

        const auto& entries = parser.GetEntries();
        ASSERT_LE (entries.size(), full.GetEntries().size()) << length;
        EXPECT_TRUE (sameEntries (entries, full.GetEntries(), entries.size())) << length;
        if (length == data.size())
        {
            EXPECT_EQ (entries.size(), full.GetEntries().size());
        }
    }
}

TEST (AAXChunkFormat, EverySingleByteCorruptionStaysInsideTheChunk)
{
    const auto data = write (sampleParser());

    for (size_t position = 0; position < data.size(); ++position)
    {
        for (int value = 0; value < 256; ++value)
        {
            auto corrupted = data;
            corrupted[position] = static_cast<uint8_t> (value);
            ChunkBuffer buffer (corrupted);

            AAX_CChunkDataParser parser;
            parser.LoadChunk (buffer.record());

            // Whatever was read writes out and reads back the same.
            ChunkBuffer rewritten (write (parser));
            AAX_CChunkDataParser again;
            again.LoadChunk (rewritten.record());
            size_t known = 0;
            for (const auto& entry : parser.GetEntries())
                known += entry.type != 0 ? 1 : 0;
            ASSERT_EQ (again.GetEntries().size(), known) << position << " " << value;
        }
    }
}
