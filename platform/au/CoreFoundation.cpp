#include "platform/au/CoreFoundation.h"

#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <mutex>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace
{
enum TypeId : CFTypeID { stringType = 7, numberType = 22, dataType = 20, dictionaryType = 18, arrayType = 19 };

constexpr uint32_t objectMagic = 0x43465342;  // tells our objects from stray pointers of other kinds

std::atomic<long> liveObjects { 0 };

struct Object
{
    explicit Object (CFTypeID t) : type (t) { liveObjects.fetch_add (1, std::memory_order_relaxed); }
    virtual ~Object()
    {
        magic = 0;
        if (! immortal)
            liveObjects.fetch_sub (1, std::memory_order_relaxed);
    }

    uint32_t magic = objectMagic;
    CFTypeID type;
    std::atomic<long> references { 1 };
    bool immortal = false;
};

struct String final : Object
{
    explicit String (std::string t) : Object (stringType), text (std::move (t)) {}
    std::string text;
};

struct Number final : Object
{
    Number() : Object (numberType) {}
    bool isFloat = false;
    int64_t integer = 0;
    double real = 0.0;
};

struct Data final : Object
{
    Data() : Object (dataType) {}
    std::vector<UInt8> bytes;
};

struct Dictionary final : Object
{
    Dictionary() : Object (dictionaryType) {}
    ~Dictionary() override
    {
        for (auto& entry : entries)
        {
            if (keyCallBacks.release != nullptr)
                keyCallBacks.release (nullptr, entry.first);
            if (valueCallBacks.release != nullptr)
                valueCallBacks.release (nullptr, entry.second);
        }
    }

    bool keysEqual (const void* a, const void* b) const
    {
        return a == b || (keyCallBacks.equal != nullptr && keyCallBacks.equal (a, b));
    }

    CFDictionaryKeyCallBacks keyCallBacks {};
    CFDictionaryValueCallBacks valueCallBacks {};
    std::vector<std::pair<const void*, const void*>> entries;  // in insertion order
};

struct Array final : Object
{
    Array() : Object (arrayType) {}
    ~Array() override
    {
        if (callBacks.release != nullptr)
            for (auto* value : values)
                callBacks.release (nullptr, value);
    }

    void append (const void* value)
    {
        values.push_back (callBacks.retain != nullptr ? callBacks.retain (nullptr, value) : value);
    }

    CFArrayCallBacks callBacks {};
    std::vector<const void*> values;
};

Object* asObject (CFTypeRef ref)
{
    auto* object = static_cast<Object*> (const_cast<void*> (ref));
    return object != nullptr && object->magic == objectMagic ? object : nullptr;
}

template <typename T>
T* as (CFTypeRef ref, CFTypeID type)
{
    auto* object = asObject (ref);
    return object != nullptr && object->type == type ? static_cast<T*> (object) : nullptr;
}

const void* retainCallBack (CFAllocatorRef, const void* value) { return CFRetain (value); }
void releaseCallBack (CFAllocatorRef, const void* value) { CFRelease (value); }
Boolean equalCallBack (const void* a, const void* b) { return CFEqual (a, b); }
CFHashCode hashCallBack (const void* value) { return reinterpret_cast<CFHashCode> (value); }

double numberAsDouble (const Number& n) { return n.isFloat ? n.real : static_cast<double> (n.integer); }

template <typename Int>
Int saturatingCast (const Number& n)
{
    if (! n.isFloat)
        return static_cast<Int> (n.integer);
    if (std::isnan (n.real))
        return 0;
    if (n.real <= static_cast<double> (std::numeric_limits<Int>::min()))
        return std::numeric_limits<Int>::min();
    if (n.real >= static_cast<double> (std::numeric_limits<Int>::max()))
        return std::numeric_limits<Int>::max();
    return static_cast<Int> (n.real);
}
} // namespace

extern "C" {

const CFArrayCallBacks kCFTypeArrayCallBacks = { 0, retainCallBack, releaseCallBack, nullptr, equalCallBack };
const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks = { 0, retainCallBack, releaseCallBack, nullptr, equalCallBack, hashCallBack };
const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks = { 0, retainCallBack, releaseCallBack, nullptr, equalCallBack };

CFTypeRef CFRetain (CFTypeRef ref)
{
    if (auto* object = asObject (ref); object != nullptr && ! object->immortal)
        object->references.fetch_add (1, std::memory_order_relaxed);
    return ref;
}

void CFRelease (CFTypeRef ref)
{
    auto* object = asObject (ref);
    if (object == nullptr || object->immortal)
        return;
    if (object->references.fetch_sub (1, std::memory_order_acq_rel) == 1)
        delete object;
}

CFIndex CFGetRetainCount (CFTypeRef ref)
{
    auto* object = asObject (ref);
    return object != nullptr ? object->references.load (std::memory_order_relaxed) : 0;
}

CFTypeID CFGetTypeID (CFTypeRef ref)
{
    auto* object = asObject (ref);
    return object != nullptr ? object->type : 0;
}

Boolean CFEqual (CFTypeRef a, CFTypeRef b)
{
    if (a == b)
        return true;
    auto* x = asObject (a);
    auto* y = asObject (b);
    if (x == nullptr || y == nullptr || x->type != y->type)
        return false;

    switch (x->type)
    {
        case stringType: return static_cast<String*> (x)->text == static_cast<String*> (y)->text;
        case dataType: return static_cast<Data*> (x)->bytes == static_cast<Data*> (y)->bytes;
        case numberType:
        {
            auto* m = static_cast<Number*> (x);
            auto* n = static_cast<Number*> (y);
            if (! m->isFloat && ! n->isFloat)
                return m->integer == n->integer;
            return numberAsDouble (*m) == numberAsDouble (*n);
        }
        case dictionaryType:
        {
            auto* m = static_cast<Dictionary*> (x);
            auto* n = static_cast<Dictionary*> (y);
            if (m->entries.size() != n->entries.size())
                return false;
            for (auto& entry : m->entries)
            {
                if (! CFDictionaryContainsKey (static_cast<CFDictionaryRef> (b), entry.first))
                    return false;
                auto* other = CFDictionaryGetValue (static_cast<CFDictionaryRef> (b), entry.first);
                if (! (entry.second == other || (m->valueCallBacks.equal != nullptr && m->valueCallBacks.equal (entry.second, other))))
                    return false;
            }
            return true;
        }
        case arrayType:
        {
            auto* m = static_cast<Array*> (x);
            auto* n = static_cast<Array*> (y);
            if (m->values.size() != n->values.size())
                return false;
            for (size_t i = 0; i < m->values.size(); ++i)
                if (! (m->values[i] == n->values[i] || (m->callBacks.equal != nullptr && m->callBacks.equal (m->values[i], n->values[i]))))
                    return false;
            return true;
        }
        default: return false;
    }
}

long CFStandInLiveObjectCount() { return liveObjects.load (std::memory_order_relaxed); }

CFTypeID CFStringGetTypeID() { return stringType; }

CFStringRef CFStringCreateWithCString (CFAllocatorRef, const char* text, CFStringEncoding)
{
    if (text == nullptr)
        return nullptr;
    return reinterpret_cast<CFStringRef> (static_cast<Object*> (new String (text)));
}

Boolean CFStringGetCString (CFStringRef ref, char* buffer, CFIndex bufferSize, CFStringEncoding)
{
    auto* string = as<String> (ref, stringType);
    if (string == nullptr || buffer == nullptr || bufferSize <= 0
        || string->text.size() >= static_cast<size_t> (bufferSize))
        return false;
    std::memcpy (buffer, string->text.c_str(), string->text.size() + 1);
    return true;
}

CFIndex CFStringGetLength (CFStringRef ref)
{
    auto* string = as<String> (ref, stringType);
    return string != nullptr ? static_cast<CFIndex> (string->text.size()) : 0;
}

CFStringRef CFStringMakeConstantString (const char* text)
{
    static std::mutex lock;
    static auto* constants = new std::map<std::string, String*>();  // never destroyed, like the strings

    std::lock_guard<std::mutex> guard (lock);
    auto& slot = (*constants)[text];
    if (slot == nullptr)
    {
        slot = new String (text);
        slot->immortal = true;
        liveObjects.fetch_sub (1, std::memory_order_relaxed);
    }
    return reinterpret_cast<CFStringRef> (static_cast<Object*> (slot));
}

CFTypeID CFNumberGetTypeID() { return numberType; }

CFNumberRef CFNumberCreate (CFAllocatorRef, CFNumberType type, const void* value)
{
    if (value == nullptr)
        return nullptr;
    auto* number = new Number();
    switch (type)
    {
        case kCFNumberSInt32Type:
        case kCFNumberIntType: { int32_t v; std::memcpy (&v, value, sizeof v); number->integer = v; break; }
        case kCFNumberSInt64Type: { int64_t v; std::memcpy (&v, value, sizeof v); number->integer = v; break; }
        case kCFNumberFloat32Type: { float v; std::memcpy (&v, value, sizeof v); number->isFloat = true; number->real = v; break; }
        case kCFNumberFloat64Type: { double v; std::memcpy (&v, value, sizeof v); number->isFloat = true; number->real = v; break; }
        default: delete number; return nullptr;
    }
    return reinterpret_cast<CFNumberRef> (static_cast<Object*> (number));
}

Boolean CFNumberGetValue (CFNumberRef ref, CFNumberType type, void* out)
{
    auto* number = as<Number> (ref, numberType);
    if (number == nullptr || out == nullptr)
        return false;
    switch (type)
    {
        case kCFNumberSInt32Type:
        case kCFNumberIntType: { auto v = saturatingCast<int32_t> (*number); std::memcpy (out, &v, sizeof v); return true; }
        case kCFNumberSInt64Type: { auto v = saturatingCast<int64_t> (*number); std::memcpy (out, &v, sizeof v); return true; }
        case kCFNumberFloat32Type: { auto v = static_cast<float> (numberAsDouble (*number)); std::memcpy (out, &v, sizeof v); return true; }
        case kCFNumberFloat64Type: { auto v = numberAsDouble (*number); std::memcpy (out, &v, sizeof v); return true; }
        default: return false;
    }
}

CFTypeID CFDataGetTypeID() { return dataType; }

CFDataRef CFDataCreate (CFAllocatorRef, const UInt8* bytes, CFIndex length)
{
    if (length < 0 || (length > 0 && bytes == nullptr))
        return nullptr;
    auto* data = new Data();
    data->bytes.assign (bytes, bytes + length);
    return reinterpret_cast<CFDataRef> (static_cast<Object*> (data));
}

CFMutableDataRef CFDataCreateMutable (CFAllocatorRef, CFIndex capacity)
{
    auto* data = new Data();
    if (capacity > 0)
        data->bytes.reserve (static_cast<size_t> (capacity));
    return reinterpret_cast<CFMutableDataRef> (static_cast<Object*> (data));
}

void CFDataAppendBytes (CFMutableDataRef ref, const UInt8* bytes, CFIndex length)
{
    if (auto* data = as<Data> (ref, dataType); data != nullptr && bytes != nullptr && length > 0)
        data->bytes.insert (data->bytes.end(), bytes, bytes + length);
}

CFIndex CFDataGetLength (CFDataRef ref)
{
    auto* data = as<Data> (ref, dataType);
    return data != nullptr ? static_cast<CFIndex> (data->bytes.size()) : 0;
}

const UInt8* CFDataGetBytePtr (CFDataRef ref)
{
    auto* data = as<Data> (ref, dataType);
    return data != nullptr ? data->bytes.data() : nullptr;
}

CFTypeID CFDictionaryGetTypeID() { return dictionaryType; }

CFMutableDictionaryRef CFDictionaryCreateMutable (CFAllocatorRef, CFIndex,
                                                  const CFDictionaryKeyCallBacks* keyCallBacks,
                                                  const CFDictionaryValueCallBacks* valueCallBacks)
{
    auto* dictionary = new Dictionary();
    if (keyCallBacks != nullptr)
        dictionary->keyCallBacks = *keyCallBacks;
    if (valueCallBacks != nullptr)
        dictionary->valueCallBacks = *valueCallBacks;
    return reinterpret_cast<CFMutableDictionaryRef> (static_cast<Object*> (dictionary));
}

void CFDictionarySetValue (CFMutableDictionaryRef ref, const void* key, const void* value)
{
    auto* dictionary = as<Dictionary> (ref, dictionaryType);
    if (dictionary == nullptr)
        return;

    auto& k = dictionary->keyCallBacks;
    auto& v = dictionary->valueCallBacks;
    const void* retained = v.retain != nullptr ? v.retain (nullptr, value) : value;

    for (auto& entry : dictionary->entries)
    {
        if (dictionary->keysEqual (entry.first, key))
        {
            if (v.release != nullptr)
                v.release (nullptr, entry.second);
            entry.second = retained;
            return;
        }
    }
    dictionary->entries.emplace_back (k.retain != nullptr ? k.retain (nullptr, key) : key, retained);
}

const void* CFDictionaryGetValue (CFDictionaryRef ref, const void* key)
{
    if (auto* dictionary = as<Dictionary> (ref, dictionaryType))
        for (auto& entry : dictionary->entries)
            if (dictionary->keysEqual (entry.first, key))
                return entry.second;
    return nullptr;
}

Boolean CFDictionaryContainsKey (CFDictionaryRef ref, const void* key)
{
    if (auto* dictionary = as<Dictionary> (ref, dictionaryType))
        for (auto& entry : dictionary->entries)
            if (dictionary->keysEqual (entry.first, key))
                return true;
    return false;
}

CFIndex CFDictionaryGetCount (CFDictionaryRef ref)
{
    auto* dictionary = as<Dictionary> (ref, dictionaryType);
    return dictionary != nullptr ? static_cast<CFIndex> (dictionary->entries.size()) : 0;
}

void CFDictionaryGetKeysAndValues (CFDictionaryRef ref, const void** keys, const void** values)
{
    auto* dictionary = as<Dictionary> (ref, dictionaryType);
    if (dictionary == nullptr)
        return;
    for (size_t i = 0; i < dictionary->entries.size(); ++i)
    {
        if (keys != nullptr)
            keys[i] = dictionary->entries[i].first;
        if (values != nullptr)
            values[i] = dictionary->entries[i].second;
    }
}

CFTypeID CFArrayGetTypeID() { return arrayType; }

CFMutableArrayRef CFArrayCreateMutable (CFAllocatorRef, CFIndex, const CFArrayCallBacks* callBacks)
{
    auto* array = new Array();
    if (callBacks != nullptr)
        array->callBacks = *callBacks;
    return reinterpret_cast<CFMutableArrayRef> (static_cast<Object*> (array));
}

CFArrayRef CFArrayCreate (CFAllocatorRef allocator, const void** values, CFIndex count, const CFArrayCallBacks* callBacks)
{
    if (count < 0 || (count > 0 && values == nullptr))
        return nullptr;
    auto array = CFArrayCreateMutable (allocator, count, callBacks);
    for (CFIndex i = 0; i < count; ++i)
        CFArrayAppendValue (array, values[i]);
    return array;
}

void CFArrayAppendValue (CFMutableArrayRef ref, const void* value)
{
    if (auto* array = as<Array> (ref, arrayType))
        array->append (value);
}

CFIndex CFArrayGetCount (CFArrayRef ref)
{
    auto* array = as<Array> (ref, arrayType);
    return array != nullptr ? static_cast<CFIndex> (array->values.size()) : 0;
}

const void* CFArrayGetValueAtIndex (CFArrayRef ref, CFIndex index)
{
    auto* array = as<Array> (ref, arrayType);
    if (array == nullptr || index < 0 || static_cast<size_t> (index) >= array->values.size())
        return nullptr;
    return array->values[static_cast<size_t> (index)];
}

CFPropertyListRef CFPropertyListCreateDeepCopy (CFAllocatorRef allocator, CFPropertyListRef list, CFOptionFlags options)
{
    auto* object = asObject (list);
    if (object == nullptr)
        return nullptr;

    switch (object->type)
    {
        case stringType:
            return CFStringCreateWithCString (allocator, static_cast<String*> (object)->text.c_str(), kCFStringEncodingUTF8);
        case numberType:
        {
            auto* source = static_cast<Number*> (object);
            auto* copy = new Number();
            copy->isFloat = source->isFloat;
            copy->integer = source->integer;
            copy->real = source->real;
            return static_cast<Object*> (copy);
        }
        case dataType:
        {
            auto& bytes = static_cast<Data*> (object)->bytes;
            return CFDataCreate (allocator, bytes.data(), static_cast<CFIndex> (bytes.size()));
        }
        case dictionaryType:
        {
            auto* source = static_cast<Dictionary*> (object);
            auto copy = CFDictionaryCreateMutable (allocator, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
            for (auto& entry : source->entries)
            {
                auto key = CFPropertyListCreateDeepCopy (allocator, entry.first, options);
                auto value = CFPropertyListCreateDeepCopy (allocator, entry.second, options);
                if (key != nullptr && value != nullptr)
                    CFDictionarySetValue (copy, key, value);
                CFRelease (key);
                CFRelease (value);
            }
            return copy;
        }
        case arrayType:
        {
            auto* source = static_cast<Array*> (object);
            auto copy = CFArrayCreateMutable (allocator, 0, &kCFTypeArrayCallBacks);
            for (auto* value : source->values)
            {
                if (auto element = CFPropertyListCreateDeepCopy (allocator, value, options))
                {
                    CFArrayAppendValue (copy, element);
                    CFRelease (element);
                }
            }
            return copy;
        }
        default: return nullptr;
    }
}

}
