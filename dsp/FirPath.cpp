#include "dsp/FirPath.h"

#include <atomic>

namespace kelmora::dsp
{

namespace
{
const char* const pathNames[] = { "reference", "sse2", "avx", "avx512" };

// Chosen once, when the library loads; the audio thread only reads an atomic.
const FirPath widestFirPath = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports ("avx512f") ? FirPath::avx512
         : __builtin_cpu_supports ("avx")     ? FirPath::avx
                                              : FirPath::sse2;
}();

std::atomic<FirPath> selectedFirPath { widestFirPath };
} // namespace

bool isFirPathAvailable (FirPath path) noexcept
{
    return (int) path >= 0 && (int) path <= (int) widestFirPath;
}

FirPath getFirPath() noexcept
{
    return selectedFirPath.load (std::memory_order_relaxed);
}

bool forceFirPath (FirPath path) noexcept
{
    if (! isFirPathAvailable (path))
        return false;
    selectedFirPath.store (path, std::memory_order_relaxed);
    return true;
}

const char* getFirPathName (FirPath path) noexcept
{
    return (int) path >= 0 && (int) path <= (int) FirPath::avx512 ? pathNames[(int) path] : "";
}

} // namespace kelmora::dsp
