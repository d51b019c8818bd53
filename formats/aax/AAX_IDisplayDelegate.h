#pragma once

#include <cstdint>

namespace kelmora::aax {

class AAX_CString;

/** Untyped base of the display delegates, so that AAX_IParameter can take any of them. */
class AAX_IDisplayDelegateBase
{
public:
    virtual ~AAX_IDisplayDelegateBase() = default;
};

/** Turns a parameter's real value into display text and back; each conversion returns whether
    it succeeded. */
template <typename T>
class AAX_IDisplayDelegate : public AAX_IDisplayDelegateBase
{
public:
    virtual AAX_IDisplayDelegate* Clone() const = 0;
    virtual bool ValueToString (T value, AAX_CString* valueString) const = 0;
    virtual bool ValueToString (T value, int32_t maxNumChars, AAX_CString* valueString) const = 0;
    virtual bool StringToValue (const AAX_CString& valueString, T* value) const = 0;
};

} // namespace kelmora::aax
