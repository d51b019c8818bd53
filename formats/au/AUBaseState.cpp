// The class-info dictionary: the unit's whole state as the host stores it.

#include "formats/au/AUBase.h"

#include "formats/au/BigEndian.h"
#include "formats/au/ClassInfoKeys.h"

#include <cstdio>

namespace kelmora::au
{
namespace
{
void SetNumber (CFMutableDictionaryRef dictionary, CFStringRef key, CFNumberType type, const void* value)
{
    auto number = CFNumberCreate (nullptr, type, value);
    CFDictionarySetValue (dictionary, key, number);
    CFRelease (number);
}

// A value of the wrong type counts as missing.
template <typename Ref>
Ref GetTyped (CFDictionaryRef dictionary, CFStringRef key, CFTypeID type)
{
    auto value = CFDictionaryGetValue (dictionary, key);
    return CFGetTypeID (value) == type ? static_cast<Ref> (value) : nullptr;
}

bool GetSInt32 (CFDictionaryRef dictionary, CFStringRef key, SInt32& out)
{
    auto number = GetTyped<CFNumberRef> (dictionary, key, CFNumberGetTypeID());
    return number != nullptr && CFNumberGetValue (number, kCFNumberSInt32Type, &out);
}

CFStringRef MakeDecimalKey (UInt32 value)
{
    char text[16];
    std::snprintf (text, sizeof text, "%d", static_cast<int> (value));
    return CFStringCreateWithCString (nullptr, text, kCFStringEncodingASCII);
}
} // namespace

OSStatus AUBase::SaveState (CFPropertyListRef* outData)
{
    const auto& keys = ClassInfoKeys::Get();
    const auto description = GetComponentDescription();
    auto dictionary = CFDictionaryCreateMutable (nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);

    const SInt32 version = 0;
    SetNumber (dictionary, keys.version, kCFNumberSInt32Type, &version);
    SetNumber (dictionary, keys.type, kCFNumberSInt32Type, &description.componentType);
    SetNumber (dictionary, keys.subtype, kCFNumberSInt32Type, &description.componentSubType);
    SetNumber (dictionary, keys.manufacturer, kCFNumberSInt32Type, &description.componentManufacturer);

    auto data = CFDataCreateMutable (nullptr, 0);
    for (AudioUnitScope scope = kAudioUnitScope_Global; scope <= kAudioUnitScope_Output; ++scope)
    {
        auto& theScope = mScopes[scope];
        for (UInt32 index = 0, n = theScope.GetNumberOfElements(); index < n; ++index)
        {
            auto* element = theScope.GetElement (index);
            if (element == nullptr || element->GetNumberOfParameters() == 0)
                continue;
            AppendBigEndian (data, scope);
            AppendBigEndian (data, index);
            element->SaveState (data);
        }
    }
    CFDictionarySetValue (dictionary, keys.data, data);
    CFRelease (data);

    CFDictionarySetValue (dictionary, keys.name, mCurrentPreset.presetName);

    UInt32 renderQuality = 0;
    if (GetProperty (kAudioUnitProperty_RenderQuality, kAudioUnitScope_Global, 0, &renderQuality) == noErr)
        SetNumber (dictionary, keys.renderQuality, kCFNumberSInt32Type, &renderQuality);
    Float32 cpuLoad = 0;
    if (GetProperty (kAudioUnitProperty_CPULoad, kAudioUnitScope_Global, 0, &cpuLoad) == noErr)
        SetNumber (dictionary, keys.cpuLoad, kCFNumberFloat32Type, &cpuLoad);

    bool anyNames = false;
    for (auto& scope : mScopes)
        anyNames = anyNames || scope.HasElementWithName();
    if (anyNames)
    {
        auto names = CFDictionaryCreateMutable (nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
        for (auto& scope : mScopes)
            scope.AddElementNamesToDict (names);
        CFDictionarySetValue (dictionary, keys.elementName, names);
        CFRelease (names);
    }

    *outData = dictionary;
    return noErr;
}

OSStatus AUBase::RestoreState (CFPropertyListRef plist)
{
    const auto& keys = ClassInfoKeys::Get();
    if (plist == nullptr || CFGetTypeID (plist) != CFDictionaryGetTypeID())
        return kAudioUnitErr_InvalidPropertyValue;
    auto dictionary = static_cast<CFDictionaryRef> (plist);
    const auto description = GetComponentDescription();

    if (CFDictionaryContainsKey (dictionary, keys.part))
        return kAudioUnitErr_InvalidPropertyValue;

    SInt32 version = 0, subtype = 0, manufacturer = 0;
    if (! GetSInt32 (dictionary, keys.version, version) || version != 0)
        return kAudioUnitErr_InvalidPropertyValue;
    if (! GetSInt32 (dictionary, keys.subtype, subtype) || static_cast<UInt32> (subtype) != description.componentSubType)
        return kAudioUnitErr_InvalidPropertyValue;
    if (! GetSInt32 (dictionary, keys.manufacturer, manufacturer)
        || static_cast<UInt32> (manufacturer) != description.componentManufacturer)
        return kAudioUnitErr_InvalidPropertyValue;

    if (auto data = GetTyped<CFDataRef> (dictionary, keys.data, CFDataGetTypeID()))
    {
        const UInt8* p = CFDataGetBytePtr (data);
        const UInt8* end = p + CFDataGetLength (data);
        while (p != nullptr && end - p >= 8)
        {
            const AudioUnitScope scope = ReadBigEndian (p);
            const AudioUnitElement index = ReadBigEndian (p + 4);
            p += 8;
            auto* element = GetScope (scope).GetElement (index);
            if (element == nullptr)
                break;
            p = element->RestoreState (p, end);  // null when the block does not fit: reading ends
        }
    }

    auto name = GetTyped<CFStringRef> (dictionary, keys.name, CFStringGetTypeID());
    SetCurrentPreset (-1, name != nullptr ? name : keys.untitled);
    PropertyChanged (kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0);

    SInt32 renderQuality = 0;
    if (GetSInt32 (dictionary, keys.renderQuality, renderQuality)
        && SetProperty (kAudioUnitProperty_RenderQuality, kAudioUnitScope_Global, 0, &renderQuality, sizeof renderQuality) == noErr)
        PropertyChanged (kAudioUnitProperty_RenderQuality, kAudioUnitScope_Global, 0);

    Float32 cpuLoad = 0;
    if (auto number = GetTyped<CFNumberRef> (dictionary, keys.cpuLoad, CFNumberGetTypeID());
        number != nullptr && CFNumberGetValue (number, kCFNumberFloat32Type, &cpuLoad)
        && SetProperty (kAudioUnitProperty_CPULoad, kAudioUnitScope_Global, 0, &cpuLoad, sizeof cpuLoad) == noErr)
        PropertyChanged (kAudioUnitProperty_CPULoad, kAudioUnitScope_Global, 0);

    if (auto names = GetTyped<CFDictionaryRef> (dictionary, keys.elementName, CFDictionaryGetTypeID()))
    {
        for (AudioUnitScope scope = kAudioUnitScope_Global; scope <= kAudioUnitScope_Group; ++scope)
        {
            auto key = MakeDecimalKey (scope);
            auto scopeNames = GetTyped<CFDictionaryRef> (names, key, CFDictionaryGetTypeID());
            CFRelease (key);
            if (scopeNames != nullptr && mScopes[scope].RestoreElementNamesFromDict (scopeNames))
                PropertyChanged (kAudioUnitProperty_ElementCount, scope, 0);
        }
    }
    return noErr;
}
} // namespace kelmora::au
