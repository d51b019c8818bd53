#include "dsp/FirKernel.h"

#include <algorithm>
#include <iterator>

namespace kelmora::dsp
{

void FirKernel::clear() noexcept
{
    std::fill (std::begin (coefficients), std::end (coefficients), 0.0);
    std::fill (std::begin (pairedCoefficients), std::end (pairedCoefficients), 0.0);
    std::fill (std::begin (delayLine), std::end (delayLine), 0.0);
    delayLength = 0;
    writeIndex = 0;
    tapCount = 0;
    tapOffset = 0;
}

FirKernel::Packed FirKernel::pack (const double* taps, uint32_t tapCountIn, uint32_t fullLength) noexcept
{
    Packed packed;
    packed.taps = taps;
    packed.tapCount = tapCountIn;

    if ((tapCountIn & 1u) != 0 && taps[tapCountIn - 1] == 0.0)
        packed.tapCount = tapCountIn - 1;

    packed.delayLength = fullLength;
    packed.tapOffset = (fullLength >> 1) - (packed.tapCount >> 1);
    return packed;
}

void FirKernel::install (const Packed& packed) noexcept
{
    if (packed.tapCount != tapCount)
    {
        // The inner product reads up to three slots past the last tap: keep them zero.
        std::fill (coefficients + packed.tapCount, std::end (coefficients), 0.0);
        std::fill (pairedCoefficients + 2 * packed.tapCount, std::end (pairedCoefficients), 0.0);
        tapCount = packed.tapCount;
    }

    std::copy (packed.taps, packed.taps + packed.tapCount, coefficients);
    for (uint32_t k = 0; k < packed.tapCount; ++k)
        pairedCoefficients[2 * k] = pairedCoefficients[2 * k + 1] = packed.taps[k];

    if (packed.delayLength != delayLength)
    {
        delayLength = packed.delayLength;
        resetDelayLine();
    }

    tapOffset = packed.tapOffset;
}

void FirKernel::resetDelayLine() noexcept
{
    // All of it, not just 2N pairs: the inner product also reads the rounding beyond 2N,
    // which a longer kernel may have filled before.
    std::fill (std::begin (delayLine), std::end (delayLine), 0.0);
    writeIndex = delayLength;
}

} // namespace kelmora::dsp
