#include "core/XmlReader.h"

#include "core/OutsideText.h"

#include <cstring>
#include <string>
#include <vector>

namespace kelmora::core
{
namespace
{
bool isBlank (char c) noexcept { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool isNameByte (char c) noexcept
{
    const auto u = (unsigned char) c;
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9')
           || u == '_' || u == '-' || u == ':' || u == '.' || u >= 0x80;
}

bool isCharacter (juce::uint32 c) noexcept
{
    return c != 0 && c <= 0x10ffff && (c < 0xd800 || c > 0xdfff);
}

bool isValidUtf8 (const std::string& s) noexcept
{
    return OutsideText::isStrictUtf8 (s.data(), s.size());
}

void appendUtf8 (std::string& out, juce::uint32 c)
{
    if (c < 0x80)
    {
        out += (char) c;
    }
    else if (c < 0x800)
    {
        out += (char) (0xc0 | (c >> 6));
        out += (char) (0x80 | (c & 0x3f));
    }
    else if (c < 0x10000)
    {
        out += (char) (0xe0 | (c >> 12));
        out += (char) (0x80 | ((c >> 6) & 0x3f));
        out += (char) (0x80 | (c & 0x3f));
    }
    else
    {
        out += (char) (0xf0 | (c >> 18));
        out += (char) (0x80 | ((c >> 12) & 0x3f));
        out += (char) (0x80 | ((c >> 6) & 0x3f));
        out += (char) (0x80 | (c & 0x3f));
    }
}

char lowerAscii (char c) noexcept { return c >= 'A' && c <= 'Z' ? (char) (c - 'A' + 'a') : c; }

bool equalsIgnoringAsciiCase (const char* a, const char* b, std::size_t length) noexcept
{
    for (std::size_t i = 0; i < length; ++i)
        if (lowerAscii (a[i]) != lowerAscii (b[i]))
            return false;

    return true;
}

juce::String toString (const std::string& utf8)
{
    return juce::String::fromUTF8 (utf8.data(), (int) utf8.size());
}

class Reader
{
public:
    Reader (const char* text, std::size_t size, const XmlReader::Limits& l) noexcept
        : p (text), end (text + size), limits (l) {}

    std::unique_ptr<juce::XmlElement> run()
    {
        if (! skipProlog() || p == end || *p != '<')
            return {};

        if (! startElement())
            return {};

        while (! open.empty())
        {
            if (p == end)
                return {}; // an element left open

            if (*p != '<')
                readText();
            else if (startsWith ("<!--"))
            {
                if (! skipPast ("-->", 4))
                    return {};
            }
            else if (startsWith ("<?"))
            {
                if (! skipPast ("?>", 2))
                    return {};
            }
            else if (startsWith ("<![CDATA["))
            {
                if (! readCData())
                    return {};
            }
            else if (startsWith ("<!"))
                return {}; // no DTD inside content either
            else if (startsWith ("</"))
            {
                if (! endElement())
                    return {};
            }
            else if (! startElement())
                return {};
        }

        return std::move (root);
    }

private:
    struct OpenElement
    {
        std::unique_ptr<juce::XmlElement> element;
        std::string tag;
        std::vector<std::unique_ptr<juce::XmlElement>> children;
        std::string text;
        bool damaged = false;
    };

    const char* p;
    const char* const end;
    const XmlReader::Limits limits;
    int nodes = 0;
    std::vector<OpenElement> open;
    std::unique_ptr<juce::XmlElement> root;

    bool startsWith (const char* prefix) const noexcept
    {
        const auto length = std::strlen (prefix);
        return (std::size_t) (end - p) >= length && std::memcmp (p, prefix, length) == 0;
    }

    void skipBlanks() noexcept
    {
        while (p < end && isBlank (*p))
            ++p;
    }

    // Moves past the first `closer` found at least `from` bytes on; false when there is none.
    bool skipPast (const char* closer, std::size_t from) noexcept
    {
        const auto length = std::strlen (closer);

        for (const char* q = p + from; q + length <= end; ++q)
        {
            if (std::memcmp (q, closer, length) == 0)
            {
                p = q + length;
                return true;
            }
        }

        return false;
    }

    bool countNode() noexcept { return ++nodes <= limits.maxNodes; }

    // Before the root: blanks, the declaration, comments and processing instructions only.
    bool skipProlog() noexcept
    {
        for (;;)
        {
            skipBlanks();

            if (startsWith ("<?"))
            {
                if (! skipPast ("?>", 2))
                    return false;
            }
            else if (startsWith ("<!--"))
            {
                if (! skipPast ("-->", 4))
                    return false;
            }
            else
            {
                return ! startsWith ("<!");
            }
        }
    }

    std::string readName()
    {
        const char* start = p;

        while (p < end && isNameByte (*p))
            ++p;

        return std::string (start, p);
    }

    // At '&': appends the character it stands for. False for a reference to no character.
    bool readEntity (std::string& out)
    {
        static constexpr struct { const char* name; char c; } named[] = {
            { "amp;", '&' }, { "lt;", '<' }, { "gt;", '>' }, { "quot;", '"' }, { "apos;", '\'' }
        };

        ++p;

        for (const auto& n : named)
        {
            const auto length = std::strlen (n.name);

            if ((std::size_t) (end - p) >= length && equalsIgnoringAsciiCase (p, n.name, length))
            {
                p += length;
                out += n.c;
                return true;
            }
        }

        if (p == end || *p != '#')
        {
            out += '&'; // not an entity we know: the text stays as written
            return true;
        }

        ++p;
        const bool hex = p < end && (*p == 'x' || *p == 'X');
        if (hex)
            ++p;

        juce::uint32 c = 0;
        int digits = 0;

        for (; p < end && *p != ';'; ++p, ++digits)
        {
            const int d = juce::CharacterFunctions::getHexDigitValue ((juce::juce_wchar) (unsigned char) *p);

            if (d < 0 || (! hex && d > 9) || digits >= 8)
                return false;

            c = c * (hex ? 16u : 10u) + (juce::uint32) d;
        }

        if (p == end || digits == 0 || ! isCharacter (c))
            return false;

        ++p;
        appendUtf8 (out, c);
        return true;
    }

    void readText()
    {
        auto& current = open.back();

        while (p < end && *p != '<')
        {
            if (*p == '&')
            {
                if (! readEntity (current.text))
                    current.damaged = true;
            }
            else if (*p == '\r')
            {
                current.text += '\n';
                ++p;
                if (p < end && *p == '\n')
                    ++p;
            }
            else
            {
                current.text += *p++;
            }
        }
    }

    // Text made only of blanks is dropped, like juce::XmlDocument does.
    bool flushText (OpenElement& e)
    {
        bool blank = true;

        for (auto c : e.text)
            blank = blank && isBlank (c);

        if (! blank)
        {
            if (! countNode())
                return false;

            if (isValidUtf8 (e.text))
                e.children.emplace_back (juce::XmlElement::createTextElement (toString (e.text)));
            else
                e.damaged = true;
        }

        e.text.clear();
        return true;
    }

    bool readCData()
    {
        auto& current = open.back();
        const char* start = p + 9;

        if (! flushText (current) || ! skipPast ("]]>", 9) || ! countNode())
            return false;

        const std::string text (start, p - 3);

        if (isValidUtf8 (text))
            current.children.emplace_back (juce::XmlElement::createTextElement (toString (text)));
        else
            current.damaged = true;

        return true;
    }

    bool startElement()
    {
        if (! open.empty() && ! flushText (open.back()))
            return false;

        ++p;
        OpenElement e;
        e.tag = readName();

        if (e.tag.empty() || (int) open.size() >= limits.maxDepth || ! countNode())
            return false;

        e.damaged = ! isValidUtf8 (e.tag);
        e.element = std::make_unique<juce::XmlElement> (e.damaged ? juce::String ("x") : toString (e.tag));
        int attributes = 0;

        for (;;)
        {
            skipBlanks();

            if (p == end)
                return false;

            if (startsWith ("/>"))
            {
                p += 2;
                return finish (std::move (e));
            }

            if (*p == '>')
            {
                ++p;
                open.push_back (std::move (e));
                return true;
            }

            const auto name = readName();
            skipBlanks();

            if (name.empty() || ++attributes > limits.maxAttributesPerElement || p == end || *p != '=')
                return false;

            ++p;
            skipBlanks();

            if (p == end || (*p != '"' && *p != '\''))
                return false;

            const char quote = *p++;
            std::string value;
            bool valueDamaged = false;

            while (p < end && *p != quote)
            {
                if (*p == '&')
                    valueDamaged = ! readEntity (value) || valueDamaged;
                else
                    value += *p++;
            }

            if (p == end)
                return false;

            ++p;

            if (valueDamaged || ! isValidUtf8 (name) || ! isValidUtf8 (value))
                e.damaged = true;
            else if (! e.element->hasAttribute (toString (name)))
                e.element->setAttribute (juce::Identifier (toString (name)), toString (value));
        }
    }

    bool endElement()
    {
        p += 2;
        const auto name = readName();
        skipBlanks();

        const auto& tag = open.back().tag;

        if (p == end || *p != '>' || name.size() != tag.size()
            || ! equalsIgnoringAsciiCase (name.data(), tag.data(), name.size()))
            return false;

        ++p;
        auto e = std::move (open.back());
        open.pop_back();
        return finish (std::move (e));
    }

    // Hands a complete element to its parent (or makes it the root); a damaged one is dropped.
    bool finish (OpenElement e)
    {
        if (! flushText (e))
            return false;

        // Prepending keeps this linear: appending walks the whole list of children each time.
        for (auto child = e.children.rbegin(); child != e.children.rend(); ++child)
            e.element->prependChildElement (child->release());

        if (open.empty())
        {
            if (e.damaged)
                return false;

            root = std::move (e.element);
        }
        else if (! e.damaged)
        {
            open.back().children.push_back (std::move (e.element));
        }

        return true;
    }
};
} // namespace

std::unique_ptr<juce::XmlElement> XmlReader::read (const char* text, std::size_t size, const Limits& limits)
{
    if (text == nullptr)
        return {};

    return Reader (text, size, limits).run();
}
} // namespace kelmora::core
