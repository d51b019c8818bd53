// A host process that only processes audio, for the display-connection test: loads the module
// given on its command line through the VST entry, processes and saves and restores a state,
// writes 'r' to stdout, waits for a byte on stdin (meanwhile its X server goes away), then does
// the same again and asks for an editor, which must fail cleanly. Exits 0 when all went so.
#include "tools/vsthost/HostedEffect.h"
#include "tools/vsthost/Signals.h"

#include <cstdio>

using namespace kelmora::tools;

int main (int argc, char** argv)
{
    std::string error;
    auto module = argc == 2 ? VstPluginModule::load (argv[1], error) : nullptr;
    if (module == nullptr)
        return 2;

    {
        auto effect = HostedEffect::create (*module, error);
        if (effect == nullptr)
            return 2;

        effect->open();
        effect->start (96000.0, 256);
        const auto work = [&] {
            render (*effect, Channels (2, std::vector<float> (4096, 0.25f)));
            return effect->setChunk (effect->getChunk()) == 1;
        };

        if (! work())
            return 3;

        std::fputc ('r', stdout);
        std::fflush (stdout);
        if (std::fgetc (stdin) == EOF)
            return 3;

        if (! work() || effect->dispatch (effEditOpen) != 0)
            return 4;
    }

    module.reset();
    return 0;
}
