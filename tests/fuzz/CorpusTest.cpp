// Every corpus file (seeds and inputs that once failed) through its fuzz target.
#include "fuzz/FuzzTargets.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace quietline::fuzz
{
void PrintTo (const NamedTarget& target, std::ostream* os) { *os << target.name; }

namespace
{
class FuzzCorpus : public ::testing::TestWithParam<NamedTarget>
{
};

TEST_P (FuzzCorpus, EveryInputKeepsTheInvariants)
{
    setFailureHandler ([] (const char* what) { ADD_FAILURE() << what; });
    const auto folder = std::filesystem::path (QUIETLINE_CORPUS_DIR) / GetParam().name;
    ASSERT_TRUE (std::filesystem::is_directory (folder)) << "no corpus for " << GetParam().name;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator (folder))
    {
        SCOPED_TRACE (entry.path().filename().string());
        std::ifstream in (entry.path(), std::ios::binary);
        const std::vector<uint8_t> bytes { std::istreambuf_iterator<char> (in), {} };
        GetParam().run (bytes.data(), bytes.size());
        ++files;
    }
    EXPECT_GT (files, 0);
}

INSTANTIATE_TEST_SUITE_P (Targets, FuzzCorpus, ::testing::ValuesIn (allTargets),
                          [] (const auto& info) { return std::string (info.param.name); });
} // namespace
} // namespace quietline::fuzz
