#pragma once

#include "platform/au/CoreAudioTypes.h"

namespace kelmora::au
{
/** An error with the failed operation's text; an entry point answers its status. */
class CAXException
{
public:
    CAXException (const char* operation, OSStatus status) noexcept;

    const char* GetOperation() const noexcept { return mOperation; }
    OSStatus GetError() const noexcept { return mError; }

private:
    char mOperation[256];
    OSStatus mError;
};
} // namespace kelmora::au
