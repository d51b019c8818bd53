#include "resources/BinaryData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace
{
namespace res = kelmora::resources;

// Every block of the generated table with the committed file (below resources/) it holds.
const struct { const char* name; const char* file; const char* data; int size; } allBlocks[] = {
#define QUIETLINE_RESOURCE(symbol, file) { #symbol, file, res::symbol, res::symbol##Size },
#include "resources/ResourceList.inc"
#undef QUIETLINE_RESOURCE
};
static_assert (std::size (allBlocks) == res::numNamedResources);

std::string sourceFileOf (const std::string& file) { return QUIETLINE_SOURCE_DIR + std::string ("/resources/") + file; }

// Each name finds its committed file's bytes, followed by a zero byte; every committed file is
// embedded; anything else (the missing logo included) finds nothing.
TEST (ResourceTable, EveryNameFindsItsCommittedFileAndNothingElseFindsAnything)
{
    std::set<std::string> listed;
    for (const auto& block : allBlocks)
    {
        SCOPED_TRACE (block.name);
        listed.insert (block.file);
        int size = -1;
        EXPECT_EQ (res::getNamedResource (block.name, size), block.data);
        ASSERT_EQ (size, block.size);
        EXPECT_EQ (block.data[block.size], 0) << "the zero byte after the block";
        std::ifstream file (sourceFileOf (block.file), std::ios::binary);
        EXPECT_TRUE (std::string ((std::istreambuf_iterator<char> (file)), std::istreambuf_iterator<char>()) == std::string (block.data, (size_t) size));
    }
    for (const char* folder : { "images", "text" })
        for (const auto& entry : std::filesystem::directory_iterator (sourceFileOf (folder)))
            EXPECT_EQ (listed.count (std::string (folder) + "/" + entry.path().filename().string()), 1u) << entry.path() << " is not embedded";

    for (const char* name : { (const char*) nullptr, "", "undo", "undo_png ", "UNDO_PNG", "infologo_png" })
    {
        int size = 1234;
        EXPECT_EQ (res::getNamedResource (name, size), nullptr) << (name == nullptr ? "null" : name);
        EXPECT_EQ (size, 0);
    }
}
} // namespace
