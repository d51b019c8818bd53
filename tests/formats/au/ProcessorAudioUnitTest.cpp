// The glue on the product processor, in process: what it renders against the processor run
// directly, the host events the processor's own changes raise, and rendering while a host
// thread automates.
#include "formats/au/AUPlugInDispatch.h"
#include "formats/au/ProcessorAudioUnit.h"
#include "core/KelmoraLabsAudioProcessor.h"
#include "platform/au/AudioUnitRuntime.h"
#include "support/Concurrency.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter();

using namespace kelmora::au;

namespace
{
struct ProductUnit : ProcessorAudioUnit
{
    explicit ProductUnit (AudioComponentInstance instance) : ProcessorAudioUnit (instance, &createPluginFilter) {}
};
using Entry = AUComponentEntry<ProductUnit>;

std::mutex eventLock;
std::vector<std::pair<UInt32, AudioUnitParameterID>> events;
OSStatus RecordEvent (void*, void*, const AudioUnitEvent* e)
{
    const std::lock_guard<std::mutex> lock (eventLock);
    events.emplace_back (e->mEventType, e->mArgument.mParameter.mParameterID);
    return noErr;
}
const AudioUnitRuntime runtime { nullptr, nullptr, RecordEvent };

/** One product unit opened through the factory record, fed from `input` (flagged silent on request). */
class ProductFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AudioUnitRuntimeInstall (&runtime);
        record = Entry::Factory (nullptr);
        ASSERT_EQ (noErr, record->Open (record, reinterpret_cast<AudioComponentInstance> (this)));
        unit = static_cast<ProductUnit*> (static_cast<ComponentBase*> (UnitStorage (record)));
    }
    void TearDown() override
    {
        if (record != nullptr)
        {
            EXPECT_EQ (noErr, record->Close (record));
        }
        AudioUnitRuntimeInstall (nullptr);
    }

    void Configure (UInt32 channels, Float64 rate)
    {
        const AudioStreamBasicDescription format { rate, kAudioFormatLinearPCM,
                                                   kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked | kAudioFormatFlagIsNonInterleaved,
                                                   4, 1, 4, channels, 32, 0 };
        const AURenderCallbackStruct feed { Feed, this };
        for (AudioUnitScope scope : { kAudioUnitScope_Input, kAudioUnitScope_Output })
            ASSERT_EQ (noErr, unit->DispatchSetProperty (kAudioUnitProperty_StreamFormat, scope, 0, &format, sizeof format));
        ASSERT_EQ (noErr, unit->DispatchSetProperty (kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, 0, &feed, sizeof feed));
        input.assign (channels, std::vector<float> (256, 0.0f));
    }

    static OSStatus Feed (void* self, AudioUnitRenderActionFlags* flags, const AudioTimeStamp*, UInt32, UInt32 frames, AudioBufferList* list)
    {
        auto& fixture = *static_cast<ProductFixture*> (self);
        for (UInt32 c = 0; c < list->mNumberBuffers; ++c)
            std::memcpy (list->mBuffers[c].mData, fixture.input[c].data(), frames * sizeof (float));
        if (fixture.inputSilent)
            *flags |= kAudioUnitRenderAction_OutputIsSilence;
        return noErr;
    }

    // Renders `input` (256 frames) into out; answers the status and leaves the flags in `flags`.
    OSStatus Render (std::vector<std::vector<float>>& out)
    {
        out.assign (input.size(), std::vector<float> (256, 0.0f));
        std::vector<UInt8> bytes (offsetof (AudioBufferList, mBuffers) + sizeof (AudioBuffer) * out.size());
        auto& list = *reinterpret_cast<AudioBufferList*> (bytes.data());
        list.mNumberBuffers = UInt32 (out.size());
        for (size_t c = 0; c < out.size(); ++c)
            list.mBuffers[c] = { 1, 256 * sizeof (float), out[c].data() };
        AudioTimeStamp stamp {};
        stamp.mSampleTime = sampleTime;
        sampleTime += 256;
        flags = 0;
        return CallWithStatusLadder ([&] { return unit->DoRender (flags, stamp, 0, 256, list); });
    }

    quietline::test::TempHome home;
    AudioComponentPlugInInterface* record = nullptr;
    ProductUnit* unit = nullptr;
    std::vector<std::vector<float>> input;
    bool inputSilent = false;
    Float64 sampleTime = 0;
    AudioUnitRenderActionFlags flags = 0;
};
} // namespace

TEST_F (ProductFixture, RendersWhatTheProcessorRendersDirectlyAndKeepsTheTailAfterSilence)
{
    Configure (2, 96000);
    ASSERT_EQ (noErr, unit->DoInitialize());
    EXPECT_EQ (juce::AudioProcessor::wrapperType_AudioUnit, unit->getProcessor().wrapperType);

    std::unique_ptr<juce::AudioProcessor> direct (createPluginFilter());
    EXPECT_NE (juce::AudioProcessor::wrapperType_AudioUnit, direct->wrapperType) << "the wrapper type was set for the unit only";
    direct->setRateAndBufferSizeDetails (96000, 256);
    direct->prepareToPlay (96000, 256);

    uint32_t seed = 1;
    for (int block = 0; block < 3; ++block)
    {
        for (auto& channel : input)
            for (auto& s : channel)
                s = block < 2 ? float (int32_t (seed = seed * 1664525u + 1013904223u)) / 2147483648.0f : 0.0f;
        inputSilent = block == 2;
        std::vector<std::vector<float>> out;
        ASSERT_EQ (noErr, Render (out));

        juce::AudioBuffer<float> expected (2, 256);
        for (int c = 0; c < 2; ++c)
            expected.copyFrom (c, 0, input[size_t (c)].data(), 256);
        juce::MidiBuffer midi;
        direct->processBlock (expected, midi);
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < 256; ++i)
                ASSERT_EQ (expected.getSample (c, i), out[size_t (c)][size_t (i)]) << "block " << block << " channel " << c << " frame " << i;
    }
    EXPECT_EQ (0u, flags & kAudioUnitRenderAction_OutputIsSilence) << "the tail after silent input is not silence";
}

TEST_F (ProductFixture, HasItsBusesFromConstructionAndPostConstructionKeepsThem)
{
    std::unique_ptr<ProductUnit, void (*) (ProductUnit*)> fresh (nullptr, [] (ProductUnit* u) { u->PreDestructor(); delete u; });
    {
        const std::lock_guard<std::recursive_mutex> lock (ComponentBase::ComponentMutex());
        fresh.reset (new ProductUnit (reinterpret_cast<AudioComponentInstance> (this)));
    }
    const auto buses = [&] {
        return std::vector<AUElement*> { fresh->Inputs().GetElement (0), fresh->Outputs().GetElement (0), fresh->Inputs().GetElement (1),
                                         fresh->Outputs().GetElement (1) };
    };
    const auto constructed = buses();
    EXPECT_TRUE (constructed[0] != nullptr && constructed[1] != nullptr && constructed[2] == nullptr && constructed[3] == nullptr)
        << "one input and one output bus before the host post-constructs";
    fresh->PostConstructor();
    EXPECT_EQ (constructed, buses()) << "the same elements, none made again";
}

TEST_F (ProductFixture, RefusesDifferingInputAndOutputRates)
{
    Configure (2, 96000);
    const Float64 other = 48000;
    ASSERT_EQ (noErr, unit->DispatchSetProperty (kAudioUnitProperty_SampleRate, kAudioUnitScope_Input, 0, &other, sizeof other));
    EXPECT_EQ (kAudioUnitErr_FormatNotSupported, unit->DoInitialize());
    ASSERT_EQ (noErr, unit->DispatchSetProperty (kAudioUnitProperty_SampleRate, kAudioUnitScope_Output, 0, &other, sizeof other));
    ASSERT_EQ (noErr, unit->DoInitialize());
}

TEST_F (ProductFixture, EditorChangesGesturesAndLatencyReachTheHost)
{
    Configure (1, 96000);
    std::vector<AudioUnitPropertyID> changed;
    unit->AddPropertyListener (kAudioUnitProperty_Latency, [] (void* log, AudioUnit, AudioUnitPropertyID id, AudioUnitScope, AudioUnitElement) {
        static_cast<std::vector<AudioUnitPropertyID>*> (log)->push_back (id);
    }, &changed);
    ASSERT_EQ (noErr, unit->DoInitialize());
    EXPECT_EQ (std::vector<AudioUnitPropertyID> { kAudioUnitProperty_Latency }, changed);

    auto& processor = dynamic_cast<kelmora::core::KelmoraLabsAudioProcessor&> (unit->getProcessor());
    events.clear();
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    processor.beginParameterChangeGesture (2);
    processor.setParameterFromUi (2, 0.4f);
    processor.endParameterChangeGesture (2);
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
    EXPECT_EQ ((std::vector<std::pair<UInt32, AudioUnitParameterID>> { { kAudioUnitEvent_BeginParameterChangeGesture, 2 }, { kAudioUnitEvent_ParameterValueChange, 2 },
                                                                       { kAudioUnitEvent_EndParameterChangeGesture, 2 } }), events);
    AudioUnitParameterValue value = 0;
    ASSERT_EQ (noErr, unit->GetParameter (2, kAudioUnitScope_Global, 0, value));
    EXPECT_FLOAT_EQ (0.4f, value);
}

// Commands run as the editor runs them: one value event for each parameter they changed, outside
// any gesture, and GetParameter reads the new value; the host's own SetParameter raises none.
TEST_F (ProductFixture, EditorCommandsTellTheHostEachValueTheyChanged)
{
    Configure (2, 96000);
    ASSERT_EQ (noErr, unit->DoInitialize());
    auto& processor = dynamic_cast<kelmora::core::KelmoraLabsAudioProcessor&> (unit->getProcessor());
    auto& controller = processor.getPresetController();
    const auto read = [&] (AudioUnitParameterID id) {
        AudioUnitParameterValue value = -1;
        EXPECT_EQ (noErr, unit->GetParameter (id, kAudioUnitScope_Global, 0, value));
        return value;
    };
    const std::vector<AudioUnitParameterValue> start { read (0), read (1), read (2), read (3) };

    struct Row { const char* what; bool mixAutomatedFirst; std::function<void()> command; std::vector<AudioUnitParameterID> told; bool backToStart; };
    const Row rows[] = {
        { "next preset, Default to Light", false, [&] { controller.selectNextPreset(); }, { 0, 1 }, false },
        { "undo of it", false, [&] { controller.undo(); }, { 0, 1 }, true },
        { "host automation of Mix, then next preset", true, [&] { controller.selectNextPreset(); }, { 0, 1, 2 }, false },
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE (row.what);
        events.clear();
        if (row.mixAutomatedFirst)
        {
            ASSERT_EQ (noErr, unit->SetParameter (2, kAudioUnitScope_Global, 0, 0.5f, 0));
            EXPECT_TRUE (events.empty()) << "host automation told back";
        }
        std::vector<AudioUnitParameterValue> before { read (0), read (1), read (2), read (3) };
        processor.runEditorCommand (row.command);

        std::vector<std::pair<UInt32, AudioUnitParameterID>> expected;
        for (const auto id : row.told)
        {
            expected.emplace_back (kAudioUnitEvent_ParameterValueChange, id);
            EXPECT_NE (before[id], read (id)) << id;
            if (row.backToStart)
                EXPECT_EQ (start[id], read (id)) << id;
        }
        auto heard = events;
        std::sort (heard.begin(), heard.end());
        EXPECT_EQ (expected, heard) << "each changed value once, no other, no gesture";
    }
}

TEST_F (ProductFixture, RendersWhileAHostThreadAutomates)
{
    Configure (2, 96000);
    ASSERT_EQ (noErr, unit->DoInitialize());
    for (auto& channel : input)
        channel.assign (256, 0.5f);

    std::atomic<bool> failed { false };
    std::vector<std::vector<float>> out;
    const auto render = [&] {
        for (int i = 0; i < 300; ++i)
            failed = failed || Render (out) != noErr || ! std::isfinite (out[1][255]);
    };
    const auto automate = [&] {
        AudioUnitParameterValue read = 0;
        for (int i = 0; i < 300; ++i)
            failed = failed || unit->SetParameter (AudioUnitParameterID (i % 4), kAudioUnitScope_Global, 0, float (i % 7) / 6.0f, 0) != noErr
                     || unit->GetParameter (AudioUnitParameterID (i % 4), kAudioUnitScope_Global, 0, read) != noErr;
    };
    quietline::test::runTogether ({ render, automate });
    EXPECT_FALSE (failed.load());
}
