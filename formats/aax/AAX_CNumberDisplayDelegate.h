#pragma once

#include "formats/aax/AAX_CString.h"
#include "formats/aax/AAX_FloatConversion.h"
#include "formats/aax/AAX_IDisplayDelegate.h"

#include <cstdint>
#include <type_traits>

namespace kelmora::aax {

/** The value as a decimal number with Precision digits after the point ("21000.000"). A text is
    read from its leading number; whatever follows it is ignored. */
template <typename T, uint32_t Precision = 2, uint32_t SpaceAfter = 0>
class AAX_CNumberDisplayDelegate : public AAX_IDisplayDelegate<T>
{
    static_assert (SpaceAfter == 0, "numbers are shown without a trailing space");

public:
    AAX_CNumberDisplayDelegate* Clone() const override { return new AAX_CNumberDisplayDelegate (*this); }

    bool ValueToString (T value, AAX_CString* valueString) const override
    {
        if (valueString == nullptr)
            return false;
        valueString->Clear();
        valueString->AppendNumber (static_cast<double> (value), static_cast<int32_t> (Precision));
        return true;
    }

    /** The full text cut to maxNumChars; a point left dangling at the cut goes too. */
    bool ValueToString (T value, int32_t maxNumChars, AAX_CString* valueString) const override
    {
        if (! ValueToString (value, valueString))
            return false;

        const uint32_t limit = maxNumChars > 0 ? static_cast<uint32_t> (maxNumChars) : 0u;
        const uint32_t length = valueString->Length();
        if (length > limit)
            valueString->Erase (limit, length - limit);

        if (limit > 0 && valueString->Length() == limit && valueString->Get()[limit - 1] == '.')
            valueString->Erase (limit - 1, 1);

        return true;
    }

    bool StringToValue (const AAX_CString& valueString, T* value) const override
    {
        if (value == nullptr)
            return false;
        double parsed = 0.0;
        const bool ok = valueString.ToDouble (&parsed);
        if (! ok)
            parsed = 0.0;
        if constexpr (std::is_same_v<T, float>)
            *value = NarrowToFloat (parsed);
        else
            *value = static_cast<T> (parsed);
        return ok;
    }
};

} // namespace kelmora::aax
