#pragma once

// A small reference-counted object model with the meaning of the parts of CoreFoundation the
// Audio Unit layer uses: strings, numbers, data, dictionaries and arrays. Every object carries
// its type, so asking an object for the wrong kind of content fails instead of crashing.
// A host and each module link their own copy; each copy works on the objects of every other.

#include <cstddef>
#include <cstdint>

extern "C" {

typedef unsigned char Boolean;
typedef uint8_t UInt8;
typedef long CFIndex;
typedef unsigned long CFTypeID;
typedef unsigned long CFHashCode;
typedef uint32_t CFStringEncoding;
typedef int32_t CFNumberType;
typedef uint32_t CFOptionFlags;

typedef const void* CFTypeRef;
typedef const void* CFAllocatorRef;
typedef const void* CFPropertyListRef;
typedef const struct __CFString* CFStringRef;
typedef struct __CFString* CFMutableStringRef;
typedef const struct __CFNumber* CFNumberRef;
typedef const struct __CFData* CFDataRef;
typedef struct __CFData* CFMutableDataRef;
typedef const struct __CFDictionary* CFDictionaryRef;
typedef struct __CFDictionary* CFMutableDictionaryRef;
typedef const struct __CFArray* CFArrayRef;
typedef struct __CFArray* CFMutableArrayRef;
typedef const struct __CFURL* CFURLRef;

#define kCFAllocatorDefault ((CFAllocatorRef) nullptr)

enum : CFStringEncoding { kCFStringEncodingASCII = 0x0600, kCFStringEncodingUTF8 = 0x08000100 };

enum : CFNumberType
{
    kCFNumberSInt32Type = 3,
    kCFNumberSInt64Type = 4,
    kCFNumberFloat32Type = 5,
    kCFNumberFloat64Type = 6,
    kCFNumberIntType = 9
};

enum : CFOptionFlags
{
    kCFPropertyListImmutable = 0,
    kCFPropertyListMutableContainers = 1,
    kCFPropertyListMutableContainersAndLeaves = 2
};

typedef const void* (*CFRetainCallBack) (CFAllocatorRef, const void*);
typedef void (*CFReleaseCallBack) (CFAllocatorRef, const void*);
typedef CFStringRef (*CFCopyDescriptionCallBack) (const void*);
typedef Boolean (*CFEqualCallBack) (const void*, const void*);
typedef CFHashCode (*CFHashCallBack) (const void*);

struct CFArrayCallBacks
{
    CFIndex version;
    CFRetainCallBack retain;
    CFReleaseCallBack release;
    CFCopyDescriptionCallBack copyDescription;
    CFEqualCallBack equal;
};

struct CFDictionaryKeyCallBacks
{
    CFIndex version;
    CFRetainCallBack retain;
    CFReleaseCallBack release;
    CFCopyDescriptionCallBack copyDescription;
    CFEqualCallBack equal;
    CFHashCallBack hash;
};

struct CFDictionaryValueCallBacks
{
    CFIndex version;
    CFRetainCallBack retain;
    CFReleaseCallBack release;
    CFCopyDescriptionCallBack copyDescription;
    CFEqualCallBack equal;
};

extern const CFArrayCallBacks kCFTypeArrayCallBacks;
extern const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks;
extern const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks;

// Objects of every kind.
CFTypeRef CFRetain (CFTypeRef object);
void CFRelease (CFTypeRef object);  // null is ignored
CFIndex CFGetRetainCount (CFTypeRef object);
CFTypeID CFGetTypeID (CFTypeRef object);  // 0 for null
Boolean CFEqual (CFTypeRef a, CFTypeRef b);

// Objects this copy created less those it destroyed, constant strings excluded: tests of one
// copy use it to prove that nothing leaks.
long CFStandInLiveObjectCount();

// Strings hold UTF-8 text.
CFTypeID CFStringGetTypeID();
CFStringRef CFStringCreateWithCString (CFAllocatorRef allocator, const char* text, CFStringEncoding encoding);
Boolean CFStringGetCString (CFStringRef string, char* buffer, CFIndex bufferSize, CFStringEncoding encoding);
CFIndex CFStringGetLength (CFStringRef string);
// One shared string per distinct text in this copy. Releasing it more often than it was retained
// does nothing while the copy is loaded; after that it lives as long as someone holds it.
CFStringRef CFStringMakeConstantString (const char* text);
#define CFSTR(text) CFStringMakeConstantString ("" text "")

CFTypeID CFNumberGetTypeID();
CFNumberRef CFNumberCreate (CFAllocatorRef allocator, CFNumberType type, const void* value);
// Converts to the asked type; false (and nothing written) for anything but a number.
Boolean CFNumberGetValue (CFNumberRef number, CFNumberType type, void* valueOut);

CFTypeID CFDataGetTypeID();
CFDataRef CFDataCreate (CFAllocatorRef allocator, const UInt8* bytes, CFIndex length);
CFMutableDataRef CFDataCreateMutable (CFAllocatorRef allocator, CFIndex capacity);
void CFDataAppendBytes (CFMutableDataRef data, const UInt8* bytes, CFIndex length);
CFIndex CFDataGetLength (CFDataRef data);
const UInt8* CFDataGetBytePtr (CFDataRef data);

CFTypeID CFDictionaryGetTypeID();
CFMutableDictionaryRef CFDictionaryCreateMutable (CFAllocatorRef allocator, CFIndex capacity,
                                                  const CFDictionaryKeyCallBacks* keyCallBacks,
                                                  const CFDictionaryValueCallBacks* valueCallBacks);
void CFDictionarySetValue (CFMutableDictionaryRef dictionary, const void* key, const void* value);
const void* CFDictionaryGetValue (CFDictionaryRef dictionary, const void* key);
Boolean CFDictionaryContainsKey (CFDictionaryRef dictionary, const void* key);
CFIndex CFDictionaryGetCount (CFDictionaryRef dictionary);
// Either output may be null; each non-null one must have room for the count.
void CFDictionaryGetKeysAndValues (CFDictionaryRef dictionary, const void** keys, const void** values);

CFTypeID CFArrayGetTypeID();
CFArrayRef CFArrayCreate (CFAllocatorRef allocator, const void** values, CFIndex count, const CFArrayCallBacks* callBacks);
CFMutableArrayRef CFArrayCreateMutable (CFAllocatorRef allocator, CFIndex capacity, const CFArrayCallBacks* callBacks);
void CFArrayAppendValue (CFMutableArrayRef array, const void* value);
CFIndex CFArrayGetCount (CFArrayRef array);
const void* CFArrayGetValueAtIndex (CFArrayRef array, CFIndex index);  // null when out of range

// A copy of strings, numbers, data, and of dictionaries and arrays with CF-typed contents.
CFPropertyListRef CFPropertyListCreateDeepCopy (CFAllocatorRef allocator, CFPropertyListRef list, CFOptionFlags options);

}
