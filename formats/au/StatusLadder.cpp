#include "formats/au/StatusLadder.h"

#include "formats/au/CAXException.h"

#include <new>

namespace kelmora::au
{
OSStatus StatusOfCurrentException() noexcept
{
    try
    {
        throw;
    }
    catch (const CAXException& e)
    {
        return e.GetError();
    }
    catch (const std::bad_alloc&)
    {
        return kAudio_MemFullError;
    }
    catch (SInt32 status)
    {
        return status;
    }
    catch (SInt16 status)
    {
        return status;
    }
    catch (...)
    {
        return -1;
    }
}
} // namespace kelmora::au
