#include "formats/aax/CACFUnknown.h"

#include "formats/aax/fakehost/FakeObject.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <tuple>
#include <vector>

using kelmora::aax::CACFUnknown;

namespace
{
acfUID parseGrouped (const std::string& text)
{
    acfUID id {};
    unsigned d1 = 0, d2 = 0, d3 = 0, b[8] {};
    const int n = std::sscanf (text.c_str(), "%8x-%4x-%4x-%2x%2x-%2x%2x%2x%2x%2x%2x", &d1, &d2, &d3, &b[0], &b[1],
                               &b[2], &b[3], &b[4], &b[5], &b[6], &b[7]);
    EXPECT_EQ (n, 11) << text;
    id.data1 = d1;
    id.data2 = static_cast<uint16_t> (d2);
    id.data3 = static_cast<uint16_t> (d3);

    for (int i = 0; i < 8; ++i)
        id.data4[i] = static_cast<uint8_t> (b[i]);

    return id;
}

struct NamedID
{
    const char* name;
    const acfUID* id;
    const char* text;
};

const NamedID identifierTable[] = {
    { "IACFUnknown", &kAAXID_IACFUnknown, "00000000-0000-0000-C000-000000000046" },
    { "HostComponentFactory", &kAAXID_HostComponentFactory, "382B6A96-7FD0-11D6-BCFE-00306542A024" },
    { "PluginDefinition", &kAAXID_PluginDefinition, "00EEF015-7FD0-11D6-8485-00306542A024" },
    { "HostServicesClass", &kAAXID_HostServicesClass, "88882C2D-EBBC-42EF-C0AB-8981B0BD0CCA" },
    { "HostServices", &kAAXID_HostServices, "96D42C2D-EBBC-41EF-B0AB-9991A0ED0CCA" },
    { "CollectionClass", &kAAXID_CollectionClass, "89882C2D-77BC-42EF-707B-7981B7BD0CCA" },
    { "Collection", &kAAXID_Collection, "96D42C2D-EBBC-41DF-B1AB-9991A2EE0CCA" },
    { "EffectDescriptorClass", &kAAXID_EffectDescriptorClass, "89872C2D-75BC-423F-401B-F9A1BAAD0CCA" },
    { "EffectDescriptor", &kAAXID_EffectDescriptor, "96D42C2D-EBBC-41EF-D1CB-499442E40FDA" },
    { "EffectDescriptor_V2", &kAAXID_EffectDescriptor_V2, "41ECCC52-416B-4072-84BD-40B05210A74C" },
    { "ComponentDescriptorClass", &kAAXID_ComponentDescriptorClass, "94872C3D-95BC-413D-D0DB-D9B12AAD0CCA" },
    { "ComponentDescriptor", &kAAXID_ComponentDescriptor, "96E42C2D-E2BC-51EF-61C7-48994AEB0CDA" },
    { "ComponentDescriptor_V2", &kAAXID_ComponentDescriptor_V2, "1895259E-AAA9-4F0F-A985-149837B76F89" },
    { "PropertyMapClass", &kAAXID_PropertyMapClass, "A587AD3D-D53C-4ADC-D0DD-D9D12DDDDCDA" },
    { "PropertyMap", &kAAXID_PropertyMap, "96EE2C2D-EECC-5EFF-E2D7-E849E3E2EEEE" },
    { "PropertyMap_V2", &kAAXID_PropertyMap_V2, "7177DF80-7C9C-11E2-B92A-0800200C9A66" },
    { "AutomationDelegate", &kAAXID_AutomationDelegate, "9D5E3D3D-42DC-5EFA-2217-EEE2E8E53E2E" },
    { "Controller", &kAAXID_Controller, "9D5E3E3D-52DC-5EFB-2018-DE1DE2E63F4E" },
    { "Controller_V2", &kAAXID_Controller_V2, "4C59AA0E-D7C0-4205-8B6C-32468D42D202" },
    { "ViewContainer", &kAAXID_ViewContainer, "22DA0BBC-D550-4D5E-8CC6-734483B8837F" },
    { "Transport", &kAAXID_Transport, "5CEE4EF4-6337-4359-B63B-FE58DC36543A" },
    { "Transport_V2", &kAAXID_Transport_V2, "203CBD9F-982C-4FE6-A827-07480257AEC3" },
    { "EffectParameters", &kAAXID_EffectParameters, "964E333D-334C-533F-C2C7-3834C3C23E3E" },
    { "EffectParameters_V2", &kAAXID_EffectParameters_V2, "F1F47D06-308F-4CC5-9C7C-50A83F8AB813" },
    { "EffectGUI", &kAAXID_EffectGUI, "964E323D-424C-5E1A-2227-282423222E1E" },
};

/** A plug-in object that notes its own destruction. */
class Probe : public CACFUnknown
{
public:
    explicit Probe (bool& destroyedFlag) : destroyed (destroyedFlag) {}
    ~Probe() override { destroyed = true; }

    void FinalRelease() override { finalReleased = true; }
    bool finalReleased = false;

private:
    bool& destroyed;
};
} // namespace

TEST (AAXIdentifiers, EachEqualsItsGroupedTextAndAllAreDistinct)
{
    for (const auto& entry : identifierTable)
        EXPECT_TRUE (*entry.id == parseGrouped (entry.text)) << entry.name;

    for (const auto& a : identifierTable)
    {
        for (const auto& b : identifierTable)
        {
            if (a.id != b.id)
            {
                EXPECT_TRUE (*a.id != *b.id) << a.name << " and " << b.name;
            }
        }
    }

    // The numeric fields are stored in host order, the 8 bytes as written.
    const auto* bytes = reinterpret_cast<const uint8_t*> (&kAAXID_HostComponentFactory);
    EXPECT_EQ (bytes[0], 0x96);
    EXPECT_EQ (bytes[3], 0x38);
    EXPECT_EQ (bytes[4], 0xD0);
    EXPECT_EQ (bytes[8], 0xBC);
    EXPECT_EQ (bytes[15], 0x24);
}

TEST (CACFUnknown, ReferenceCountingDestroysAtZero)
{
    quietline::test::aax::LiveCheck check;
    const int32_t before = CACFUnknown::GetActiveObjectCount();
    bool destroyed = false;
    auto* probe = new Probe (destroyed);

    EXPECT_EQ (probe->GetRefCount(), 0u);
    EXPECT_EQ (CACFUnknown::GetActiveObjectCount(), before + 1);
    EXPECT_EQ (probe->FinalConstruct(), kAAXSuccess);
    EXPECT_EQ (probe->InternalAddRef(), 1u);
    EXPECT_EQ (probe->InternalAddRef(), 2u);
    EXPECT_EQ (probe->InternalRelease(), 1u);
    EXPECT_FALSE (destroyed);
    EXPECT_EQ (probe->InternalRelease(), 0u);
    EXPECT_TRUE (destroyed);
    EXPECT_EQ (CACFUnknown::GetActiveObjectCount(), before);
}

TEST (CACFUnknown, QueryAnswersOnlyTheBaseInterface)
{
    quietline::test::aax::LiveCheck check;
    bool destroyed = false;
    auto* probe = new Probe (destroyed);
    IACFUnknown* outer = probe->GetOuterIUnknown();
    EXPECT_EQ (outer->AddRef(), 1u);

    void* answer = reinterpret_cast<void*> (0x1);
    EXPECT_EQ (outer->QueryInterface (kAAXID_Controller, &answer), kACFNoInterface);
    EXPECT_EQ (answer, nullptr);
    EXPECT_EQ (probe->GetRefCount(), 1u);

    EXPECT_EQ (outer->QueryInterface (kAAXID_IACFUnknown, &answer), kAAXSuccess);
    EXPECT_EQ (answer, static_cast<void*> (outer)) << "the inner unknown, which is the outer one here";
    EXPECT_EQ (probe->GetRefCount(), 2u);

    EXPECT_EQ (outer->QueryInterface (kAAXID_IACFUnknown, nullptr), kACFNullPointer);

    EXPECT_EQ (static_cast<IACFUnknown*> (answer)->Release(), 1u);
    EXPECT_EQ (outer->Release(), 0u);
    EXPECT_TRUE (destroyed);
}

TEST (CACFUnknown, FinalReleaseRunsBeforeDeletion)
{
    bool destroyed = false;
    bool finalReleasedBeforeDelete = false;

    struct Watcher : Probe
    {
        Watcher (bool& d, bool& f) : Probe (d), flag (f) {}
        ~Watcher() override { flag = finalReleased; }
        bool& flag;
    };

    auto* watcher = new Watcher (destroyed, finalReleasedBeforeDelete);
    watcher->InternalAddRef();
    watcher->InternalRelease();
    EXPECT_TRUE (destroyed);
    EXPECT_TRUE (finalReleasedBeforeDelete);
}
