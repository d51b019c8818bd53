#pragma once

#include "platform/au/CoreAudioTypes.h"

namespace kelmora::au
{
/** An error carrying only a status. No entry point catches it by type, so it reaches the host as -1. */
class CAException
{
public:
    explicit CAException (OSStatus status) noexcept : mError (status) {}
    OSStatus GetError() const noexcept { return mError; }

private:
    OSStatus mError;
};
} // namespace kelmora::au
