#include "core/SettingsFile.h"

namespace kelmora::core
{
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

    juce::XmlElement::TextFormat format;
    format.customEncoding = "UTF-8";
    format.lineWrapLength = 255;

    // The temporary file sits beside the target so that the rename stays on one file system;
    // TemporaryFile deletes it again whatever happens below.
    juce::TemporaryFile temp (target);

    {
        juce::FileOutputStream out (temp.getFile());

        if (! out.openedOk())
            return false;

        root.writeTo (out, format);
        out.flush(); // fsyncs, so the rename never exposes a half-written file

        if (out.getStatus().failed())
            return false;
    }

    return temp.getFile().replaceFileIn (target);
}
} // namespace kelmora::core
