#include "TestUnit.h"

#include <cstring>
#include <string>

using namespace kelmora::au;
using namespace kelmora::au::test;

namespace
{
std::vector<UInt8> Words (std::initializer_list<UInt32> words)
{
    std::vector<UInt8> out;
    for (auto w : words)
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back (UInt8 (w >> shift));
    return out;
}

UInt32 Bits (float f)
{
    UInt32 b;
    std::memcpy (&b, &f, 4);
    return b;
}

// Owns one CoreFoundation reference.
template <typename Ref>
struct Owned
{
    Ref ref = nullptr;
    explicit Owned (Ref r = nullptr) : ref (r) {}
    ~Owned() { CFRelease (ref); }
    Owned (const Owned&) = delete;
};

CFStringRef String (const char* text) { return CFStringCreateWithCString (nullptr, text, kCFStringEncodingUTF8); }

void SetValue (CFMutableDictionaryRef d, const char* key, CFTypeRef value)
{
    Owned<CFStringRef> k (String (key));
    CFDictionarySetValue (d, k.ref, value);
    CFRelease (value);
}

void SetInt (CFMutableDictionaryRef d, const char* key, SInt32 value)
{
    SetValue (d, key, CFNumberCreate (nullptr, kCFNumberSInt32Type, &value));
}

SInt32 GetInt (CFDictionaryRef d, const char* key)
{
    Owned<CFStringRef> k (String (key));
    SInt32 value = -999;
    CFNumberGetValue (static_cast<CFNumberRef> (CFDictionaryGetValue (d, k.ref)), kCFNumberSInt32Type, &value);
    return value;
}

std::string GetText (CFTypeRef string)
{
    char text[64] = {};
    CFStringGetCString (static_cast<CFStringRef> (string), text, sizeof text, kCFStringEncodingUTF8);
    return text;
}

struct AUBaseState : LeakCheck
{
    UnitPtr unit = MakeUnit();
    ListenerLog log;

    void SetUp() override
    {
        unit->Globals()->UseIndexedParameters (2);
        unit->Globals()->SetParameter (0, 0.5f);
        unit->Globals()->SetParameter (1, 2.0f);
        unit->GetOutput (0)->SetParameter (9, -1.0f);
        log.Listen (*unit, { kAudioUnitProperty_PresentPreset, kAudioUnitProperty_ElementCount, kAudioUnitProperty_RenderQuality });
    }

    CFMutableDictionaryRef Save()
    {
        CFPropertyListRef state = nullptr;
        EXPECT_EQ (noErr, unit->DispatchGetProperty (kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &state));
        return static_cast<CFMutableDictionaryRef> (const_cast<void*> (state));
    }

    OSStatus Restore (CFPropertyListRef state)
    {
        return Status ([&] { return unit->DispatchSetProperty (kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &state, sizeof state); });
    }

    // A dictionary that passes the identity checks, with the given "data" bytes.
    CFMutableDictionaryRef Minimal (const std::vector<UInt8>& data)
    {
        auto d = CFDictionaryCreateMutable (nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
        SetInt (d, "version", 0);
        SetInt (d, "subtype", SInt32 (kSubtype));
        SetInt (d, "manufacturer", SInt32 (kManufacturer));
        SetValue (d, "data", CFDataCreate (nullptr, data.data(), CFIndex (data.size())));
        return d;
    }
};
} // namespace

TEST_F (AUBaseState, SavesTheExactKeysAndDataBytes)
{
    Owned<CFMutableDictionaryRef> state (Save());
    EXPECT_EQ (6, CFDictionaryGetCount (state.ref));
    EXPECT_EQ (0, GetInt (state.ref, "version"));
    EXPECT_EQ (SInt32 (kType), GetInt (state.ref, "type"));
    EXPECT_EQ (SInt32 (kSubtype), GetInt (state.ref, "subtype"));
    EXPECT_EQ (SInt32 (kManufacturer), GetInt (state.ref, "manufacturer"));
    EXPECT_EQ ("Untitled", GetText (CFDictionaryGetValue (state.ref, CFSTR ("name"))));

    auto data = static_cast<CFDataRef> (CFDictionaryGetValue (state.ref, CFSTR ("data")));
    ASSERT_EQ (CFDataGetTypeID(), CFGetTypeID (data));
    const auto expected = Words ({ 0, 0, 2, 0, Bits (0.5f), 1, Bits (2.0f),    // global element 0
                                   2, 0, 1, 9, Bits (-1.0f) });                  // output element 0
    EXPECT_EQ (expected, std::vector<UInt8> (CFDataGetBytePtr (data), CFDataGetBytePtr (data) + CFDataGetLength (data)));
}

TEST_F (AUBaseState, SavesOptionalKeysOnlyWhenThereIsSomethingToSay)
{
    unit->hasRenderQuality = true;
    unit->renderQuality = 64;
    Owned<CFStringRef> name (String ("Side chain"));
    unit->GetInput (0)->SetName (name.ref);

    Owned<CFMutableDictionaryRef> state (Save());
    EXPECT_EQ (8, CFDictionaryGetCount (state.ref));
    EXPECT_EQ (64, GetInt (state.ref, "render-quality"));
    EXPECT_FALSE (CFDictionaryContainsKey (state.ref, CFSTR ("cpu-load")));
    auto names = static_cast<CFDictionaryRef> (CFDictionaryGetValue (state.ref, CFSTR ("element-name")));
    ASSERT_EQ (1, CFDictionaryGetCount (names));
    auto inputNames = static_cast<CFDictionaryRef> (CFDictionaryGetValue (names, CFSTR ("1")));
    EXPECT_EQ ("Side chain", GetText (CFDictionaryGetValue (inputNames, CFSTR ("0"))));
}

TEST_F (AUBaseState, RoundTripsThroughADeepCopy)
{
    unit->hasRenderQuality = true;
    unit->renderQuality = 32;
    Owned<CFStringRef> preset (String ("Gentle"));
    AUPreset p { -1, preset.ref };
    ASSERT_EQ (noErr, unit->DispatchSetProperty (kAudioUnitProperty_PresentPreset, 0, 0, &p, sizeof p));
    Owned<CFStringRef> name (String ("Main"));
    unit->GetOutput (0)->SetName (name.ref);

    Owned<CFMutableDictionaryRef> saved (Save());
    Owned<CFPropertyListRef> copy (CFPropertyListCreateDeepCopy (nullptr, saved.ref, kCFPropertyListMutableContainersAndLeaves));
    ASSERT_TRUE (CFEqual (saved.ref, copy.ref));

    ASSERT_EQ (noErr, unit->DoInitialize());
    unit->Globals()->SetParameter (0, 0.0f);
    unit->GetOutput (0)->SetParameter (9, 0.0f);
    unit->renderQuality = 0;
    unit->GetOutput (0)->SetName (nullptr);
    log.calls.clear();

    EXPECT_EQ (noErr, Restore (copy.ref));
    EXPECT_EQ (0.5f, unit->Globals()->GetParameter (0));
    EXPECT_EQ (2.0f, unit->Globals()->GetParameter (1));
    EXPECT_EQ (-1.0f, unit->GetOutput (0)->GetParameter (9));
    EXPECT_EQ (32u, unit->renderQuality);
    EXPECT_EQ ("Gentle", GetText (unit->GetCurrentPreset().presetName));
    EXPECT_EQ (-1, unit->GetCurrentPreset().presetNumber);
    EXPECT_EQ ("Main", GetText (unit->GetOutput (0)->GetName()));
    EXPECT_EQ (1u, log.Count (kAudioUnitProperty_PresentPreset));
    EXPECT_EQ (1u, log.Count (kAudioUnitProperty_RenderQuality));
    EXPECT_EQ (0u, log.Count (kAudioUnitProperty_ElementCount)) << "no scope grew";
}

TEST_F (AUBaseState, RefusesForeignOrMalformedDictionariesWithoutChangingAnything)
{
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, Restore (nullptr));
    Owned<CFStringRef> notADictionary (String ("state"));
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, Restore (notADictionary.ref));

    const auto data = Words ({ 0, 0, 1, 0, Bits (9.0f) });
    auto refused = [&] (auto&& spoil) {
        Owned<CFMutableDictionaryRef> d (Minimal (data));
        SetValue (d.ref, "name", String ("Foreign"));
        spoil (d.ref);
        return Restore (d.ref);
    };
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, refused ([] (auto d) { SetInt (d, "version", 1); }));
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, refused ([] (auto d) { SetInt (d, "subtype", 0x41424344); }));
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, refused ([] (auto d) { SetInt (d, "part", 0); }));
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, refused ([] (auto d) { SetValue (d, "version", String ("0")); }))
        << "a wrong type counts as missing";
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue,
               refused ([] (auto d) { SetValue (d, "manufacturer", CFDataCreate (nullptr, nullptr, 0)); }));

    Owned<CFMutableDictionaryRef> noManufacturer (CFDictionaryCreateMutable (nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                                                                             &kCFTypeDictionaryValueCallBacks));
    SetInt (noManufacturer.ref, "version", 0);
    SetInt (noManufacturer.ref, "subtype", SInt32 (kSubtype));
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, Restore (noManufacturer.ref));

    EXPECT_EQ (0.5f, unit->Globals()->GetParameter (0));
    EXPECT_EQ ("Untitled", GetText (unit->GetCurrentPreset().presetName));
    EXPECT_TRUE (log.calls.empty());

    EXPECT_EQ (noErr, refused ([] (auto d) { SetInt (d, "type", 0x12345678); })) << "the type is not examined";
    EXPECT_EQ (9.0f, unit->Globals()->GetParameter (0));
    EXPECT_EQ ("Foreign", GetText (unit->GetCurrentPreset().presetName));
}

TEST_F (AUBaseState, TruncatedAndHostileDataStopsReadingSafely)
{
    auto restoreData = [&] (const std::vector<UInt8>& data) {
        Owned<CFMutableDictionaryRef> d (Minimal (data));
        return Restore (d.ref);
    };

    auto truncated = Words ({ 0, 0, 2, 0, Bits (7.0f), 1, Bits (7.0f), 2, 0, 1, 9, Bits (7.0f) });
    truncated.resize (truncated.size() - 1);
    EXPECT_EQ (noErr, restoreData (truncated));
    EXPECT_EQ (7.0f, unit->Globals()->GetParameter (1));
    EXPECT_EQ (-1.0f, unit->GetOutput (0)->GetParameter (9)) << "the cut-off entry applies nothing";

    EXPECT_EQ (noErr, restoreData (Words ({ 0, 0, 0x20000000u, 0, Bits (1.0f) })));
    EXPECT_EQ (noErr, restoreData (Words ({ 0, 0, 0xFFFFFFFFu, 0, Bits (1.0f), 1, Bits (1.0f) })));
    EXPECT_EQ (7.0f, unit->Globals()->GetParameter (0)) << "a count no block could hold applies nothing";

    EXPECT_EQ (noErr, restoreData (Words ({ 1, 5, 1, 0, Bits (3.0f), 0, 0, 1, 0, Bits (3.0f) })));
    EXPECT_EQ (7.0f, unit->Globals()->GetParameter (0)) << "a missing element ends the reading";

    EXPECT_EQ (kAudioUnitErr_InvalidScope, restoreData (Words ({ 0, 0, 1, 0, Bits (4.0f), 9, 0, 0 })));
    EXPECT_EQ (4.0f, unit->Globals()->GetParameter (0)) << "entries before a bad scope stay applied";

    EXPECT_EQ (kAudioUnitErr_InvalidParameter, restoreData (Words ({ 0, 0, 1, 5, Bits (4.0f) })))
        << "indexed storage has no parameter 5";

    Owned<CFMutableDictionaryRef> wrongTypes (Minimal ({}));
    SetValue (wrongTypes.ref, "data", String ("not bytes"));
    SetInt (wrongTypes.ref, "name", 3);
    SetValue (wrongTypes.ref, "element-name", String ("not a dictionary"));
    SetValue (wrongTypes.ref, "render-quality", String ("high"));
    EXPECT_EQ (noErr, Restore (wrongTypes.ref));
    EXPECT_EQ ("Untitled", GetText (unit->GetCurrentPreset().presetName));
    EXPECT_EQ (0u, log.Count (kAudioUnitProperty_RenderQuality));
}

TEST_F (AUBaseState, ElementNamesTakeOnlyCanonicalKeysAndGrowScopes)
{
    Owned<CFMutableDictionaryRef> d (Minimal ({}));
    auto inputNames = CFDictionaryCreateMutable (nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    for (const char* key : { "3", "0" })
        SetValue (inputNames, key, String (key));
    for (const char* key : { "03", "+1", "-1", "1x", "", " 2", "4294967296", "99999999", "1024" })
        SetValue (inputNames, key, String ("ignored"));
    SetInt (inputNames, "2", 5);  // not a string: ignored
    auto outputNames = CFDictionaryCreateMutable (nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    SetValue (outputNames, "0", String ("Out"));
    auto names = CFDictionaryCreateMutable (nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    SetValue (names, "1", inputNames);
    SetValue (names, "2", outputNames);
    SetValue (d.ref, "element-name", names);

    ASSERT_EQ (noErr, Restore (d.ref));
    EXPECT_EQ (4u, unit->Inputs().GetNumberOfElements());
    EXPECT_EQ ("3", GetText (unit->Inputs().GetElement (3)->GetName()));
    EXPECT_EQ ("0", GetText (unit->Inputs().GetElement (0)->GetName()));
    EXPECT_FALSE (unit->Inputs().GetElement (1)->HasName());
    EXPECT_FALSE (unit->Inputs().GetElement (2)->HasName());
    EXPECT_EQ (1u, unit->Outputs().GetNumberOfElements());
    EXPECT_EQ ("Out", GetText (unit->Outputs().GetElement (0)->GetName()));
    ASSERT_EQ (1u, log.Count (kAudioUnitProperty_ElementCount));
    EXPECT_EQ (UInt32 (kAudioUnitScope_Input), std::get<1> (log.calls.back()));

    Owned<CFMutableDictionaryRef> smaller (Minimal ({}));
    auto oneName = CFDictionaryCreateMutable (nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    SetValue (oneName, "1", String ("Key"));
    auto scopes = CFDictionaryCreateMutable (nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    SetValue (scopes, "1", oneName);
    SetValue (smaller.ref, "element-name", scopes);
    ASSERT_EQ (noErr, Restore (smaller.ref));
    EXPECT_EQ (4u, unit->Inputs().GetNumberOfElements()) << "restoring never shrinks a scope";
    EXPECT_EQ ("Key", GetText (unit->Inputs().GetElement (1)->GetName()));
}
