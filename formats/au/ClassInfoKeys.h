#pragma once

#include "platform/au/CoreFoundation.h"

namespace kelmora::au
{
/** The process-wide key strings of the class-info dictionary, created once. */
struct ClassInfoKeys
{
    CFStringRef untitled, version, type, subtype, manufacturer, data, name, renderQuality, cpuLoad, elementName, part;

    static const ClassInfoKeys& Get();
};
} // namespace kelmora::au
