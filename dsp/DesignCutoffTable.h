#pragma once

#include <cstdint>

namespace kelmora::dsp
{

/** Layout of the design cutoff table: one block per sample rate (the rate, then 51 rows of
    key frequency and ten polynomial coefficients c0..c9, keys 20000..25000 Hz in 100 Hz steps). */
constexpr uint32_t designCutoffBlockCount = 6;
constexpr uint32_t designCutoffRowCount = 51;
constexpr uint32_t designCutoffRowSize = 11;
constexpr uint32_t designCutoffBlockSize = 1 + designCutoffRowCount * designCutoffRowSize;

/** The sample rates of the blocks, in table order. */
constexpr double designCutoffRates[designCutoffBlockCount] = { 88200.0, 96000.0, 176400.0,
                                                               192000.0, 384000.0, 352800.0 };

/** The fitted table: designCutoffBlockCount blocks of designCutoffBlockSize doubles. */
extern const double designCutoffTable[designCutoffBlockCount * designCutoffBlockSize];

} // namespace kelmora::dsp
