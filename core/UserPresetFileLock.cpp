#include "core/UserPresetFileLock.h"

#include "core/SettingsFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kelmora::core
{
namespace
{
// Both only touched while the process lock is held.
int nestingDepth = 0;
int folderHandle = -1;
} // namespace

juce::CriticalSection& UserPresetFileLock::getProcessLock()
{
    static juce::CriticalSection lock;
    return lock;
}

void UserPresetFileLock::enter()
{
    getProcessLock().enter();

    if (nestingDepth++ > 0)
        return;

    // The folder, not the file: the file is replaced by a rename on every write, and a
    // lock on the replaced inode would no longer exclude anybody. An advisory lock on an
    // open descriptor also goes away by itself when a process dies holding it.
    SettingsFile::ensureFolder();
    const auto folder = SettingsFile::getFolder();
    folderHandle = ::open (folder.getFullPathName().toRawUTF8(), O_RDONLY | O_CLOEXEC);

    if (folderHandle < 0)
        return; // no folder to lock: nothing can be written there either

    while (::flock (folderHandle, LOCK_EX) != 0 && errno == EINTR)
    {
    }
}

bool UserPresetFileLock::tryEnter()
{
    if (! getProcessLock().tryEnter())
        return false;

    if (nestingDepth > 0)
    {
        ++nestingDepth;
        return true;
    }

    SettingsFile::ensureFolder();
    const auto folder = SettingsFile::getFolder();
    const int handle = ::open (folder.getFullPathName().toRawUTF8(), O_RDONLY | O_CLOEXEC);

    if (handle >= 0 && ::flock (handle, LOCK_EX | LOCK_NB) != 0)
    {
        ::close (handle);
        getProcessLock().exit();
        return false;
    }

    folderHandle = handle; // as in enter: no folder to lock, nothing can be written there either
    nestingDepth = 1;
    return true;
}

void UserPresetFileLock::exit()
{
    if (--nestingDepth == 0 && folderHandle >= 0)
    {
        ::flock (folderHandle, LOCK_UN);
        ::close (folderHandle);
        folderHandle = -1;
    }

    getProcessLock().exit();
}

UserPresetFileLock::Scoped::Scoped()
{
    enter();
}

UserPresetFileLock::Scoped::~Scoped()
{
    exit();
}

UserPresetFileLock::ScopedTry::ScopedTry()
    : locked (tryEnter())
{
}

UserPresetFileLock::ScopedTry::~ScopedTry()
{
    if (locked)
        exit();
}
} // namespace kelmora::core
