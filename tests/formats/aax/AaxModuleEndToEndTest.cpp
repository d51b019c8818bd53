// The built product module in the reference AAX host, reached through dlopen and its ACF exports only.
#include "core/ProductIdentity.h"
#include "formats/aax/AAX_CEffectParameters.h"
#include "formats/aax/LiveCheck.h"
#include "support/TempHome.h"
#include "tools/aaxhost/AaxModule.h"
#include "tools/vsthost/Signals.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

namespace quietline::test::aax
{
using namespace kelmora::tools::aaxhost;

namespace
{
namespace id = kelmora::identity;
constexpr AAX_ChunkID controlsChunk = kelmora::aax::AAX_CEffectParameters::controlsChunkID;

class AaxModuleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::unsetenv ("DISPLAY");
        ASSERT_TRUE (module.loaded()) << dlerror();
        ASSERT_EQ (module.describe (host), kAAXSuccess);
        ASSERT_EQ (host.state->description.effects.size(), 1u);
    }

    void TearDown() override { module.shutdown (host.unknown()); }

    const DescribedEffect& effect() const { return host.state->description.effects[0]; }

    std::unique_ptr<HostedInstance> instance (size_t component = 1)
    {
        auto made = std::make_unique<HostedInstance> (host, makeObject (effect(), kAAXProc_CreateEffectParameters), effect().components.at (component));
        EXPECT_EQ (made->initResult, kAAXSuccess);
        return made;
    }

    static std::vector<std::vector<float>> tone (double frequency, size_t channels, size_t length)
    {
        return std::vector<std::vector<float>> (channels, kelmora::tools::sine (frequency, 96000.0, length));
    }

    TempHome home;
    AaxModule module { QUIETLINE_MODULE_PATH };
    AaxHost host;
};

/** What the host reads index by index, up to and including the first index past the count. */
std::vector<std::pair<AAX_Result, AAX_ChunkID>> listedChunks (AAX_IACFEffectParameters& effect)
{
    int32_t count = 0;
    EXPECT_EQ (effect.GetNumberOfChunks (&count), kAAXSuccess);
    std::vector<std::pair<AAX_Result, AAX_ChunkID>> listed;
    for (int32_t index = 0; index <= count; ++index)
    {
        AAX_ChunkID chunkID = 1;
        listed.emplace_back (effect.GetChunkIDFromIndex (index, &chunkID), chunkID);
    }
    return listed;
}

// The identity itself is checked for every format in the module's identity test.
TEST_F (AaxModuleTest, DescribesTheProductWithAMonoAndAStereoComponent)
{
    EXPECT_EQ (host.state->description.packages, (std::vector<std::string> { id::productName, id::productName }));
    ASSERT_EQ (effect().components.size(), 2u);
    const struct { uint32_t stem, pluginID; } expected[] = { { kAAXStemFormat_Mono, id::aaxPluginIdMono }, { kAAXStemFormat_Stereo, id::aaxPluginIdStereo } };
    for (size_t i = 0; i < 2; ++i)
        EXPECT_EQ (effect().components[i].properties, (std::map<uint32_t, int32_t> {
                       { kAAXProperty_ManufacturerID, int32_t (id::makerCode) }, { kAAXProperty_ProductID, int32_t (id::productCode) },
                       { kAAXProperty_PlugInID_Native, int32_t (expected[i].pluginID) }, { kAAXProperty_InputStemFormat, int32_t (expected[i].stem) },
                       { kAAXProperty_OutputStemFormat, int32_t (expected[i].stem) }, { kAAXProperty_CanBypass, 1 } })) << i;
}

TEST_F (AaxModuleTest, StereoInstanceRegistersItsParametersAndLatencyAndTakesCleanHostValues)
{
    auto stereo = instance();
    EXPECT_EQ (host.automation().registered, (std::set<std::string> { "0", "1", "2", "3", "MasterBypassID" }));
    ASSERT_FALSE (host.log().calls ("controller", 10).empty());
    EXPECT_EQ (host.log().calls ("controller", 10).back().args[0], "45");
    EXPECT_DOUBLE_EQ (stereo->value ("1"), 0.75) << "a new instance shows preset 0, not the defaults";

    const struct { double sent, landed; } values[] = { { 0.25, 0.25 }, { std::numeric_limits<double>::quiet_NaN(), 0.0 },
                                                       { 1.5, 1.0 }, { -2.0, 0.0 }, { 0.6, 0.6 } };
    for (const auto& v : values)
    {
        stereo->effect->UpdateParameterNormalizedValue ("2", v.sent, 0);
        stereo->saveChunk (controlsChunk);   // the mirror now reads what the processor holds
        EXPECT_NEAR (stereo->value ("2"), v.landed, 1e-6) << v.sent;
    }

    EXPECT_EQ (stereo->effect->SetParameterNormalizedValue ("0", 0.5), kAAXSuccess);
    stereo->saveChunk (controlsChunk);
    EXPECT_NEAR (stereo->value ("0"), 0.5, 1e-6);

    for (const int32_t stem : { 0, 3 })   // neither mono nor stereo
    {
        auto other = effect().components[1];
        other.properties[kAAXProperty_InputStemFormat] = stem;
        EXPECT_EQ (HostedInstance (host, makeObject (effect(), kAAXProc_CreateEffectParameters), other).initResult, kAAXNotSupported);
    }
}

TEST_F (AaxModuleTest, FloatsShowThreeDecimalsAndTheMasterBypassIsATwoStepSwitch)
{
    auto stereo = instance();
    const struct { const char* id; double value; int32_t steps, type; const char* text; } rows[] = {
        { "2", 0.5, 128, 1, "0.500" }, { "MasterBypassID", 0.0, 2, 0, "bypass" }, { "MasterBypassID", 1.0, 2, 0, "on" } };
    for (const auto& r : rows)
    {
        int32_t steps = 0, type = -1;
        kelmora::aax::AAX_CString text;
        stereo->effect->GetParameterNumberOfSteps (r.id, &steps);
        stereo->effect->GetParameterType (r.id, &type);
        stereo->effect->GetParameterStringFromValue (r.id, r.value, &text, 32);
        EXPECT_EQ (std::make_tuple (steps, type, std::string (text.Get())), std::make_tuple (r.steps, r.type, std::string (r.text)))
            << r.id << " at " << r.value;
    }
}

TEST_F (AaxModuleTest, BothChunksRestoreIntoAFreshInstanceAndCompareEqualThere)
{
    auto first = instance();
    first->effect->SetParameterNormalizedValue ("0", 1.0);
    first->effect->SetParameterNormalizedValue ("2", 0.5);
    const auto controls = first->saveChunk (controlsChunk), state = first->saveChunk (kAAXChunk_ProcessorState);
    const double frequency = first->value ("0"), mix = first->value ("2");
    first.reset();

    auto second = instance();
    const auto record = [] (const std::vector<uint8_t>& chunk) { return reinterpret_cast<const kelmora::aax::ChunkRecord*> (chunk.data()); };
    const auto equal = [&] (const std::vector<uint8_t>& chunk) { bool result = false; return second->effect->CompareActiveChunk (record (chunk), &result), result; };
    EXPECT_FALSE (equal (state));
    for (const auto* chunk : { &controls, &state })
        EXPECT_EQ (second->effect->SetChunk (record (*chunk)->chunkID, record (*chunk)), kAAXSuccess);
    EXPECT_TRUE (second->value ("0") == frequency && second->value ("2") == mix);
    EXPECT_TRUE (equal (controls) && equal (state)) << "presets, A/B and values alike";
}

TEST_F (AaxModuleTest, ListsTheBaseEffectsChunksThenItsStateChunk)
{
    auto* base = new kelmora::aax::AAX_CEffectParameters();
    base->AddRef();
    auto expected = listedChunks (*base);
    base->Release();
    expected.insert (expected.end() - 1, { kAAXSuccess, kAAXChunk_ProcessorState });

    EXPECT_EQ (listedChunks (*instance()->effect), expected);
}

TEST_F (AaxModuleTest, StateChunkFetchCopiesTheBlockItsSizeQueryMeasured)
{
    auto stereo = instance();
    uint32_t size = 0;
    ASSERT_EQ (stereo->effect->GetChunkSize (kAAXChunk_ProcessorState, &size), kAAXSuccess);
    stereo->effect->UpdateParameterNormalizedValue ("2", 0.123456789, 0);   // longer value texts now

    std::vector<uint8_t> exact (kelmora::aax::kChunkRecordHeaderSize + size);   // the sanitizer sees any byte more
    auto* record = reinterpret_cast<kelmora::aax::ChunkRecord*> (exact.data());
    EXPECT_EQ (stereo->effect->GetChunk (kAAXChunk_ProcessorState, record), kAAXSuccess);
    EXPECT_EQ (record->size, int32_t (size));
}

TEST_F (AaxModuleTest, FiltersA30kHzToneAndPassesItDelayedUnderMasterBypass)
{
    for (const size_t component : { 0u, 1u })
    {
        auto hosted = instance (component);
        const size_t channels = component == 0 ? 1 : 2, length = 3000;   // longer than the prepared maximum
        const auto input = tone (30000.0, channels, length);

        const auto filtered = hosted->process (input);
        for (size_t c = 0; c < channels; ++c)
            EXPECT_LT (kelmora::tools::toneAmplitude (filtered[c].data() + 500, length - 500, 30000.0, 96000.0), 0.05) << component << ": at least 20 dB down";

        hosted->effect->SetParameterNormalizedValue ("MasterBypassID", 1.0);
        const auto bypassed = hosted->process (input);
        for (size_t c = 0; c < channels; ++c)
            for (size_t n = 45; n < length; ++n)
                ASSERT_EQ (bypassed[c][n], input[c][n - 45]) << component << " at " << n;
    }
}

TEST (AaxModule, TearsDownEveryReferenceAndUnloads)
{
    TempHome home;
    ::unsetenv ("DISPLAY");
    AaxModule module (QUIETLINE_MODULE_PATH);
    ASSERT_TRUE (module.loaded());
    {
        const LiveCheck live;
        AaxHost host;
        ASSERT_EQ (module.describe (host), kAAXSuccess);
        const auto& effect = host.state->description.effects.at (0);
        {
            HostedInstance hosted (host, makeObject (effect, kAAXProc_CreateEffectParameters), effect.components[1]);
            hosted.process (std::vector<std::vector<float>> (2, std::vector<float> (256, 0.1f)));
        }
        EXPECT_TRUE (host.automation().registered.empty());
        EXPECT_EQ (module.shutdown (host.unknown()), kAAXSuccess);
    }
    EXPECT_EQ (module.canUnloadNow (nullptr), 0);
    module.close();
    EXPECT_FALSE (module.mapped());
}
} // namespace
} // namespace quietline::test::aax
