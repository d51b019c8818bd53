#pragma once

#include "formats/aax/CACFUnknown.h"
#include "tools/aaxhost/AaxHost.h"

#include <gtest/gtest.h>

namespace quietline::test::aax
{
/** Expects, on destruction, the live host objects and plug-in objects back at their counts at
    construction. */
struct LiveCheck
{
    const size_t hostObjects = kelmora::tools::aaxhost::CountedObject::liveCount();
    const int32_t pluginObjects = kelmora::aax::CACFUnknown::GetActiveObjectCount();

    ~LiveCheck()
    {
        using kelmora::tools::aaxhost::CountedObject;
        EXPECT_EQ (CountedObject::liveCount(), hostObjects) << "host objects still referenced, the last made: " << CountedObject::lastLiveName();
        EXPECT_EQ (kelmora::aax::CACFUnknown::GetActiveObjectCount(), pluginObjects) << "plug-in objects still alive";
    }
};
} // namespace quietline::test::aax
