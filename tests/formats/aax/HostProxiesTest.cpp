#include "formats/aax/AAX_CString.h"
#include "formats/aax/AAX_VAutomationDelegate.h"
#include "formats/aax/AAX_VCollection.h"
#include "formats/aax/AAX_VController.h"
#include "formats/aax/AAX_VTransport.h"
#include "formats/aax/AAX_VViewContainer.h"

#include "formats/aax/fakehost/FakeHost.h"

#include <gtest/gtest.h>

using namespace kelmora::aax;
using namespace quietline::test::aax;

namespace
{
/** One proxy operation, the host method it must reach, and its answer without that host interface. */
struct Operation
{
    const char* interface;
    int method;
    AAX_Result fallback;
    bool optional;   // a second version, or the automation delegate: missing from the reduced host
    std::function<AAX_Result()> call;
};

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
    const AAX_Result none = kAAXNullObject, v2 = kAAXNotSupported;
    return {
        { "collection", 7, none, false, [=] { return c->AddEffect ("com.kelmora.quietline", e); } },
        { "collection", 8, none, false, [=] { return c->SetManufacturerName ("Kelmora Labs"); } },
        { "collection", 9, none, false, [=] { return c->AddPackageName ("Orvel Quietline"); } },
        { "collection", 10, none, false, [=] { return c->SetPackageVersion (0x10000); } },
        { "collection", 11, none, false, [=] { return c->SetProperties (m); } },
        { "effectDescriptor", 3, none, false, [=] { return e->AddComponent (d); } },
        { "effectDescriptor", 4, none, false, [=] { return e->AddName ("Quietline"); } },
        { "effectDescriptor", 5, none, false, [=] { return e->AddCategory (1); } },
        { "effectDescriptor", 6, none, false, [=] { return e->AddCategoryBypassParameter (1, "bypassParam"); } },
        { "effectDescriptor", 7, none, false, [=] { return e->AddProcPtr (reinterpret_cast<void*> (&noProcess), 1); } },
        { "effectDescriptor", 8, none, false, [=] { return e->SetProperties (m); } },
        { "effectDescriptor", 9, none, false, [=] { return e->AddResourceInfo (2, "Quietline.xml"); } },
        { "effectDescriptor", 10, none, false, [=] { return e->AddMeterDescription (3, "Out", m); } },
        { "effectDescriptor", 11, v2, true, [=] { return e->AddControlMIDINode (1, 2, "MIDI", 0xFFFF); } },
        { "componentDescriptor", 3, none, false, [=] { return d->Clear(); } },
        { "componentDescriptor", 4, none, false, [=] { return d->AddReservedField (13, 5); } },
        { "componentDescriptor", 5, none, false, [=] { return d->AddAudioIn (0); } },
        { "componentDescriptor", 6, none, false, [=] { return d->AddAudioOut (1); } },
        { "componentDescriptor", 7, none, false, [=] { return d->AddAudioBufferLength (2); } },
        { "componentDescriptor", 8, none, false, [=] { return d->AddSampleRate (3); } },
        { "componentDescriptor", 9, none, false, [=] { return d->AddClock (4); } },
        { "componentDescriptor", 10, none, false, [=] { return d->AddSideChainIn (5); } },
        { "componentDescriptor", 11, none, false, [=] { return d->AddDataInPort (6, 4, 1); } },
        { "componentDescriptor", 12, none, false, [=] { return d->AddAuxOutputStem (7, 2, "Aux"); } },
        { "componentDescriptor", 13, none, false, [=] { return d->AddPrivateData (8, 64, 0); } },
        { "componentDescriptor", 14, none, false, [=] { return d->AddDmaInstance (10, 1); } },
        { "componentDescriptor", 15, none, false, [=] { return d->AddMIDINode (12, 1, "In", 1); } },
        { "componentDescriptor", 16, none, false, [=] { return d->AddProcessProc_Native (&noProcess, m, nullptr, nullptr, &procedure); } },
        { "componentDescriptor", 17, none, false, [=] { return d->AddProcessProc_TI ("lib", "proc", nullptr, "init", "bg"); } },
        { "componentDescriptor", 18, none, false, [=] { return d->AddMeters (11, meters, 2); } },
        { "componentDescriptor", 19, v2, true, [=] { return d->AddTemporaryData (9, 16); } },
        { "propertyMap", 4, none, false, [=] { return m->AddProperty (10, 1); } },
        { "propertyMap", 5, none, false, [=] { return m->RemoveProperty (10); } },
        { "propertyMap", 6, v2, true, [=] { return m->AddPropertyWithIDArray (10, &triad, 1); } },
    };
}

std::vector<Operation> runtimeOperations (IACFUnknown* host)
{
    auto c = std::make_shared<AAX_VController> (host);
    auto t = std::make_shared<AAX_VTransport> (host);
    auto a = std::make_shared<AAX_VAutomationDelegate> (host);
    static float f;
    static uint32_t u;
    static int32_t i, j;
    static int64_t l, m, n;
    static bool b;
    static double d;
    static AAX_MidiPacket packet;
    static AAX_FrameRate rate;
    static AAX_FeetFramesRate feetRate;
    static AAX_CString text;
    const AAX_Result none = kAAXNullObject, v2 = kAAXNotSupported;
    return {
        { "controller", 3, none, false, [=] { return c->GetEffectID (&text); } },
        { "controller", 4, none, false, [=] { return c->GetSampleRate (&f); } },
        { "controller", 5, none, false, [=] { return c->GetInputStemFormat (&u); } },
        { "controller", 6, none, false, [=] { return c->GetOutputStemFormat (&u); } },
        { "controller", 7, none, false, [=] { return c->GetSignalLatency (&i); } },
        { "controller", 8, none, false, [=] { return c->GetCycleCount (1, &i); } },
        { "controller", 9, none, false, [=] { return c->GetTODLocation (&l); } },
        { "controller", 10, none, false, [=] { return c->SetSignalLatency (90); } },
        { "controller", 11, none, false, [=] { return c->SetCycleCount (&u, &i, 1); } },
        { "controller", 12, none, false, [=] { return c->PostPacket (3, &u, 4); } },
        { "controller", 13, none, false, [=] { return c->GetCurrentMeterValue (0, &f); } },
        { "controller", 14, none, false, [=] { return c->GetMeterPeakValue (0, &f); } },
        { "controller", 15, none, false, [=] { return c->ClearMeterPeakValue (0); } },
        { "controller", 16, none, false, [=] { return c->GetMeterClipped (0, &b); } },
        { "controller", 17, none, false, [=] { return c->ClearMeterClipped (0); } },
        { "controller", 18, none, false, [=] { return c->GetMeterCount (&u); } },
        { "controller", 19, none, false, [=] { return c->GetNextMIDIPacket (&u, &packet); } },
        { "controller", 20, v2, true, [=] { return c->SendNotification (1, nullptr, 0); } },
        { "controller", 21, v2, true, [=] { return c->GetHybridSignalLatency (&i); } },
        { "controller", 22, v2, true, [=] { return c->GetCurrentAutomationTimestamp (&l); } },
        { "controller", 23, v2, true, [=] { return c->GetHostName (&text); } },
        { "transport", 3, none, false, [=] { return t->GetCurrentTempo (&d); } },
        { "transport", 4, none, false, [=] { return t->GetCurrentMeter (&i, &j); } },
        { "transport", 5, none, false, [=] { return t->IsTransportPlaying (&b); } },
        { "transport", 6, none, false, [=] { return t->GetCurrentTickPosition (&l); } },
        { "transport", 7, none, false, [=] { return t->GetCurrentLoopPosition (&b, &l, &m); } },
        { "transport", 8, none, false, [=] { return t->GetCurrentNativeSampleLocation (&l); } },
        { "transport", 9, none, false, [=] { return t->GetCustomTickPosition (&l, 5); } },
        { "transport", 10, none, false, [=] { return t->GetBarBeatPosition (&i, &j, &n, 5); } },
        { "transport", 11, none, false, [=] { return t->GetTicksPerQuarter (&u); } },
        { "transport", 12, none, false, [=] { return t->GetCurrentTicksPerBeat (&u); } },
        { "transport", 13, none, true, [=] { return t->GetTimelineSelectionStartPosition (&l); } },
        { "transport", 14, none, true, [=] { return t->GetTimeCodeInfo (&rate, &i); } },
        { "transport", 15, none, true, [=] { return t->GetFeetFramesInfo (&feetRate, &l); } },
        { "automation", 3, none, true, [=] { return a->RegisterParameter ("freqParam"); } },
        { "automation", 7, none, true, [=] { return a->PostTouchRequest ("freqParam"); } },
        { "automation", 9, none, true, [=] { return a->GetTouchState ("freqParam", &b); } },
        { "automation", 5, none, true, [=] { return a->PostSetValueRequest ("freqParam", 0.25); } },
        { "automation", 6, none, true, [=] { return a->PostCurrentValue ("freqParam", 0.5); } },
        { "automation", 8, none, true, [=] { return a->PostReleaseRequest ("freqParam"); } },
        { "automation", 4, none, true, [=] { return a->UnregisterParameter ("freqParam"); } },
    };
}

/** Every operation reaches exactly its host method on a full host and on one without the optional
    interfaces (unless optional), and falls back without a host or, for descriptions, without a factory. */
void checkOperations (std::vector<Operation> (*make) (IACFUnknown*), bool needsFactory)
{
    LiveCheck check;
    FakeHost full, factoryless ({ .factory = false });
    FakeHost reduced ({ .effectDescriptorV2 = false, .componentDescriptorV2 = false, .propertyMapV2 = false, .controllerV2 = false, .automation = false, .transportV2 = false });
    for (FakeHost* host : { &full, &reduced, &factoryless, static_cast<FakeHost*> (nullptr) })
    {
        for (const auto& op : make (host != nullptr ? host->unknown() : nullptr))
        {
            const size_t before = host != nullptr ? host->log().size() : 0;
            const bool reaches = host != nullptr && ! (host == &factoryless && needsFactory) && ! (host == &reduced && op.optional);
            EXPECT_EQ (op.call(), reaches ? kAAXSuccess : op.fallback) << op.interface << " " << op.method;
            const auto calls = host != nullptr ? host->log().calls() : std::vector<Call>();
            ASSERT_EQ (calls.size(), before + (reaches ? 1 : 0)) << op.interface << " " << op.method;
            EXPECT_TRUE (! reaches || (calls.back().interface == op.interface && calls.back().method == op.method)) << op.interface << " " << op.method;
        }
    }
}
} // namespace

TEST (AAXHostProxies, DescriptionOperationsReachTheirHostMethodsOrFallBack) { checkOperations (&descriptionOperations, true); }

TEST (AAXHostProxies, RuntimeOperationsReachTheirHostMethodsOrFallBack) { checkOperations (&runtimeOperations, false); }

TEST (AAXHostProxies, ArgumentsValuesAndAnswersPassThrough)
{
    LiveCheck check;
    FakeHost host;
    for (const auto& op : descriptionOperations (host.unknown()))
        op.call();
    const auto& log = host.log();
    EXPECT_EQ (log.calls ("collection", 7).at (0).args.at (1).substr (0, 17), "effectDescriptor#");
    EXPECT_EQ (log.calls ("componentDescriptor", 16).at (0).args.at (1).substr (0, 12) + log.calls ("componentDescriptor", 16).at (0).args.at (4), "propertyMap#ptr");
    EXPECT_EQ (log.calls ("componentDescriptor", 17).at (0).args.at (2), "null");
    EXPECT_EQ (log.calls ("componentDescriptor", 18).at (0).args, std::vector<std::string> ({ "11", "7", "8" }));

    AAX_VCollection collection (host.unknown()), none (nullptr);
    EXPECT_EQ (collection.AddEffect ("x", nullptr), kAAXNullObject) << "a null descriptor never reaches the host";
    EXPECT_NE (none.NewDescriptor()->NewComponentDescriptor()->DuplicatePropertyMap (none.NewPropertyMap()), nullptr);
    host.options().result = -7;
    EXPECT_EQ (collection.AddPackageName ("again"), -7) << "the host's answer comes back unchanged";

    AAX_VController controller (host.unknown()), orphan (nullptr);
    AAX_CString name;
    float sampleRate = 0.0f;
    int64_t timestamp = 77;
    controller.GetSampleRate (&sampleRate), controller.GetHostName (&name);
    AAX_VAutomationDelegate (host.unknown()).PostSetValueRequest ("freqParam", 0.25);
    EXPECT_TRUE (sampleRate == 96000.0f && name == AAX_CString ("Fake Host"));
    EXPECT_EQ (log.calls ("automation", 5).at (0).args, std::vector<std::string> ({ "\"freqParam\"", "0.25" }));
    EXPECT_EQ (orphan.GetCurrentAutomationTimestamp (&timestamp) + orphan.GetCurrentAutomationTimestamp (nullptr), 2 * kAAXNotSupported);
    EXPECT_EQ (timestamp, 0) << "cleared without a host";
}

TEST (AAX_VPropertyMap, ReadsOnlyTheLowByteOfTheHostsAnswer)
{
    LiveCheck check;
    FakeHost host;
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
    FakeHost host;
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
            expected.insert (expected.end(), { str (component->GetIUnknown()), str (map->GetIUnknown()), str (effect->GetIUnknown()) });
        }
        expected.insert (expected.end(), { str (collection.NewPropertyMap()->GetIUnknown()), str (collection.GetIUnknown()) });
        FakeCounted::destroyed.clear();
    }

    EXPECT_EQ (FakeCounted::destroyed, expected);
    EXPECT_EQ (host.unknown()->AddRef(), 2u) << "every reference to the host unknown given back";
    host.unknown()->Release();
}

TEST (AAX_VViewContainer, ForwardsToTheWindowAndFallsBackWithoutOne)
{
    LiveCheck check;
    FakeHost host;
    auto* window = new FakeViewContainer (host.state, 2);
    AAX_Point size { 242.0f, 406.0f };
    uint32_t modifiers = 9;
    for (auto* container : { new AAX_VViewContainer (window), new AAX_VViewContainer (nullptr) })
    {
        const bool real = container->GetType() != 0;
        const AAX_Result ok = real ? kAAXSuccess : kAAXNotSupported;
        EXPECT_EQ (container->GetPtr() != nullptr, real);
        EXPECT_EQ ((std::vector<AAX_Result> { container->GetModifiers (&modifiers), container->SetViewSize (size), container->HandleParameterMouseDown ("mixParam", 1),
                                              container->HandleParameterMouseDrag ("mixParam", 1), container->HandleParameterMouseUp ("mixParam", 1) }),
                   (std::vector<AAX_Result> { ok, kAAXSuccess, ok, ok, ok }));
        EXPECT_EQ (window->refCount(), real ? 2u : 1u);
        delete container;
    }
    EXPECT_TRUE (modifiers == 0 && window->lastViewSize.horizontal == 406.0f);
    EXPECT_EQ (host.log().methods ("viewContainer"), std::vector<int> ({ 3, 4, 5, 6, 7, 8, 9 }));
    EXPECT_EQ (window->Release(), 0u);
}
