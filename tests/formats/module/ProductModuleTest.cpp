// End-to-end checks that belong to the product itself: its filter, parameters and presets, as
// a host sees them through the built module.
#include "formats/module/ModuleTestSupport.h"

#include <filesystem>

namespace kelmora::tools::test
{
TEST_F (ModuleTest, ProductParametersAndProgramsAsTheHostSeesThem)
{
    auto& e = instance();
    EXPECT_EQ (e.parameterName (0), "Frequency");
    EXPECT_EQ (e.parameterName (1), "Slope");
    EXPECT_EQ (e.parameterName (2), "Mix");
    EXPECT_EQ (e.parameterName (3), "Bypass");
    EXPECT_EQ (e.parameterDisplay (0), "21.0 kHz");
    EXPECT_EQ (e.parameterDisplay (1), "75.0 %");
    EXPECT_EQ (e.parameterDisplay (2), "100.0 %");
    EXPECT_EQ (e.parameterDisplay (3), "Off");
    EXPECT_TRUE (e.canBeAutomated (3));

    const char* factory[] = { "Default", "Light", "Intermediate", "Steep and reduced", "Hard" };
    for (int32_t i = 0; i < 5; ++i)
        EXPECT_EQ (e.programNameIndexed (i), factory[i]);

    e.setProgram (2);
    EXPECT_EQ (e.program(), 2);
    EXPECT_EQ (e.programName(), "Intermediate");
    EXPECT_EQ (e.parameterDisplay (0), "22.0 kHz");
    EXPECT_EQ (e.parameterDisplay (1), "50.0 %");

    // An empty user slot is not selected.
    e.setProgram (7);
    EXPECT_EQ (e.program(), 2);

    e.setParameter (3, 1.0f);
    EXPECT_EQ (e.parameterDisplay (3), "On");

    // The instance kept its settings in the fresh home folder, nowhere else.
    EXPECT_TRUE (std::filesystem::exists (home.settingsFolder() + "/global.conf"));
}

TEST_F (ModuleTest, SteepFullMixFilterRemovesFortyKilohertzAndKeepsOneKilohertz)
{
    auto& e = instance();
    e.setParameter (1, 1.0f);
    e.setParameter (2, 1.0f);
    e.start (96000.0, 512);

    EXPECT_GE (measureAttenuationDb (e, 40000.0), 90.0);
    EXPECT_NEAR (measureAttenuationDb (e, 1000.0), 0.0, 0.01);
}

TEST_F (ModuleTest, AtFortyFourPointOneKilohertzTheAudioPassesBitIdentical)
{
    auto& e = instance();
    e.start (44100.0, 512);
    ASSERT_EQ (e.latency(), 0);

    std::vector<float> left (5000), right (5000);
    uint32_t seed = 7;
    for (size_t i = 0; i < left.size(); ++i)
    {
        seed = seed * 1664525u + 1013904223u;
        left[i] = (float) (int32_t) seed / 2147483648.0f;
        right[i] = -left[i] * 0.5f;
    }

    const auto out = render (e, Channels { left, right });
    EXPECT_EQ (out[0], left);
    EXPECT_EQ (out[1], right);
}

TEST_F (ModuleTest, MonoArrangementFiltersTheOneChannel)
{
    auto& e = instance();
    ASSERT_TRUE (e.setChannels (1));
    EXPECT_EQ (e.reportedChannels(), std::make_pair (1, 1));
    e.start (192000.0, 256);

    const auto x = impulseAt (800, 20);
    const auto out = render (e, Channels { x });
    EXPECT_EQ (peakIndex (out[0]), 110u);
}
} // namespace kelmora::tools::test
