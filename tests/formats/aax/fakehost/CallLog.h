#pragma once

// The fake host's record of every call the plug-in made on a host object: which interface, which
// method number and the arguments, each written as text (texts quoted, null pointers as "null",
// host objects by their fake name, byte payloads in hex). Safe to append from several threads.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class IACFUnknown;

namespace quietline::test::aax
{
struct Call
{
    std::string interface;   // "controller", "collection", "propertyMap", ...
    int method = 0;          // the protocol's method number
    std::vector<std::string> args;
};

class CallLog
{
public:
    void add (std::string interface, int method, std::vector<std::string> args = {});

    std::vector<Call> calls() const;
    std::vector<Call> calls (const std::string& interface) const;
    std::vector<Call> calls (const std::string& interface, int method) const;
    size_t count (const std::string& interface, int method) const;
    size_t size() const;
    void clear();

private:
    mutable std::mutex lock;
    std::vector<Call> entries;
};

// Argument formatting shared by the fakes.
std::string arg (const char* text);
std::string arg (double value);
std::string arg (int64_t value);
std::string arg (uint64_t value);
inline std::string arg (int32_t value) { return arg (static_cast<int64_t> (value)); }
inline std::string arg (uint32_t value) { return arg (static_cast<uint64_t> (value)); }
inline std::string arg (bool value) { return value ? "true" : "false"; }
std::string argObject (IACFUnknown* object);   // "null", a fake's name, or "foreign"
std::string argPointer (const void* pointer);  // "null" or "ptr"
std::string argBytes (const void* data, uint32_t size);
} // namespace quietline::test::aax
