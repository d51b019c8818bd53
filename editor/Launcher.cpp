#include "editor/Launcher.h"

namespace kelmora::editor
{
namespace
{
struct SystemLauncher final : Launcher
{
    bool openUrl (const juce::URL& url) override { return url.launchInDefaultBrowser(); }
};
}

Launcher& systemLauncher()
{
    static SystemLauncher launcher;
    return launcher;
}
} // namespace kelmora::editor
