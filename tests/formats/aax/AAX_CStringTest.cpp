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

namespace
{
/** A locale whose decimal point is a comma: an installed one, or one built once with localedef
    under the temporary folder and reached through LOCPATH. */
bool makeCommaLocale (std::locale& out)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("quietline-comma-locale-" + std::to_string (::getuid()));
    for (int attempt = 0; attempt < 2; ++attempt)
    {
        try
        {
            out = std::locale ("de_DE.UTF-8");
            return std::use_facet<std::numpunct<char>> (out).decimal_point() == ',';
        }
        catch (const std::exception&)
        {
        }

        if (! fs::exists (folder / "de_DE.UTF-8" / "LC_NUMERIC"))
        {
            // Built beside the target and renamed into place, so parallel test processes never see half a locale.
            const fs::path scratch = folder.string() + "-" + std::to_string (::getpid());
            std::error_code error;
            fs::create_directories (scratch, error);
            std::ignore = std::system (("localedef -i de_DE -f UTF-8 '" + (scratch / "de_DE.UTF-8").string() + "' >/dev/null 2>&1").c_str());
            fs::rename (scratch, folder, error);
            fs::remove_all (scratch, error);
        }
        ::setenv ("LOCPATH", folder.c_str(), 1);
    }
    return false;
}

/** Every case runs with the comma locale as the process's global locale. */
class AAX_CStringTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static std::locale comma;
        static const bool available = makeCommaLocale (comma);
        if (! available)
            GTEST_SKIP() << "no locale with a comma decimal point could be installed or built";
        previous = std::locale::global (comma);
        std::ostringstream probe;
        probe << 1.5;
        ASSERT_EQ (probe.str(), "1,5");
    }

    void TearDown() override { std::locale::global (previous); }

    std::locale previous;
};
} // namespace

TEST_F (AAX_CStringTest, NullTextIsEmptyAndEraseStaysInside)
{
    AAX_CString text ("abc");
    text.Set (nullptr);
    EXPECT_EQ (text.Length(), 0u);
    EXPECT_STREQ (AAX_CString (nullptr).Get(), "");

    for (const auto& [position, count, expected] : { std::tuple { 6u, 3u, "abcdef" }, { 2u, 3u, "abfgh" }, { 8u, 1u, "abcdefgh" },
                                                     { 0xFFFFFFFFu, 0xFFFFFFFFu, "abcdefgh" }, { 0u, 0xFFFFFFFFu, "" } })
    {
        text = "abcdefgh";
        text.Erase (position, count);
        EXPECT_STREQ (text.Get(), expected) << position << " " << count;
    }
}

TEST_F (AAX_CStringTest, NumbersUseAPointWhateverTheLocale)
{
    for (const auto& [value, precision, expected] : { std::tuple { 1.5, 2, "x1.50" }, { 2.0, 0, "x2" }, { -0.125, 2, "x-0.12" },
                                                      { 1.0e20, 1, "x100000000000000000000.0" }, { 2.675001, 2, "x2.68" } })
    {
        AAX_CString text ("x");
        text.AppendNumber (value, precision);
        EXPECT_STREQ (text.Get(), expected);
    }

    for (const auto& [text, parses, expected] : { std::tuple { "3.25 dB", true, 3.25 }, { "  -0.5", true, -0.5 }, { "3,25", true, 3.0 },
                                                  { "dB", false, 0.0 }, { "", false, 0.0 } })
    {
        double value = -1.0;
        EXPECT_EQ (AAX_CString (text).ToDouble (&value), parses) << text;
        EXPECT_EQ (value, expected) << text;
    }
}
