#pragma once

#include <cfloat>
#include <cmath>

namespace kelmora::aax {

/** double to float without the undefined behaviour of narrowing a value outside the float
    range (chunks and hosts can hand us any double): such values become infinities. */
inline float NarrowToFloat (double value)
{
    if (value > static_cast<double> (FLT_MAX))
        return INFINITY;
    if (value < -static_cast<double> (FLT_MAX))
        return -INFINITY;
    return static_cast<float> (value);
}

} // namespace kelmora::aax
