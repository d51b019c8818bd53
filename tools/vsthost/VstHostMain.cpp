// The reference host: loads a VST 2.4 module by path, lists it, renders audio through it and
// saves or restores its state, and shows its editor, the way a plain Linux host would.

#include "tools/vsthost/AudioFile.h"
#include "tools/vsthost/EditorWindow.h"
#include "tools/vsthost/HostedEffect.h"
#include "tools/vsthost/Signals.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

using namespace kelmora::tools;

namespace
{
const double listedRates[] = { 44100, 48000, 88200, 96000, 176400, 192000, 384000 };
const double measuredFrequencies[] = { 10000, 20000, 21000, 22000, 24000, 30000, 40000 };

struct Options
{
    std::string module, command = "info";
    std::string in, out, loadState, saveState;
    double rate = 192000.0;
    int block = 512;
    int program = -1;
    bool bypass = false;
    bool picture = false;
    std::vector<std::pair<int, float>> parameters;
};

int usage()
{
    std::fprintf (stderr,
                  "usage: vsthost MODULE [info]\n"
                  "       vsthost MODULE render [--in FILE] [--out FILE] [--rate HZ] [--block N]\n"
                  "                             [--param INDEX=VALUE]... [--program N] [--bypass]\n"
                  "                             [--load-state FILE] [--save-state FILE] [--picture]\n"
                  "render without --in uses the default signal (white noise, then a sine sweep) at --rate.\n"
                  "--picture then opens the editor in an X11 window and writes what it shows beside the\n"
                  "output, as .png (needs an X server: DISPLAY, or run under xvfb-run).\n"
                  "The output is a 32-bit float WAV file, latency compensated as a bounce: aligned with\n"
                  "the input and as long.\n");
    return 2;
}

bool parse (int argc, char** argv, Options& o)
{
    if (argc < 2)
        return false;

    o.module = argv[1];
    int i = 2;
    if (i < argc && argv[i][0] != '-')
        o.command = argv[i++];

    for (; i < argc; ++i)
    {
        const std::string a = argv[i];
        auto next = [&] () -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        const char* v = nullptr;

        if (a == "--bypass") { o.bypass = true; continue; }
        if (a == "--picture") { o.picture = true; continue; }
        if ((v = next()) == nullptr) return false;

        if (a == "--in") o.in = v;
        else if (a == "--out") o.out = v;
        else if (a == "--rate") o.rate = std::atof (v);
        else if (a == "--block") o.block = std::atoi (v);
        else if (a == "--program") o.program = std::atoi (v);
        else if (a == "--load-state") o.loadState = v;
        else if (a == "--save-state") o.saveState = v;
        else if (a == "--param")
        {
            int index = 0;
            float value = 0;
            if (std::sscanf (v, "%d=%f", &index, &value) != 2) return false;
            o.parameters.emplace_back (index, value);
        }
        else return false;
    }

    return (o.command == "info" || o.command == "render") && o.rate > 0 && o.block > 0;
}

std::string fourCC (int32_t code)
{
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        const char c = (char) ((code >> shift) & 0xff);
        s += (c >= 32 && c < 127) ? c : '?';
    }
    return s;
}

void printIdentity (HostedEffect& e)
{
    std::printf ("plug-in   %s (%s) by %s, version %d, id '%s', %d in / %d out, category %d\n",
                 e.effectName().c_str(), e.productString().c_str(), e.vendorString().c_str(),
                 e.vendorVersion(), fourCC (e.uniqueId()).c_str(), e.numInputs(), e.numOutputs(), e.category());
}

void printParametersAndPrograms (HostedEffect& e)
{
    std::printf ("parameters\n");
    for (int32_t i = 0; i < e.numParameters(); ++i)
    {
        const auto label = e.parameterLabel (i);
        std::printf ("  %d %-10s %8.5f  %s%s%s%s\n", i, e.parameterName (i).c_str(), e.getParameter (i),
                     e.parameterDisplay (i).c_str(), label.empty() ? "" : " ", label.c_str(),
                     e.canBeAutomated (i) ? "" : "  (not automatable)");
    }

    std::printf ("programs (current %d)\n", e.program());
    for (int32_t i = 0; i < e.numPrograms(); ++i)
        std::printf ("  %d %s\n", i, e.programNameIndexed (i).c_str());
}

bool readBytes (const std::string& path, std::vector<uint8_t>& bytes)
{
    std::ifstream f (path, std::ios::binary);
    if (! f) return false;
    bytes.assign (std::istreambuf_iterator<char> (f), {});
    return true;
}

bool writeBytes (const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream f (path, std::ios::binary);
    f.write (reinterpret_cast<const char*> (bytes.data()), (std::streamsize) bytes.size());
    return (bool) f;
}

// "take.wav" becomes "take"; a dot in a folder name is no extension.
std::string withoutExtension (const std::string& path)
{
    const auto dot = path.find_last_of ('.');
    const auto slash = path.find_last_of ('/');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return hasExtension ? path.substr (0, dot) : path;
}

// "take.wav" becomes "take-quietline.wav" beside it; the default signal goes to the working folder.
std::string defaultOutputName (const std::string& in)
{
    return in.empty() ? "quietline-default.wav" : withoutExtension (in) + "-quietline.wav";
}

int info (HostedEffect& e, const Options& o)
{
    printIdentity (e);
    printParametersAndPrograms (e);
    std::printf ("latency\n");
    for (double rate : listedRates)
    {
        e.start (rate, o.block);
        std::printf ("  %6.0f Hz  %4d samples\n", rate, e.latency());
        e.suspend();
    }
    return 0;
}

int renderCommand (HostedEffect& e, const Options& o)
{
    AudioFile audio;
    std::string error;

    if (o.in.empty())
    {
        audio.sampleRate = o.rate;
        const auto signal = defaultSignal (o.rate);
        audio.channels = { signal, signal };
    }
    else if (! audio.read (o.in, error))
    {
        std::fprintf (stderr, "vsthost: %s\n", error.c_str());
        return 1;
    }

    if (audio.channels.size() > 2)
    {
        std::fprintf (stderr, "vsthost: only mono and stereo files are supported\n");
        return 1;
    }

    if (! o.loadState.empty())
    {
        std::vector<uint8_t> state;
        if (! readBytes (o.loadState, state))
        {
            std::fprintf (stderr, "vsthost: cannot read %s\n", o.loadState.c_str());
            return 1;
        }
        e.setChunk (state);
    }

    if (o.program >= 0)
        e.setProgram (o.program);
    for (auto [index, value] : o.parameters)
        e.setParameter (index, value);

    // A mono file is processed as mono when the plug-in accepts it; otherwise as two equal channels.
    const bool mono = audio.channels.size() == 1;
    Channels input = audio.channels;
    if (mono && ! e.setChannels (1))
        input.push_back (input[0]);

    e.start (audio.sampleRate, o.block);
    if (o.bypass)
        e.setBypass (true);

    printIdentity (e);
    std::printf ("input     %s, %zu channel(s), %zu frames at %.0f Hz\n",
                 o.in.empty() ? "default signal (white noise, then sine sweep)" : o.in.c_str(),
                 audio.channels.size(), audio.channels[0].size(), audio.sampleRate);
    std::printf ("latency   %d samples (%.3f ms)\n", e.latency(), 1000.0 * e.latency() / audio.sampleRate);
    for (int32_t i = 0; i < e.numParameters(); ++i)
    {
        const auto label = e.parameterLabel (i);
        std::printf ("  %-10s %s%s%s\n", e.parameterName (i).c_str(), e.parameterDisplay (i).c_str(),
                     label.empty() ? "" : " ", label.c_str());
    }

    AudioFile result;
    result.sampleRate = audio.sampleRate;
    result.channels = renderCompensated (e, input);
    result.channels.resize (audio.channels.size());

    const std::string out = ! o.out.empty() ? o.out : defaultOutputName (o.in);
    if (! result.writeWav (out, error))
    {
        std::fprintf (stderr, "vsthost: %s\n", error.c_str());
        return 1;
    }
    std::printf ("output    %s (32-bit float, aligned with the input: latency compensated)\n", out.c_str());

    if (! o.saveState.empty() && ! writeBytes (o.saveState, e.getChunk()))
    {
        std::fprintf (stderr, "vsthost: cannot write %s\n", o.saveState.c_str());
        return 1;
    }

    // The editor as it stands after the render, at the file's rate.
    if (o.picture)
    {
        const auto picture = withoutExtension (out) + ".png";
        auto window = EditorWindow::open (e, error);
        if (window == nullptr || ! window->writePng (window->captureSettled(), picture, error))
        {
            std::fprintf (stderr, "vsthost: editor picture: %s\n", error.c_str());
            return 1;
        }
        std::printf ("editor    %s (%d x %d)\n", picture.c_str(), window->width(), window->height());
    }

    std::printf ("attenuation at %.0f Hz (steady tones)\n", audio.sampleRate);
    for (double f : measuredFrequencies)
    {
        if (f >= audio.sampleRate / 2)
            std::printf ("  %5.0f kHz   above half the sample rate\n", f / 1000.0);
        else
        {
            const double db = measureAttenuationDb (e, f);
            std::printf ("  %5.0f kHz  %8.2f dB\n", f / 1000.0, std::abs (db) < 0.005 ? 0.0 : db);
        }
    }

    return 0;
}
} // namespace

int main (int argc, char** argv)
{
    Options options;
    if (! parse (argc, argv, options))
        return usage();

    std::string error;
    auto module = VstPluginModule::load (options.module, error);
    if (module == nullptr)
    {
        std::fprintf (stderr, "vsthost: %s\n", error.c_str());
        return 1;
    }

    int result = 1;
    {
        auto effect = HostedEffect::create (*module, error);
        if (effect == nullptr)
        {
            std::fprintf (stderr, "vsthost: %s\n", error.c_str());
            return 1;
        }

        effect->setProcessLevel (kVstProcessLevelOffline);
        effect->open();
        result = options.command == "info" ? info (*effect, options) : renderCommand (*effect, options);
        effect->suspend();
    }

    return result;
}
