#include "formats/aax/AAX_CString.h"
#include "formats/aax/AAX_VAutomationDelegate.h"
#include "formats/aax/AAX_VCollection.h"
#include "formats/aax/AAX_VController.h"
#include "formats/aax/AAX_VTransport.h"

#include "formats/aax/LiveCheck.h"
#include "tools/aaxhost/AaxHost.h"

#include <gtest/gtest.h>

using namespace kelmora::aax;
using namespace quietline::test::aax;
using namespace kelmora::tools::aaxhost;

namespace
{
/** One proxy operation, the host method it must reach, and its answer without that host interface. */
struct Operation
{
    const char* interface;
    int method;
    std::pair<AAX_Result, bool> fallback;   // the answer, and whether the reduced host lacks the interface
    std::function<AAX_Result()> call;
};

const std::pair<AAX_Result, bool> none { kAAXNullObject, false }, v2 { kAAXNotSupported, true };

void noProcess (void* const*, const void*) {}

std::vector<Operation> descriptionOperations (IACFUnknown* host)
{
    auto c = std::make_shared<AAX_VCollection> (host);   // owns the others; the collection's operations keep it
    auto* e = c->NewDescriptor();
    auto* d = e->NewComponentDescriptor();
    auto* m = c->NewPropertyMap();
    static const uint32_t meters[] = { 7, 8 };
    static AAX_ProcedureID procedure = 0;
    static const AAX_IdentifierTriad triad { 1, 2, 3 };
    const char *col = "collection", *eff = "effectDescriptor", *cmp = "componentDescriptor", *map = "propertyMap";
    return {
        { col, 7, none, [=] { return c->AddEffect ("com.kelmora.quietline", e); } },
        { col, 8, none, [=] { return c->SetManufacturerName ("Kelmora Labs"); } }, { col, 11, none, [=] { return c->SetProperties (m); } },
        { eff, 3, none, [=] { return e->AddComponent (d); } }, { eff, 4, none, [=] { return e->AddName ("Quietline"); } },
        { eff, 7, none, [=] { return e->AddProcPtr (reinterpret_cast<void*> (&noProcess), 1); } },
        { eff, 11, v2, [=] { return e->AddControlMIDINode (1, 2, "MIDI", 0xFFFF); } }, { cmp, 5, none, [=] { return d->AddAudioIn (0); } },
        { cmp, 6, none, [=] { return d->AddAudioOut (1); } }, { cmp, 11, none, [=] { return d->AddDataInPort (6, 4, 1); } },
        { cmp, 13, none, [=] { return d->AddPrivateData (8, 64, 0); } },
        { cmp, 16, none, [=] { return d->AddProcessProc_Native (&noProcess, m, nullptr, nullptr, &procedure); } },
        { cmp, 18, none, [=] { return d->AddMeters (11, meters, 2); } }, { cmp, 19, v2, [=] { return d->AddTemporaryData (9, 16); } },
        { map, 4, none, [=] { return m->AddProperty (10, 1); } }, { map, 6, v2, [=] { return m->AddPropertyWithIDArray (10, &triad, 1); } },
    };
}

/** Every operation reaches exactly its host method on a full host and on one without the optional
    interfaces (unless optional), and falls back without a host or without a factory. */
void checkOperations (AaxHost& full, AaxHost& reduced, AaxHost& factoryless)
{
    for (AaxHost* host : { &full, &reduced, &factoryless, static_cast<AaxHost*> (nullptr) })
    {
        for (const auto& op : descriptionOperations (host != nullptr ? host->unknown() : nullptr))
        {
            const size_t before = host != nullptr ? host->log().size() : 0;
            const bool reaches = host != nullptr && host != &factoryless && ! (host == &reduced && op.fallback.second);
            EXPECT_EQ (op.call(), reaches ? kAAXSuccess : op.fallback.first) << op.interface << " " << op.method;
            const auto calls = host != nullptr ? host->log().calls() : std::vector<Call>();
            ASSERT_EQ (calls.size(), before + (reaches ? 1 : 0)) << op.interface << " " << op.method;
            EXPECT_TRUE (! reaches || (calls.back().interface == op.interface && calls.back().method == op.method)) << op.interface << " " << op.method;
        }
    }
}
} // namespace

TEST (AAXHostProxies, OperationsReachTheirHostMethodsOrFallBack)
{
    LiveCheck check;
    AaxHost full, factoryless ({ .factory = false });
    AaxHost reduced ({ .effectDescriptorV2 = false, .componentDescriptorV2 = false, .propertyMapV2 = false, .controllerV2 = false, .automation = false });
    checkOperations (full, reduced, factoryless);

    AAX_CString name;
    EXPECT_EQ (AAX_VController (reduced.unknown()).GetHostName (&name), kAAXNotSupported) << "no second controller version";
    EXPECT_EQ (AAX_VController (reduced.unknown()).SetSignalLatency (45), kAAXSuccess);
    EXPECT_EQ (AAX_VAutomationDelegate (reduced.unknown()).PostTouchRequest ("0"), kAAXNullObject) << "no automation delegate";
    EXPECT_EQ (AAX_VTransport (nullptr).GetCurrentTempo (nullptr), kAAXNullObject);
}

TEST (AAXHostProxies, ArgumentsAndAnswersPassThrough)
{
    LiveCheck check;
    AaxHost host;
    for (const auto& op : descriptionOperations (host.unknown()))
        op.call();
    auto args = [&host] (const char* interface, int method) { return host.log().calls (interface, method).at (0).args; };
    EXPECT_EQ (args ("collection", 7).at (1).substr (0, 17) + args ("componentDescriptor", 16).at (1).substr (0, 12), "effectDescriptor#propertyMap#");
    EXPECT_EQ (args ("componentDescriptor", 18), std::vector<std::string> ({ "11", "7", "8" }));

    AAX_VCollection collection (host.unknown());
    EXPECT_EQ (collection.AddEffect ("x", nullptr), kAAXNullObject) << "a null descriptor never reaches the host";
    host.options().result = -7;
    EXPECT_EQ (collection.AddPackageName ("again"), -7) << "the host's answer comes back unchanged";

    AAX_VController controller (host.unknown()), orphan (nullptr);
    float sampleRate = 0.0f;
    int64_t timestamp = 77;
    controller.GetSampleRate (&sampleRate);
    EXPECT_EQ (sampleRate, 96000.0f);
    EXPECT_EQ (orphan.GetCurrentAutomationTimestamp (&timestamp) + orphan.GetCurrentAutomationTimestamp (nullptr), 2 * kAAXNotSupported);
    EXPECT_EQ (timestamp, 0) << "cleared without a host";
}

TEST (AAX_VPropertyMap, ReadsOnlyTheLowByteOfTheHostsAnswer)
{
    LiveCheck check;
    AaxHost host;
    AAX_VPropertyMap map (host.unknown());
    int32_t value = -1;
    const AAX_IdentifierTriad ids[] = { { 1, 2, 3 }, { 4, 5, 6 } }, *answered = nullptr;
    uint32_t count = 0;
    EXPECT_FALSE (map.GetProperty (20, &value) || map.GetPropertyWithIDArray (31, &answered, &count)) << "the host's 0x7F00 means false";
    map.AddProperty (20, 5);
    map.AddPropertyWithIDArray (30, ids, 2);
    EXPECT_TRUE (map.GetProperty (20, &value) && map.GetPropertyWithIDArray (30, &answered, &count));
    EXPECT_TRUE (value == 5 && count == 2 && answered[1].plugInID == 6u);
}

TEST (AAX_VComponentDescriptor, DuplicatePropertyMapCopiesProperties10To307)
{
    LiveCheck check;
    AaxHost host;
    AAX_VCollection collection (host.unknown());
    auto* component = collection.NewDescriptor()->NewComponentDescriptor();
    auto* source = component->NewPropertyMap();
    for (uint32_t property : { 9u, 10u, 150u, 307u, 308u })
        source->AddProperty (property, static_cast<int32_t> (property) * 2);

    host.log().clear();
    auto* copy = component->DuplicatePropertyMap (source);
    ASSERT_TRUE (copy != nullptr && copy != source);
    EXPECT_EQ (host.log().count ("propertyMap", 3), 298u) << "each of 10..307 asked once";
    std::vector<std::string> added;
    for (const auto& call : host.log().calls ("propertyMap", 4))
        added.push_back (call.args[0] + "=" + call.args[1]);
    EXPECT_EQ (added, std::vector<std::string> ({ "10=20", "150=300", "307=614" }));
    int32_t value = 0;
    EXPECT_FALSE (copy->GetProperty (9, &value) || copy->GetProperty (308, &value) || component->DuplicatePropertyMap (nullptr)->GetProperty (10, &value));
    EXPECT_TRUE (copy->GetProperty (307, &value) && value == 614);
}
