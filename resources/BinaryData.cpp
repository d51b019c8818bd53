#include "resources/BinaryData.h"

namespace kelmora::resources
{
namespace
{
struct Entry
{
    std::uint32_t hash;
    const char* data;
    const int* size;
};

// The hashes are computed by the compiler: the module keeps no names.
constexpr Entry entries[] = {
#define QUIETLINE_RESOURCE(symbol, file) { hashResourceName (#symbol), symbol, &symbol##Size },
#include "resources/ResourceList.inc"
#undef QUIETLINE_RESOURCE
};

static_assert (sizeof (entries) / sizeof (entries[0]) == numNamedResources);

constexpr bool hashesAreUsable()
{
    for (const auto& a : entries)
    {
        // The about dialog asks for a logo this product does not ship; that must find nothing.
        if (a.hash == hashResourceName ("infologo_png"))
            return false;

        int matches = 0;
        for (const auto& b : entries)
            matches += a.hash == b.hash ? 1 : 0;

        if (matches != 1)
            return false;
    }

    return true;
}

static_assert (hashesAreUsable(), "two resource names share a hash, or one matches infologo_png");
} // namespace

const char* getNamedResource (const char* resourceNameUTF8, int& dataSizeInBytes) noexcept
{
    if (resourceNameUTF8 != nullptr && *resourceNameUTF8 != 0)
    {
        const auto hash = hashResourceName (resourceNameUTF8);

        for (const auto& entry : entries)
            if (entry.hash == hash)
            {
                dataSizeInBytes = *entry.size;
                return entry.data;
            }
    }

    dataSizeInBytes = 0;
    return nullptr;
}
} // namespace kelmora::resources
