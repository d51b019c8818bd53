// The main job's file render: the reference host's render command on a generated WAV file,
// through the built module, comes out as a bounce does: aligned with the input and as long. The
// module installs as one file: a copy alone in a plug-in folder works without the build tree.
#include "support/TempHome.h"
#include "tools/vsthost/AudioFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kelmora::tools::test
{
namespace
{
std::string Lower (std::string text)
{
    std::transform (text.begin(), text.end(), text.begin(), [] (unsigned char c) { return char (std::tolower (c)); });
    return text;
}

const std::vector<std::string> buildTree { Lower (QUIETLINE_SOURCE_DIR), Lower (QUIETLINE_BINARY_DIR) };

std::string LineAt (const std::string& text, size_t at)
{
    const auto start = text.rfind ('\n', at) + 1;
    return text.substr (start, text.find ('\n', at) - start);
}

TEST (HostRender, NeitherTheModuleNorTheHostNeedsALibraryOfOursOrTheBuildTree)
{
    const std::vector<std::string> ours { "quietline", "kelmora", "orvel", buildTree[0], buildTree[1] };
    for (const std::string file : { QUIETLINE_MODULE_PATH, QUIETLINE_VSTHOST_PATH })
    {
        auto* pipe = ::popen (("readelf -d '" + file + "'").c_str(), "r");
        ASSERT_NE (pipe, nullptr);
        int libraries = 0;
        for (char line[4096]; std::fgets (line, sizeof line, pipe) != nullptr;)
        {
            const auto entry = Lower (line);
            if (entry.find ("(needed)") == std::string::npos && entry.find ("path)") == std::string::npos)
                continue;
            ++libraries;
            for (const auto& word : ours)
                EXPECT_EQ (entry.find (word), std::string::npos) << file << ": " << line;
        }
        EXPECT_EQ (::pclose (pipe), 0) << file;
        EXPECT_GT (libraries, 0) << file << ": the dynamic section was not read";
    }
}

TEST (HostRender, AFileComesOutAlignedWithTheInputAndAsLong)
{
    ::unsetenv ("DISPLAY");
    const quietline::test::TempHome home;
    const auto inPath = home.path() + "/take.wav", outPath = home.path() + "/take-out.wav";
    // Installed as the README says, and run from there with nothing pointing back at the build.
    namespace fs = std::filesystem;
    const auto host = home.path() + "/vsthost", module = home.path() + "/.vst/OrvelQuietline.so";
    const auto loaderLog = home.path() + "/loader.log";
    fs::create_directory (home.path() + "/.vst");
    fs::copy_file (QUIETLINE_VSTHOST_PATH, host);
    fs::copy_file (QUIETLINE_MODULE_PATH, module);
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

        const auto command = "env -i 'HOME=" + home.path() + "' LD_DEBUG=libs '" + host + "' '" + module + "' render --in '"
                             + inPath + "' --out '" + outPath + "' >/dev/null 2>'" + loaderLog + "'";
        ASSERT_EQ (std::system (command.c_str()), 0) << command;
        std::ifstream log (loaderLog);
        const auto loaded = Lower ({ std::istreambuf_iterator<char> (log), {} });
        for (const auto& folder : buildTree)
        {
            const auto at = loaded.find (folder);
            EXPECT_EQ (at, std::string::npos) << "the loader looked in the build tree: " << LineAt (loaded, at);
        }

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
