#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>
#include <memory>

namespace kelmora::core
{
/** Safe XML parsing and case-insensitive lookups for the framework's files and states.

    Parsing: every document the framework reads (host states, settings files, preset texts)
    goes through XmlReader, which never recurses and enforces the limits below while it reads:
    a hostile document is refused or read safely, never allowed to overflow the stack or hang.
    The parse functions refuse documents larger than maxDocumentBytes and ignore text after a
    NUL byte; they return null for anything that does not parse.

    Lookups: our formats match tags and attribute names ignoring case. juce::XmlElement's
    attribute lookup is case-sensitive and its hasTagName asserts on a case mismatch, so code in
    core uses these functions instead.

    All functions may be called from any thread on elements that thread owns. */
struct XmlUtils
{
    /** Largest document accepted, in bytes. Our files are a few kilobytes. */
    static constexpr std::size_t maxDocumentBytes = 4 * 1024 * 1024;

    /** Deepest element nesting accepted (the root is level 1). Our formats use at most 5. */
    static constexpr int maxDepth = 32;

    /** Most attributes accepted on one element. Our formats use at most about ten; lookups
        by name cost time quadratic in this number. */
    static constexpr int maxAttributesPerElement = 64;

    /** Most elements and text nodes in one document. Our largest, a state with a full undo
        history, holds about 300. */
    static constexpr int maxNodes = 65536;

    //==============================================================================
    /** Parses a document held in a string. */
    static std::unique_ptr<juce::XmlElement> parseText (const juce::String& text);

    /** Parses UTF-8 bytes (an optional UTF-8 byte-order mark is skipped). */
    static std::unique_ptr<juce::XmlElement> parseBytes (const void* data, std::size_t size);

    /** Reads and parses a file; null when it is missing, not a regular file (a folder, a pipe,
        a device), unreadable or too large (checked before reading it whole). */
    static std::unique_ptr<juce::XmlElement> parseFile (const juce::File& file);

    /** Parses the block that juce::AudioProcessor::copyXmlToBinary writes (magic number, 32-bit
        little-endian length, UTF-8 text); null when the block is not of that form or its length,
        read as a signed 32-bit number, is not positive. */
    static std::unique_ptr<juce::XmlElement> parseBinaryBlock (const void* data, std::size_t size);

    //==============================================================================
    /** True when the element's tag equals tag ignoring case. */
    static bool tagIs (const juce::XmlElement& element, juce::StringRef tag);

    /** The first child element whose tag equals tag ignoring case, or null. */
    static juce::XmlElement* findChild (const juce::XmlElement& parent, juce::StringRef tag);

    /** Index of the first attribute whose name equals name ignoring case, or -1. */
    static int findAttribute (const juce::XmlElement& element, juce::StringRef name);

    /** True when the element has an attribute of that name, ignoring case. */
    static bool hasAttribute (const juce::XmlElement& element, juce::StringRef name);

    /** The attribute's text, or defaultValue when the element has no attribute of that name. */
    static juce::String getAttribute (const juce::XmlElement& element, juce::StringRef name,
                                      const juce::String& defaultValue = {});

    /** The attribute read as an integer (JUCE's rules: leading digits, 0 when none), or
        defaultValue when absent. */
    static int getIntAttribute (const juce::XmlElement& element, juce::StringRef name, int defaultValue);

    /** The attribute read as a double independently of the locale (JUCE's rules: 0 when the text
        holds no number), or defaultValue when absent or when it reads as nan or infinity. */
    static double getDoubleAttribute (const juce::XmlElement& element, juce::StringRef name,
                                      double defaultValue);

    /** The attribute read as a flag: true when its text starts with '1', 't', 'T', 'y' or 'Y'
        (after blanks); defaultValue when absent. */
    static bool getBoolAttribute (const juce::XmlElement& element, juce::StringRef name, bool defaultValue);

    /** Sets an attribute: one that exists under the same name ignoring case keeps its place and
        its spelling and takes the new value; otherwise a new attribute is appended. */
    static void setAttribute (juce::XmlElement& element, juce::StringRef name, const juce::String& value);

    /** As above with an integer written in decimal. */
    static void setAttribute (juce::XmlElement& element, juce::StringRef name, int value);

    /** As above with a double written the way juce::XmlElement::setAttribute writes doubles
        (up to 20 significant digits, independent of the locale). */
    static void setAttribute (juce::XmlElement& element, juce::StringRef name, double value);
};
} // namespace kelmora::core
