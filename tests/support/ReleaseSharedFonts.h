#pragma once

#include "skins/SharedFonts.h"

#include <gtest/gtest.h>

namespace quietline::test
{
/** Drops the process-wide fonts when the run ends, as the last processor's destructor does. In a
    test program that draws text without a processor they would otherwise last until static
    destruction, past JUCE's shutdown, where JUCE's leak detector takes their typefaces for leaks.
    Included by the support headers of such programs. */
struct ReleaseSharedFonts : ::testing::Environment
{
    void TearDown() override { kelmora::skins::SharedFonts::deleteInstance(); }
};

inline auto* const releaseSharedFonts = ::testing::AddGlobalTestEnvironment (new ReleaseSharedFonts);
} // namespace quietline::test
