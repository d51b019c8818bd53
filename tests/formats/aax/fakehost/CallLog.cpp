#include "formats/aax/fakehost/CallLog.h"

#include "formats/aax/fakehost/FakeObject.h"

#include <cstdio>

namespace quietline::test::aax
{
void CallLog::add (std::string interface, int method, std::vector<std::string> args)
{
    std::lock_guard<std::mutex> guard (lock);
    entries.push_back ({ std::move (interface), method, std::move (args) });
}

std::vector<Call> CallLog::calls() const
{
    std::lock_guard<std::mutex> guard (lock);
    return entries;
}

std::vector<Call> CallLog::calls (const std::string& interface) const
{
    std::lock_guard<std::mutex> guard (lock);
    std::vector<Call> result;

    for (const auto& call : entries)
        if (call.interface == interface)
            result.push_back (call);

    return result;
}

std::vector<Call> CallLog::calls (const std::string& interface, int method) const
{
    std::lock_guard<std::mutex> guard (lock);
    std::vector<Call> result;

    for (const auto& call : entries)
        if (call.interface == interface && call.method == method)
            result.push_back (call);

    return result;
}

size_t CallLog::count (const std::string& interface, int method) const
{
    return calls (interface, method).size();
}

size_t CallLog::size() const
{
    std::lock_guard<std::mutex> guard (lock);
    return entries.size();
}

void CallLog::clear()
{
    std::lock_guard<std::mutex> guard (lock);
    entries.clear();
}

std::string arg (const char* text)
{
    return text == nullptr ? std::string ("null") : "\"" + std::string (text) + "\"";
}

std::string arg (double value)
{
    char buffer[64];
    std::snprintf (buffer, sizeof (buffer), "%.17g", value);
    return buffer;
}

std::string arg (int64_t value) { return std::to_string (value); }

std::string arg (uint64_t value) { return std::to_string (value); }

std::string argObject (IACFUnknown* object)
{
    if (object == nullptr)
        return "null";

    if (auto* fake = dynamic_cast<FakeCounted*> (object))
        return fake->name();

    return "foreign";
}

std::string argPointer (const void* pointer) { return pointer == nullptr ? "null" : "ptr"; }

std::string argBytes (const void* data, uint32_t size)
{
    if (data == nullptr)
        return "null";

    static const char digits[] = "0123456789abcdef";
    std::string text;
    const auto* bytes = static_cast<const uint8_t*> (data);

    for (uint32_t i = 0; i < size; ++i)
    {
        if (i > 0)
            text += ' ';

        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }

    return text;
}
} // namespace quietline::test::aax
