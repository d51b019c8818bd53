#include "platform/au/CoreFoundation.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
struct CoreFoundation : ::testing::Test
{
    long before = CFStandInLiveObjectCount();
    void TearDown() override { EXPECT_EQ (before, CFStandInLiveObjectCount()) << "objects leaked"; }
};

int retained = 0, released = 0;
const void* countRetain (CFAllocatorRef, const void* v) { ++retained; return v; }
void countRelease (CFAllocatorRef, const void*) { ++released; }
} // namespace

TEST_F (CoreFoundation, ObjectsLiveUntilTheirLastRelease)
{
    auto s = CFStringCreateWithCString (nullptr, "name", kCFStringEncodingUTF8);
    EXPECT_EQ (before + 1, CFStandInLiveObjectCount());
    CFRetain (s);
    EXPECT_EQ (2, CFGetRetainCount (s));
    CFRelease (s);
    EXPECT_EQ (before + 1, CFStandInLiveObjectCount());
    CFRelease (s);
    CFRelease (nullptr);

    auto constant = CFSTR ("version");
    EXPECT_EQ (constant, CFSTR ("version"));
    CFRelease (constant);
    CFRelease (constant);
    EXPECT_EQ (CFStringGetTypeID(), CFGetTypeID (CFSTR ("version")));
}

TEST_F (CoreFoundation, WrongTypeRequestsFailInsteadOfCrashing)
{
    const int32_t seven = 7;
    auto number = CFNumberCreate (nullptr, kCFNumberSInt32Type, &seven);
    auto string = CFStringCreateWithCString (nullptr, "text", kCFStringEncodingUTF8);

    int32_t value = 0;
    char buffer[8] = { 'z', 0 };
    EXPECT_FALSE (CFNumberGetValue (reinterpret_cast<CFNumberRef> (string), kCFNumberSInt32Type, &value));
    EXPECT_FALSE (CFStringGetCString (reinterpret_cast<CFStringRef> (number), buffer, sizeof buffer, kCFStringEncodingUTF8));
    EXPECT_EQ (0, CFDataGetLength (reinterpret_cast<CFDataRef> (number)));
    EXPECT_EQ (nullptr, CFDataGetBytePtr (reinterpret_cast<CFDataRef> (string)));
    EXPECT_EQ (nullptr, CFDictionaryGetValue (reinterpret_cast<CFDictionaryRef> (string), number));
    EXPECT_EQ (0, CFArrayGetCount (reinterpret_cast<CFArrayRef> (number)));
    EXPECT_EQ (0u, CFGetTypeID (nullptr));
    EXPECT_EQ (0, value);
    EXPECT_EQ ('z', buffer[0]);

    EXPECT_FALSE (CFStringGetCString (string, buffer, 4, kCFStringEncodingUTF8)) << "no room for the terminator";
    EXPECT_TRUE (CFStringGetCString (string, buffer, 5, kCFStringEncodingUTF8));
    EXPECT_STREQ ("text", buffer);

    const float f = 2.75f;
    auto real = CFNumberCreate (nullptr, kCFNumberFloat32Type, &f);
    EXPECT_TRUE (CFNumberGetValue (real, kCFNumberSInt32Type, &value));
    EXPECT_EQ (2, value);

    CFRelease (real);
    CFRelease (number);
    CFRelease (string);
}

TEST_F (CoreFoundation, DictionariesMatchKeysByContentAndOwnTheirEntries)
{
    auto dictionary = CFDictionaryCreateMutable (nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    auto key = CFStringCreateWithCString (nullptr, "data", kCFStringEncodingUTF8);
    const UInt8 bytes[] = { 1, 2, 3 };
    auto data = CFDataCreate (nullptr, bytes, 3);
    CFDictionarySetValue (dictionary, key, data);
    CFRelease (data);
    CFRelease (key);

    auto found = static_cast<CFDataRef> (CFDictionaryGetValue (dictionary, CFSTR ("data")));
    ASSERT_EQ (3, CFDataGetLength (found));
    EXPECT_EQ (0, std::memcmp (bytes, CFDataGetBytePtr (found), 3));

    CFDictionarySetValue (dictionary, CFSTR ("data"), CFSTR ("replaced"));
    EXPECT_EQ (1, CFDictionaryGetCount (dictionary));
    EXPECT_EQ (CFSTR ("replaced"), CFDictionaryGetValue (dictionary, CFSTR ("data")));
    EXPECT_FALSE (CFDictionaryContainsKey (dictionary, CFSTR ("name")));
    CFRelease (dictionary);
}

TEST_F (CoreFoundation, ArraysApplyTheirValueCallBacks)
{
    int items[2] = {};
    const void* values[] = { &items[0], &items[1] };
    const CFArrayCallBacks counting { 0, countRetain, countRelease, nullptr, nullptr };
    retained = released = 0;
    auto array = CFArrayCreate (nullptr, values, 2, &counting);
    EXPECT_EQ (2, retained);
    EXPECT_EQ (&items[1], CFArrayGetValueAtIndex (array, 1));
    EXPECT_EQ (nullptr, CFArrayGetValueAtIndex (array, 2));
    CFRelease (array);
    EXPECT_EQ (2, released);

    auto raw = CFArrayCreate (nullptr, values, 2, nullptr);  // plain pointers, nothing retained
    EXPECT_EQ (2, CFArrayGetCount (raw));
    CFRelease (raw);
}

TEST_F (CoreFoundation, DeepCopyIsEqualAndIndependent)
{
    auto inner = CFDictionaryCreateMutable (nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    auto name = CFStringCreateWithCString (nullptr, "Left", kCFStringEncodingUTF8);
    CFDictionarySetValue (inner, CFSTR ("0"), name);
    auto outer = CFDictionaryCreateMutable (nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    CFDictionarySetValue (outer, CFSTR ("element-name"), inner);
    const double rate = 48000.0;
    auto number = CFNumberCreate (nullptr, kCFNumberFloat64Type, &rate);
    CFDictionarySetValue (outer, CFSTR ("rate"), number);

    auto copy = CFPropertyListCreateDeepCopy (nullptr, outer, kCFPropertyListImmutable);
    EXPECT_TRUE (CFEqual (outer, copy));
    auto copiedInner = CFDictionaryGetValue (static_cast<CFDictionaryRef> (copy), CFSTR ("element-name"));
    EXPECT_NE (static_cast<const void*> (inner), copiedInner);
    EXPECT_NE (static_cast<const void*> (name), CFDictionaryGetValue (static_cast<CFDictionaryRef> (copiedInner), CFSTR ("0")));

    CFDictionarySetValue (inner, CFSTR ("1"), name);
    EXPECT_FALSE (CFEqual (outer, copy));

    for (auto object : { CFTypeRef (copy), CFTypeRef (outer), CFTypeRef (inner), CFTypeRef (name), CFTypeRef (number) })
        CFRelease (object);
}
