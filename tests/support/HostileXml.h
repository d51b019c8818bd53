#pragma once

#include <string>
#include <vector>

namespace quietline::test
{
/** A document crafted against XML readers, and whether a reader must refuse it. */
struct HostileXml
{
    const char* what;
    std::string text;
    bool refused;
};

/** The crafted documents, under the given root tag so that each reaches the reader of a
    particular file or state. Each nesting trick hides 26,000 levels (about 400 kB) from a
    reader that only counts tags. */
inline std::vector<HostileXml> hostileXml (const std::string& root)
{
    const auto repeated = [] (const std::string& s, int n)
    {
        std::string text;
        for (int i = 0; i < n; ++i)
            text += s;
        return text;
    };
    const auto open = "<" + root + ">";
    std::string binary;
    for (int i = 0; i < 100000; ++i)
        binary += (char) ((i * 7919 + 13) & 0xff);

    return {
        { "comment inside start tags", open + repeated ("<n<!--/>-->>", 26000), true },
        { "processing instruction inside start tags", open + repeated ("<n<?p/>?>>", 26000), true },
        { "unquoted value and a stray quote", open + repeated ("<x a=1\">", 26000), true },
        { "elements nested 26,000 deep", open + repeated ("<a>", 26000) + repeated ("</a>", 26000) + "</" + root + ">", true },
        { "processing instruction before text", open + "<?x?>a</" + root + ">", false },
        { "entity declarations", "<!DOCTYPE r [<!ENTITY a \"&a;&a;\">]>" + open + "&a;</" + root + ">", true },
        { "unclosed comment", open + "<!--" + repeated ("<a>", 1000), true },
        { "65,537 empty elements", open + repeated ("<e/>", 65537) + "</" + root + ">", true },
        { "100 kB of binary", binary, true },
    };
}
} // namespace quietline::test
