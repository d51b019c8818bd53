#include "formats/aax/AAX_CString.h"

#include <cstring>
#include <locale>
#include <sstream>

namespace kelmora::aax {

AAX_CString::AAX_CString (const char* newText)
{
    Set (newText);
}

AAX_CString::AAX_CString (const AAX_CString& other) : AAX_IString(), text (other.text) {}

AAX_CString::AAX_CString (const AAX_IString& other)
{
    Set (other.Get());
}

AAX_CString::~AAX_CString() = default;

uint32_t AAX_CString::Length() const { return static_cast<uint32_t> (text.size()); }

uint32_t AAX_CString::MaxLength() const { return 0xFFFFFFFEu; }

const char* AAX_CString::Get() const { return text.c_str(); }

void AAX_CString::Set (const char* newText)
{
    if (newText == nullptr)
        text.clear();
    else
        text.assign (newText);
}

AAX_IString& AAX_CString::operator= (const AAX_IString& other)
{
    if (&other != this)
        Set (other.Get());

    return *this;
}

AAX_IString& AAX_CString::operator= (const char* newText)
{
    Set (newText);
    return *this;
}

AAX_CString& AAX_CString::operator= (const AAX_CString& other)
{
    text = other.text;
    return *this;
}

const char* AAX_CString::CString() const { return text.c_str(); }

void AAX_CString::Clear() { text.clear(); }

void AAX_CString::Erase (uint32_t pos, uint32_t n)
{
    if (pos < text.size())
        text.erase (pos, n);
}

void AAX_CString::AppendNumber (double value, int32_t precision)
{
    std::ostringstream stream;
    stream.imbue (std::locale::classic());
    stream.setf (std::ios::fixed, std::ios::floatfield);
    stream.precision (precision < 0 ? 0 : precision);
    stream << value;
    text += stream.str();
}

bool AAX_CString::ToDouble (double* value) const
{
    std::istringstream stream (text);
    stream.imbue (std::locale::classic());
    double parsed = 0.0;

    if (stream >> parsed)
    {
        if (value != nullptr)
            *value = parsed;

        return true;
    }

    if (value != nullptr)
        *value = 0.0;

    return false;
}

bool AAX_CString::operator== (const AAX_CString& other) const
{
    return std::strcmp (text.c_str(), other.text.c_str()) == 0;
}

bool AAX_CString::operator!= (const AAX_CString& other) const { return ! (*this == other); }

char& AAX_CString::operator[] (uint32_t index) { return text[index]; }

} // namespace kelmora::aax
