#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>
#include <optional>

namespace kelmora::core
{
/** Text that comes from outside (the clipboard, a host, a file) made safe where it enters,
    before any string work.

    JUCE turns UTF-8 bytes into a juce::String without checking them: a malformed sequence (a
    lone continuation byte, an overlong NUL) reads as a NUL character inside the string, so
    JUCE's walks by character and by byte disagree on where the string ends, and a search or a
    replace on it reads past its buffer. Text from outside is read here instead: as a C string,
    up to its first NUL byte, and only when that is strict UTF-8. Anything else is refused whole
    (nullopt), like any other text that does not read: a repaired text could load what was
    never written.

    Any thread; nothing shared. */
struct OutsideText
{
    /** The text of size bytes up to the first NUL; nullopt when that is not strict UTF-8. */
    static std::optional<juce::String> fromBytes (const void* data, std::size_t size);

    /** The same for a string JUCE made from outside bytes unchecked (its X11 clipboard does):
        its bytes up to the first NUL, nullopt when they are not strict UTF-8. */
    static std::optional<juce::String> fromString (const juce::String& text);

    /** Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF, no NUL (a
        juce::String would end there). JUCE's own check lets an overlong NUL through. */
    static bool isStrictUtf8 (const char* data, std::size_t size) noexcept;
};
} // namespace kelmora::core
