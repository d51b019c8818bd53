#include "formats/aax/AAX_CString.h"
#include "formats/aax/AAX_VAutomationDelegate.h"
#include "formats/aax/AAX_VController.h"
#include "formats/aax/AAX_VTransport.h"
#include "formats/aax/AAX_VViewContainer.h"

#include "formats/aax/fakehost/FakeHost.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace kelmora::aax;
using namespace quietline::test::aax;

namespace
{
/** One proxy operation, the host method it must reach, and its answer without a host. */
template <class Proxy>
struct Operation
{
    int method;
    AAX_Result fallback;
    std::function<AAX_Result (Proxy&)> call;
};

/** Each operation reaches exactly its host method, except the second-version ones (from
    firstV2Method on) when the host has only the first version; without a host each falls back. */
template <class Proxy>
void checkForwarding (const std::vector<Operation<Proxy>>& operations, const char* interface, FakeOptions options, int firstV2Method)
{
    LiveCheck check;
    FakeHost host (options);
    Proxy proxy (host.unknown());
    Proxy orphan (nullptr);

    for (const auto& op : operations)
    {
        host.log().clear();
        const AAX_Result result = op.call (proxy);
        const bool reaches = op.method < firstV2Method;
        EXPECT_EQ (result, reaches ? kAAXSuccess : op.fallback) << op.method;
        EXPECT_EQ (host.log().methods (interface), reaches ? std::vector<int> { op.method } : std::vector<int>()) << op.method;
        EXPECT_EQ (op.call (orphan), op.fallback) << op.method;
    }
}

float f;
uint32_t u;
int32_t i, j;
int64_t l, m, n;
bool b;
double d;
AAX_MidiPacket packet;
AAX_FrameRate rate;
AAX_FeetFramesRate feetRate;
} // namespace

TEST (AAX_VController, ReachesEachHostMethodAndFallsBackWithoutIt)
{
    static AAX_CString text;
    const AAX_Result none = kAAXNullObject, v2 = kAAXNotSupported;
    const std::vector<Operation<AAX_VController>> operations {
        { 3, none, [] (auto& c) { return c.GetEffectID (&text); } },
        { 4, none, [] (auto& c) { return c.GetSampleRate (&f); } },
        { 5, none, [] (auto& c) { return c.GetInputStemFormat (&u); } },
        { 6, none, [] (auto& c) { return c.GetOutputStemFormat (&u); } },
        { 7, none, [] (auto& c) { return c.GetSignalLatency (&i); } },
        { 8, none, [] (auto& c) { return c.GetCycleCount (1, &i); } },
        { 9, none, [] (auto& c) { return c.GetTODLocation (&l); } },
        { 10, none, [] (auto& c) { return c.SetSignalLatency (90); } },
        { 11, none, [] (auto& c) { return c.SetCycleCount (&u, &i, 1); } },
        { 12, none, [] (auto& c) { return c.PostPacket (3, &u, 4); } },
        { 13, none, [] (auto& c) { return c.GetCurrentMeterValue (0, &f); } },
        { 14, none, [] (auto& c) { return c.GetMeterPeakValue (0, &f); } },
        { 15, none, [] (auto& c) { return c.ClearMeterPeakValue (0); } },
        { 16, none, [] (auto& c) { return c.GetMeterClipped (0, &b); } },
        { 17, none, [] (auto& c) { return c.ClearMeterClipped (0); } },
        { 18, none, [] (auto& c) { return c.GetMeterCount (&u); } },
        { 19, none, [] (auto& c) { return c.GetNextMIDIPacket (&u, &packet); } },
        { 20, v2, [] (auto& c) { return c.SendNotification (1, nullptr, 0); } },
        { 21, v2, [] (auto& c) { return c.GetHybridSignalLatency (&i); } },
        { 22, v2, [] (auto& c) { return c.GetCurrentAutomationTimestamp (&l); } },
        { 23, v2, [] (auto& c) { return c.GetHostName (&text); } },
    };
    checkForwarding<AAX_VController> (operations, "controller", {}, 99);
    checkForwarding<AAX_VController> (operations, "controller", { .controllerV2 = false }, 20);
}

TEST (AAX_VController, PassesValuesThroughAndClearsTheTimestampWithoutAHost)
{
    LiveCheck check;
    FakeHost host;
    AAX_VController controller (host.unknown());
    AAX_CString name;
    float sampleRate = 0.0f;
    EXPECT_EQ (controller.GetSampleRate (&sampleRate), kAAXSuccess);
    EXPECT_EQ (sampleRate, 96000.0f);
    EXPECT_EQ (controller.GetHostName (&name), kAAXSuccess);
    EXPECT_STREQ (name.Get(), "Fake Host");

    AAX_VController orphan (nullptr);
    int64_t timestamp = 77;
    EXPECT_EQ (orphan.GetCurrentAutomationTimestamp (&timestamp), kAAXNotSupported);
    EXPECT_EQ (timestamp, 0);
    EXPECT_EQ (orphan.GetCurrentAutomationTimestamp (nullptr), kAAXNotSupported);
}

TEST (AAX_VTransport, ReachesEachHostMethodAndAnswersMinus20004WithoutIt)
{
    const AAX_Result none = kAAXNullObject;
    const std::vector<Operation<AAX_VTransport>> operations {
        { 3, none, [] (auto& t) { return t.GetCurrentTempo (&d); } },
        { 4, none, [] (auto& t) { return t.GetCurrentMeter (&i, &j); } },
        { 5, none, [] (auto& t) { return t.IsTransportPlaying (&b); } },
        { 6, none, [] (auto& t) { return t.GetCurrentTickPosition (&l); } },
        { 7, none, [] (auto& t) { return t.GetCurrentLoopPosition (&b, &l, &m); } },
        { 8, none, [] (auto& t) { return t.GetCurrentNativeSampleLocation (&l); } },
        { 9, none, [] (auto& t) { return t.GetCustomTickPosition (&l, 5); } },
        { 10, none, [] (auto& t) { return t.GetBarBeatPosition (&i, &j, &n, 5); } },
        { 11, none, [] (auto& t) { return t.GetTicksPerQuarter (&u); } },
        { 12, none, [] (auto& t) { return t.GetCurrentTicksPerBeat (&u); } },
        { 13, none, [] (auto& t) { return t.GetTimelineSelectionStartPosition (&l); } },
        { 14, none, [] (auto& t) { return t.GetTimeCodeInfo (&rate, &i); } },
        { 15, none, [] (auto& t) { return t.GetFeetFramesInfo (&feetRate, &l); } },
    };
    checkForwarding<AAX_VTransport> (operations, "transport", {}, 99);
    checkForwarding<AAX_VTransport> (operations, "transport", { .transportV2 = false }, 13);
}

TEST (AAX_VAutomationDelegate, ForwardsIdentifiersAndValuesByMethodNumber)
{
    LiveCheck check;
    FakeHost host;
    FakeHost bare ({ .automation = false });
    AAX_VAutomationDelegate delegate (host.unknown()), missing (bare.unknown()), orphan (nullptr);
    bool touched = false;

    for (auto* proxy : { &delegate, &missing, &orphan })
    {
        const AAX_Result expected = proxy == &delegate ? kAAXSuccess : kAAXNullObject;
        EXPECT_EQ (proxy->RegisterParameter ("freqParam"), expected);
        EXPECT_EQ (proxy->PostTouchRequest ("freqParam"), expected);
        EXPECT_EQ (proxy->GetTouchState ("freqParam", &touched), expected);
        EXPECT_EQ (proxy->PostSetValueRequest ("freqParam", 0.25), expected);
        EXPECT_EQ (proxy->PostCurrentValue ("freqParam", 0.5), expected);
        EXPECT_EQ (proxy->PostReleaseRequest ("freqParam"), expected);
        EXPECT_EQ (proxy->UnregisterParameter ("freqParam"), expected);
    }

    EXPECT_EQ (host.log().methods ("automation"), std::vector<int> ({ 3, 7, 9, 5, 6, 8, 4 }));
    EXPECT_EQ (host.log().calls ("automation", 5).at (0).args, std::vector<std::string> ({ "\"freqParam\"", "0.25" }));
    EXPECT_EQ (bare.log().size(), 0u);
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
        EXPECT_EQ (container->GetModifiers (&modifiers), ok);
        EXPECT_EQ (container->SetViewSize (size), kAAXSuccess);
        EXPECT_EQ (container->HandleParameterMouseDown ("mixParam", 1), ok);
        EXPECT_EQ (container->HandleParameterMouseDrag ("mixParam", 1), ok);
        EXPECT_EQ (container->HandleParameterMouseUp ("mixParam", 1), ok);
        EXPECT_EQ (window->refCount(), real ? 2u : 1u);
        delete container;
    }

    EXPECT_EQ (modifiers, 0u);
    EXPECT_EQ (window->lastViewSize.horizontal, 406.0f);
    EXPECT_EQ (host.log().methods ("viewContainer"), std::vector<int> ({ 3, 4, 5, 6, 7, 8, 9 }));
    EXPECT_EQ (window->refCount(), 1u);
    window->Release();
}
