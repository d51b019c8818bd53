#pragma once

#include <juce_core/juce_core.h>

namespace kelmora::core
{
/** The maker's settings folder and the one way files are written into it.

    Every file the framework writes ("global.conf", the user-preset file) lives in the folder
    "Kelmora Labs" under the user's application-data folder (~/.config on Linux) and is written
    with writeXml. Any thread; writeXml never waits on a lock, so callers that share a file
    serialise their writes themselves. */
struct SettingsFile
{
    /** The folder name under the application-data folder. */
    static constexpr const char* folderName = "Kelmora Labs";

    /** The root element name of every settings file; matched ignoring case when read. */
    static constexpr const char* rootTag = "KelmoraLabs";

    /** <application-data folder>/Kelmora Labs (the folder need not exist). */
    static juce::File getFolder();

    /** The file of that name in getFolder(). */
    static juce::File getFile (const juce::String& fileName);

    /** Creates getFolder() and any missing parents; true when it is a folder afterwards. */
    static bool ensureFolder();

    /** Writes root as an XML document (header naming "UTF-8", no DTD, line-wrap length 255) to a
        temporary file beside target, then renames it over target, so that an interrupted write
        leaves the previous file whole. Returns false when anything fails (target is a folder,
        the folder is not writable, the disk is full, a write stored fewer bytes than asked);
        the target is then untouched and no temporary file is left behind. First removes the
        temporary files of this naming older than a minute that killed writers left beside
        target, when the user-preset file lock can be had at once (or is held by the caller). */
    static bool writeXml (const juce::XmlElement& root, const juce::File& target);
};
} // namespace kelmora::core
