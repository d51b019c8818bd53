#include "ResourceList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <iterator>
#include <string>

namespace
{
namespace res = kelmora::resources;
using quietline::test::allBlocks;

std::string sourceFileOf (const char* file) { return QUIETLINE_SOURCE_DIR + std::string ("/resources/") + file; }

TEST (ResourceTable, EveryNameFindsItsCommittedFileFollowedByAZeroByte)
{
    for (const auto& block : allBlocks)
    {
        SCOPED_TRACE (block.name);
        int size = -1;
        EXPECT_EQ (res::getNamedResource (block.name, size), block.data);
        EXPECT_EQ (size, block.size);
        ASSERT_GT (block.size, 0);
        EXPECT_EQ (block.data[block.size], 0) << "the zero byte after the block";

        std::ifstream file (sourceFileOf (block.file), std::ios::binary);
        ASSERT_TRUE (file.good()) << sourceFileOf (block.file);
        const std::string bytes ((std::istreambuf_iterator<char> (file)), std::istreambuf_iterator<char>());
        EXPECT_TRUE (bytes == std::string (block.data, (size_t) block.size));
    }
}

TEST (ResourceTable, EveryCommittedResourceFileIsInTheTable)
{
    std::set<std::string> listed;
    for (const auto& block : allBlocks)
        listed.insert (block.file);

    for (const char* folder : { "images", "text" })
        for (const auto& entry : std::filesystem::directory_iterator (sourceFileOf (folder)))
        {
            const auto file = std::string (folder) + "/" + entry.path().filename().string();
            EXPECT_EQ (listed.count (file), 1u) << file << " is committed but not embedded";
        }
}

TEST (ResourceTable, NullEmptyUnknownAndMissingLogoFindNothing)
{
    for (const char* name : { (const char*) nullptr, "", "undo", "undo_png ", "UNDO_PNG", "infologo_png" })
    {
        SCOPED_TRACE (name == nullptr ? "null" : name);
        int size = 1234;
        EXPECT_EQ (res::getNamedResource (name, size), nullptr);
        EXPECT_EQ (size, 0);
    }
}

TEST (ResourceTable, HashIsThirtyOneTimesOverSignedBytesAndAllThatIsCompared)
{
    static_assert (res::hashResourceName (nullptr) == 0u && res::hashResourceName ("") == 0u);
    static_assert (res::hashResourceName ("ab") == 97u * 31u + 98u);
    // Bytes above 127 count as negative: 0xC3 is -61 and 0x83 is -125. The sum wraps modulo 2^32.
    static_assert (res::hashResourceName ("\xC3\x83") == 0xFFFFF820u);
    static_assert (res::hashResourceName ("\xFF") == 0xFFFFFFFFu);
    static_assert (res::hashResourceName ("factory_presets_xml") == 0xB7E6EF17u);
    static_assert (res::hashResourceName ("infologo_png") == 0x39EFB043u);
    const std::string name = "\xC3\x83";
    EXPECT_EQ (res::hashResourceName (name.c_str()), 0xFFFFF820u) << "the same at run time";

    // "vO" and "un" add the same amount to the hash (118 * 31 + 79 == 117 * 31 + 110).
    int size = 0;
    EXPECT_EQ (res::getNamedResource ("vOdo_png", size), res::undo_png);
    EXPECT_EQ (size, res::undo_pngSize);
}
} // namespace
