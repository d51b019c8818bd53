#pragma once

#include "tools/validator/PluginInstance.h"

namespace kelmora::tools
{
/** Runs the validation battery on one format, printing one line per check ("PASS", "FAIL" with
    the reason, or "SKIP" with why) and returns the number of failed checks.
    @param stressOnly only the checks meant for the ThreadSanitizer build (threads and editor) */
int runBattery (const char* formatName, PluginFormat& format, bool stressOnly, int& passed);
} // namespace kelmora::tools
