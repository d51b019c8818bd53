#include "TestUnit.h"

#include <string>

using namespace kelmora::au;
using namespace kelmora::au::test;

namespace
{
template <typename Ref>
struct Owned
{
    Ref ref = nullptr;
    explicit Owned (Ref r = nullptr) : ref (r) {}
    ~Owned() { CFRelease (ref); }
    Owned (const Owned&) = delete;
};

CFStringRef String (const char* text) { return CFStringCreateWithCString (nullptr, text, kCFStringEncodingUTF8); }
CFMutableDictionaryRef Dictionary()
{
    return CFDictionaryCreateMutable (nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
}

// Stores the value and gives up the caller's reference to it.
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
    AUElement& global = *unit->Globals();
    ListenerLog log;

    void SetUp() override
    {
        global.UseIndexedParameters (2);
        global.SetParameter (0, 0.5f);
        global.SetParameter (1, 2.0f);
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
        return CallWithStatusLadder (
            [&] { return unit->DispatchSetProperty (kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &state, sizeof state); });
    }

    // A dictionary that passes the identity checks, with the given "data" bytes.
    CFMutableDictionaryRef Minimal (const std::vector<UInt8>& data)
    {
        auto d = Dictionary();
        SetInt (d, "version", 0);
        SetInt (d, "subtype", SInt32 (kSubtype));
        SetInt (d, "manufacturer", SInt32 (kManufacturer));
        SetValue (d, "data", CFDataCreate (nullptr, data.data(), CFIndex (data.size())));
        return d;
    }

    // A minimal dictionary whose "element-name" holds one dictionary per scope key.
    OSStatus RestoreNames (std::initializer_list<std::pair<const char*, CFMutableDictionaryRef>> scopes)
    {
        Owned<CFMutableDictionaryRef> d (Minimal ({}));
        auto names = Dictionary();
        for (auto& [scope, scopeNames] : scopes)
            SetValue (names, scope, scopeNames);
        SetValue (d.ref, "element-name", names);
        return Restore (d.ref);
    }
};
} // namespace

TEST_F (AUBaseState, SavesTheExactKeysAndDataBytes)
{
    Owned<CFMutableDictionaryRef> state (Save());
    EXPECT_EQ ((std::vector<SInt32> { 6, 0, SInt32 (kType), SInt32 (kSubtype), SInt32 (kManufacturer) }),
               (std::vector<SInt32> { SInt32 (CFDictionaryGetCount (state.ref)), GetInt (state.ref, "version"), GetInt (state.ref, "type"),
                                      GetInt (state.ref, "subtype"), GetInt (state.ref, "manufacturer") }));
    EXPECT_EQ ("Untitled", GetText (CFDictionaryGetValue (state.ref, CFSTR ("name"))));
    auto data = static_cast<CFDataRef> (CFDictionaryGetValue (state.ref, CFSTR ("data")));
    ASSERT_EQ (CFDataGetTypeID(), CFGetTypeID (data));
    const auto expected = BigEndianWords ({ 0, 0, 2, 0, Bits (0.5f), 1, Bits (2.0f),  // global element 0
                                            2, 0, 1, 9, Bits (-1.0f) });              // output element 0
    EXPECT_EQ (expected, std::vector<UInt8> (CFDataGetBytePtr (data), CFDataGetBytePtr (data) + CFDataGetLength (data)));
}

TEST_F (AUBaseState, OptionalKeysRoundTripThroughADeepCopy)
{
    unit->hasRenderQuality = true;
    unit->renderQuality = 32;
    Owned<CFStringRef> preset (String ("Gentle")), name (String ("Main"));
    AUPreset p { -1, preset.ref };
    ASSERT_EQ (noErr, unit->DispatchSetProperty (kAudioUnitProperty_PresentPreset, 0, 0, &p, sizeof p));
    unit->GetOutput (0)->SetName (name.ref);

    Owned<CFMutableDictionaryRef> saved (Save());
    EXPECT_EQ (8, CFDictionaryGetCount (saved.ref)) << "render quality and element names join";
    Owned<CFPropertyListRef> copy (CFPropertyListCreateDeepCopy (nullptr, saved.ref, kCFPropertyListMutableContainersAndLeaves));
    ASSERT_TRUE (CFEqual (saved.ref, copy.ref));
    ASSERT_EQ (noErr, unit->DoInitialize());
    global.SetParameter (0, 0.0f);
    unit->GetOutput (0)->SetParameter (9, 0.0f);
    unit->renderQuality = 0;
    unit->GetOutput (0)->SetName (nullptr);
    log.calls.clear();

    EXPECT_EQ (noErr, Restore (copy.ref));
    EXPECT_EQ ((std::vector<float> { 0.5f, -1.0f, 32.0f }), (std::vector<float> { global.GetParameter (0), unit->GetOutput (0)->GetParameter (9), float (unit->renderQuality) }));
    EXPECT_EQ ((std::vector<std::string> { "Gentle", "Main" }), (std::vector<std::string> { GetText (unit->GetCurrentPreset().presetName), GetText (unit->GetOutput (0)->GetName()) }));
    EXPECT_EQ ((std::vector<size_t> { 1, 1, 0 }), (std::vector<size_t> { log.Count (kAudioUnitProperty_PresentPreset), log.Count (kAudioUnitProperty_RenderQuality),
                                                                       log.Count (kAudioUnitProperty_ElementCount) })) << "no scope grew";
}

TEST_F (AUBaseState, RefusesForeignOrMalformedDictionariesWithoutChangingAnything)
{
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, Restore (nullptr));
    Owned<CFStringRef> notADictionary (String ("state"));
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, Restore (notADictionary.ref));

    const auto restoreSpoilt = [&] (auto&& spoil) {
        Owned<CFMutableDictionaryRef> d (Minimal (BigEndianWords ({ 0, 0, 1, 0, Bits (9.0f) })));
        SetValue (d.ref, "name", String ("Foreign"));
        spoil (d.ref);
        return Restore (d.ref);
    };
    using Spoil = void (*) (CFMutableDictionaryRef);
    const Spoil refused[] = {
        [] (auto d) { SetInt (d, "version", 1); },
        [] (auto d) { SetInt (d, "subtype", 0x41424344); },
        [] (auto d) { SetInt (d, "manufacturer", 0x41424344); },
        [] (auto d) { SetInt (d, "part", 0); },
        [] (auto d) { SetValue (d, "version", String ("0")); },  // a wrong type counts as missing
        [] (auto d) { SetValue (d, "manufacturer", CFDataCreate (nullptr, nullptr, 0)); },
    };
    for (auto spoil : refused)
        EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, restoreSpoilt (spoil));
    Owned<CFMutableDictionaryRef> noManufacturer (Dictionary());
    SetInt (noManufacturer.ref, "version", 0);
    SetInt (noManufacturer.ref, "subtype", SInt32 (kSubtype));
    EXPECT_EQ (kAudioUnitErr_InvalidPropertyValue, Restore (noManufacturer.ref));
    EXPECT_TRUE (global.GetParameter (0) == 0.5f && GetText (unit->GetCurrentPreset().presetName) == "Untitled" && log.calls.empty());

    EXPECT_EQ (noErr, restoreSpoilt ([] (auto d) { SetInt (d, "type", 0x12345678); })) << "the type is not examined";
    EXPECT_TRUE (global.GetParameter (0) == 9.0f && GetText (unit->GetCurrentPreset().presetName) == "Foreign");
}

TEST_F (AUBaseState, TruncatedAndHostileDataStopsReadingSafely)
{
    auto truncated = BigEndianWords ({ 0, 0, 2, 0, Bits (7.0f), 1, Bits (7.0f), 2, 0, 1, 9, Bits (7.0f) });
    truncated.pop_back();
    auto shortCount = BigEndianWords ({ 0, 0, 1 });
    shortCount.pop_back();
    const struct { const char* what; std::vector<UInt8> data; OSStatus status; float global0, global1; } steps[] = {
        { "a cut-off block applies nothing", truncated, noErr, 7.0f, 7.0f },
        { "a cut-off count", shortCount, noErr, 7.0f, 7.0f },
        { "a count no block could hold", BigEndianWords ({ 0, 0, 0x20000000u, 0, Bits (1.0f) }), noErr, 7.0f, 7.0f },
        { "a count that wraps in 32 bits", BigEndianWords ({ 0, 0, 0xFFFFFFFFu, 0, Bits (1.0f), 1, Bits (1.0f) }), noErr, 7.0f, 7.0f },
        { "a missing element ends the reading", BigEndianWords ({ 1, 5, 1, 0, Bits (3.0f), 0, 0, 1, 0, Bits (3.0f) }), noErr, 7.0f, 7.0f },
        { "entries before a bad scope stay", BigEndianWords ({ 0, 0, 1, 0, Bits (4.0f), 9, 0, 0 }), kAudioUnitErr_InvalidScope, 4.0f, 7.0f },
        { "no indexed parameter 5", BigEndianWords ({ 0, 0, 1, 5, Bits (5.0f) }), kAudioUnitErr_InvalidParameter, 4.0f, 7.0f },
    };
    for (auto& step : steps)
    {
        Owned<CFMutableDictionaryRef> d (Minimal (step.data));
        EXPECT_EQ (step.status, Restore (d.ref)) << step.what;
        EXPECT_EQ ((std::vector<float> { step.global0, step.global1, -1.0f }),
                   (std::vector<float> { global.GetParameter (0), global.GetParameter (1), unit->GetOutput (0)->GetParameter (9) })) << step.what;
    }

    Owned<CFMutableDictionaryRef> wrongTypes (Minimal ({}));
    SetValue (wrongTypes.ref, "data", String ("not bytes"));
    SetInt (wrongTypes.ref, "name", 3);
    SetValue (wrongTypes.ref, "element-name", String ("not a dictionary"));
    EXPECT_EQ (noErr, Restore (wrongTypes.ref));
    EXPECT_EQ ("Untitled", GetText (unit->GetCurrentPreset().presetName));
}

TEST_F (AUBaseState, ElementNamesTakeOnlyCanonicalKeysAndNeverShrinkAScope)
{
    auto inputNames = Dictionary();
    for (const char* key : { "3", "0" })
        SetValue (inputNames, key, String (key));
    for (const char* key : { "03", "+1", "-1", "1x", "", " 2", "4294967296", "99999999", "1024" })
        SetValue (inputNames, key, String ("ignored"));
    SetInt (inputNames, "2", 5);  // not a string
    auto outputNames = Dictionary();
    SetValue (outputNames, "0", String ("Out"));
    ASSERT_EQ (noErr, RestoreNames ({ { "1", inputNames }, { "2", outputNames } }));
    EXPECT_EQ (4u, unit->Inputs().GetNumberOfElements());
    EXPECT_FALSE (unit->Inputs().GetElement (1)->HasName() || unit->Inputs().GetElement (2)->HasName());
    EXPECT_EQ ((std::vector<std::string> { "0", "3", "Out" }), (std::vector<std::string> { GetText (unit->Inputs().GetElement (0)->GetName()),
                                                                                       GetText (unit->Inputs().GetElement (3)->GetName()), GetText (unit->Outputs().GetElement (0)->GetName()) }));
    ASSERT_EQ (1u, log.Count (kAudioUnitProperty_ElementCount));
    EXPECT_EQ (UInt32 (kAudioUnitScope_Input), std::get<1> (log.calls.back()));

    auto oneName = Dictionary();
    SetValue (oneName, "1", String ("Key"));
    ASSERT_EQ (noErr, RestoreNames ({ { "1", oneName } }));
    EXPECT_TRUE (unit->Inputs().GetNumberOfElements() == 4u && GetText (unit->Inputs().GetElement (1)->GetName()) == "Key");
}
