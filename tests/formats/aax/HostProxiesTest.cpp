#include "formats/aax/AAX_CString.h"
#include "formats/aax/AAX_VAutomationDelegate.h"
#include "formats/aax/AAX_VController.h"
#include "formats/aax/AAX_VTransport.h"
#include "formats/aax/AAX_VViewContainer.h"

#include "formats/aax/fakehost/FakeInstance.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace kelmora::aax;
using namespace quietline::test::aax;

namespace
{
/** One proxy operation with the host method it must reach and its answer without any host. */
template <class Proxy>
struct Operation
{
    const char* name;
    int method;
    AAX_Result fallback;
    std::function<AAX_Result (Proxy&)> call;
};

/** Each operation reaches exactly its host method; then, on a proxy without host interfaces,
    answers its fallback. */
template <class Proxy>
void checkForwarding (const std::vector<Operation<Proxy>>& operations, const char* interface,
                      FakeInstanceOptions options, std::function<bool (const Operation<Proxy>&)> reachesHost)
{
    FakeInstance instance (options);
    Proxy proxy (instance.unknown());
    Proxy orphan (nullptr);

    for (const auto& op : operations)
    {
        instance.log().clear();
        const AAX_Result result = op.call (proxy);

        if (reachesHost (op))
        {
            ASSERT_EQ (instance.log().size(), 1u) << op.name;
            EXPECT_EQ (instance.log().calls()[0].interface, interface) << op.name;
            EXPECT_EQ (instance.log().calls()[0].method, op.method) << op.name;
            EXPECT_EQ (result, kAAXSuccess) << op.name;
        }
        else
        {
            EXPECT_EQ (instance.log().size(), 0u) << op.name;
            EXPECT_EQ (result, op.fallback) << op.name;
        }

        EXPECT_EQ (op.call (orphan), op.fallback) << op.name;
    }
}

std::vector<Operation<AAX_VController>> controllerOperations()
{
    static float f;
    static uint32_t u;
    static int32_t i;
    static int64_t l;
    static bool b;
    static AAX_MidiPacket packet;
    static AAX_CString text;
    return {
        { "GetEffectID", 3, kAAXNullObject, [] (auto& c) { return c.GetEffectID (&text); } },
        { "GetSampleRate", 4, kAAXNullObject, [] (auto& c) { return c.GetSampleRate (&f); } },
        { "GetInputStemFormat", 5, kAAXNullObject, [] (auto& c) { return c.GetInputStemFormat (&u); } },
        { "GetOutputStemFormat", 6, kAAXNullObject, [] (auto& c) { return c.GetOutputStemFormat (&u); } },
        { "GetSignalLatency", 7, kAAXNullObject, [] (auto& c) { return c.GetSignalLatency (&i); } },
        { "GetCycleCount", 8, kAAXNullObject, [] (auto& c) { return c.GetCycleCount (1, &i); } },
        { "GetTODLocation", 9, kAAXNullObject, [] (auto& c) { return c.GetTODLocation (&l); } },
        { "SetSignalLatency", 10, kAAXNullObject, [] (auto& c) { return c.SetSignalLatency (90); } },
        { "SetCycleCount", 11, kAAXNullObject, [] (auto& c) { return c.SetCycleCount (&u, &i, 1); } },
        { "PostPacket", 12, kAAXNullObject, [] (auto& c) { return c.PostPacket (3, &u, 4); } },
        { "SendNotification", 20, kAAXNotSupported, [] (auto& c) { return c.SendNotification (1, nullptr, 0); } },
        { "GetCurrentMeterValue", 13, kAAXNullObject, [] (auto& c) { return c.GetCurrentMeterValue (0, &f); } },
        { "GetMeterPeakValue", 14, kAAXNullObject, [] (auto& c) { return c.GetMeterPeakValue (0, &f); } },
        { "ClearMeterPeakValue", 15, kAAXNullObject, [] (auto& c) { return c.ClearMeterPeakValue (0); } },
        { "GetMeterCount", 18, kAAXNullObject, [] (auto& c) { return c.GetMeterCount (&u); } },
        { "GetMeterClipped", 16, kAAXNullObject, [] (auto& c) { return c.GetMeterClipped (0, &b); } },
        { "ClearMeterClipped", 17, kAAXNullObject, [] (auto& c) { return c.ClearMeterClipped (0); } },
        { "GetNextMIDIPacket", 19, kAAXNullObject, [] (auto& c) { return c.GetNextMIDIPacket (&u, &packet); } },
        { "GetHybridSignalLatency", 21, kAAXNotSupported, [] (auto& c) { return c.GetHybridSignalLatency (&i); } },
        { "GetCurrentAutomationTimestamp", 22, kAAXNotSupported, [] (auto& c) { return c.GetCurrentAutomationTimestamp (&l); } },
        { "GetHostName", 23, kAAXNotSupported, [] (auto& c) { return c.GetHostName (&text); } },
    };
}
} // namespace

TEST (AAX_VController, ReachesEachHostMethodAndFallsBackWithoutIt)
{
    LiveCheck check;
    checkForwarding<AAX_VController> (controllerOperations(), "controller", {}, [] (auto&) { return true; });

    FakeInstanceOptions firstVersionOnly;
    firstVersionOnly.controllerV2 = false;
    checkForwarding<AAX_VController> (controllerOperations(), "controller", firstVersionOnly,
                                      [] (auto& op) { return op.method < 20; });
}

TEST (AAX_VController, PassesValuesThroughAndClearsTheTimestampWithoutTheSecondVersion)
{
    LiveCheck check;
    FakeInstance instance;
    instance.controller().sampleRate = 192000.0f;
    AAX_VController controller (instance.unknown());

    float rate = 0.0f;
    EXPECT_EQ (controller.GetSampleRate (&rate), kAAXSuccess);
    EXPECT_EQ (rate, 192000.0f);

    AAX_CString name;
    EXPECT_EQ (controller.GetHostName (&name), kAAXSuccess);
    EXPECT_STREQ (name.Get(), "Fake Host");

    const uint8_t payload[] = { 1, 0, 0, 0 };
    EXPECT_EQ (controller.PostPacket (3, payload, 4), kAAXSuccess);
    ASSERT_EQ (instance.controller().packets.size(), 1u);
    EXPECT_EQ (instance.controller().packets[0].field, 3u);
    EXPECT_EQ (instance.controller().packets[0].bytes, std::vector<uint8_t> ({ 1, 0, 0, 0 }));

    AAX_VController orphan (nullptr);
    int64_t timestamp = 77;
    EXPECT_EQ (orphan.GetCurrentAutomationTimestamp (&timestamp), kAAXNotSupported);
    EXPECT_EQ (timestamp, 0);
    EXPECT_EQ (orphan.GetCurrentAutomationTimestamp (nullptr), kAAXNotSupported);
}

TEST (AAX_VTransport, ReachesEachHostMethodAndAnswersMinus20004WithoutIt)
{
    LiveCheck check;
    static double d;
    static int32_t i, j;
    static int64_t l, m, n;
    static uint32_t u;
    static bool b;
    static AAX_FrameRate rate;
    static AAX_FeetFramesRate feetRate;
    const std::vector<Operation<AAX_VTransport>> operations {
        { "GetCurrentTempo", 3, kAAXNullObject, [] (auto& t) { return t.GetCurrentTempo (&d); } },
        { "GetCurrentMeter", 4, kAAXNullObject, [] (auto& t) { return t.GetCurrentMeter (&i, &j); } },
        { "IsTransportPlaying", 5, kAAXNullObject, [] (auto& t) { return t.IsTransportPlaying (&b); } },
        { "GetCurrentTickPosition", 6, kAAXNullObject, [] (auto& t) { return t.GetCurrentTickPosition (&l); } },
        { "GetCurrentLoopPosition", 7, kAAXNullObject, [] (auto& t) { return t.GetCurrentLoopPosition (&b, &l, &m); } },
        { "GetCurrentNativeSampleLocation", 8, kAAXNullObject, [] (auto& t) { return t.GetCurrentNativeSampleLocation (&l); } },
        { "GetCustomTickPosition", 9, kAAXNullObject, [] (auto& t) { return t.GetCustomTickPosition (&l, 5); } },
        { "GetBarBeatPosition", 10, kAAXNullObject, [] (auto& t) { return t.GetBarBeatPosition (&i, &j, &n, 5); } },
        { "GetTicksPerQuarter", 11, kAAXNullObject, [] (auto& t) { return t.GetTicksPerQuarter (&u); } },
        { "GetCurrentTicksPerBeat", 12, kAAXNullObject, [] (auto& t) { return t.GetCurrentTicksPerBeat (&u); } },
        { "GetTimelineSelectionStartPosition", 13, kAAXNullObject, [] (auto& t) { return t.GetTimelineSelectionStartPosition (&l); } },
        { "GetTimeCodeInfo", 14, kAAXNullObject, [] (auto& t) { return t.GetTimeCodeInfo (&rate, &i); } },
        { "GetFeetFramesInfo", 15, kAAXNullObject, [] (auto& t) { return t.GetFeetFramesInfo (&feetRate, &l); } },
    };

    checkForwarding<AAX_VTransport> (operations, "transport", {}, [] (auto&) { return true; });

    FakeInstanceOptions firstVersionOnly;
    firstVersionOnly.transportV2 = false;
    checkForwarding<AAX_VTransport> (operations, "transport", firstVersionOnly,
                                     [] (auto& op) { return op.method < 13; });
}

TEST (AAX_VAutomationDelegate, ForwardsIdentifiersAndValuesByMethodNumber)
{
    LiveCheck check;
    FakeInstance instance;
    AAX_VAutomationDelegate delegate (instance.unknown());
    bool touched = false;

    EXPECT_EQ (delegate.RegisterParameter ("freqParam"), kAAXSuccess);
    EXPECT_EQ (delegate.PostTouchRequest ("freqParam"), kAAXSuccess);
    EXPECT_EQ (delegate.GetTouchState ("freqParam", &touched), kAAXSuccess);
    EXPECT_TRUE (touched);
    EXPECT_EQ (delegate.PostSetValueRequest ("freqParam", 0.25), kAAXSuccess);
    EXPECT_EQ (delegate.PostCurrentValue ("freqParam", 0.5), kAAXSuccess);
    EXPECT_EQ (delegate.PostReleaseRequest ("freqParam"), kAAXSuccess);
    EXPECT_EQ (delegate.UnregisterParameter ("freqParam"), kAAXSuccess);

    std::vector<int> methods;
    for (const auto& call : instance.log().calls ("automation"))
        methods.push_back (call.method);

    EXPECT_EQ (methods, std::vector<int> ({ 3, 7, 9, 5, 6, 8, 4 }));
    EXPECT_EQ (instance.log().calls ("automation", 5)[0].args, std::vector<std::string> ({ "\"freqParam\"", "0.25" }));
    EXPECT_TRUE (instance.automation().registered.empty());

    FakeInstanceOptions none;
    none.automationDelegate = false;
    FakeInstance bare (none);
    AAX_VAutomationDelegate missing (bare.unknown());
    AAX_VAutomationDelegate orphan (nullptr);

    for (auto* proxy : { &missing, &orphan })
    {
        EXPECT_EQ (proxy->RegisterParameter ("x"), kAAXNullObject);
        EXPECT_EQ (proxy->UnregisterParameter ("x"), kAAXNullObject);
        EXPECT_EQ (proxy->PostSetValueRequest ("x", 1.0), kAAXNullObject);
        EXPECT_EQ (proxy->PostCurrentValue ("x", 1.0), kAAXNullObject);
        EXPECT_EQ (proxy->PostTouchRequest ("x"), kAAXNullObject);
        EXPECT_EQ (proxy->PostReleaseRequest ("x"), kAAXNullObject);
        EXPECT_EQ (proxy->GetTouchState ("x", &touched), kAAXNullObject);
    }

    EXPECT_EQ (bare.log().size(), 0u);
}

TEST (AAX_VViewContainer, ForwardsToTheWindowAndFallsBackWithoutOne)
{
    LiveCheck check;
    auto log = std::make_shared<CallLog>();
    auto* window = new FakeViewContainer (log, 2);

    {
        AAX_VViewContainer container (window);
        AAX_Point size { 242.0f, 406.0f };
        uint32_t modifiers = 9;

        EXPECT_EQ (container.GetType(), 2);
        EXPECT_NE (container.GetPtr(), nullptr);
        EXPECT_EQ (container.GetModifiers (&modifiers), kAAXSuccess);
        EXPECT_EQ (container.SetViewSize (size), kAAXSuccess);
        EXPECT_EQ (container.HandleParameterMouseDown ("mixParam", 1), kAAXSuccess);
        EXPECT_EQ (container.HandleParameterMouseDrag ("mixParam", 1), kAAXSuccess);
        EXPECT_EQ (container.HandleParameterMouseUp ("mixParam", 1), kAAXSuccess);
        EXPECT_EQ (modifiers, 0u);
        EXPECT_EQ (window->lastViewSize.horizontal, 406.0f);

        std::vector<int> methods;
        for (const auto& call : log->calls())
            methods.push_back (call.method);

        EXPECT_EQ (methods, std::vector<int> ({ 3, 4, 5, 6, 7, 8, 9 }));
        EXPECT_EQ (window->refCount(), 2u);
    }

    EXPECT_EQ (window->refCount(), 1u);
    window->Release();

    AAX_VViewContainer orphan (nullptr);
    AAX_Point size { 1.0f, 1.0f };
    uint32_t modifiers = 0;
    EXPECT_EQ (orphan.GetType(), 0);
    EXPECT_EQ (orphan.GetPtr(), nullptr);
    EXPECT_EQ (orphan.GetModifiers (&modifiers), kAAXNotSupported);
    EXPECT_EQ (orphan.SetViewSize (size), kAAXSuccess);
    EXPECT_EQ (orphan.HandleParameterMouseDown ("x", 0), kAAXNotSupported);
    EXPECT_EQ (orphan.HandleParameterMouseDrag ("x", 0), kAAXNotSupported);
    EXPECT_EQ (orphan.HandleParameterMouseUp ("x", 0), kAAXNotSupported);
}
