#include "core/SettingsFile.h"

#include "core/UserPresetFileLock.h"

namespace kelmora::core
{
namespace
{
/** juce::TemporaryFile names the file beside its target "<name>_temp<hex><extension>", with
    "_<number>" after the hex digits in the rare case that the name was taken. */
bool isTemporaryFileName (const juce::File& file, const juce::String& extension)
{
    if (file.getFileExtension() != extension)
        return false;

    const auto name = file.getFileNameWithoutExtension();
    const auto marker = name.lastIndexOf ("_temp");

    if (marker <= 0)
        return false;

    const auto suffix = name.substring (marker + 5);
    const auto hex = suffix.upToFirstOccurrenceOf ("_", false, false);
    const auto number = suffix.fromFirstOccurrenceOf ("_", false, false);
    return hex.isNotEmpty() && hex.containsOnly ("0123456789abcdef")
        && (hex == suffix || (number.isNotEmpty() && number.containsOnly ("0123456789")));
}

/** A writer killed between creating its temporary file and the rename leaves that file behind
    for good. Those older than a minute cannot belong to a live writer: a write takes
    milliseconds, and the user-preset writers hold the lock taken here for the whole of it.
    Only when the lock comes at once: writing "global.conf" (creating an instance, saving a
    host's state) never waits on another process; a later write tidies instead. */
void removeStaleTemporaryFiles (const juce::File& target)
{
    const UserPresetFileLock::ScopedTry fileLock;

    if (! fileLock.isLocked())
        return;

    const auto extension = target.getFileExtension();
    const auto oldest = juce::Time::getCurrentTime() - juce::RelativeTime::minutes (1.0);

    for (const auto& entry : juce::RangedDirectoryIterator (target.getParentDirectory(), false, "*_temp*",
                                                            juce::File::findFiles))
    {
        const auto& file = entry.getFile();

        if (isTemporaryFileName (file, extension) && file.getLastModificationTime() < oldest)
            file.deleteFile();
    }
}
} // namespace

juce::File SettingsFile::getFolder()
{
    return juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory).getChildFile (folderName);
}

juce::File SettingsFile::getFile (const juce::String& fileName)
{
    return getFolder().getChildFile (fileName);
}

bool SettingsFile::ensureFolder()
{
    auto folder = getFolder();

    if (! folder.isDirectory())
        folder.createDirectory();

    return folder.isDirectory();
}

bool SettingsFile::writeXml (const juce::XmlElement& root, const juce::File& target)
{
    // Renaming over a folder would fail only after the temporary file was written.
    if (target.getFullPathName().isEmpty() || target.isDirectory())
        return false;

    removeStaleTemporaryFiles (target);

    juce::XmlElement::TextFormat format;
    format.customEncoding = "UTF-8";
    format.lineWrapLength = 255;

    juce::MemoryOutputStream text;
    root.writeTo (text, format);

    // The temporary file sits beside the target so that the rename stays on one file system;
    // TemporaryFile deletes it again whatever happens below.
    juce::TemporaryFile temp (target);

    {
        juce::FileOutputStream out (temp.getFile());

        if (! out.openedOk())
            return false;

        const bool written = out.write (text.getData(), text.getDataSize());
        out.flush(); // fsyncs, so the rename never exposes a half-written file

        if (! written || out.getStatus().failed())
            return false;
    }

    // A write can store fewer bytes than asked without any error (a quota, a file-size limit,
    // a network file system), and the stream's status stays OK: only the size tells.
    if (temp.getFile().getSize() != (juce::int64) text.getDataSize())
        return false;

    return temp.getFile().replaceFileIn (target);
}
} // namespace kelmora::core
