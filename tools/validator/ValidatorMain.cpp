// validator MODULE [--stress]: the battery on every format the module exports.
#include "tools/validator/Battery.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>

// JUCE is built without instrumentation and its threads are detached, so ThreadSanitizer cannot
// see how closing the last instance stops JUCE's message and timer threads.
extern "C" __attribute__ ((visibility ("default"), used)) const char* __tsan_default_suppressions()
{
    return "race:juce::MessageManager::~MessageManager\n"
           "race:juce::DeletedAtShutdown::deleteAll\n";
}

int main (int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf (stderr, "usage: validator MODULE [--stress]\n");
        return 2;
    }
    const bool stressOnly = argc > 2 && std::strcmp (argv[2], "--stress") == 0;

    void* handle = ::dlopen (argv[1], RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
    {
        std::fprintf (stderr, "validator: %s\n", ::dlerror());
        return 2;
    }
    int passed = 0, failed = 0, formats = 0;
    for (const auto& adapter : kelmora::tools::formatAdapters())
    {
        if (::dlsym (handle, adapter.exportedSymbol) == nullptr)
            continue;
        ++formats;
        std::string error;
        auto format = adapter.load (argv[1], error);
        if (format == nullptr)
        {
            std::printf ("FAIL [%s] loading: %s\n", adapter.name, error.c_str());
            ++failed;
            continue;
        }
        failed += kelmora::tools::runBattery (adapter.name, *format, stressOnly, passed);
    }
    ::dlclose (handle);
    if (formats == 0)
    {
        std::printf ("FAIL the module exports no format the validator knows\n");
        ++failed;
    }
    std::printf ("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
