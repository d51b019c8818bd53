#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>
#include <memory>

namespace kelmora::core
{
/** Reads untrusted XML text into a juce::XmlElement tree, bounded by construction.

    One loop over the bytes with an explicit stack of open elements, so neither reading nor
    building the tree recurses; every step consumes input, so it always ends. The limits are
    enforced while reading, not guessed beforehand, so no structure can hide nesting from them.

    What it reads: an optional XML declaration, comments and processing instructions (skipped
    wherever content may stand), elements with quoted attribute values, character data with the
    five named entities and numeric character references, and CDATA sections. It refuses, with
    null: a DTD, a construct it does not know (a comment inside a tag, an unquoted value), an
    unclosed or mismatched element, content before the root element and any limit exceeded.
    Content after the root element is ignored.

    Text follows juce::XmlDocument: text made only of blanks between elements is dropped,
    line ends in character data become "\n", attribute values keep their characters as they
    stand, and an unknown named entity stays as written. Of attributes repeated under the same
    name the first counts.

    Damage: an element whose tag, attributes or own text hold bytes that are not UTF-8, or a
    character reference to no character, is left out of the tree with everything inside it, so
    one damaged entry costs only that entry; when it is the root, the document is refused.

    Any thread; nothing shared. */
class XmlReader
{
public:
    /** The bounds a document must keep. */
    struct Limits
    {
        int maxDepth;                   ///< deepest element nesting, the root being level 1
        int maxAttributesPerElement;    ///< attributes on one element
        int maxNodes;                   ///< elements and text nodes in the whole document
    };

    /** The tree of the root element, or null (see the class notes). `text` is `size` bytes of
        UTF-8 without a byte-order mark; a NUL byte counts as an ordinary (damaging) byte. */
    static std::unique_ptr<juce::XmlElement> read (const char* text, std::size_t size, const Limits& limits);
};
} // namespace kelmora::core
