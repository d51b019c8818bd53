#include "formats/aax/AAX_CString.h"
#include "formats/aax/AAX_VAutomationDelegate.h"
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

std::vector<Operation> operations (AAX_VController* c, AAX_VTransport* t, AAX_VAutomationDelegate* a)
{
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
} // namespace

TEST (AAXHostProxies, EachOperationReachesItsHostMethodOrFallsBack)
{
    LiveCheck check;
    for (const bool reduced : { false, true })
    {
        FakeHost host ({ .controllerV2 = ! reduced, .automation = ! reduced, .transportV2 = ! reduced });
        AAX_VController controller (host.unknown()), noController (nullptr);
        AAX_VTransport transport (host.unknown()), noTransport (nullptr);
        AAX_VAutomationDelegate automation (host.unknown()), noAutomation (nullptr);
        for (const auto& op : operations (&controller, &transport, &automation))
        {
            host.log().clear();
            const bool reaches = ! (reduced && op.optional);
            EXPECT_EQ (op.call(), reaches ? kAAXSuccess : op.fallback) << op.interface << " " << op.method;
            EXPECT_EQ (host.log().methods (op.interface), reaches ? std::vector<int> { op.method } : std::vector<int>()) << op.interface << " " << op.method;
        }
        for (const auto& op : operations (&noController, &noTransport, &noAutomation))
            EXPECT_EQ (op.call(), op.fallback) << op.interface << " " << op.method;
    }
}

TEST (AAXHostProxies, ValuesPassThroughAndTheTimestampIsClearedWithoutAHost)
{
    LiveCheck check;
    FakeHost host;
    AAX_VController controller (host.unknown()), orphan (nullptr);
    AAX_VAutomationDelegate automation (host.unknown());
    AAX_CString name;
    float sampleRate = 0.0f;
    int64_t timestamp = 77;
    EXPECT_EQ (controller.GetSampleRate (&sampleRate), kAAXSuccess);
    EXPECT_EQ (controller.GetHostName (&name), kAAXSuccess);
    EXPECT_EQ (automation.PostSetValueRequest ("freqParam", 0.25), kAAXSuccess);
    EXPECT_TRUE (sampleRate == 96000.0f && name == AAX_CString ("Fake Host"));
    EXPECT_EQ (host.log().calls ("automation", 5).at (0).args, std::vector<std::string> ({ "\"freqParam\"", "0.25" }));
    EXPECT_EQ (orphan.GetCurrentAutomationTimestamp (&timestamp), kAAXNotSupported);
    EXPECT_EQ (timestamp, 0);
    EXPECT_EQ (orphan.GetCurrentAutomationTimestamp (nullptr), kAAXNotSupported);
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
    EXPECT_EQ (window->refCount(), 1u);
    window->Release();
}
