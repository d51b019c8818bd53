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

void GlobalParamList::rememberFileValues()
{
    fileValues.resize ((size_t) getCount());

    for (int i = 0; i < getCount(); ++i)
        fileValues[(size_t) i] = getParam (i)->getNormalisedValue();
}

void GlobalParamList::setFile (const juce::String& newFileName)
{
    const std::lock_guard<std::mutex> lock (fileLock);
    fileName = newFileName;
    loadFromFile (fileName);
    filePath = getSettingsFile (fileName);
    lastStamp = FileStamp::of (juce::File (filePath));
    rememberFileValues();
}

bool GlobalParamList::save()
{
    const std::lock_guard<std::mutex> lock (fileLock);
    std::vector<std::pair<int, float>> own;

    for (int i = 0; i < getCount(); ++i)
        if (const float v = getParam (i)->getNormalisedValue(); i >= (int) fileValues.size() || v != fileValues[(size_t) i])
            own.emplace_back (i, v);

    if (own.empty())
        return true;

    const juce::File file (getSettingsFile (fileName));

    if (file.existsAsFile() && FileStamp::of (file) != lastStamp)
    {
        loadFromFile (fileName);

        for (const auto& [index, value] : own)
            getParam (index)->setNormalisedValue (value);
    }

    if (! saveToFile (fileName))
        return false;

    lastStamp = FileStamp::of (file);
    rememberFileValues();
    return true;
}

void GlobalParamList::pollFileChanges()
{
    if (filePath.isEmpty())
        return;

    const std::lock_guard<std::mutex> lock (fileLock);
    const auto now = Clock::nowMillis();

    if (now - lastPollMillis < pollIntervalMillis)
        return;

    lastPollMillis = now;
    const auto stamp = FileStamp::of (juce::File (filePath));

    if (stamp == lastStamp)
        return;

    loadFromFile (fileName);
    lastStamp = stamp;
    rememberFileValues();
}

juce::String GlobalParamList::getFileName() const { return fileName; }
juce::String GlobalParamList::getFilePath() const { return filePath; }
} // namespace kelmora::core
