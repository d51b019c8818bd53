#pragma once

// The string interface that crosses the host boundary (effect ids, host names, parameter ids and
// names): the host reads and sets it through these virtual methods. Bytes are UTF-8 by convention
// and never converted. AAX_CString is the library's implementation.

#include <cstdint>

namespace kelmora::aax {

class AAX_IString
{
public:
    virtual ~AAX_IString() = default;

    virtual uint32_t Length() const = 0;
    virtual uint32_t MaxLength() const = 0;
    virtual const char* Get() const = 0;
    virtual void Set (const char* text) = 0;
    virtual AAX_IString& operator= (const AAX_IString& other) = 0;
    virtual AAX_IString& operator= (const char* text) = 0;

protected:
    AAX_IString() = default;
    AAX_IString (const AAX_IString&) = default;
};

} // namespace kelmora::aax
