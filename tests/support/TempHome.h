#pragma once

#include <string>

namespace quietline::test
{
/** Points HOME (and XDG_CONFIG_HOME) at a fresh temporary folder for the object's lifetime,
    so that anything written under ~/.config lands in a place the test owns. The folder is
    removed again on destruction. */
class TempHome
{
public:
    TempHome();
    ~TempHome();

    TempHome (const TempHome&) = delete;
    TempHome& operator= (const TempHome&) = delete;

    /** The temporary home folder, without a trailing slash. */
    const std::string& path() const noexcept { return home; }

    /** The settings folder our products write to: <home>/.config/Kelmora Labs */
    std::string settingsFolder() const { return home + "/.config/Kelmora Labs"; }

private:
    std::string home, oldHome, oldXdg;
    bool hadHome = false, hadXdg = false;
};
} // namespace quietline::test
