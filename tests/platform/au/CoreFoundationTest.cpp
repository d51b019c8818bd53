#include "platform/au/CoreFoundation.h"

#include <gtest/gtest.h>

namespace
{
struct CoreFoundation : ::testing::Test
{
    long before = CFStandInLiveObjectCount();
    void TearDown() override { EXPECT_EQ (before, CFStandInLiveObjectCount()) << "objects leaked"; }
};

CFStringRef String (const char* text) { return CFStringCreateWithCString (nullptr, text, kCFStringEncodingUTF8); }
CFMutableDictionaryRef Dictionary()
{
    return CFDictionaryCreateMutable (nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
}
} // namespace

TEST_F (CoreFoundation, ObjectsLiveUntilTheirLastReleaseAndConstantsForever)
{
    auto s = String ("name");
    EXPECT_EQ (before + 1, CFStandInLiveObjectCount());
    CFRelease (CFRetain (s));
    EXPECT_EQ (1, CFGetRetainCount (s));
    CFRelease (s);
    CFRelease (nullptr);

    auto constant = CFSTR ("version");
    CFRelease (constant);
    EXPECT_EQ (constant, CFSTR ("version"));
    EXPECT_EQ (CFStringGetTypeID(), CFGetTypeID (constant));
}

TEST_F (CoreFoundation, WrongTypeRequestsFailInsteadOfCrashing)
{
    const int32_t seven = 7;
    auto number = CFNumberCreate (nullptr, kCFNumberSInt32Type, &seven);
    auto string = String ("text");
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
    CFRelease (number);
    CFRelease (string);
}

TEST_F (CoreFoundation, DictionariesMatchKeysByContentAndDeepCopiesAreIndependent)
{
    auto inner = Dictionary();
    auto name = String ("Left");
    CFDictionarySetValue (inner, CFSTR ("0"), name);
    auto outer = Dictionary();
    auto key = String ("element-name");
    CFDictionarySetValue (outer, key, inner);
    EXPECT_EQ (inner, CFDictionaryGetValue (outer, CFSTR ("element-name")));

    auto copy = static_cast<CFDictionaryRef> (CFPropertyListCreateDeepCopy (nullptr, outer, kCFPropertyListImmutable));
    EXPECT_TRUE (CFEqual (outer, copy));
    auto copiedInner = static_cast<CFDictionaryRef> (CFDictionaryGetValue (copy, CFSTR ("element-name")));
    EXPECT_NE (static_cast<const void*> (inner), copiedInner);
    EXPECT_NE (static_cast<const void*> (name), CFDictionaryGetValue (copiedInner, CFSTR ("0")));
    CFDictionarySetValue (inner, CFSTR ("1"), name);
    EXPECT_FALSE (CFEqual (outer, copy));
    for (CFTypeRef object : { CFTypeRef (copy), CFTypeRef (outer), CFTypeRef (inner), CFTypeRef (name), CFTypeRef (key) })
        CFRelease (object);
}
