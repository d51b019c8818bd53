#pragma once

#include "formats/au/AUElement.h"

#include <memory>
#include <vector>

namespace kelmora::au
{
class AUIOElement;

/** Answers a scope's element count, look-up and resize in place of the scope's own array. */
class AUScopeDelegate
{
public:
    virtual ~AUScopeDelegate() = default;
    virtual void SetNumberOfElements (UInt32 count) = 0;
    virtual UInt32 GetNumberOfElements() const = 0;
    virtual AUElement* GetElement (UInt32 index) const = 0;
};

/** The elements of one scope of a unit, created through the unit's CreateElement. */
class AUScope
{
public:
    AUScope() = default;
    void Initialize (AUBase* unit, AudioUnitScope scope, UInt32 count);

    AudioUnitScope GetScope() const noexcept { return mScope; }
    void SetDelegate (AUScopeDelegate* delegate) noexcept { mDelegate = delegate; }

    // Shrinking deletes elements from the end; growing appends new ones in index order.
    void SetNumberOfElements (UInt32 count);
    UInt32 GetNumberOfElements() const;
    AUElement* GetElement (UInt32 index) const;  // null when absent
    AUIOElement* GetIOElement (UInt32 index) const;  // throws kAudioUnitErr_InvalidElement

    bool HasElementWithName() const;
    void AddElementNamesToDict (CFMutableDictionaryRef dictionary) const;
    // Answers whether the scope grew to hold a named element.
    bool RestoreElementNamesFromDict (CFDictionaryRef names);

    // Element-name keys at or above this index are ignored on restore.
    static constexpr UInt32 kMaxRestoredElementIndex = 1024;

private:
    AUBase* mCreator = nullptr;
    AudioUnitScope mScope = 0;
    std::vector<std::unique_ptr<AUElement>> mElements;
    AUScopeDelegate* mDelegate = nullptr;
};
} // namespace kelmora::au
