#include "fuzz/FuzzTargets.h"
#include "support/TempHome.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quietline::fuzz
{
namespace
{
void abortOnFailure (const char* what)
{
    std::fprintf (stderr, "fuzz invariant broken: %s\n", what);
    std::abort();
}

void (*failureHandler) (const char*) = abortOnFailure;
} // namespace

void require (bool ok, const char* what)
{
    if (! ok)
        failureHandler (what);
}

void setFailureHandler (void (*handler) (const char*)) { failureHandler = handler; }

void requireFiniteOutput (const std::function<std::vector<std::vector<float>> (std::vector<std::vector<float>>)>& process)
{
    std::vector<float> tone (256);
    for (size_t i = 0; i < tone.size(); ++i)
        tone[i] = (float) std::sin ((double) i * 0.37);
    for (const auto& channel : process ({ tone, tone }))
        for (float s : channel)
            require (std::isfinite (s), "processing gives finite output");
}

const char* sharedHome()
{
    static const test::TempHome home;
    return home.path().c_str();
}
} // namespace quietline::fuzz
