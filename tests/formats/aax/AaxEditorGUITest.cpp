// The AAX glue in process on a small test processor with an editor: the editor through the view
// container, edits and processor reports reaching the host. Needs an X server.
#include "formats/aax/AaxEditorGUI.h"
#include "formats/aax/AaxProcessorEffect.h"
#include "formats/vst/TestGainProcessor.h"
#include "support/Concurrency.h"
#include "support/TempHome.h"
#include "tools/aaxhost/AaxHost.h"

#include <gtest/gtest.h>

namespace quietline::test::aax
{
using namespace kelmora::tools::aaxhost;

namespace
{
using kelmora::aax::AaxEditorGUI;
using kelmora::aax::AaxProcessorEffect;
using kelmora::vst::test::TestGainProcessor;

class AaxGlueTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        effect->AddRef();
        host.setEffect (static_cast<AAX_IACFEffectParameters*> (effect));
        host.automation().onSetValueRequest = [this] (const char* id, double v) { effect->UpdateParameterNormalizedValue (id, v, 0); };
        ASSERT_EQ (effect->Initialize (host.unknown()), kAAXSuccess);
        gui->AddRef();
        ASSERT_EQ (gui->Initialize (host.unknown()), kAAXSuccess);
    }

    void TearDown() override
    {
        host.automation().onSetValueRequest = [] (const char*, double) {};
        gui->Uninitialize();
        gui->Release();
        effect->Uninitialize();
        effect->Release();
    }

    TestGainProcessor& processor() { return static_cast<TestGainProcessor&> (effect->getProcessor()); }

    std::vector<int> automationCalls (const std::string& id)
    {
        std::vector<int> methods;
        for (const auto& call : host.log().calls ("automation"))
            if (call.args[0] == "\"" + id + "\"" && call.method >= 5)
                methods.push_back (call.method);
        return methods;
    }

    TempHome home;
    AaxHost host;
    AaxProcessorEffect* effect = new AaxProcessorEffect (std::make_unique<TestGainProcessor>(), nullptr);
    AaxEditorGUI* gui = new AaxEditorGUI();
};

// Embedding in a host's X11 window is checked on the product's editor through the module.
TEST_F (AaxGlueTest, EditorLivesWithItsViewContainer)
{
    auto* container = new HostViewContainer (host.state, kAAXViewContainer_None);
    ASSERT_EQ (gui->SetViewContainer (container), kAAXSuccess);
    container->Release();
    ASSERT_NE (gui->getEditor(), nullptr);
    EXPECT_EQ (processor().getActiveEditor(), gui->getEditor());
    EXPECT_TRUE (gui->ParameterUpdated ("0") == kAAXSuccess && gui->TimerWakeup() == kAAXSuccess);
    ASSERT_EQ (gui->SetViewContainer (nullptr), kAAXSuccess);
    EXPECT_TRUE (gui->getEditor() == nullptr && processor().getActiveEditor() == nullptr);
}

TEST_F (AaxGlueTest, EditorEditReachesTheHostAsTouchSetRelease)
{
    host.log().clear();
    processor().editFromUi (0, 0.3f);
    EXPECT_EQ (automationCalls ("0"), (std::vector<int> { 7, 5, 6, 8 })) << "touch, set, the host's update, release; no echo";
    double value = 0.0;
    effect->GetParameterNormalizedValue ("0", &value);
    EXPECT_NEAR (value, 0.3, 1e-6);
}

TEST_F (AaxGlueTest, AnEditorsEditReachesTheHostAtTheGuisNextTimerCall)
{
    // Editor work holds the module's message-thread role: the host hears of it only once a host
    // call has the role released.
    host.log().clear();
    std::atomic<bool> edited { false };
    juce::MessageManager::callAsync ([this, &edited] {
        processor().editFromUi (0, 0.3f);
        edited = true;
    });
    ASSERT_TRUE (quietline::test::waitUntil ([&] { return edited.load(); })) << "watchdog: the message never ran";
    EXPECT_TRUE (automationCalls ("0").empty());
    ASSERT_EQ (gui->TimerWakeup(), kAAXSuccess);
    EXPECT_EQ (automationCalls ("0"), (std::vector<int> { 7, 5, 6, 8 }));
}

TEST_F (AaxGlueTest, ProcessorReportsMoveTheMirrorTheLatencyAndTheChangeCount)
{
    using Details = juce::AudioProcessorListener::ChangeDetails;
    const struct { Details details; bool latency; } reports[] = {
        { Details().withProgramChanged (true), false },              // preset, A/B, undo
        { Details().withNonParameterStateChanged (true), false },    // paste
        { Details(), true } };

    float next = 0.1f;
    for (const auto& r : reports)
    {
        int32_t before = 0, after = 0;
        effect->GetNumberOfChanges (&before);
        processor().setParameter (1, next);   // moved without telling the host, as a preset does
        if (r.latency)
            processor().setLatencySamples (77);
        else
            processor().updateHostDisplay (r.details);
        effect->GetNumberOfChanges (&after);

        double value = 0.0;
        effect->GetParameterNormalizedValue ("1", &value);
        EXPECT_EQ (after - before, r.latency ? 0 : 1) << "counts for the host's save prompt";
        EXPECT_EQ (std::abs (value - next) < 1e-6, ! r.latency);
        EXPECT_EQ (host.log().calls ("controller", 10).back().args[0] == "77", r.latency);
        next += 0.2f;
    }
}
} // namespace
} // namespace quietline::test::aax
