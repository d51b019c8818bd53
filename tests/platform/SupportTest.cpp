#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

TEST (TempHome, PointsHomeAtAFreshFolderAndRestoresIt)
{
    const std::string before = std::getenv ("HOME") != nullptr ? std::getenv ("HOME") : "";
    std::string inside;

    {
        quietline::test::TempHome home;
        inside = home.path();
        EXPECT_EQ (inside, std::getenv ("HOME"));
        EXPECT_TRUE (std::filesystem::is_directory (inside));
        EXPECT_TRUE (std::filesystem::is_empty (inside));
    }

    EXPECT_FALSE (std::filesystem::exists (inside));
    EXPECT_EQ (before, std::getenv ("HOME") != nullptr ? std::getenv ("HOME") : "");
}
