#include "core/XmlUtils.h"

#include "core/XmlReader.h"

#include <cmath>
#include <cstring>
#include <filesystem>

namespace kelmora::core
{
std::unique_ptr<juce::XmlElement> XmlUtils::parseBytes (const void* data, std::size_t size)
{
    if (data == nullptr || size == 0 || size > maxDocumentBytes)
        return {};

    auto* text = static_cast<const char*> (data);

    // Like every C string reader, stop at a NUL byte.
    if (auto* nul = static_cast<const char*> (std::memchr (text, 0, size)))
        size = (std::size_t) (nul - text);

    if (size >= 3 && juce::CharPointer_UTF8::isByteOrderMark (text))
    {
        text += 3;
        size -= 3;
    }

    return XmlReader::read (text, size, { maxDepth, maxAttributesPerElement, maxNodes });
}

std::unique_ptr<juce::XmlElement> XmlUtils::parseText (const juce::String& text)
{
    return parseBytes (text.toRawUTF8(), text.getNumBytesAsUTF8());
}

std::unique_ptr<juce::XmlElement> XmlUtils::parseFile (const juce::File& file)
{
    // Only regular files: opening a named pipe or a device would block or never end.
    std::error_code error;

    if (! std::filesystem::is_regular_file (file.getFullPathName().toStdString(), error)
        || file.getSize() > (juce::int64) maxDocumentBytes)
        return {};

    juce::FileInputStream in (file);

    if (! in.openedOk())
        return {};

    // Read to the end of what was opened. JUCE's stream sizes itself from the path, so an
    // instance that replaces the file meanwhile with a shorter one would cut this read short.
    // The file may also grow: never read more than the limit.
    juce::MemoryOutputStream bytes;
    char buffer[8192];

    for (int read; (read = in.read (buffer, (int) sizeof (buffer))) > 0;)
    {
        bytes.write (buffer, (size_t) read);

        if (bytes.getDataSize() > maxDocumentBytes)
            return {};
    }

    if (bytes.getDataSize() == 0)
        return {};

    return parseBytes (bytes.getData(), bytes.getDataSize());
}

std::unique_ptr<juce::XmlElement> XmlUtils::parseBinaryBlock (const void* data, std::size_t size)
{
    constexpr juce::uint32 magicXmlNumber = 0x21324356;

    if (data == nullptr || size <= 8 || juce::ByteOrder::littleEndianInt (data) != magicXmlNumber)
        return {};

    // The length is a signed 32-bit number: one with the top bit set is no length at all.
    const auto length = (juce::int32) juce::ByteOrder::littleEndianInt (juce::addBytesToPointer (data, 4));

    if (length <= 0)
        return {};

    return parseBytes (juce::addBytesToPointer (data, 8), juce::jmin (size - 8, (std::size_t) length));
}

//==============================================================================
bool XmlUtils::tagIs (const juce::XmlElement& element, juce::StringRef tag)
{
    return element.getTagName().equalsIgnoreCase (tag);
}

juce::XmlElement* XmlUtils::findChild (const juce::XmlElement& parent, juce::StringRef tag)
{
    for (auto* child = parent.getFirstChildElement(); child != nullptr; child = child->getNextElement())
        if (! child->isTextElement() && tagIs (*child, tag))
            return child;

    return nullptr;
}

int XmlUtils::findAttribute (const juce::XmlElement& element, juce::StringRef name)
{
    const auto count = element.getNumAttributes();

    for (int i = 0; i < count; ++i)
        if (element.getAttributeName (i).equalsIgnoreCase (name))
            return i;

    return -1;
}

bool XmlUtils::hasAttribute (const juce::XmlElement& element, juce::StringRef name)
{
    return findAttribute (element, name) >= 0;
}

juce::String XmlUtils::getAttribute (const juce::XmlElement& element, juce::StringRef name,
                                     const juce::String& defaultValue)
{
    const auto index = findAttribute (element, name);
    return index >= 0 ? element.getAttributeValue (index) : defaultValue;
}

int XmlUtils::getIntAttribute (const juce::XmlElement& element, juce::StringRef name, int defaultValue)
{
    const auto index = findAttribute (element, name);
    return index >= 0 ? element.getAttributeValue (index).getIntValue() : defaultValue;
}

double XmlUtils::getDoubleAttribute (const juce::XmlElement& element, juce::StringRef name,
                                     double defaultValue)
{
    const auto index = findAttribute (element, name);

    if (index < 0)
        return defaultValue;

    const auto v = element.getAttributeValue (index).getDoubleValue();
    return std::isfinite (v) ? v : defaultValue;
}

bool XmlUtils::getBoolAttribute (const juce::XmlElement& element, juce::StringRef name, bool defaultValue)
{
    const auto index = findAttribute (element, name);

    if (index < 0)
        return defaultValue;

    const auto first = element.getAttributeValue (index).trimStart()[0];
    return first == '1' || first == 't' || first == 'T' || first == 'y' || first == 'Y';
}

void XmlUtils::setAttribute (juce::XmlElement& element, juce::StringRef name, const juce::String& value)
{
    const auto index = findAttribute (element, name);
    const juce::Identifier attributeName (index >= 0 ? element.getAttributeName (index) : juce::String (name));
    element.setAttribute (attributeName, value);
}

void XmlUtils::setAttribute (juce::XmlElement& element, juce::StringRef name, int value)
{
    setAttribute (element, name, juce::String (value));
}

void XmlUtils::setAttribute (juce::XmlElement& element, juce::StringRef name, double value)
{
    const auto index = findAttribute (element, name);
    const juce::Identifier attributeName (index >= 0 ? element.getAttributeName (index) : juce::String (name));
    element.setAttribute (attributeName, value);
}
} // namespace kelmora::core
