#include "platform/au/CoreFoundation.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <mutex>
#include <new>
#include <string>
#include <utility>

// A host and each module it loads link their own copy of this stand-in, and objects pass between
// them (a module's class-info dictionary, a host's preset name): every copy works on every
// object, whichever copy made it. So an object is a plain record of the layout below, from
// malloc, that points at no copy's code or data: no vtable, no callbacks of a copy, no constants
// of a copy. A host may keep what a module gave it after the module is unloaded.
namespace
{
enum TypeId : CFTypeID { stringType = 7, numberType = 22, dataType = 20, dictionaryType = 18, arrayType = 19 };

constexpr uint32_t layoutTag = 0x43463032;  // names this layout; tells our objects from stray pointers

std::atomic<long> liveObjects { 0 };  // made minus destroyed by this copy, constants excluded

struct Header
{
    uint32_t tag;
    uint32_t type;
    std::atomic<long> references;
    std::atomic<uint32_t> constant;  // see the constant strings below
};

struct String
{
    Header header;
    CFIndex length;  // the UTF-8 text and its terminator follow the record
};

struct Number
{
    Header header;
    uint32_t isFloat;
    int64_t integer;
    double real;
};

struct Data
{
    Header header;
    CFIndex length, capacity;
    UInt8* bytes;
};

// What a container does to what it holds. The platform's callbacks for CF objects are kept as a
// flag, so any copy releases the container with its own functions; other callbacks are called as
// given and must outlive the container.
struct CallBacks
{
    uint32_t cfTypes;
    CFRetainCallBack retain;
    CFReleaseCallBack release;
    CFEqualCallBack equal;
};

struct Entry
{
    const void* key;
    const void* value;
};

struct Dictionary
{
    Header header;
    CallBacks keyCallBacks, valueCallBacks;
    CFIndex count, capacity;
    Entry* entries;  // in insertion order
};

struct Array
{
    Header header;
    CallBacks callBacks;
    CFIndex count, capacity;
    const void** values;
};

const void* retainCallBack (CFAllocatorRef, const void* value) { return CFRetain (value); }
void releaseCallBack (CFAllocatorRef, const void* value) { CFRelease (value); }
Boolean equalCallBack (const void* a, const void* b) { return CFEqual (a, b); }
CFHashCode hashCallBack (const void* value) { return reinterpret_cast<CFHashCode> (value); }

template <typename Given>
CallBacks From (const Given* given)
{
    if (given == nullptr)
        return {};
    if (given->retain == retainCallBack && given->release == releaseCallBack && given->equal == equalCallBack)
        return { 1, nullptr, nullptr, nullptr };
    return { 0, given->retain, given->release, given->equal };
}

const void* Retain (const CallBacks& c, const void* value)
{
    return c.cfTypes != 0 ? CFRetain (value) : c.retain != nullptr ? c.retain (nullptr, value) : value;
}

void Release (const CallBacks& c, const void* value)
{
    if (c.cfTypes != 0)
        CFRelease (value);
    else if (c.release != nullptr)
        c.release (nullptr, value);
}

bool Equal (const CallBacks& c, const void* a, const void* b)
{
    return a == b || (c.cfTypes != 0 ? CFEqual (a, b) != 0 : c.equal != nullptr && c.equal (a, b) != 0);
}

Header* AsObject (CFTypeRef ref)
{
    auto* header = static_cast<Header*> (const_cast<void*> (ref));
    return header != nullptr && header->tag == layoutTag ? header : nullptr;
}

template <typename T>
T* As (CFTypeRef ref, TypeId type)
{
    auto* header = AsObject (ref);
    return header != nullptr && header->type == type ? reinterpret_cast<T*> (header) : nullptr;
}

// Null when memory runs out.
template <typename T>
T* Make (TypeId type, size_t extra = 0)
{
    auto* object = static_cast<T*> (std::malloc (sizeof (T) + extra));
    if (object == nullptr)
        return nullptr;
    new (object) T {};
    object->header.tag = layoutTag;
    object->header.type = type;
    object->header.references.store (1, std::memory_order_relaxed);
    liveObjects.fetch_add (1, std::memory_order_relaxed);
    return object;
}

char* Text (String* string) { return reinterpret_cast<char*> (string + 1); }

String* MakeString (const char* text, size_t length)
{
    if (length >= size_t (std::numeric_limits<CFIndex>::max()))
        return nullptr;
    auto* string = Make<String> (stringType, length + 1);
    if (string != nullptr)
    {
        string->length = CFIndex (length);
        std::memcpy (Text (string), text, length);
        Text (string)[length] = 0;
    }
    return string;
}

// Room for `needed` items; false (nothing changed) when there is none.
template <typename Item>
bool Reserve (Item*& items, CFIndex& capacity, CFIndex needed)
{
    if (needed <= capacity)
        return true;
    const CFIndex most = CFIndex (std::numeric_limits<CFIndex>::max() / CFIndex (sizeof (Item)));
    if (needed > most)
        return false;
    const CFIndex grown = capacity > most / 2 ? most : std::max<CFIndex> ({ needed, capacity * 2, 4 });
    auto* moved = static_cast<Item*> (std::realloc (items, size_t (grown) * sizeof (Item)));
    if (moved == nullptr)
        return false;
    items = moved;
    capacity = grown;
    return true;
}

void Destroy (Header* header)
{
    switch (header->type)
    {
        case dataType: std::free (reinterpret_cast<Data*> (header)->bytes); break;
        case dictionaryType:
        {
            auto* dictionary = reinterpret_cast<Dictionary*> (header);
            for (CFIndex i = 0; i < dictionary->count; ++i)
            {
                Release (dictionary->keyCallBacks, dictionary->entries[i].key);
                Release (dictionary->valueCallBacks, dictionary->entries[i].value);
            }
            std::free (dictionary->entries);
            break;
        }
        case arrayType:
        {
            auto* array = reinterpret_cast<Array*> (header);
            for (CFIndex i = 0; i < array->count; ++i)
                Release (array->callBacks, array->values[i]);
            std::free (array->values);
            break;
        }
        default: break;
    }
    header->tag = 0;
    liveObjects.fetch_sub (1, std::memory_order_relaxed);
    std::free (header);
}

CFIndex Find (const Dictionary& dictionary, const void* key)
{
    for (CFIndex i = 0; i < dictionary.count; ++i)
        if (Equal (dictionary.keyCallBacks, dictionary.entries[i].key, key))
            return i;
    return -1;
}

double NumberAsDouble (const Number& n) { return n.isFloat != 0 ? n.real : static_cast<double> (n.integer); }

template <typename Int>
Int SaturatingCast (const Number& n)
{
    if (n.isFloat == 0)
        return static_cast<Int> (n.integer);
    if (std::isnan (n.real))
        return 0;
    if (n.real <= static_cast<double> (std::numeric_limits<Int>::min()))
        return std::numeric_limits<Int>::min();
    if (n.real >= static_cast<double> (std::numeric_limits<Int>::max()))
        return std::numeric_limits<Int>::max();
    return static_cast<Int> (n.real);
}

// Constant strings: one per text in each copy, which ignores releases nobody retained while the
// copy is loaded. They count references all the same, so when the copy goes (a module's dlclose,
// a program's exit) it hands them over: each becomes an ordinary object that lives while someone
// holds it, as the keys of a module's class-info dictionary that a host keeps.
std::mutex constantsLock;
std::map<std::string, String*>* constants = nullptr;

struct HandOverConstants
{
    ~HandOverConstants()
    {
        const std::lock_guard<std::mutex> guard (constantsLock);
        if (constants == nullptr)
            return;
        for (auto& entry : *constants)
        {
            liveObjects.fetch_add (1, std::memory_order_relaxed);
            entry.second->header.constant.store (0, std::memory_order_release);
            CFRelease (entry.second);
        }
        delete std::exchange (constants, nullptr);
    }
} handOverAtUnload;
} // namespace

extern "C" {

const CFArrayCallBacks kCFTypeArrayCallBacks = { 0, retainCallBack, releaseCallBack, nullptr, equalCallBack };
const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks = { 0, retainCallBack, releaseCallBack, nullptr, equalCallBack, hashCallBack };
const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks = { 0, retainCallBack, releaseCallBack, nullptr, equalCallBack };

CFTypeRef CFRetain (CFTypeRef ref)
{
    if (auto* object = AsObject (ref))
        object->references.fetch_add (1, std::memory_order_relaxed);
    return ref;
}

void CFRelease (CFTypeRef ref)
{
    auto* object = AsObject (ref);
    if (object == nullptr)
        return;
    for (;;)
    {
        if (object->constant.load (std::memory_order_acquire) == 0)
        {
            if (object->references.fetch_sub (1, std::memory_order_acq_rel) == 1)
                Destroy (object);
            return;
        }
        // A constant keeps the reference of the copy that made it.
        auto count = object->references.load (std::memory_order_relaxed);
        if (count <= 1 || object->references.compare_exchange_weak (count, count - 1, std::memory_order_acq_rel))
            return;
    }
}

CFIndex CFGetRetainCount (CFTypeRef ref)
{
    auto* object = AsObject (ref);
    return object != nullptr ? object->references.load (std::memory_order_relaxed) : 0;
}

CFTypeID CFGetTypeID (CFTypeRef ref)
{
    auto* object = AsObject (ref);
    return object != nullptr ? object->type : 0;
}

Boolean CFEqual (CFTypeRef a, CFTypeRef b)
{
    if (a == b)
        return true;
    auto* x = AsObject (a);
    auto* y = AsObject (b);
    if (x == nullptr || y == nullptr || x->type != y->type)
        return false;

    switch (x->type)
    {
        case stringType:
        {
            auto* m = reinterpret_cast<String*> (x);
            auto* n = reinterpret_cast<String*> (y);
            return m->length == n->length && std::memcmp (Text (m), Text (n), size_t (m->length)) == 0;
        }
        case dataType:
        {
            auto* m = reinterpret_cast<Data*> (x);
            auto* n = reinterpret_cast<Data*> (y);
            return m->length == n->length && (m->length == 0 || std::memcmp (m->bytes, n->bytes, size_t (m->length)) == 0);
        }
        case numberType:
        {
            auto* m = reinterpret_cast<Number*> (x);
            auto* n = reinterpret_cast<Number*> (y);
            if (m->isFloat == 0 && n->isFloat == 0)
                return m->integer == n->integer;
            return NumberAsDouble (*m) == NumberAsDouble (*n);
        }
        case dictionaryType:
        {
            auto* m = reinterpret_cast<Dictionary*> (x);
            auto* n = reinterpret_cast<Dictionary*> (y);
            if (m->count != n->count)
                return false;
            for (CFIndex i = 0; i < m->count; ++i)
            {
                const auto at = Find (*n, m->entries[i].key);
                if (at < 0 || ! Equal (m->valueCallBacks, m->entries[i].value, n->entries[at].value))
                    return false;
            }
            return true;
        }
        case arrayType:
        {
            auto* m = reinterpret_cast<Array*> (x);
            auto* n = reinterpret_cast<Array*> (y);
            if (m->count != n->count)
                return false;
            for (CFIndex i = 0; i < m->count; ++i)
                if (! Equal (m->callBacks, m->values[i], n->values[i]))
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
    return reinterpret_cast<CFStringRef> (MakeString (text, std::strlen (text)));
}

Boolean CFStringGetCString (CFStringRef ref, char* buffer, CFIndex bufferSize, CFStringEncoding)
{
    auto* string = As<String> (ref, stringType);
    if (string == nullptr || buffer == nullptr || bufferSize <= 0 || string->length >= bufferSize)
        return false;
    std::memcpy (buffer, Text (string), size_t (string->length) + 1);
    return true;
}

CFIndex CFStringGetLength (CFStringRef ref)
{
    auto* string = As<String> (ref, stringType);
    return string != nullptr ? string->length : 0;
}

CFStringRef CFStringMakeConstantString (const char* text)
{
    if (text == nullptr)
        return nullptr;
    const std::lock_guard<std::mutex> guard (constantsLock);
    if (constants == nullptr)
        constants = new std::map<std::string, String*>();
    auto& slot = (*constants)[text];
    if (slot == nullptr && (slot = MakeString (text, std::strlen (text))) != nullptr)
    {
        slot->header.constant.store (1, std::memory_order_relaxed);
        liveObjects.fetch_sub (1, std::memory_order_relaxed);
    }
    return reinterpret_cast<CFStringRef> (slot);
}

CFTypeID CFNumberGetTypeID() { return numberType; }

CFNumberRef CFNumberCreate (CFAllocatorRef, CFNumberType type, const void* value)
{
    if (value == nullptr)
        return nullptr;
    Number n {};
    switch (type)
    {
        case kCFNumberSInt32Type:
        case kCFNumberIntType: { int32_t v; std::memcpy (&v, value, sizeof v); n.integer = v; break; }
        case kCFNumberSInt64Type: { int64_t v; std::memcpy (&v, value, sizeof v); n.integer = v; break; }
        case kCFNumberFloat32Type: { float v; std::memcpy (&v, value, sizeof v); n.isFloat = 1; n.real = v; break; }
        case kCFNumberFloat64Type: { double v; std::memcpy (&v, value, sizeof v); n.isFloat = 1; n.real = v; break; }
        default: return nullptr;
    }
    auto* number = Make<Number> (numberType);
    if (number != nullptr)
    {
        number->isFloat = n.isFloat;
        number->integer = n.integer;
        number->real = n.real;
    }
    return reinterpret_cast<CFNumberRef> (number);
}

Boolean CFNumberGetValue (CFNumberRef ref, CFNumberType type, void* out)
{
    auto* number = As<Number> (ref, numberType);
    if (number == nullptr || out == nullptr)
        return false;
    switch (type)
    {
        case kCFNumberSInt32Type:
        case kCFNumberIntType: { auto v = SaturatingCast<int32_t> (*number); std::memcpy (out, &v, sizeof v); return true; }
        case kCFNumberSInt64Type: { auto v = SaturatingCast<int64_t> (*number); std::memcpy (out, &v, sizeof v); return true; }
        case kCFNumberFloat32Type: { auto v = static_cast<float> (NumberAsDouble (*number)); std::memcpy (out, &v, sizeof v); return true; }
        case kCFNumberFloat64Type: { auto v = NumberAsDouble (*number); std::memcpy (out, &v, sizeof v); return true; }
        default: return false;
    }
}

CFTypeID CFDataGetTypeID() { return dataType; }

CFDataRef CFDataCreate (CFAllocatorRef allocator, const UInt8* bytes, CFIndex length)
{
    if (length < 0 || (length > 0 && bytes == nullptr))
        return nullptr;
    auto data = CFDataCreateMutable (allocator, length);
    auto* made = As<Data> (data, dataType);
    if (made != nullptr && length > made->capacity)
    {
        CFRelease (data);
        return nullptr;
    }
    CFDataAppendBytes (data, bytes, length);
    return data;
}

CFMutableDataRef CFDataCreateMutable (CFAllocatorRef, CFIndex capacity)
{
    auto* data = Make<Data> (dataType);
    if (data != nullptr && capacity > 0)
        Reserve (data->bytes, data->capacity, capacity);
    return reinterpret_cast<CFMutableDataRef> (data);
}

void CFDataAppendBytes (CFMutableDataRef ref, const UInt8* bytes, CFIndex length)
{
    auto* data = As<Data> (ref, dataType);
    if (data == nullptr || bytes == nullptr || length <= 0 || length > std::numeric_limits<CFIndex>::max() - data->length
        || ! Reserve (data->bytes, data->capacity, data->length + length))
        return;
    std::memcpy (data->bytes + data->length, bytes, size_t (length));
    data->length += length;
}

CFIndex CFDataGetLength (CFDataRef ref)
{
    auto* data = As<Data> (ref, dataType);
    return data != nullptr ? data->length : 0;
}

const UInt8* CFDataGetBytePtr (CFDataRef ref)
{
    auto* data = As<Data> (ref, dataType);
    return data != nullptr ? data->bytes : nullptr;
}

CFTypeID CFDictionaryGetTypeID() { return dictionaryType; }

CFMutableDictionaryRef CFDictionaryCreateMutable (CFAllocatorRef, CFIndex,
                                                  const CFDictionaryKeyCallBacks* keyCallBacks,
                                                  const CFDictionaryValueCallBacks* valueCallBacks)
{
    auto* dictionary = Make<Dictionary> (dictionaryType);
    if (dictionary != nullptr)
    {
        dictionary->keyCallBacks = From (keyCallBacks);
        dictionary->valueCallBacks = From (valueCallBacks);
    }
    return reinterpret_cast<CFMutableDictionaryRef> (dictionary);
}

void CFDictionarySetValue (CFMutableDictionaryRef ref, const void* key, const void* value)
{
    auto* dictionary = As<Dictionary> (ref, dictionaryType);
    if (dictionary == nullptr)
        return;

    if (const auto at = Find (*dictionary, key); at >= 0)
    {
        auto& entry = dictionary->entries[at];
        const void* old = entry.value;
        entry.value = Retain (dictionary->valueCallBacks, value);
        Release (dictionary->valueCallBacks, old);
        return;
    }
    if (! Reserve (dictionary->entries, dictionary->capacity, dictionary->count + 1))
        return;
    dictionary->entries[dictionary->count++] = { Retain (dictionary->keyCallBacks, key), Retain (dictionary->valueCallBacks, value) };
}

const void* CFDictionaryGetValue (CFDictionaryRef ref, const void* key)
{
    auto* dictionary = As<Dictionary> (ref, dictionaryType);
    const auto at = dictionary != nullptr ? Find (*dictionary, key) : -1;
    return at >= 0 ? dictionary->entries[at].value : nullptr;
}

Boolean CFDictionaryContainsKey (CFDictionaryRef ref, const void* key)
{
    auto* dictionary = As<Dictionary> (ref, dictionaryType);
    return dictionary != nullptr && Find (*dictionary, key) >= 0;
}

CFIndex CFDictionaryGetCount (CFDictionaryRef ref)
{
    auto* dictionary = As<Dictionary> (ref, dictionaryType);
    return dictionary != nullptr ? dictionary->count : 0;
}

void CFDictionaryGetKeysAndValues (CFDictionaryRef ref, const void** keys, const void** values)
{
    auto* dictionary = As<Dictionary> (ref, dictionaryType);
    if (dictionary == nullptr)
        return;
    for (CFIndex i = 0; i < dictionary->count; ++i)
    {
        if (keys != nullptr)
            keys[i] = dictionary->entries[i].key;
        if (values != nullptr)
            values[i] = dictionary->entries[i].value;
    }
}

CFTypeID CFArrayGetTypeID() { return arrayType; }

CFMutableArrayRef CFArrayCreateMutable (CFAllocatorRef, CFIndex capacity, const CFArrayCallBacks* callBacks)
{
    auto* array = Make<Array> (arrayType);
    if (array != nullptr)
    {
        array->callBacks = From (callBacks);
        if (capacity > 0)
            Reserve (array->values, array->capacity, capacity);
    }
    return reinterpret_cast<CFMutableArrayRef> (array);
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
    auto* array = As<Array> (ref, arrayType);
    if (array != nullptr && Reserve (array->values, array->capacity, array->count + 1))
        array->values[array->count++] = Retain (array->callBacks, value);
}

CFIndex CFArrayGetCount (CFArrayRef ref)
{
    auto* array = As<Array> (ref, arrayType);
    return array != nullptr ? array->count : 0;
}

const void* CFArrayGetValueAtIndex (CFArrayRef ref, CFIndex index)
{
    auto* array = As<Array> (ref, arrayType);
    if (array == nullptr || index < 0 || index >= array->count)
        return nullptr;
    return array->values[index];
}

CFPropertyListRef CFPropertyListCreateDeepCopy (CFAllocatorRef allocator, CFPropertyListRef list, CFOptionFlags options)
{
    auto* object = AsObject (list);
    if (object == nullptr)
        return nullptr;

    switch (object->type)
    {
        case stringType:
        {
            auto* source = reinterpret_cast<String*> (object);
            return MakeString (Text (source), size_t (source->length));
        }
        case numberType:
        {
            auto* source = reinterpret_cast<Number*> (object);
            if (source->isFloat != 0)
                return CFNumberCreate (allocator, kCFNumberFloat64Type, &source->real);
            return CFNumberCreate (allocator, kCFNumberSInt64Type, &source->integer);
        }
        case dataType:
        {
            auto* source = reinterpret_cast<Data*> (object);
            return CFDataCreate (allocator, source->bytes, source->length);
        }
        case dictionaryType:
        {
            auto* source = reinterpret_cast<Dictionary*> (object);
            auto copy = CFDictionaryCreateMutable (allocator, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
            for (CFIndex i = 0; copy != nullptr && i < source->count; ++i)
            {
                auto key = CFPropertyListCreateDeepCopy (allocator, source->entries[i].key, options);
                auto value = CFPropertyListCreateDeepCopy (allocator, source->entries[i].value, options);
                if (key != nullptr && value != nullptr)
                    CFDictionarySetValue (copy, key, value);
                CFRelease (key);
                CFRelease (value);
            }
            return copy;
        }
        case arrayType:
        {
            auto* source = reinterpret_cast<Array*> (object);
            auto copy = CFArrayCreateMutable (allocator, 0, &kCFTypeArrayCallBacks);
            for (CFIndex i = 0; copy != nullptr && i < source->count; ++i)
            {
                if (auto element = CFPropertyListCreateDeepCopy (allocator, source->values[i], options))
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
