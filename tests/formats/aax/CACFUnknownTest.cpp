#include "formats/aax/AAX_Exports.h"
#include "formats/aax/CACFUnknown.h"
#include "support/Concurrency.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

using kelmora::aax::CACFUnknown;

namespace
{
acfUID parseGrouped (const char* text)
{
    unsigned v[11] {};
    EXPECT_EQ (std::sscanf (text, "%8x-%4x-%4x-%2x%2x-%2x%2x%2x%2x%2x%2x", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9], &v[10]), 11);
    acfUID id { v[0], static_cast<uint16_t> (v[1]), static_cast<uint16_t> (v[2]), {} };
    for (int i = 0; i < 8; ++i)
        id.data4[i] = static_cast<uint8_t> (v[3 + i]);
    return id;
}

/** A plug-in object that notes whether FinalRelease ran before its destruction. */
struct Probe : CACFUnknown
{
    explicit Probe (int& state) : destroyed (state) {}
    ~Probe() override { destroyed = finalReleased ? 2 : 1; }
    void FinalRelease() override { finalReleased = true; }
    int& destroyed;
    bool finalReleased = false;
};
} // namespace

TEST (AAXIdentifiers, EachEqualsItsGroupedTextAndAllAreDistinct)
{
    const std::pair<const acfUID*, const char*> table[] = {
        { &kAAXID_IACFUnknown, "00000000-0000-0000-C000-000000000046" }, { &kAAXID_HostComponentFactory, "382B6A96-7FD0-11D6-BCFE-00306542A024" },
        { &kAAXID_PluginDefinition, "00EEF015-7FD0-11D6-8485-00306542A024" }, { &kAAXID_HostServicesClass, "88882C2D-EBBC-42EF-C0AB-8981B0BD0CCA" },
        { &kAAXID_HostServices, "96D42C2D-EBBC-41EF-B0AB-9991A0ED0CCA" }, { &kAAXID_CollectionClass, "89882C2D-77BC-42EF-707B-7981B7BD0CCA" },
        { &kAAXID_Collection, "96D42C2D-EBBC-41DF-B1AB-9991A2EE0CCA" }, { &kAAXID_EffectDescriptorClass, "89872C2D-75BC-423F-401B-F9A1BAAD0CCA" },
        { &kAAXID_EffectDescriptor, "96D42C2D-EBBC-41EF-D1CB-499442E40FDA" }, { &kAAXID_EffectDescriptor_V2, "41ECCC52-416B-4072-84BD-40B05210A74C" },
        { &kAAXID_ComponentDescriptorClass, "94872C3D-95BC-413D-D0DB-D9B12AAD0CCA" }, { &kAAXID_ComponentDescriptor, "96E42C2D-E2BC-51EF-61C7-48994AEB0CDA" },
        { &kAAXID_ComponentDescriptor_V2, "1895259E-AAA9-4F0F-A985-149837B76F89" }, { &kAAXID_PropertyMapClass, "A587AD3D-D53C-4ADC-D0DD-D9D12DDDDCDA" },
        { &kAAXID_PropertyMap, "96EE2C2D-EECC-5EFF-E2D7-E849E3E2EEEE" }, { &kAAXID_PropertyMap_V2, "7177DF80-7C9C-11E2-B92A-0800200C9A66" },
        { &kAAXID_AutomationDelegate, "9D5E3D3D-42DC-5EFA-2217-EEE2E8E53E2E" }, { &kAAXID_Controller, "9D5E3E3D-52DC-5EFB-2018-DE1DE2E63F4E" },
        { &kAAXID_Controller_V2, "4C59AA0E-D7C0-4205-8B6C-32468D42D202" }, { &kAAXID_ViewContainer, "22DA0BBC-D550-4D5E-8CC6-734483B8837F" },
        { &kAAXID_Transport, "5CEE4EF4-6337-4359-B63B-FE58DC36543A" }, { &kAAXID_Transport_V2, "203CBD9F-982C-4FE6-A827-07480257AEC3" },
        { &kAAXID_EffectParameters, "964E333D-334C-533F-C2C7-3834C3C23E3E" }, { &kAAXID_EffectParameters_V2, "F1F47D06-308F-4CC5-9C7C-50A83F8AB813" },
        { &kAAXID_EffectGUI, "964E323D-424C-5E1A-2227-282423222E1E" },
    };

    for (const auto& [id, text] : table)
    {
        EXPECT_TRUE (*id == parseGrouped (text)) << text;
        for (const auto& other : table)
            EXPECT_TRUE (other.first == id || *other.first != *id) << text << " and " << other.second;
    }
    // The numeric fields are stored in host order, the 8 bytes as written.
    EXPECT_EQ (std::memcmp (&kAAXID_HostComponentFactory, "\x96\x6A\x2B\x38\xD0\x7F\xD6\x11\xBC\xFE\x00\x30\x65\x42\xA0\x24", 16), 0);
}

TEST (CACFUnknown, CountsReferencesAndAnswersOnlyItsOwnInterfaces)
{
    const int32_t before = ACFCanUnloadNow (nullptr);
    int destroyed = 0;
    auto* probe = new Probe (destroyed);
    IACFUnknown* outer = probe->GetOuterIUnknown();
    EXPECT_TRUE (probe->GetRefCount() == 0 && ACFCanUnloadNow (nullptr) == before + 1);
    EXPECT_EQ (outer->AddRef(), 1u);

    void* answer = reinterpret_cast<void*> (0x1);
    EXPECT_TRUE (outer->QueryInterface (kAAXID_Controller, &answer) == kACFNoInterface && answer == nullptr);
    EXPECT_EQ (outer->QueryInterface (kAAXID_IACFUnknown, nullptr), kACFNullPointer);
    EXPECT_TRUE (outer->QueryInterface (kAAXID_IACFUnknown, &answer) == kAAXSuccess && answer == outer && probe->GetRefCount() == 2);
    EXPECT_TRUE (static_cast<IACFUnknown*> (answer)->Release() == 1 && destroyed == 0);
    EXPECT_TRUE (outer->Release() == 0 && destroyed == 2) << "FinalRelease runs, then the object is deleted";
    EXPECT_EQ (ACFCanUnloadNow (nullptr), before);
}

// Hosts add and release references on whatever thread they like: one shared object must be
// deleted exactly once, and the live-object count must come back to where it was.
TEST (CACFUnknownThreads, ReferencesFromManyThreadsBalance)
{
    const int32_t liveBefore = CACFUnknown::GetActiveObjectCount();
    int sharedState = 0;
    std::atomic<int> deletions { 0 };
    auto* shared = new Probe (sharedState);
    shared->InternalAddRef();

    quietline::test::StartLatch start (4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back ([&] {
            start.arriveAndWait();
            for (int i = 0; i < 20000; ++i)
            {
                int own = 0;
                auto* probe = new Probe (own);
                shared->GetOuterIUnknown()->AddRef(), probe->InternalAddRef();
                shared->GetOuterIUnknown()->Release(), probe->InternalRelease();
                deletions += own != 0 ? 1 : 0;
            }
        });
    for (auto& thread : threads)
        thread.join();

    EXPECT_TRUE (deletions.load() == 4 * 20000 && shared->InternalRelease() == 0 && sharedState == 2);
    EXPECT_EQ (CACFUnknown::GetActiveObjectCount(), liveBefore);
}
