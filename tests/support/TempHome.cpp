#include "support/TempHome.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace quietline::test
{
TempHome::TempHome()
{
    auto base = std::filesystem::temp_directory_path() / "quietline-home-XXXXXX";
    auto pattern = base.string();
    std::vector<char> buffer (pattern.begin(), pattern.end());
    buffer.push_back (0);

    if (::mkdtemp (buffer.data()) == nullptr)
        throw std::runtime_error ("cannot create a temporary home folder");

    home = buffer.data();

    if (const char* h = std::getenv ("HOME")) { hadHome = true; oldHome = h; }
    if (const char* x = std::getenv ("XDG_CONFIG_HOME")) { hadXdg = true; oldXdg = x; }

    ::setenv ("HOME", home.c_str(), 1);
    ::unsetenv ("XDG_CONFIG_HOME");
}

TempHome::~TempHome()
{
    if (hadHome) ::setenv ("HOME", oldHome.c_str(), 1); else ::unsetenv ("HOME");
    if (hadXdg)  ::setenv ("XDG_CONFIG_HOME", oldXdg.c_str(), 1);

    std::error_code ec;
    std::filesystem::permissions (home, std::filesystem::perms::owner_all,
                                  std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all (home, ec);
}
} // namespace quietline::test
