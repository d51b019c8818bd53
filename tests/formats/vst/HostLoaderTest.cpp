#include "formats/vst/AudioEffectX.h"
#include "tools/vsthost/HostedEffect.h"
#include "tools/vsthost/Signals.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace kelmora::tools;

namespace
{
std::unique_ptr<VstPluginModule> loadFake()
{
    std::string error;
    auto module = VstPluginModule::load (QUIETLINE_FAKE_MODULE, error);
    EXPECT_NE (module, nullptr) << error;
    return module;
}
} // namespace

TEST (HostLoader, LoadsRendersAndRestoresThroughTheEntryPoint)
{
    auto module = loadFake();
    ASSERT_NE (module, nullptr);

    std::string error;
    auto effect = HostedEffect::create (*module, error);
    ASSERT_NE (effect, nullptr) << error;

    EXPECT_EQ (effect->record().magic, kEffectMagic);
    EXPECT_EQ (effect->uniqueId(), vstFourCC ('F', 'k', 'G', 'n'));
    EXPECT_EQ (effect->effectName(), "Fake Gain");
    EXPECT_EQ (effect->parameterName (0), "Gain");

    effect->open();
    effect->start (48000.0, 100);
    effect->setParameter (0, 0.5f);

    // 250 frames in blocks of at most 100: every block is processed, none is dropped.
    const auto tone = sine (1000.0, 48000.0, 250);
    const auto out = render (*effect, Channels { tone, tone });
    ASSERT_EQ (out.size(), 2u);
    for (size_t i = 0; i < tone.size(); ++i)
        ASSERT_EQ (out[1][i], tone[i] * 0.5f) << i;

    const auto state = effect->getChunk();
    ASSERT_EQ (state.size(), sizeof (float));
    effect->setParameter (0, 0.25f);
    EXPECT_EQ (effect->setChunk (state), 1);
    EXPECT_EQ (effect->getParameter (0), 0.5f);
    EXPECT_EQ (effect->setChunk ({}), 0);
    EXPECT_EQ (effect->getParameter (0), 0.5f);
}

TEST (HostLoader, RecordsWhatThePluginAsksAndAnswersLikeAHost)
{
    auto module = loadFake();
    ASSERT_NE (module, nullptr);
    std::string error;
    auto effect = HostedEffect::create (*module, error);
    ASSERT_NE (effect, nullptr) << error;

    // The entry point asked for the host's version before the record existed.
    ASSERT_FALSE (effect->requests().empty());
    EXPECT_EQ (effect->requests()[0].opcode, hostGetVersion);
    effect->clearRequests();

    auto* e = static_cast<kelmora::vst::AudioEffectX*> (effect->record().object);
    effect->setSampleRate (96000.0);
    effect->setBlockSize (64);

    e->setParameterAutomated (0, 0.75f);
    EXPECT_EQ (e->updateSampleRate(), 96000.0);
    EXPECT_EQ (e->updateBlockSize(), 64);
    EXPECT_EQ (e->getMasterVersion(), 2400);
    char yes[] = "acceptIOChanges", no[] = "openFileSelector";
    EXPECT_EQ (e->canHostDo (yes), 1);
    EXPECT_EQ (e->canHostDo (no), 0);
    char vendor[65] = {};
    EXPECT_TRUE (e->getHostVendorString (vendor));
    EXPECT_STREQ (vendor, "Kelmora Labs");

    const auto requests = effect->requests();
    ASSERT_FALSE (requests.empty());
    EXPECT_EQ (requests[0].opcode, hostAutomate);
    EXPECT_EQ (requests[0].index, 0);
    EXPECT_EQ (requests[0].opt, 0.75f);
    EXPECT_EQ (effect->requestsFrom (std::this_thread::get_id()), requests.size());
}

TEST (HostLoader, UnloadsAndLoadsAgain)
{
    for (int round = 0; round < 3; ++round)
    {
        auto module = loadFake();
        ASSERT_NE (module, nullptr);
        std::string error;
        auto a = HostedEffect::create (*module, error);
        auto b = HostedEffect::create (*module, error);
        ASSERT_NE (a, nullptr);
        ASSERT_NE (b, nullptr);
        a->setParameter (0, 0.1f);
        EXPECT_EQ (b->getParameter (0), 1.0f);
    }

    std::string error;
    EXPECT_EQ (VstPluginModule::load ("/nonexistent/module.so", error), nullptr);
    EXPECT_FALSE (error.empty());
}
