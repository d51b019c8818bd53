#include "formats/aax/AAX_VCollection.h"

#include "formats/aax/fakehost/FakeHost.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace kelmora::aax;
using namespace quietline::test::aax;

namespace
{
void noProcess (void* const*, const void*) {}

/** One proxy operation, the host method it must reach, and its answer without a host. */
struct Operation
{
    const char* interface;
    int method;
    AAX_Result fallback;   // -20009 marks a second-version method
    std::function<AAX_Result()> call;
};

std::vector<Operation> operations (AAX_VCollection* c)
{
    auto* e = c->NewDescriptor();
    auto* d = e->NewComponentDescriptor();
    auto* m = c->NewPropertyMap();
    static const uint32_t meters[] = { 7, 8 };
    static AAX_ProcedureID procedure = 0;
    static const AAX_IdentifierTriad triad { 1, 2, 3 };
    const AAX_Result none = kAAXNullObject, v2 = kAAXNotSupported;
    return {
        { "collection", 7, none, [=] { return c->AddEffect ("com.kelmora.quietline", e); } },
        { "collection", 8, none, [=] { return c->SetManufacturerName ("Kelmora Labs"); } },
        { "collection", 9, none, [=] { return c->AddPackageName ("Orvel Quietline"); } },
        { "collection", 10, none, [=] { return c->SetPackageVersion (0x10000); } },
        { "collection", 11, none, [=] { return c->SetProperties (m); } },
        { "effectDescriptor", 3, none, [=] { return e->AddComponent (d); } },
        { "effectDescriptor", 4, none, [=] { return e->AddName ("Quietline"); } },
        { "effectDescriptor", 5, none, [=] { return e->AddCategory (1); } },
        { "effectDescriptor", 6, none, [=] { return e->AddCategoryBypassParameter (1, "bypassParam"); } },
        { "effectDescriptor", 7, none, [=] { return e->AddProcPtr (reinterpret_cast<void*> (&noProcess), 1); } },
        { "effectDescriptor", 8, none, [=] { return e->SetProperties (m); } },
        { "effectDescriptor", 9, none, [=] { return e->AddResourceInfo (2, "Quietline.xml"); } },
        { "effectDescriptor", 10, none, [=] { return e->AddMeterDescription (3, "Out", m); } },
        { "effectDescriptor", 11, v2, [=] { return e->AddControlMIDINode (1, 2, "MIDI", 0xFFFF); } },
        { "componentDescriptor", 3, none, [=] { return d->Clear(); } },
        { "componentDescriptor", 4, none, [=] { return d->AddReservedField (13, 5); } },
        { "componentDescriptor", 5, none, [=] { return d->AddAudioIn (0); } },
        { "componentDescriptor", 6, none, [=] { return d->AddAudioOut (1); } },
        { "componentDescriptor", 7, none, [=] { return d->AddAudioBufferLength (2); } },
        { "componentDescriptor", 8, none, [=] { return d->AddSampleRate (3); } },
        { "componentDescriptor", 9, none, [=] { return d->AddClock (4); } },
        { "componentDescriptor", 10, none, [=] { return d->AddSideChainIn (5); } },
        { "componentDescriptor", 11, none, [=] { return d->AddDataInPort (6, 4, 1); } },
        { "componentDescriptor", 12, none, [=] { return d->AddAuxOutputStem (7, 2, "Aux"); } },
        { "componentDescriptor", 13, none, [=] { return d->AddPrivateData (8, 64, 0); } },
        { "componentDescriptor", 14, none, [=] { return d->AddDmaInstance (10, 1); } },
        { "componentDescriptor", 15, none, [=] { return d->AddMIDINode (12, 1, "In", 1); } },
        { "componentDescriptor", 16, none, [=] { return d->AddProcessProc_Native (&noProcess, m, nullptr, nullptr, &procedure); } },
        { "componentDescriptor", 17, none, [=] { return d->AddProcessProc_TI ("lib", "proc", nullptr, "init", "bg"); } },
        { "componentDescriptor", 18, none, [=] { return d->AddMeters (11, meters, 2); } },
        { "componentDescriptor", 19, v2, [=] { return d->AddTemporaryData (9, 16); } },
        { "propertyMap", 4, none, [=] { return m->AddProperty (10, 1); } },
        { "propertyMap", 5, none, [=] { return m->RemoveProperty (10); } },
        { "propertyMap", 6, v2, [=] { return m->AddPropertyWithIDArray (10, &triad, 1); } },
    };
}

std::string nameOf (IACFUnknown* object) { return str (object); }
} // namespace

TEST (AAXDescriptionProxies, EachOperationReachesItsHostMethodOrFallsBack)
{
    LiveCheck check;
    FakeHost full, firstVersions ({ .effectDescriptorV2 = false, .componentDescriptorV2 = false, .propertyMapV2 = false });
    FakeHost factoryless ({ .factory = false });
    for (FakeHost* host : { &full, &firstVersions, &factoryless, static_cast<FakeHost*> (nullptr) })
    {
        AAX_VCollection collection (host != nullptr ? host->unknown() : nullptr);
        for (const auto& op : operations (&collection))
        {
            const size_t before = host != nullptr ? host->log().size() : 0;
            const bool reaches = host == &full || (host == &firstVersions && op.fallback != kAAXNotSupported);
            EXPECT_EQ (op.call(), reaches ? kAAXSuccess : op.fallback) << op.interface << " " << op.method;
            const auto calls = host != nullptr ? host->log().calls() : std::vector<Call>();
            ASSERT_EQ (calls.size(), before + (reaches ? 1 : 0)) << op.interface << " " << op.method;
            EXPECT_TRUE (! reaches || (calls.back().interface == op.interface && calls.back().method == op.method)) << op.interface << " " << op.method;
        }

        auto* map = collection.NewPropertyMap();
        int32_t value = 3;
        const AAX_IdentifierTriad* ids = nullptr;
        uint32_t count = 0;
        const bool hostless = host == nullptr || host == &factoryless;
        EXPECT_EQ (collection.GetIUnknown() == nullptr, hostless);
        EXPECT_FALSE (hostless && (map->GetProperty (10, &value) || map->GetPropertyWithIDArray (10, &ids, &count)));
        EXPECT_NE (collection.NewDescriptor()->NewComponentDescriptor()->DuplicatePropertyMap (map), nullptr);
    }

    const auto& log = full.log();
    EXPECT_EQ (log.calls ("collection", 7).at (0).args.at (1).substr (0, 17), "effectDescriptor#");
    EXPECT_EQ (log.calls ("componentDescriptor", 16).at (0).args.at (1).substr (0, 12) + log.calls ("componentDescriptor", 16).at (0).args.at (4), "propertyMap#ptr");
    EXPECT_EQ (log.calls ("componentDescriptor", 17).at (0).args.at (2), "null");
    EXPECT_EQ (log.calls ("componentDescriptor", 18).at (0).args, std::vector<std::string> ({ "11", "7", "8" }));
    AAX_VCollection collection (full.unknown());
    EXPECT_EQ (collection.AddEffect ("x", nullptr), kAAXNullObject) << "a null descriptor never reaches the host";
    full.options().result = -7;
    EXPECT_EQ (collection.AddPackageName ("again"), -7) << "the host's answer comes back unchanged";
}

TEST (AAX_VPropertyMap, ReadsOnlyTheLowByteOfTheHostsAnswer)
{
    LiveCheck check;
    FakeHost host;
    AAX_VPropertyMap map (host.unknown());
    int32_t value = -1;

    EXPECT_FALSE (map.GetProperty (20, &value)) << "the host's 0x7F00 means false";
    EXPECT_EQ (map.AddProperty (20, 5), kAAXSuccess);
    EXPECT_TRUE (map.GetProperty (20, &value));
    EXPECT_EQ (value, 5);

    const AAX_IdentifierTriad ids[] = { { 1, 2, 3 }, { 4, 5, 6 } };
    const AAX_IdentifierTriad* answered = nullptr;
    uint32_t count = 0;
    EXPECT_EQ (map.AddPropertyWithIDArray (30, ids, 2), kAAXSuccess);
    EXPECT_TRUE (map.GetPropertyWithIDArray (30, &answered, &count));
    ASSERT_EQ (count, 2u);
    EXPECT_EQ (answered[1].plugInID, 6u);
    EXPECT_FALSE (map.GetPropertyWithIDArray (31, &answered, &count));
}

TEST (AAX_VComponentDescriptor, DuplicatePropertyMapCopiesProperties10To307)
{
    LiveCheck check;
    FakeHost host;
    AAX_VCollection collection (host.unknown());
    auto* component = collection.NewDescriptor()->NewComponentDescriptor();
    auto* source = component->NewPropertyMap();
    for (uint32_t property : { 9u, 10u, 150u, 307u, 308u })
        source->AddProperty (property, static_cast<int32_t> (property) * 2);

    host.log().clear();
    auto* copy = component->DuplicatePropertyMap (source);
    ASSERT_NE (copy, nullptr);
    EXPECT_NE (copy, source);
    EXPECT_EQ (host.log().count ("propertyMap", 3), 298u) << "each of 10..307 asked once";
    std::vector<std::string> added;
    for (const auto& call : host.log().calls ("propertyMap", 4))
        added.push_back (call.args[0] + "=" + call.args[1]);
    EXPECT_EQ (added, std::vector<std::string> ({ "10=20", "150=300", "307=614" }));

    int32_t value = 0;
    EXPECT_FALSE (copy->GetProperty (9, &value) || copy->GetProperty (308, &value));
    EXPECT_TRUE (copy->GetProperty (307, &value));
    EXPECT_EQ (value, 614);
    EXPECT_FALSE (component->DuplicatePropertyMap (nullptr)->GetProperty (10, &value));
}

TEST (AAX_VCollection, DestructionDeletesTheWholeTreeAndReleasesInOrder)
{
    LiveCheck check;
    FakeHost host;
    std::vector<std::string> expected;

    {
        AAX_VCollection collection (host.unknown());
        EXPECT_EQ (host.unknown()->AddRef(), 3u) << "the collection holds the host unknown";
        host.unknown()->Release();

        for (int i = 0; i < 2; ++i)
        {
            auto* effect = collection.NewDescriptor();
            auto* component = effect->NewComponentDescriptor();
            auto* map = effect->NewPropertyMap();
            // Each descriptor gives back its components first, then its maps, then itself.
            expected.insert (expected.end(), { nameOf (component->GetIUnknown()), nameOf (map->GetIUnknown()), nameOf (effect->GetIUnknown()) });
        }
        expected.push_back (nameOf (collection.NewPropertyMap()->GetIUnknown()));
        expected.push_back (nameOf (collection.GetIUnknown()));
        FakeCounted::destroyed.clear();
    }

    EXPECT_EQ (FakeCounted::destroyed, expected);
    EXPECT_EQ (host.unknown()->AddRef(), 2u) << "every reference to the host unknown given back";
    host.unknown()->Release();
}
