#pragma once

#include <juce_core/juce_core.h>

namespace kelmora::core
{
/** What a file looked like at one moment: enough to tell that it was rewritten.

    juce::File::getLastModificationTime has whole-second resolution on Linux, so two writes within
    one second look the same. The stamp keeps the modification time in nanoseconds together with
    the size and the inode; a file replaced by rename always gets a new inode. */
struct FileStamp
{
    bool exists = false;
    juce::int64 modifiedNanos = 0;
    juce::int64 size = 0;
    juce::uint64 inode = 0;

    /** Reads the stamp of the file (following symbolic links); a missing file gives a stamp with
        exists == false. Any thread. */
    static FileStamp of (const juce::File& file);

    bool operator== (const FileStamp& other) const noexcept
    {
        return exists == other.exists && modifiedNanos == other.modifiedNanos
            && size == other.size && inode == other.inode;
    }

    bool operator!= (const FileStamp& other) const noexcept { return ! operator== (other); }
};
} // namespace kelmora::core
