#pragma once

#include "core/FileStamp.h"
#include "core/ParamList.h"

#include <mutex>

namespace kelmora::core
{
/** The settings shared by every instance for the user ("sliderMode", "mouseSensitivity"),
    bound to the file "global.conf" in the maker's folder.

    A change saved by one instance reaches the others through pollFileChanges, which the editor
    calls from its timer and which looks at the file at most once per 1000 ms. Changes are
    detected by a FileStamp (nanosecond modification time, size, inode), so two writes within one
    second are both seen.

    Threads: setFile on the thread that builds the processor; save on the host's state thread or
    the message thread; pollFileChanges on the message thread. The remembered stamp is guarded,
    so these may overlap. */
class GlobalParamList : public ParamList
{
public:
    /** Slot indices. */
    enum Index
    {
        sliderModeIndex = 0,        /**< 0 "velocity", 1 "linear" */
        mouseSensitivityIndex = 1,  /**< 1..200, default 100 */
        numGlobalParams = 2
    };

    /** The settings file name. */
    static constexpr const char* defaultFileName = "global.conf";

    /** Two empty slots. */
    GlobalParamList();

    /** Fills the two slots with "sliderMode" (DiscreteParameter 0..1, default 0, choices
        "velocity|linear") and "mouseSensitivity" (DiscreteParameter 1..200, default 100), then
        checkComplete(). */
    void addStandardParams();

    /** Binds the list to the file: loads it (writing it with the current values when missing)
        and remembers its stamp. */
    void setFile (const juce::String& fileName);

    /** Writes the file; on success remembers its new stamp, so this instance does not reload its
        own write. False when it cannot be written. */
    bool save();

    /** At most once per 1000 ms (Clock::nowMillis): when the file's stamp differs from the
        remembered one, reloads it and remembers the stamp. */
    void pollFileChanges();

    /** The bare file name given to setFile. */
    juce::String getFileName() const;

    /** The full path of the file. */
    juce::String getFilePath() const;

private:
    juce::String fileName, filePath;
    mutable std::mutex stampLock;
    FileStamp lastStamp;
    juce::int64 lastPollMillis = 0;
};
} // namespace kelmora::core
