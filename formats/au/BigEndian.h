#pragma once

#include "platform/au/CoreFoundation.h"

namespace kelmora::au
{
/** The saved state stores its 32-bit words big-endian, whatever the machine. */
inline void AppendBigEndian (CFMutableDataRef data, UInt32 value)
{
    const UInt8 bytes[4] = { UInt8 (value >> 24), UInt8 (value >> 16), UInt8 (value >> 8), UInt8 (value) };
    CFDataAppendBytes (data, bytes, 4);
}

/** Reads one big-endian word; the caller has checked that four bytes remain. */
inline UInt32 ReadBigEndian (const UInt8* p)
{
    return (UInt32 (p[0]) << 24) | (UInt32 (p[1]) << 16) | (UInt32 (p[2]) << 8) | UInt32 (p[3]);
}
} // namespace kelmora::au
