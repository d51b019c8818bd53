#pragma once

#include "dsp/FirDesign.h"

#include <cstdint>

namespace kelmora::dsp
{

/** The installed kernel of the FIR low-pass and its delay line of stereo pairs.

    Both arrays live inside the record at the size of the largest design (361 taps at 384 kHz),
    so installing a kernel never allocates; only the first delayLength pairs (plus the
    rounding) and the first tapCount coefficients (plus the zero tail) are in use.
    Audio thread only. */
struct FirKernel
{
    /** Coefficient slots: the largest kernel rounded up to a multiple of 4. */
    static constexpr uint32_t coefficientCapacity = (maxDesignTaps + 3u) & ~3u;

    /** Delay-line slots in pairs: twice the largest kernel rounded up to a multiple of 8. */
    static constexpr uint32_t delayCapacityPairs = (2u * maxDesignTaps + 7u) & ~7u;

    /** A finished design ready to install: points into the designer's scratch buffer. */
    struct Packed
    {
        const double* taps = nullptr;
        uint32_t tapCount = 0;    ///< N'', the taps to install
        uint32_t delayLength = 0; ///< N, the full odd tap count of the design
        uint32_t tapOffset = 0;   ///< (N >> 1) - (N'' >> 1)
    };

    /** Taps 0..tapCount-1, zero beyond; 16-byte aligned for the SSE2 inner product. */
    alignas (16) double coefficients[coefficientCapacity];

    /** Every coefficient twice in a row (c0, c0, c1, c1, ...), zero beyond tapCount: one aligned
        load gives a coefficient for both channels. */
    alignas (16) double pairedCoefficients[2 * coefficientCapacity];

    /** (left, right) pairs, newest at writeIndex, the pair at writeIndex + k is k samples old. */
    alignas (16) double delayLine[2 * delayCapacityPairs];

    /** N, the full odd tap count; 0 while no kernel is installed. */
    uint32_t delayLength;

    /** Position of the newest pair; counts down from delayLength. */
    uint32_t writeIndex;

    /** N'', the number of coefficients after trimming. */
    uint32_t tapCount;

    /** Where the trimmed kernel starts within the delay window, in pairs. */
    uint32_t tapOffset;

    /** Empties the kernel: no taps, zero delay length, both arrays zeroed. */
    void clear() noexcept;

    /** Describes a finished design of tapCountIn taps (odd) out of a full length of fullLength;
        a last tap of exactly 0.0 is left out. */
    static Packed pack (const double* taps, uint32_t tapCountIn, uint32_t fullLength) noexcept;

    /** Copies a packed design into the live kernel. The delay line and its write position stay
        when the full length is unchanged, so audio continues without a gap; otherwise it
        starts again from silence. Never allocates. */
    void install (const Packed& packed) noexcept;

    /** Zeroes the delay line and puts the write position back at delayLength. */
    void resetDelayLine() noexcept;
};

} // namespace kelmora::dsp
