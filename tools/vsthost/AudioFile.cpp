#include "tools/vsthost/AudioFile.h"

#include <sndfile.h>

namespace kelmora::tools
{
bool AudioFile::read (const std::string& path, std::string& error)
{
    SF_INFO info {};
    SNDFILE* file = sf_open (path.c_str(), SFM_READ, &info);

    if (file == nullptr)
    {
        error = sf_strerror (nullptr);
        return false;
    }

    if (info.channels <= 0 || info.samplerate <= 0)
    {
        sf_close (file);
        error = path + " holds no audio";
        return false;
    }

    std::vector<float> interleaved ((size_t) info.frames * (size_t) info.channels);
    const auto frames = sf_readf_float (file, interleaved.data(), info.frames);
    sf_close (file);

    channels.assign ((size_t) info.channels, std::vector<float> ((size_t) frames));
    for (sf_count_t i = 0; i < frames; ++i)
        for (int c = 0; c < info.channels; ++c)
            channels[(size_t) c][(size_t) i] = interleaved[(size_t) i * (size_t) info.channels + (size_t) c];

    sampleRate = info.samplerate;
    return true;
}

bool AudioFile::writeWav (const std::string& path, std::string& error) const
{
    if (channels.empty())
    {
        error = "nothing to write";
        return false;
    }

    SF_INFO info {};
    info.channels = (int) channels.size();
    info.samplerate = (int) sampleRate;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;

    SNDFILE* file = sf_open (path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
    {
        error = sf_strerror (nullptr);
        return false;
    }

    const size_t frames = channels[0].size();
    std::vector<float> interleaved (frames * channels.size());
    for (size_t i = 0; i < frames; ++i)
        for (size_t c = 0; c < channels.size(); ++c)
            interleaved[i * channels.size() + c] = channels[c][i];

    const auto written = sf_writef_float (file, interleaved.data(), (sf_count_t) frames);
    sf_close (file);

    if (written != (sf_count_t) frames)
    {
        error = "short write to " + path;
        return false;
    }

    return true;
}
} // namespace kelmora::tools
