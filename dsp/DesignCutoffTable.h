#pragma once

#include <cstdint>

namespace kelmora::dsp
{

// The design cutoff table: per sample rate, for every corner key from 20000 to 25000 Hz in
// 100 Hz steps, the ten coefficients of the polynomial in ln(window width) that gives the
// sinc cutoff. Read only by lookupDesignCutoff; the values come from tools/fitcutoff.

/** Blocks: one per tabulated sample rate. */
constexpr uint32_t designCutoffBlockCount = 6;
/** Rows per block: keys 20000..25000 Hz. */
constexpr uint32_t designCutoffRowCount = 51;
/** Doubles per row: the key in Hz, then c0..c9. */
constexpr uint32_t designCutoffRowSize = 11;
/** Doubles per block: the rate in Hz, then the rows. */
constexpr uint32_t designCutoffBlockSize = 1 + designCutoffRowCount * designCutoffRowSize;

/** The sample rates of the blocks, in table order. */
constexpr double designCutoffRates[designCutoffBlockCount] = { 88200.0, 96000.0, 176400.0,
                                                               192000.0, 384000.0, 352800.0 };

/** The fitted table: designCutoffBlockCount blocks of designCutoffBlockSize doubles. */
extern const double designCutoffTable[designCutoffBlockCount * designCutoffBlockSize];

} // namespace kelmora::dsp
