#include "formats/au/ClassInfoKeys.h"

#include <mutex>

namespace kelmora::au
{
const ClassInfoKeys& ClassInfoKeys::Get()
{
    static std::once_flag once;
    static ClassInfoKeys keys {};
    std::call_once (once, [] {
        keys = { CFSTR ("Untitled"), CFSTR ("version"), CFSTR ("type"), CFSTR ("subtype"), CFSTR ("manufacturer"),
                 CFSTR ("data"), CFSTR ("name"), CFSTR ("render-quality"), CFSTR ("cpu-load"), CFSTR ("element-name"),
                 CFSTR ("part") };
    });
    return keys;
}
} // namespace kelmora::au
