#include "core/FileStamp.h"

#include <sys/stat.h>

namespace kelmora::core
{
namespace
{
juce::int64 modificationNanos (const struct stat& info) noexcept
{
   #if defined(__APPLE__)
    const auto& t = info.st_mtimespec;
   #else
    const auto& t = info.st_mtim;
   #endif
    return (juce::int64) t.tv_sec * 1000000000 + (juce::int64) t.tv_nsec;
}
} // namespace

FileStamp FileStamp::of (const juce::File& file)
{
    FileStamp stamp;
    struct stat info {};

    if (file.getFullPathName().isNotEmpty() && ::stat (file.getFullPathName().toRawUTF8(), &info) == 0)
    {
        stamp.exists = true;
        stamp.modifiedNanos = modificationNanos (info);
        stamp.size = (juce::int64) info.st_size;
        stamp.inode = (juce::uint64) info.st_ino;
    }

    return stamp;
}
} // namespace kelmora::core
