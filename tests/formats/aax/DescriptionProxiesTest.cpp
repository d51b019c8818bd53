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
int lastMethod (const CallLog& log, const std::string& interface)
{
    const auto calls = log.calls (interface);
    return calls.empty() ? -1 : calls.back().method;
}

std::string hostName (IACFUnknown* object) { return argObject (object); }

void noProcess (void* const*, const void*) {}
} // namespace

TEST (AAX_VCollection, ForwardsEachOperationByMethodNumber)
{
    LiveCheck check;
    FakeHost host;

    {
        AAX_VCollection collection (host.unknown());
        auto* effect = collection.NewDescriptor();
        auto* map = collection.NewPropertyMap();
        const auto& log = host.log();

        EXPECT_EQ (collection.AddEffect ("com.kelmora.quietline", effect), kAAXSuccess);
        EXPECT_EQ (log.calls ("collection").back().args,
                   std::vector<std::string> ({ "\"com.kelmora.quietline\"", hostName (effect->GetIUnknown()) }));
        EXPECT_EQ (lastMethod (log, "collection"), 7);

        EXPECT_EQ (collection.SetManufacturerName ("Kelmora Labs"), kAAXSuccess);
        EXPECT_EQ (lastMethod (log, "collection"), 8);
        EXPECT_EQ (collection.AddPackageName ("Orvel Quietline"), kAAXSuccess);
        EXPECT_EQ (lastMethod (log, "collection"), 9);
        EXPECT_EQ (collection.SetPackageVersion (0x10000), kAAXSuccess);
        EXPECT_EQ (log.calls ("collection", 10)[0].args, std::vector<std::string> ({ "65536" }));
        EXPECT_EQ (collection.SetProperties (map), kAAXSuccess);
        EXPECT_EQ (log.calls ("collection", 11)[0].args, std::vector<std::string> ({ hostName (map->GetIUnknown()) }));
        EXPECT_EQ (collection.SetProperties (nullptr), kAAXSuccess);
        EXPECT_EQ (log.calls ("collection", 11)[1].args, std::vector<std::string> ({ "null" }));

        const size_t before = log.size();
        EXPECT_EQ (collection.AddEffect ("x", nullptr), kAAXNullObject);
        EXPECT_EQ (log.size(), before) << "a null descriptor never reaches the host";

        host.options().hostResult = -7;
        EXPECT_EQ (collection.AddPackageName ("again"), -7) << "the host's answer comes back unchanged";
    }
}

TEST (AAX_VEffectDescriptor, ForwardsEachOperationByMethodNumber)
{
    LiveCheck check;
    FakeHost host;
    AAX_VCollection collection (host.unknown());
    auto* effect = collection.NewDescriptor();
    auto* component = effect->NewComponentDescriptor();
    auto* map = effect->NewPropertyMap();

    const std::vector<std::pair<int, std::function<AAX_Result()>>> operations {
        { 3, [&] { return effect->AddComponent (component); } },
        { 4, [&] { return effect->AddName ("Quietline"); } },
        { 5, [&] { return effect->AddCategory (1); } },
        { 6, [&] { return effect->AddCategoryBypassParameter (1, "bypassParam"); } },
        { 7, [&] { return effect->AddProcPtr (reinterpret_cast<void*> (&noProcess), 1); } },
        { 8, [&] { return effect->SetProperties (map); } },
        { 9, [&] { return effect->AddResourceInfo (2, "Quietline.xml"); } },
        { 10, [&] { return effect->AddMeterDescription (3, "Out", map); } },
        { 11, [&] { return effect->AddControlMIDINode (1, 2, "MIDI", 0xFFFF); } },
    };

    for (const auto& [method, call] : operations)
    {
        EXPECT_EQ (call(), kAAXSuccess) << method;
        EXPECT_EQ (lastMethod (host.log(), "effectDescriptor"), method);
    }

    EXPECT_EQ (host.log().calls ("effectDescriptor", 3)[0].args,
               std::vector<std::string> ({ hostName (component->GetIUnknown()) }));
    EXPECT_EQ (effect->AddComponent (nullptr), kAAXSuccess);
    EXPECT_EQ (host.log().calls ("effectDescriptor", 3)[1].args, std::vector<std::string> ({ "null" }));
}

TEST (AAX_VComponentDescriptor, ForwardsEachOperationByMethodNumber)
{
    LiveCheck check;
    FakeHost host;
    AAX_VCollection collection (host.unknown());
    auto* component = collection.NewDescriptor()->NewComponentDescriptor();
    auto* map = component->NewPropertyMap();
    const uint32_t meters[] = { 7, 8 };
    AAX_ProcedureID procedure = 0;

    const std::vector<std::pair<int, std::function<AAX_Result()>>> operations {
        { 3, [&] { return component->Clear(); } },
        { 5, [&] { return component->AddAudioIn (0); } },
        { 6, [&] { return component->AddAudioOut (1); } },
        { 7, [&] { return component->AddAudioBufferLength (2); } },
        { 8, [&] { return component->AddSampleRate (3); } },
        { 9, [&] { return component->AddClock (4); } },
        { 10, [&] { return component->AddSideChainIn (5); } },
        { 11, [&] { return component->AddDataInPort (6, 4, 1); } },
        { 12, [&] { return component->AddAuxOutputStem (7, 2, "Aux"); } },
        { 13, [&] { return component->AddPrivateData (8, 64, 0); } },
        { 19, [&] { return component->AddTemporaryData (9, 16); } },
        { 14, [&] { return component->AddDmaInstance (10, 1); } },
        { 18, [&] { return component->AddMeters (11, meters, 2); } },
        { 15, [&] { return component->AddMIDINode (12, 1, "In", 1); } },
        { 4, [&] { return component->AddReservedField (13, 5); } },
        { 16, [&] { return component->AddProcessProc_Native (&noProcess, map, nullptr, nullptr, &procedure); } },
        { 17, [&] { return component->AddProcessProc_TI ("lib", "proc", nullptr, "init", "bg"); } },
    };

    for (const auto& [method, call] : operations)
    {
        EXPECT_EQ (call(), kAAXSuccess) << method;
        EXPECT_EQ (lastMethod (host.log(), "componentDescriptor"), method);
    }

    EXPECT_EQ (host.log().calls ("componentDescriptor", 18)[0].args, std::vector<std::string> ({ "11", "7", "8" }));
    EXPECT_EQ (host.log().calls ("componentDescriptor", 16)[0].args[1], hostName (map->GetIUnknown()));
    EXPECT_EQ (host.log().calls ("componentDescriptor", 17)[0].args[2], "null");
    EXPECT_EQ (procedure, 1u);
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
    EXPECT_EQ (map.RemoveProperty (20), kAAXSuccess);
    EXPECT_FALSE (map.GetProperty (20, &value));

    const AAX_IdentifierTriad ids[] = { { 1, 2, 3 }, { 4, 5, 6 } };
    const AAX_IdentifierTriad* answered = nullptr;
    uint32_t count = 0;
    EXPECT_EQ (map.AddPropertyWithIDArray (30, ids, 2), kAAXSuccess);
    EXPECT_TRUE (map.GetPropertyWithIDArray (30, &answered, &count));
    ASSERT_EQ (count, 2u);
    EXPECT_EQ (answered[1].plugInID, 6u);
    EXPECT_FALSE (map.GetPropertyWithIDArray (31, &answered, &count));

    std::vector<int> methods;
    for (const auto& call : host.log().calls ("propertyMap"))
        methods.push_back (call.method);

    EXPECT_EQ (methods, std::vector<int> ({ 3, 4, 3, 5, 3, 6, 7, 7 }));
}

TEST (AAXDescriptionProxies, SecondVersionsAreOptional)
{
    LiveCheck check;
    FakeHostOptions options;
    options.effectDescriptorV2 = false;
    options.componentDescriptorV2 = false;
    options.propertyMapV2 = false;
    FakeHost host (options);
    AAX_VCollection collection (host.unknown());
    auto* effect = collection.NewDescriptor();
    auto* component = effect->NewComponentDescriptor();
    auto* map = component->NewPropertyMap();
    const AAX_IdentifierTriad* ids = nullptr;
    uint32_t count = 0;

    host.log().clear();
    EXPECT_EQ (component->AddTemporaryData (0, 4), kAAXNotSupported);
    EXPECT_EQ (effect->AddControlMIDINode (1, 1, "m", 1), kAAXNotSupported);
    EXPECT_EQ (map->AddPropertyWithIDArray (1, nullptr, 0), kAAXNotSupported);
    EXPECT_FALSE (map->GetPropertyWithIDArray (1, &ids, &count));
    EXPECT_EQ (host.log().size(), 0u);

    EXPECT_EQ (component->AddAudioIn (0), kAAXSuccess);
    EXPECT_EQ (effect->AddName ("n"), kAAXSuccess);
    EXPECT_EQ (map->AddProperty (10, 1), kAAXSuccess);
    EXPECT_EQ (host.log().size(), 3u) << "the first versions still reach the host";
}

TEST (AAXDescriptionProxies, WithoutAHostEveryOperationFallsBack)
{
    LiveCheck check;
    FakeHostOptions noFactory;
    noFactory.componentFactory = false;
    FakeHost factoryless (noFactory);

    for (IACFUnknown* host : { static_cast<IACFUnknown*> (nullptr), factoryless.unknown() })
    {
        AAX_VCollection collection (host);
        auto* effect = collection.NewDescriptor();
        auto* component = effect->NewComponentDescriptor();
        auto* map = collection.NewPropertyMap();
        ASSERT_NE (effect, nullptr);
        ASSERT_NE (component, nullptr);
        ASSERT_NE (map, nullptr);
        EXPECT_EQ (collection.GetIUnknown(), nullptr);

        EXPECT_EQ (collection.AddEffect ("id", effect), kAAXNullObject);
        EXPECT_EQ (collection.SetManufacturerName ("m"), kAAXNullObject);
        EXPECT_EQ (collection.AddPackageName ("p"), kAAXNullObject);
        EXPECT_EQ (collection.SetPackageVersion (1), kAAXNullObject);
        EXPECT_EQ (collection.SetProperties (map), kAAXNullObject);

        EXPECT_EQ (effect->AddComponent (component), kAAXNullObject);
        EXPECT_EQ (effect->AddName ("n"), kAAXNullObject);
        EXPECT_EQ (effect->AddCategory (1), kAAXNullObject);
        EXPECT_EQ (effect->AddCategoryBypassParameter (1, "b"), kAAXNullObject);
        EXPECT_EQ (effect->AddProcPtr (nullptr, 1), kAAXNullObject);
        EXPECT_EQ (effect->SetProperties (map), kAAXNullObject);
        EXPECT_EQ (effect->AddResourceInfo (1, "r"), kAAXNullObject);
        EXPECT_EQ (effect->AddMeterDescription (1, "m", map), kAAXNullObject);
        EXPECT_EQ (effect->AddControlMIDINode (1, 1, "m", 1), kAAXNotSupported);

        EXPECT_EQ (component->Clear(), kAAXNullObject);
        EXPECT_EQ (component->AddAudioIn (0), kAAXNullObject);
        EXPECT_EQ (component->AddDataInPort (0, 4, 1), kAAXNullObject);
        EXPECT_EQ (component->AddMeters (0, nullptr, 0), kAAXNullObject);
        EXPECT_EQ (component->AddProcessProc_Native (&noProcess, map, nullptr, nullptr, nullptr), kAAXNullObject);
        EXPECT_EQ (component->AddTemporaryData (0, 4), kAAXNotSupported);

        int32_t value = 3;
        const AAX_IdentifierTriad* ids = nullptr;
        uint32_t count = 0;
        EXPECT_FALSE (map->GetProperty (10, &value));
        EXPECT_EQ (map->AddProperty (10, 1), kAAXNullObject);
        EXPECT_EQ (map->RemoveProperty (10), kAAXNullObject);
        EXPECT_EQ (map->AddPropertyWithIDArray (10, nullptr, 0), kAAXNotSupported);
        EXPECT_FALSE (map->GetPropertyWithIDArray (10, &ids, &count));
        EXPECT_NE (component->DuplicatePropertyMap (map), nullptr);
    }

    EXPECT_EQ (factoryless.log().size(), 0u);
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
    EXPECT_FALSE (copy->GetProperty (9, &value));
    EXPECT_FALSE (copy->GetProperty (308, &value));
    EXPECT_TRUE (copy->GetProperty (307, &value));
    EXPECT_EQ (value, 614);

    auto* empty = component->DuplicatePropertyMap (nullptr);
    ASSERT_NE (empty, nullptr);
    EXPECT_FALSE (empty->GetProperty (10, &value));
}

TEST (AAX_VCollection, DestructionDeletesTheWholeTreeAndReleasesInOrder)
{
    LiveCheck check;
    FakeHost host;
    std::vector<std::string> expected;
    const int fakesBefore = liveFakeObjects();

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
            expected.push_back (hostName (component->GetIUnknown()));
            expected.push_back (hostName (map->GetIUnknown()));
            expected.push_back (hostName (effect->GetIUnknown()));
        }

        expected.push_back (hostName (collection.NewPropertyMap()->GetIUnknown()));
        expected.push_back (hostName (collection.GetIUnknown()));
        EXPECT_EQ (liveFakeObjects(), fakesBefore + 8);
        clearDestroyedFakes();
    }

    EXPECT_EQ (destroyedFakes(), expected);
    EXPECT_EQ (host.unknown()->AddRef(), 2u) << "every reference to the host unknown given back";
    host.unknown()->Release();
}
