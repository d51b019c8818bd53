#include "core/OutsideText.h"

#include <cstring>

namespace kelmora::core
{
std::optional<juce::String> OutsideText::fromBytes (const void* data, std::size_t size)
{
    if (data == nullptr || size == 0)
        return juce::String();

    auto* text = static_cast<const char*> (data);

    if (auto* nul = static_cast<const char*> (std::memchr (text, 0, size)))
        size = (std::size_t) (nul - text);

    if (! isStrictUtf8 (text, size))
        return std::nullopt;

    // Checked bytes: JUCE copies them as they are.
    return juce::String (juce::CharPointer_UTF8 (text), juce::CharPointer_UTF8 (text + size));
}

std::optional<juce::String> OutsideText::fromString (const juce::String& text)
{
    // JUCE ends a string it made from bytes with a NUL byte after them all, so the bytes up to
    // the first NUL lie inside its buffer whatever they are.
    const auto* bytes = text.toRawUTF8();
    return fromBytes (bytes, std::strlen (bytes));
}

bool OutsideText::isStrictUtf8 (const char* data, std::size_t size) noexcept
{
    const auto* p = reinterpret_cast<const unsigned char*> (data);
    const auto* end = p + size;

    while (p < end)
    {
        const juce::uint32 lead = *p++;

        if (lead < 0x80)
        {
            if (lead == 0)
                return false;
            continue;
        }

        int more;
        juce::uint32 c;

        if (lead >= 0xc2 && lead <= 0xdf)      { more = 1; c = lead & 0x1f; }
        else if (lead >= 0xe0 && lead <= 0xef) { more = 2; c = lead & 0x0f; }
        else if (lead >= 0xf0 && lead <= 0xf4) { more = 3; c = lead & 0x07; }
        else return false;

        if (end - p < more)
            return false;

        for (int i = 0; i < more; ++i, ++p)
        {
            if ((*p & 0xc0) != 0x80)
                return false;
            c = (c << 6) | (*p & 0x3f);
        }

        const juce::uint32 smallest = more == 1 ? 0x80 : (more == 2 ? 0x800 : 0x10000);

        if (c < smallest || c > 0x10ffff || (c >= 0xd800 && c <= 0xdfff))
            return false;
    }

    return true;
}
} // namespace kelmora::core
