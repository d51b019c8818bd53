#pragma once

#include "core/FileStamp.h"
#include "core/ParamList.h"

#include <mutex>
#include <vector>

namespace kelmora::core
{
/** The settings shared by every instance for the user ("sliderMode", "mouseSensitivity"),
    bound to the file "global.conf" in the maker's folder.

    A change saved by one instance reaches the others through pollFileChanges, which the editor
    calls from its timer and which looks at the file at most once per 1000 ms. Changes are
    detected by a FileStamp (nanosecond modification time, size, inode), so two writes within one
    second are both seen.

    An instance writes the file only with settings it changed itself since it last read or wrote
    it, so a host saving one instance's state never reverts what another instance saved.

    Threads: setFile on the thread that builds the processor; save on the host's state thread or
    the message thread; pollFileChanges on the message thread. They are serialised by a lock of
    their own (never the audio thread's business), so they may overlap. */
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

    /** Writes the file when a setting changed here since the file was last read or written
        (nothing to write counts as success). A file that another instance rewrote meanwhile is
        read first, so only this instance's own changes replace its values. On success remembers
        the new stamp, so this instance does not reload its own write. False when it cannot be
        written. */
    bool save();

    /** At most once per 1000 ms (Clock::nowMillis): when the file's stamp differs from the
        remembered one, reloads it and remembers the stamp. */
    void pollFileChanges();

    /** The bare file name given to setFile. */
    juce::String getFileName() const;

    /** The full path of the file. */
    juce::String getFilePath() const;

private:
    /** The values as the file was last read or written (under fileLock). */
    void rememberFileValues();

    juce::String fileName, filePath;
    mutable std::mutex fileLock;
    FileStamp lastStamp;
    std::vector<float> fileValues;
    juce::int64 lastPollMillis = 0;
};
} // namespace kelmora::core
