// The main job's file render: the reference host's render command on a generated WAV file,
// through the built module, comes out as a bounce does: aligned with the input and as long.
#include "support/TempHome.h"
#include "tools/vsthost/AudioFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace kelmora::tools::test
{
namespace
{
TEST (HostRender, AFileComesOutAlignedWithTheInputAndAsLong)
{
    ::unsetenv ("DISPLAY");
    const quietline::test::TempHome home;
    const auto inPath = home.path() + "/take.wav", outPath = home.path() + "/take-out.wav";
    // Tones well inside the pass band (1 kHz at 96 kHz would come out 169 degrees late unaligned),
    // in a length that is no multiple of the block size.
    const size_t length = 20011;
    for (const auto& input : { Channels { sine (1000.0, 96000.0, length) },
                               Channels { sine (1000.0, 96000.0, length), sine (3000.0, 96000.0, length, 0.3f) } })
    {
        AudioFile in;
        in.sampleRate = 96000.0;
        in.channels = input;
        std::string error;
        ASSERT_TRUE (in.writeWav (inPath, error)) << error;

        const auto command = "'" + std::string (QUIETLINE_VSTHOST_PATH) + "' '" + QUIETLINE_MODULE_PATH + "' render --in '"
                             + inPath + "' --out '" + outPath + "' >/dev/null";
        ASSERT_EQ (std::system (command.c_str()), 0) << command;

        AudioFile out;
        ASSERT_TRUE (out.read (outPath, error)) << error;
        EXPECT_EQ (out.sampleRate, 96000.0);
        ASSERT_EQ (out.channels.size(), input.size());
        for (size_t c = 0; c < input.size(); ++c)
        {
            ASSERT_EQ (out.channels[c].size(), length) << c;
            // Away from both ends, where the tones start and stop abruptly.
            double worst = 0.0;
            for (size_t i = 200; i + 200 < length; ++i)
                worst = std::max (worst, (double) std::abs (out.channels[c][i] - input[c][i]));
            EXPECT_LT (worst, 1e-3) << input.size() << " channel(s), channel " << c;
        }
    }
}
} // namespace
} // namespace kelmora::tools::test
