#pragma once

#include <cstdint>

/*  The byte blocks compiled into the module: the editor's images, the two help texts and the
    factory presets. Each block is followed by a zero byte that its size does not count, so a
    text block can also be read as a zero-terminated string. The data never changes and may be
    read from any thread.

    Images are meant to be decoded through juce::ImageCache::getFromMemory (data, size), which
    decodes each block once.
*/
namespace kelmora::resources
{
#define QUIETLINE_RESOURCE(symbol, file) \
    extern const char symbol[];           \
    extern const int symbol##Size;
#include "resources/ResourceList.inc"
#undef QUIETLINE_RESOURCE

/** Number of blocks in the table. */
constexpr int numNamedResources = 0
#define QUIETLINE_RESOURCE(symbol, file) +1
#include "resources/ResourceList.inc"
#undef QUIETLINE_RESOURCE
    ;

/** The name hash of the table: h = h * 31 + c over the name's bytes, each byte taken as a
    signed 8-bit value, modulo 2^32. Independent of the signedness of char. */
constexpr std::uint32_t hashResourceName (const char* name) noexcept
{
    std::uint32_t h = 0;

    if (name != nullptr)
        for (; *name != 0; ++name)
        {
            const auto byte = static_cast<std::uint32_t> (static_cast<unsigned char> (*name));
            // Sign-extend: the byte 0xC3 adds 0xFFFFFFC3 (that is, -61), not 195.
            const auto c = byte >= 0x80u ? (byte | 0xFFFFFF00u) : byte;
            h = h * 31u + c;
        }

    return h;
}

/** Finds a block by its entry name (for example "factory_presets_xml"). Only the name's hash is
    compared. Returns the data and sets dataSizeInBytes, or returns nullptr and sets it to 0 when
    the name is null, empty or unknown. Allocates nothing; callable from any thread. */
const char* getNamedResource (const char* resourceNameUTF8, int& dataSizeInBytes) noexcept;
} // namespace kelmora::resources

/** The name JUCE projects conventionally use for their embedded data. */
namespace BinaryData = kelmora::resources;
