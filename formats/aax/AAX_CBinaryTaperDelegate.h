#pragma once

#include "formats/aax/AAX_ITaperDelegate.h"

#include <cmath>

namespace kelmora::aax {

/** Off below or at normalized 0, on above it; a non-finite normalized value counts as off. */
template <typename T>
class AAX_CBinaryTaperDelegate : public AAX_ITaperDelegate<T>
{
public:
    AAX_CBinaryTaperDelegate* Clone() const override { return new AAX_CBinaryTaperDelegate (*this); }
    T GetMaximumValue() const override { return true; }
    T GetMinimumValue() const override { return false; }
    T ConstrainRealValue (T value) const override { return value; }

    T NormalizedToReal (double normalizedValue) const override
    {
        return std::isfinite (normalizedValue) && normalizedValue > 0.0;
    }

    double RealToNormalized (T realValue) const override { return realValue ? 1.0 : 0.0; }
};

} // namespace kelmora::aax
