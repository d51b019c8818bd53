#pragma once

#include "platform/au/CoreAudioTypes.h"

#include <utility>

namespace kelmora::au
{
// Deep operations throw their status as a 32-bit integer.
[[noreturn]] inline void ThrowStatus (OSStatus status) { throw status; }

// The one rule by which whatever was thrown inside the Audio Unit layer becomes the status a
// host receives: a CAXException its status, std::bad_alloc -108, a thrown 32-bit or 16-bit
// integer its value, anything else (CAException included) -1. Call only inside a catch block.
OSStatus StatusOfCurrentException() noexcept;

// Runs fn (which answers an OSStatus) and applies the rule to anything it throws; every entry
// point goes through here.
template <typename Fn>
OSStatus CallWithStatusLadder (Fn&& fn) noexcept
{
    try
    {
        return std::forward<Fn> (fn)();
    }
    catch (...)
    {
        return StatusOfCurrentException();
    }
}
} // namespace kelmora::au
