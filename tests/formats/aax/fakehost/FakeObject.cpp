#include "formats/aax/fakehost/FakeObject.h"

#include "formats/aax/CACFUnknown.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>

namespace quietline::test::aax
{
namespace
{
std::mutex registryLock;
std::vector<const FakeCounted*>& registry()
{
    static std::vector<const FakeCounted*> objects;
    return objects;
}
std::atomic<int> serial { 0 };
std::vector<std::string> destroyed;
} // namespace

FakeCounted::FakeCounted (const std::string& kind) : objectName (kind + "#" + std::to_string (++serial))
{
    std::lock_guard<std::mutex> guard (registryLock);
    registry().push_back (this);
}

FakeCounted::~FakeCounted()
{
    std::lock_guard<std::mutex> guard (registryLock);
    auto& objects = registry();
    objects.erase (std::remove (objects.begin(), objects.end(), this), objects.end());
    destroyed.push_back (objectName);
}

uint32_t FakeCounted::addRef() { return refs.fetch_add (1) + 1; }

uint32_t FakeCounted::release()
{
    const uint32_t count = refs.fetch_sub (1) - 1;

    if (count == 0)
        delete this;

    return count;
}

int liveFakeObjects()
{
    std::lock_guard<std::mutex> guard (registryLock);
    return static_cast<int> (registry().size());
}

std::vector<std::string> liveFakeNames()
{
    std::lock_guard<std::mutex> guard (registryLock);
    std::vector<std::string> names;

    for (const auto* object : registry())
        names.push_back (object->name());

    return names;
}

std::vector<std::string> destroyedFakes()
{
    std::lock_guard<std::mutex> guard (registryLock);
    return destroyed;
}

void clearDestroyedFakes()
{
    std::lock_guard<std::mutex> guard (registryLock);
    destroyed.clear();
}

LiveCheck::LiveCheck()
    : fakesAtStart (liveFakeObjects()),
      pluginObjectsAtStart (kelmora::aax::CACFUnknown::GetActiveObjectCount())
{
}

LiveCheck::~LiveCheck()
{
    EXPECT_EQ (liveFakeObjects(), fakesAtStart) << "host objects still referenced: "
                                                 << ::testing::PrintToString (liveFakeNames());
    EXPECT_EQ (kelmora::aax::CACFUnknown::GetActiveObjectCount(), pluginObjectsAtStart)
        << "plug-in objects still alive";
}
} // namespace quietline::test::aax
