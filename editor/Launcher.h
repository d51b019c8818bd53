#pragma once

#include <juce_core/juce_core.h>

namespace kelmora::editor
{
/** Hands a web, mail or file link to the desktop's default application (never starts a file
    as a program). Dialogs
    take one of these so that tests can stand in for the desktop; systemLauncher() is the real
    one. Message thread only. */
class Launcher
{
public:
    virtual ~Launcher() = default;

    /** False when the desktop could not open it. */
    virtual bool openUrl (const juce::URL& url) = 0;
};

/** JUCE's URL launching and file opening. Lives for the whole run. */
Launcher& systemLauncher();
} // namespace kelmora::editor
