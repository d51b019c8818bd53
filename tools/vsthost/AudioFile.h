#pragma once

#include "tools/vsthost/Signals.h"

#include <string>

namespace kelmora::tools
{
/** Audio read from or written to a sound file through libsndfile. */
struct AudioFile
{
    Channels channels;
    double sampleRate = 0.0;

    /** Reads any format libsndfile knows; false with an error text on failure. */
    bool read (const std::string& path, std::string& error);
    /** Writes a 32-bit float WAV file; false with an error text on failure. */
    bool writeWav (const std::string& path, std::string& error) const;
};
} // namespace kelmora::tools
