#include "formats/aax/AAX_CString.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <locale>
#include <sstream>
#include <string>
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
/** A locale whose decimal point is a comma: an installed one, or one built with localedef into a
    folder under the temporary directory (kept there for later runs) and reached through LOCPATH. */
class CommaLocale
{
public:
    static CommaLocale& get()
    {
        static CommaLocale instance;
        return instance;
    }

    bool available() const { return found; }
    const std::locale& locale() const { return commaLocale; }
    const std::string& reason() const { return whyMissing; }

private:
    CommaLocale()
    {
        for (const char* name : { "de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE" })
            if (tryName (name))
                return;

        namespace fs = std::filesystem;
        const fs::path folder = fs::temp_directory_path() / ("quietline-comma-locale-" + std::to_string (::getuid()));

        if (! fs::exists (folder / "de_DE.UTF-8" / "LC_NUMERIC"))
        {
            if (std::system ("command -v localedef >/dev/null 2>&1") != 0)
            {
                whyMissing = "no installed locale with a comma decimal point, and no localedef to build one";
                return;
            }

            // Built beside the target and renamed into place, so parallel test processes never
            // see half a locale.
            const fs::path scratch = folder.string() + "-" + std::to_string (::getpid());
            fs::remove_all (scratch);
            fs::create_directories (scratch);
            const std::string command = "localedef -i de_DE -f UTF-8 '" + (scratch / "de_DE.UTF-8").string()
                                      + "' >/dev/null 2>&1";
            std::ignore = std::system (command.c_str());
            std::error_code error;

            if (fs::exists (scratch / "de_DE.UTF-8" / "LC_NUMERIC"))
                fs::rename (scratch, folder, error);

            fs::remove_all (scratch, error);

            if (! fs::exists (folder / "de_DE.UTF-8" / "LC_NUMERIC"))
            {
                whyMissing = "localedef could not build de_DE.UTF-8";
                return;
            }
        }

        ::setenv ("LOCPATH", folder.c_str(), 1);

        if (! tryName ("de_DE.UTF-8"))
            whyMissing = "the locale built with localedef does not load";
    }

    bool tryName (const char* name)
    {
        try
        {
            std::locale candidate (name);

            if (std::use_facet<std::numpunct<char>> (candidate).decimal_point() != ',')
                return false;

            commaLocale = candidate;
            found = true;
            return true;
        }
        catch (const std::exception&)
        {
            return false;
        }
    }

    bool found = false;
    std::locale commaLocale;
    std::string whyMissing;
};

/** Every case runs with the comma locale as the process's global locale. */
class AAX_CStringTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto& comma = CommaLocale::get();

        if (! comma.available())
            GTEST_SKIP() << "cannot test locale independence: " << comma.reason();

        previous = std::locale::global (comma.locale());

        std::ostringstream probe;
        probe << 1.5;
        ASSERT_EQ (probe.str(), "1,5") << "the global locale should write a comma";
    }

    void TearDown() override { std::locale::global (previous); }

    std::locale previous;
};
} // namespace

TEST_F (AAX_CStringTest, NullTextCountsAsEmpty)
{
    AAX_CString fromNull (nullptr);
    EXPECT_EQ (fromNull.Length(), 0u);
    EXPECT_STREQ (fromNull.Get(), "");

    AAX_CString text ("abc");
    text.Set (nullptr);
    EXPECT_STREQ (text.Get(), "");

    text = "abc";
    text = static_cast<const char*> (nullptr);
    EXPECT_EQ (text.Length(), 0u);
}

TEST_F (AAX_CStringTest, AppendNumberWritesFixedPointWithAPoint)
{
    AAX_CString x ("x");
    x.AppendNumber (1.5, 2);
    EXPECT_STREQ (x.Get(), "x1.50");

    AAX_CString empty;
    empty.AppendNumber (2.0, 0);
    EXPECT_STREQ (empty.Get(), "2");

    AAX_CString negative;
    negative.AppendNumber (-0.125, 2);
    EXPECT_STREQ (negative.Get(), "-0.12") << "rounds to nearest, ties as the stream does";

    AAX_CString large;
    large.AppendNumber (1.0e20, 1);
    EXPECT_STREQ (large.Get(), "100000000000000000000.0") << "never scientific";

    AAX_CString rounded;
    rounded.AppendNumber (2.675001, 2);
    EXPECT_STREQ (rounded.Get(), "2.68");
}

TEST_F (AAX_CStringTest, ToDoubleReadsALeadingNumberWithAPoint)
{
    double value = -1.0;
    EXPECT_TRUE (AAX_CString ("3.25 dB").ToDouble (&value));
    EXPECT_DOUBLE_EQ (value, 3.25);

    EXPECT_TRUE (AAX_CString ("  -0.5").ToDouble (&value));
    EXPECT_DOUBLE_EQ (value, -0.5);

    EXPECT_TRUE (AAX_CString ("3,25").ToDouble (&value));
    EXPECT_DOUBLE_EQ (value, 3.0) << "a comma is not a decimal point here";

    value = -1.0;
    EXPECT_FALSE (AAX_CString ("dB").ToDouble (&value));
    EXPECT_EQ (value, 0.0);

    value = -1.0;
    EXPECT_FALSE (AAX_CString().ToDouble (&value));
    EXPECT_EQ (value, 0.0);
}

TEST_F (AAX_CStringTest, NumbersSurviveTheRoundTrip)
{
    for (double original : { 0.0, 0.1, -12.345678, 21000.0, 1.0e-6 })
    {
        AAX_CString text;
        text.AppendNumber (original, 9);
        double parsed = 0.0;
        ASSERT_TRUE (text.ToDouble (&parsed)) << text.Get();
        EXPECT_NEAR (parsed, original, 1.0e-9) << text.Get();
    }
}

TEST_F (AAX_CStringTest, EraseNeverReachesPastTheEnd)
{
    AAX_CString text ("abcdefgh");
    text.Erase (6, 3);
    EXPECT_STREQ (text.Get(), "abcdef");

    text = "abcdefgh";
    text.Erase (2, 3);
    EXPECT_STREQ (text.Get(), "abfgh");

    text = "abcdefgh";
    text.Erase (8, 1);
    text.Erase (100, 5);
    text.Erase (0xFFFFFFFFu, 0xFFFFFFFFu);
    EXPECT_STREQ (text.Get(), "abcdefgh");

    text.Erase (0, 0xFFFFFFFFu);
    EXPECT_STREQ (text.Get(), "");
}

TEST_F (AAX_CStringTest, CopiesComparesAndEdits)
{
    EXPECT_EQ (AAX_CString().MaxLength(), 0xFFFFFFFEu);

    AAX_CString original ("Frequency");
    const kelmora::aax::AAX_IString& asInterface = original;
    AAX_CString fromInterface (asInterface);
    EXPECT_TRUE (fromInterface == original);

    AAX_CString assigned;
    static_cast<kelmora::aax::AAX_IString&> (assigned) = asInterface;
    EXPECT_STREQ (assigned.Get(), "Frequency");
    EXPECT_EQ (assigned.Length(), 9u);

    assigned[0] = 'f';
    EXPECT_STREQ (assigned.CString(), "frequency");
    EXPECT_TRUE (assigned != original);
    EXPECT_STREQ (original.Get(), "Frequency") << "copies do not share their bytes";

    AAX_CString withNul ("ab");
    withNul.AppendNumber (0, 0);
    withNul[2] = '\0';
    EXPECT_TRUE (withNul == AAX_CString ("ab")) << "comparison stops at the first NUL";

    assigned.Clear();
    EXPECT_EQ (assigned.Length(), 0u);
}
