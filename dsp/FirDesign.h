#pragma once

#include <cstdint>

namespace kelmora::dsp
{

/** The largest full tap count of a design (at 384000 Hz). */
constexpr uint32_t maxDesignTaps = 361;

/** Size of the scratch buffer a design is built in: the largest kernel plus its rounding. */
constexpr uint32_t designBufferSize = 363;

/** Magnitude of the finished filter at its corner: -0.1 dB. */
constexpr double cornerMagnitude = 0.98855309465693884;

/** I0(x) by its power series from q = (x/2)^2, stopping after the first term below 1e-6 and
    after 79 terms at most, so that a design has a bounded cost. */
double besselI0FromQuarterSquare (double q);

/** Sets n doubles to 0.0; nothing when n <= 0. */
void clearTaps (double* taps, int32_t n);

/** Writes an n-tap sinc with its cutoff at cutoffHz into taps.
    mode 1 designs a high-pass, any other mode a low-pass. */
void designSincKernel (double* taps, uint32_t n, int32_t mode, double cutoffHz, double sampleRate);

/** Multiplies n taps in place by a Kaiser window of the given width (in taps, centred on the
    kernel) and shape beta; taps outside the window become 0. */
void applyKaiserWindow (double* taps, uint32_t n, double width, double beta);

/** Drops the same number of taps from both ends of a symmetric kernel while the leading taps
    are below threshold in magnitude: taps moves forward, count shrinks by twice as much. */
void trimSmallTaps (double*& taps, uint32_t& count, double threshold);

/** Scales n taps so that they sum to 1 (unity gain at 0 Hz); nothing when n <= 0. */
void normaliseToUnitSum (double* taps, int32_t n);

/** The sinc cutoff in Hz that puts the finished filter's -0.1 dB point on cornerHz
    (20000..25000 Hz, nearest 100 Hz key, ties to the lower key) for a window of log width
    logWidth. A rate between two tabulated ones blends the cutoffs of both for the same slope;
    a rate outside the table (the filter never designs there) gives 25000 Hz. */
double lookupDesignCutoff (double cornerHz, double logWidth, double sampleRate);

/** c0 + c1 x + ... + c9 x^9 summed in the table's fixed order (c points at ten doubles). */
double evaluateCutoffPolynomial (const double* c, double x);

/** Full (odd) tap count N of a design at sampleRate; the filter's latency is N >> 1. */
uint32_t designTapCount (double sampleRate);

/** Natural log of the Kaiser window width for a slope of 0..1: from 18 to 180 taps at
    192000 Hz, scaled with the sample rate. */
double designLogWidth (double slope, double sampleRate);

/** Runs the design from the sinc onward (sinc, window, trim, normalisation) in buffer, which
    holds at least fullLength doubles (at most designBufferSize). Returns the first tap of the
    trimmed kernel inside buffer and sets count to its (odd) tap count. */
double* designTrimmedKernel (double* buffer, uint32_t fullLength, double logWidth,
                             double cutoffHz, double sampleRate, uint32_t& count);

} // namespace kelmora::dsp
