// The product's process procedure on the audio thread while a host thread sets parameters: no
// data race (ThreadSanitizer), no allocation, and the audio stays finite. No JUCE message thread.
#include "formats/aax/AAX_Exports.h"
#include "formats/aax/AaxPluginDescription.h"
#include "formats/aax/AaxProcessorEffect.h"
#include "dsp/KelmoraLabsTemplateAudioProcessor.h"
#include "support/Concurrency.h"
#include "support/TempHome.h"
#include "tools/aaxhost/AaxModule.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kelmora::vst::test
{
void startCountingAllocations();
int stopCountingAllocations();
} // namespace kelmora::vst::test

TEST (AaxProcess, RunsWhileTheHostSetsParameters)
{
    using namespace kelmora::tools::aaxhost;
    quietline::test::TempHome home;
    AaxHost host;
    kelmora::aax::SetEffectDescriptionRoutine (&kelmora::aax::describePlugin);
    IACFUnknown* definition = nullptr;
    ASSERT_EQ (ACFRegisterPlugin (host.unknown(), &definition), kAAXSuccess);
    definition->Release();

    auto* effect = new kelmora::aax::AaxProcessorEffect (std::make_unique<kelmora::dsp::KelmoraLabsTemplateAudioProcessor>(), nullptr);
    effect->AddRef();
    HostedInstance hosted (host, static_cast<AAX_IACFEffectParameters*> (effect), host.state->description.effects.at (0).components.at (1));
    ASSERT_EQ (hosted.initResult, kAAXSuccess);
    hosted.dispatchPackets();

    std::vector<float> left (256, 0.25f), right (256, -0.25f);
    float* channels[] = { left.data(), right.data() };
    bool finite = true;
    int allocations = 0;
    const char* ids[] = { "0", "1", "2" };
    quietline::test::runTogether ({ [&]
                                    {
                                        for (int b = 0; b < 400; ++b)
                                        {
                                            kelmora::vst::test::startCountingAllocations();
                                            hosted.render (channels, channels, 256);
                                            allocations += kelmora::vst::test::stopCountingAllocations();
                                            finite = finite && std::isfinite (left[255]) && std::isfinite (right[255]);
                                        }
                                    },
                                    [&]
                                    {
                                        for (int s = 0; s < 1200; ++s)
                                            hosted.effect->UpdateParameterNormalizedValue (ids[s % 3], (s % 11) / 10.0, 0);
                                    } });
    EXPECT_TRUE (finite);
    EXPECT_EQ (allocations, 0);
}
