#pragma once

namespace kelmora::dsp
{

/** The instruction sets the filter runs on, all with the same results bit for bit. In
    FirFilterState::process: the plain loop of one output per pass, kept as the reference, and
    loops that share each coefficient load among 2 (SSE2), 4 (AVX) or 8 (AVX-512) consecutive
    outputs while keeping every output's own order of operations. In the design: the window's
    Bessel series for 2 (reference and SSE2), 4 or 8 taps at once. */
enum class FirPath : int
{
    reference,
    sse2,
    avx,
    avx512
};

/** Whether this CPU (and its operating system) can run path. Any thread. */
bool isFirPathAvailable (FirPath path) noexcept;

/** The path the engine and the design use: the widest the CPU has, unless forceFirPath chose
    another. Any thread. */
FirPath getFirPath() noexcept;

/** Makes every filter use path from now on (tests and benchmarks); returns false and changes
    nothing when the CPU lacks it. Any thread. */
bool forceFirPath (FirPath path) noexcept;

/** "reference", "sse2", "avx" or "avx512". */
const char* getFirPathName (FirPath path) noexcept;

} // namespace kelmora::dsp
