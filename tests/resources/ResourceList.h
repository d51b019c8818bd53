#pragma once

#include "resources/BinaryData.h"

#include <iterator>

namespace quietline::test
{
/** One block of the generated table and the committed file (below resources/) it holds. */
struct NamedBlock
{
    const char* name;
    const char* file;
    const char* data;
    int size;
};

inline const NamedBlock allBlocks[] = {
#define QUIETLINE_RESOURCE(symbol, file) NamedBlock { #symbol, file, kelmora::resources::symbol, kelmora::resources::symbol##Size },
#include "resources/ResourceList.inc"
#undef QUIETLINE_RESOURCE
};

static_assert (std::size (allBlocks) == kelmora::resources::numNamedResources);
} // namespace quietline::test
