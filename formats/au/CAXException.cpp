#include "formats/au/CAXException.h"

#include <cstring>

namespace kelmora::au
{
CAXException::CAXException (const char* operation, OSStatus status) noexcept : mError (status)
{
    mOperation[0] = 0;
    if (operation != nullptr)
    {
        std::strncpy (mOperation, operation, sizeof mOperation - 1);
        mOperation[sizeof mOperation - 1] = 0;
    }
}
} // namespace kelmora::au
