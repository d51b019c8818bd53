#pragma once

#include "formats/aax/AAX_CString.h"
#include "formats/aax/AAX_IDisplayDelegate.h"

#include <algorithm>
#include <cstdint>

namespace kelmora::aax {

/** One text for false and one for true; only these exact texts read back. */
template <typename T>
class AAX_CBinaryDisplayDelegate : public AAX_IDisplayDelegate<T>
{
public:
    AAX_CBinaryDisplayDelegate (const char* falseText, const char* trueText)
        : falseString (falseText), trueString (trueText),
          longestLength (std::max (falseString.Length(), trueString.Length()))
    {
    }

    AAX_CBinaryDisplayDelegate* Clone() const override { return new AAX_CBinaryDisplayDelegate (*this); }

    bool ValueToString (T value, AAX_CString* valueString) const override
    {
        if (valueString == nullptr)
            return false;
        *valueString = value ? trueString : falseString;
        return true;
    }

    bool ValueToString (T value, int32_t, AAX_CString* valueString) const override
    {
        return ValueToString (value, valueString);
    }

    bool StringToValue (const AAX_CString& valueString, T* value) const override
    {
        if (value == nullptr)
            return false;
        const bool isTrue = valueString == trueString;
        *value = isTrue;
        return isTrue || valueString == falseString;
    }

private:
    AAX_CString falseString;
    AAX_CString trueString;
    uint32_t longestLength;
};

} // namespace kelmora::aax
