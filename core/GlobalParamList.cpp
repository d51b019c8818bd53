#include "core/GlobalParamList.h"

#include "core/Clock.h"
#include "core/DiscreteParameter.h"

namespace kelmora::core
{
namespace
{
constexpr juce::int64 pollIntervalMillis = 1000;
}

GlobalParamList::GlobalParamList()
    : ParamList (numGlobalParams)
{
}

void GlobalParamList::addStandardParams()
{
    setParam (sliderModeIndex, std::make_unique<DiscreteParameter> ("sliderMode", nullptr, nullptr, 0, 1, 0,
                                                                     "velocity|linear", 0));
    setParam (mouseSensitivityIndex, std::make_unique<DiscreteParameter> ("mouseSensitivity", nullptr, nullptr,
                                                                          1, 200, 100, nullptr, 0));
    checkComplete();
}

void GlobalParamList::setFile (const juce::String& newFileName)
{
    fileName = newFileName;
    loadFromFile (fileName);
    filePath = getSettingsFile (fileName);

    const auto stamp = FileStamp::of (juce::File (filePath));
    const std::lock_guard<std::mutex> lock (stampLock);
    lastStamp = stamp;
}

bool GlobalParamList::save()
{
    if (! saveToFile (fileName))
        return false;

    const auto stamp = FileStamp::of (juce::File (getSettingsFile (fileName)));
    const std::lock_guard<std::mutex> lock (stampLock);
    lastStamp = stamp;
    return true;
}

void GlobalParamList::pollFileChanges()
{
    if (filePath.isEmpty())
        return;

    FileStamp stamp;

    {
        const std::lock_guard<std::mutex> lock (stampLock);
        const auto now = Clock::nowMillis();

        if (now - lastPollMillis < pollIntervalMillis)
            return;

        lastPollMillis = now;
        stamp = FileStamp::of (juce::File (filePath));

        if (stamp == lastStamp)
            return;
    }

    loadFromFile (fileName);

    const std::lock_guard<std::mutex> lock (stampLock);
    lastStamp = stamp;
}

juce::String GlobalParamList::getFileName() const { return fileName; }
juce::String GlobalParamList::getFilePath() const { return filePath; }
} // namespace kelmora::core
