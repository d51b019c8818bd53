#include "formats/aax/AAX_CString.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <locale>
#include <sstream>
#include <tuple>

#include <unistd.h>

using kelmora::aax::AAX_CString;

// glibc keeps (and never frees) its copy of LOCPATH when it loads a locale from there; that is
// the C library's, not ours, so the leak checker is told to ignore it.
extern "C" __attribute__ ((visibility ("default"))) const char* __lsan_default_suppressions()
{
    return "leak:__argz_add_sep\n";
}

namespace
{
bool loadCommaLocale (const char* name, std::locale& out)
{
    try
    {
        std::locale candidate (name);
        if (std::use_facet<std::numpunct<char>> (candidate).decimal_point() != ',')
            return false;
        out = candidate;
        return true;
    }
    catch (const std::exception&)
    {
        return false;
    }
}

/** A locale whose decimal point is a comma: an installed one, or one built once with localedef
    under the temporary folder and reached through LOCPATH. */
bool makeCommaLocale (std::locale& out)
{
    if (loadCommaLocale ("de_DE.UTF-8", out))
        return true;

    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("quietline-comma-locale-" + std::to_string (::getuid()));

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
    return loadCommaLocale ("de_DE.UTF-8", out);
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
    EXPECT_STREQ (AAX_CString (nullptr).Get(), "");
    AAX_CString text ("abc");
    text.Set (nullptr);
    EXPECT_EQ (text.Length(), 0u);

    const std::tuple<uint32_t, uint32_t, const char*> erasures[] = {
        { 6, 3, "abcdef" }, { 2, 3, "abfgh" }, { 8, 1, "abcdefgh" }, { 100, 5, "abcdefgh" },
        { 0xFFFFFFFFu, 0xFFFFFFFFu, "abcdefgh" }, { 0, 0xFFFFFFFFu, "" },
    };
    for (const auto& [position, count, expected] : erasures)
    {
        text = "abcdefgh";
        text.Erase (position, count);
        EXPECT_STREQ (text.Get(), expected) << position << " " << count;
    }
}

TEST_F (AAX_CStringTest, NumbersUseAPointWhateverTheLocale)
{
    const std::tuple<double, int, const char*> written[] = {
        { 1.5, 2, "1.50" }, { 2.0, 0, "2" }, { -0.125, 2, "-0.12" }, { 1.0e20, 1, "100000000000000000000.0" }, { 2.675001, 2, "2.68" },
    };
    for (const auto& [value, precision, expected] : written)
    {
        AAX_CString text ("x");
        text.AppendNumber (value, precision);
        EXPECT_EQ (std::string (text.Get()), std::string ("x") + expected);
    }

    const std::tuple<const char*, bool, double> read[] = {
        { "3.25 dB", true, 3.25 }, { "  -0.5", true, -0.5 }, { "3,25", true, 3.0 }, { "dB", false, 0.0 }, { "", false, 0.0 },
    };
    for (const auto& [text, parses, expected] : read)
    {
        double value = -1.0;
        EXPECT_EQ (AAX_CString (text).ToDouble (&value), parses) << text;
        EXPECT_EQ (value, expected) << text;
    }

    for (double original : { 0.1, -12.345678, 21000.0, 1.0e-6 })
    {
        AAX_CString text;
        text.AppendNumber (original, 9);
        double parsed = 0.0;
        ASSERT_TRUE (text.ToDouble (&parsed)) << text.Get();
        EXPECT_NEAR (parsed, original, 1.0e-9) << text.Get();
    }
}

TEST_F (AAX_CStringTest, CopiesDoNotShareTheirBytes)
{
    AAX_CString original ("Frequency");
    AAX_CString copy (static_cast<const kelmora::aax::AAX_IString&> (original));
    EXPECT_TRUE (copy == original);
    copy[0] = 'f';
    EXPECT_TRUE (copy != original);
    EXPECT_STREQ (original.Get(), "Frequency");
}
