#include "formats/au/AUScope.h"

#include "formats/au/AUBase.h"
#include "formats/au/AUIOElement.h"
#include "formats/au/StatusLadder.h"

#include <cstdio>
#include <map>

namespace kelmora::au
{
namespace
{
// A canonical unsigned decimal below the cap: digits only, no sign, no leading zero.
bool ParseElementKey (CFTypeRef key, UInt32& index)
{
    char text[32];
    if (CFGetTypeID (key) != CFStringGetTypeID()
        || ! CFStringGetCString (static_cast<CFStringRef> (key), text, sizeof text, kCFStringEncodingASCII)
        || text[0] == 0 || (text[0] == '0' && text[1] != 0))
        return false;

    UInt64 value = 0;
    for (const char* c = text; *c != 0; ++c)
    {
        if (*c < '0' || *c > '9')
            return false;
        value = value * 10 + UInt64 (*c - '0');
        if (value >= AUScope::kMaxRestoredElementIndex)
            return false;
    }
    index = static_cast<UInt32> (value);
    return true;
}
} // namespace

void AUScope::Initialize (AUBase* unit, AudioUnitScope scope, UInt32 count)
{
    mCreator = unit;
    mScope = scope;
    SetNumberOfElements (count);
}

void AUScope::SetNumberOfElements (UInt32 count)
{
    if (mDelegate != nullptr)
    {
        mDelegate->SetNumberOfElements (count);
        return;
    }
    if (count < mElements.size())
    {
        while (mElements.size() > count)
            mElements.pop_back();
        return;
    }
    mElements.reserve (count);
    for (auto index = static_cast<UInt32> (mElements.size()); index < count; ++index)
        mElements.emplace_back (mCreator->CreateElement (mScope, index));
}

UInt32 AUScope::GetNumberOfElements() const
{
    return mDelegate != nullptr ? mDelegate->GetNumberOfElements() : static_cast<UInt32> (mElements.size());
}

AUElement* AUScope::GetElement (UInt32 index) const
{
    if (mDelegate != nullptr)
        return mDelegate->GetElement (index);
    return index < mElements.size() ? mElements[index].get() : nullptr;
}

AUIOElement* AUScope::GetIOElement (UInt32 index) const
{
    auto* element = GetElement (index);
    auto* io = element != nullptr ? element->AsIOElement() : nullptr;
    if (io == nullptr)
        ThrowStatus (kAudioUnitErr_InvalidElement);
    return io;
}

bool AUScope::HasElementWithName() const
{
    for (UInt32 i = 0, n = GetNumberOfElements(); i < n; ++i)
        if (auto* element = GetElement (i); element != nullptr && element->HasName())
            return true;
    return false;
}

void AUScope::AddElementNamesToDict (CFMutableDictionaryRef dictionary) const
{
    if (! HasElementWithName())
        return;

    auto names = CFDictionaryCreateMutable (nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    char text[16];
    for (UInt32 i = 0, n = GetNumberOfElements(); i < n; ++i)
    {
        auto* element = GetElement (i);
        if (element == nullptr || ! element->HasName())
            continue;
        std::snprintf (text, sizeof text, "%d", static_cast<int> (i));
        auto key = CFStringCreateWithCString (nullptr, text, kCFStringEncodingASCII);
        CFDictionarySetValue (names, key, element->GetName());
        CFRelease (key);
    }

    std::snprintf (text, sizeof text, "%d", static_cast<int> (mScope));
    auto key = CFStringCreateWithCString (nullptr, text, kCFStringEncodingASCII);
    CFDictionarySetValue (dictionary, key, names);
    CFRelease (key);
    CFRelease (names);
}

bool AUScope::RestoreElementNamesFromDict (CFDictionaryRef names)
{
    const CFIndex count = CFDictionaryGetCount (names);
    std::vector<const void*> keys (static_cast<size_t> (count)), values (static_cast<size_t> (count));
    CFDictionaryGetKeysAndValues (names, keys.data(), values.data());

    std::map<UInt32, CFStringRef> valid;
    for (size_t i = 0; i < keys.size(); ++i)
    {
        UInt32 index;
        if (ParseElementKey (keys[i], index) && CFGetTypeID (values[i]) == CFStringGetTypeID())
            valid[index] = static_cast<CFStringRef> (values[i]);
    }
    if (valid.empty())
        return false;

    bool grew = false;
    const UInt32 largest = valid.rbegin()->first;
    if (largest >= GetNumberOfElements())
    {
        SetNumberOfElements (largest + 1);
        grew = true;
    }
    for (auto& [index, name] : valid)
        if (auto* element = GetElement (index))
            element->SetName (name);
    return grew;
}
} // namespace kelmora::au
