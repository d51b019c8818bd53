#include "formats/aax/AAX_CString.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <locale>
#include <sstream>
#include <tuple>

#include <unistd.h>

using kelmora::aax::AAX_CString;

// glibc keeps (and never frees) its copy of LOCPATH when it loads a locale from there; that is
// the C library's, not ours, so the leak checker is told to ignore it.
extern "C" __attribute__ ((visibility ("default"))) const char* __lsan_default_suppressions() { return "leak:__argz_add_sep\n"; }

// Runs under a global locale whose decimal point is a comma, built with localedef into a folder of
// this process and reached through LOCPATH (no such locale need be installed).
TEST (AAX_CString, NullTextIsEmptyEraseStaysInsideAndNumbersUseAPointInAnyLocale)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("quietline-comma-locale-" + std::to_string (::getpid()));
    fs::create_directories (folder);
    std::ignore = std::system (("localedef -i de_DE -f UTF-8 '" + (folder / "de_DE.UTF-8").string() + "' >/dev/null 2>&1").c_str());
    ::setenv ("LOCPATH", folder.c_str(), 1);
    std::locale comma;
    try
    {
        comma = std::locale ("de_DE.UTF-8");
    }
    catch (const std::exception&)
    {
    }
    fs::remove_all (folder);   // the loaded locale stays mapped
    if (std::use_facet<std::numpunct<char>> (comma).decimal_point() != ',')
        GTEST_SKIP() << "no locale with a comma decimal point could be built";
    struct Restore { std::locale previous; ~Restore() { std::locale::global (previous); } } restore { std::locale::global (comma) };
    ASSERT_EQ ((std::ostringstream() << 1.5).str(), "1,5");

    AAX_CString text ("abc");
    text.Set (nullptr);
    EXPECT_TRUE (text.Length() == 0 && AAX_CString (nullptr).Length() == 0);

    for (const auto& [position, count, expected] : { std::tuple { 6u, 3u, "abcdef" }, { 2u, 3u, "abfgh" }, { 8u, 1u, "abcdefgh" },
                                                     { 0xFFFFFFFFu, 0xFFFFFFFFu, "abcdefgh" }, { 0u, 0xFFFFFFFFu, "" } })
    {
        text = "abcdefgh";
        text.Erase (position, count);
        EXPECT_STREQ (text.Get(), expected) << position << " " << count;
    }

    for (const auto& [value, precision, expected] : { std::tuple { 1.5, 2, "x1.50" }, { 2.0, 0, "x2" }, { -0.125, 2, "x-0.12" },
                                                      { 1.0e20, 1, "x100000000000000000000.0" }, { 2.675001, 2, "x2.68" } })
    {
        AAX_CString number ("x");
        number.AppendNumber (value, precision);
        EXPECT_STREQ (number.Get(), expected);
    }

    for (const auto& [input, parses, expected] : { std::tuple { "3.25 dB", true, 3.25 }, { "  -0.5", true, -0.5 }, { "3,25", true, 3.0 },
                                                  { "dB", false, 0.0 }, { "", false, 0.0 } })
    {
        double value = -1.0;
        EXPECT_EQ (AAX_CString (input).ToDouble (&value), parses) << input;
        EXPECT_EQ (value, expected) << input;
    }
}
