#include "editor/Launcher.h"

namespace kelmora::editor
{
namespace
{
struct SystemLauncher final : Launcher
{
    bool openUrl (const juce::URL& url) override { return url.launchInDefaultBrowser(); }
    bool openFile (const juce::File& file) override { return file.startAsProcess(); }
};
}

Launcher& systemLauncher()
{
    static SystemLauncher launcher;
    return launcher;
}
} // namespace kelmora::editor
