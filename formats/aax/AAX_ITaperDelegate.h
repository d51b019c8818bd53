#pragma once

namespace kelmora::aax {

/** Untyped base of the taper delegates, so that AAX_IParameter can take any of them. */
class AAX_ITaperDelegateBase
{
public:
    virtual ~AAX_ITaperDelegateBase() = default;
};

/** Maps a parameter's real value to the normalized range 0..1 and back. */
template <typename T>
class AAX_ITaperDelegate : public AAX_ITaperDelegateBase
{
public:
    virtual AAX_ITaperDelegate* Clone() const = 0;
    virtual T GetMaximumValue() const = 0;
    virtual T GetMinimumValue() const = 0;
    virtual T ConstrainRealValue (T value) const = 0;
    virtual T NormalizedToReal (double normalizedValue) const = 0;
    virtual double RealToNormalized (T realValue) const = 0;
};

} // namespace kelmora::aax
