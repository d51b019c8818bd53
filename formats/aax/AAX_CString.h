#pragma once

// The AAX library's string: a byte string behind the AAX_IString interface. Numbers are written and
// read in the classic "C" form whatever the process locale is, because hosts and saved chunks
// expect "." as the decimal point.

#include "formats/aax/AAX_IString.h"

#include <cstdint>
#include <string>

namespace kelmora::aax {

class AAX_CString : public AAX_IString
{
public:
    AAX_CString() = default;
    AAX_CString (const char* text);          // null counts as empty
    AAX_CString (const AAX_CString& other);
    explicit AAX_CString (const AAX_IString& other);
    ~AAX_CString() override;

    uint32_t Length() const override;
    uint32_t MaxLength() const override;     // 0xFFFFFFFE
    const char* Get() const override;        // valid until the next change
    void Set (const char* text) override;    // null counts as empty
    AAX_IString& operator= (const AAX_IString& other) override;
    AAX_IString& operator= (const char* text) override;

    AAX_CString& operator= (const AAX_CString& other);

    const char* CString() const;
    void Clear();

    /** Removes up to n bytes from pos; a pos at or past the end removes nothing. */
    void Erase (uint32_t pos, uint32_t n);

    /** Appends the value in fixed-point notation with exactly precision digits after ".". */
    void AppendNumber (double value, int32_t precision);

    /** Reads a decimal number from the start (leading white space skipped, the rest ignored).
        On failure writes 0.0 and returns false. */
    bool ToDouble (double* value) const;

    /** Byte-wise comparison up to the first NUL. */
    bool operator== (const AAX_CString& other) const;
    bool operator!= (const AAX_CString& other) const;

    char& operator[] (uint32_t index);

private:
    std::string text;
};

} // namespace kelmora::aax
