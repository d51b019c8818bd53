#pragma once

#include "formats/aax/AAX_FloatConversion.h"
#include "formats/aax/AAX_ITaperDelegate.h"

#include <cmath>
#include <cstdint>
#include <type_traits>

namespace kelmora::aax {

/** A straight line from the minimum (normalized 0) to the maximum (normalized 1). Values
    outside the range are pulled to its ends; a non-finite normalized value and a NaN real value
    land on the minimum. Only unrounded tapers (RealPrecision 0) exist. */
template <typename T, int32_t RealPrecision = 0>
class AAX_CLinearTaperDelegate : public AAX_ITaperDelegate<T>
{
    static_assert (RealPrecision == 0, "only unrounded linear tapers are supported");

public:
    AAX_CLinearTaperDelegate (T minimumValue, T maximumValue)
        : minimum (minimumValue), maximum (maximumValue)
    {
    }

    AAX_CLinearTaperDelegate* Clone() const override { return new AAX_CLinearTaperDelegate (*this); }
    T GetMaximumValue() const override { return maximum; }
    T GetMinimumValue() const override { return minimum; }

    T ConstrainRealValue (T value) const override
    {
        if constexpr (std::is_floating_point_v<T>)
            if (std::isnan (value))
                return minimum;
        if (value > maximum)
            return maximum;
        return value > minimum ? value : minimum;
    }

    T NormalizedToReal (double normalizedValue) const override
    {
        if (! std::isfinite (normalizedValue))
            return minimum;
        const double real = (static_cast<double> (maximum) - static_cast<double> (minimum)) * normalizedValue
                            + static_cast<double> (minimum);
        return ConstrainRealValue (narrow (real));
    }

    double RealToNormalized (T realValue) const override
    {
        return (static_cast<double> (ConstrainRealValue (realValue)) - static_cast<double> (minimum))
               / (static_cast<double> (maximum) - static_cast<double> (minimum));
    }

private:
    static T narrow (double value)
    {
        if constexpr (std::is_same_v<T, float>)
            return NarrowToFloat (value);
        else
            return static_cast<T> (value);
    }

    T minimum;
    T maximum;
};

} // namespace kelmora::aax
