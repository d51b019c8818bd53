#include "fuzz/FuzzTargets.h"
#include "support/TempHome.h"

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

const char* sharedHome()
{
    static const test::TempHome home;
    return home.path().c_str();
}
} // namespace quietline::fuzz
