// The built product module as a host sees it, loaded by path through the reference host's
// loader with a fresh HOME and no display, as a plain Linux host scanning or loading it would.
#include "formats/module/BuiltModule.h"
#include "support/TempHome.h"
#include "tools/vsthost/Signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace kelmora::tools::test
{
namespace
{
class ModuleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::unsetenv ("DISPLAY");
        module = loadModule();
        ASSERT_NE (module, nullptr);
    }

    /** A new open instance, owned by the fixture. */
    HostedEffect& instance()
    {
        instances.push_back (makeInstance (*module));
        if (instances.back() == nullptr)
            throw std::runtime_error ("no instance");
        return *instances.back();
    }

    static std::vector<float> parameters (HostedEffect& e)
    {
        std::vector<float> values;
        for (int32_t i = 0; i < e.numParameters(); ++i)
            values.push_back (e.getParameter (i));
        return values;
    }

    // Destroyed bottom up: the instances close before the module unloads.
    quietline::test::TempHome home;
    std::unique_ptr<VstPluginModule> module;
    std::vector<std::unique_ptr<HostedEffect>> instances;
};

std::vector<float> impulseAt (size_t length, size_t at)
{
    std::vector<float> x (length, 0.0f);
    x[at] = 1.0f;
    return x;
}

size_t peakIndex (const std::vector<float>& x)
{
    const auto peak = std::max_element (x.begin(), x.end(), [] (float a, float b) { return std::abs (a) < std::abs (b); });
    return (size_t) (peak - x.begin());
}

std::vector<float> noise (size_t length, uint32_t seed)
{
    std::vector<float> x (length);
    for (auto& s : x)
        s = (float) (int32_t) (seed = seed * 1664525u + 1013904223u) / 2147483648.0f;
    return x;
}
} // namespace

TEST_F (ModuleTest, ExportsOnlyTheEntryPointsAndDescribesTheDeclaredProduct)
{
    EXPECT_EQ (module->symbol ("createPluginFilter"), nullptr);
    EXPECT_EQ (module->symbol ("_ZN4juce14MessageManager11getInstanceEv"), nullptr);
    AEffect* other = reinterpret_cast<VstPluginMainProc> (module->symbol ("main_macho")) (&HostedEffect::hostCallback);
    EXPECT_EQ (other->dispatcher (other, effClose, 0, 0, nullptr, 0.0f), 1);

    // The codes, versions and names are the validator's identity check.
    auto& e = instance();
    EXPECT_EQ (std::make_tuple (e.numParameters(), e.numPrograms(), e.numInputs(), e.numOutputs(), e.category()),
               std::make_tuple (4, 10, 2, 2, (int32_t) kPlugCategEffect));
    EXPECT_EQ (std::make_pair (e.canDo ("bypass"), e.canDo ("receiveVstMidiEvent")), std::make_pair ((intptr_t) 1, (intptr_t) -1));
    EXPECT_EQ (e.canDo ("receiveVstTimeInfo"), 1);
}

TEST_F (ModuleTest, PinPropertiesNameEachChannelOfTheCurrentLayout)
{
    auto& e = instance();
    struct Row { int32_t channels, index; intptr_t answer; const char* label; int32_t flags, arrangement; };
    constexpr int32_t active = kVstPinIsActive | kVstPinUseSpeaker;
    const Row rows[] = { { 2, 0, 1, "1", active | kVstPinIsStereo, kSpeakerArrStereo },
                         { 2, 1, 1, "2", active, kSpeakerArrStereo },
                         { 2, 2, 0, "", 0, 0 }, { 2, -1, 0, "", 0, 0 }, { 2, INT32_MAX, 0, "", 0, 0 },
                         { 1, 0, 1, "1", active, kSpeakerArrMono },
                         { 1, 1, 0, "", 0, 0 } };

    for (const auto& row : rows)
    {
        ASSERT_TRUE (e.setChannels (row.channels));
        for (const int32_t opcode : { effGetInputProperties, effGetOutputProperties })
        {
            VstPinProperties pin;
            std::memset (&pin, 0x7f, sizeof (pin)); // what the host's memory held before
            SCOPED_TRACE (std::to_string (row.channels) + " channels, opcode " + std::to_string (opcode) + ", pin " + std::to_string (row.index));
            ASSERT_EQ (e.dispatch (opcode, row.index, 0, &pin), row.answer);
            if (row.answer == 0)
                continue;

            EXPECT_EQ (std::make_tuple (std::string (pin.label), std::string (pin.shortLabel), pin.flags, pin.arrangementType),
                       std::make_tuple (std::string (row.label), std::string (row.label), row.flags, row.arrangement));
            EXPECT_EQ (std::count (pin.future, pin.future + sizeof (pin.future), 0), (long) sizeof (pin.future));
        }
    }
}

TEST_F (ModuleTest, InstancesSideBySideReportTheirLatencyAndDelayAnImpulseByIt)
{
    // One live instance per rate; the last asks for mono by speaker arrangement.
    const std::tuple<double, int32_t, int32_t> setups[] = { { 44100.0, 2, 0 }, { 48000.0, 2, 0 }, { 96000.0, 2, 45 },
                                                            { 192000.0, 2, 90 }, { 384000.0, 1, 180 } };
    for (auto [rate, channels, latency] : setups)
    {
        auto& e = instance();
        ASSERT_TRUE (e.setChannels (channels));
        EXPECT_EQ (e.reportedChannels(), std::make_pair (channels, channels));
        e.start (rate, 256);
        EXPECT_EQ (std::make_pair (e.latency(), e.tailSize()), std::make_pair (latency, latency)) << rate;
    }

    // Each instance has parameters of its own.
    instances[2]->setParameter (2, 0.0f);
    EXPECT_EQ (instances[3]->getParameter (2), 1.0f);
    instances[2]->setParameter (2, 1.0f);

    for (size_t i = 0; i < instances.size(); ++i)
    {
        const auto [rate, channels, latency] = setups[i];
        const auto out = render (*instances[i], Channels ((size_t) channels, impulseAt (1000, 100)));
        for (size_t c = 0; c < (size_t) channels; ++c)
        {
            EXPECT_EQ (peakIndex (out[c]), 100u + (size_t) latency) << rate;
            EXPECT_EQ (std::count (out[c].begin(), out[c].begin() + 100, 0.0f), 100) << rate;
        }
    }
}

TEST_F (ModuleTest, TheRecordFollowsTheArrangementAndEveryOutputItAnnouncesIsWritten)
{
    auto& e = instance();
    e.start (44100.0, 64);   // the audio passes unchanged
    // Channels asked for, and the host's notices of a changed record.
    for (auto [channels, notices] : { std::pair { 1, 1 }, { 2, 1 }, { 2, 0 }, { 1, 1 } })
    {
        e.suspend();
        e.clearRequests();
        ASSERT_TRUE (e.setChannels (channels));
        const auto requests = e.requests();
        EXPECT_EQ (std::count_if (requests.begin(), requests.end(), [] (const HostRequest& r) { return r.opcode == hostIoChanged; }), notices);
        EXPECT_EQ (std::make_pair (e.numInputs(), e.numOutputs()), std::make_pair (channels, channels));
        e.resume();

        // Every buffer the record announces holds stale audio before the call.
        Channels in ((size_t) channels, noise (64, 5)), out ((size_t) e.numOutputs(), std::vector<float> (64, 9.0f));
        std::vector<float*> inPointers, outPointers;
        for (auto& c : in) inPointers.push_back (c.data());
        for (auto& c : out) outPointers.push_back (c.data());
        e.process (inPointers.data(), outPointers.data(), 64);
        EXPECT_EQ (out, in) << channels;
    }
}

TEST_F (ModuleTest, HostBypassPassesTheSignalThroughTheDelay)
{
    auto& e = instance();
    e.start (192000.0, 128);
    ASSERT_TRUE (e.setBypass (true));
    const auto x = sine (37000.0, 192000.0, 2000, 0.8f);
    const auto out = render (e, Channels { x, x });
    for (size_t i = 0; i < x.size(); ++i)
        ASSERT_EQ (out[0][i], i < 90 ? 0.0f : x[i - 90]) << i;
}

TEST_F (ModuleTest, ParametersAndProgramsAsTheHostSeesThem)
{
    auto& e = instance();
    // Preset "Default" as a host lists it: the unit is in the text, so no label repeats it.
    const char* const defaults[][2] = { { "Frequency", "21.0 kHz" }, { "Slope", "75.0 %" }, { "Mix", "100.0 %" }, { "Bypass", "Off" } };
    ASSERT_EQ (e.numParameters(), 4);
    for (int32_t i = 0; i < e.numParameters(); ++i)
    {
        EXPECT_EQ (e.parameterName (i) + "=" + e.parameterDisplay (i) + "|" + e.parameterLabel (i),
                   std::string (defaults[i][0]) + "=" + defaults[i][1] + "|");
        EXPECT_TRUE (e.canBeAutomated (i));
        for (float v : { 0.0f, 0.3f, 1.0f })
        {
            e.setParameter (i, v);
            EXPECT_NEAR (e.getParameter (i), v, 1e-4f) << i;
        }
    }
    EXPECT_FALSE (e.canBeAutomated (e.numParameters()));

    // Host automation is not sent back to the host.
    e.clearRequests();
    e.setParameter (1, 0.5f);
    for (const auto& r : e.requests())
        EXPECT_NE (r.opcode, hostAutomate);

    // An empty user slot is not selected.
    e.setProgram (2);
    const auto chosen = std::make_tuple (e.program(), e.programName(), e.parameterDisplay (0), e.parameterDisplay (1));
    e.setProgram (7);
    EXPECT_EQ (std::make_tuple (e.program(), e.programName(), e.parameterDisplay (0), e.parameterDisplay (1)), chosen);
    EXPECT_EQ (std::get<0> (chosen), 2);
    // The instance kept its settings in the fresh home folder, nowhere else.
    EXPECT_TRUE (std::filesystem::exists (home.settingsFolder() + "/global.conf"));
}

TEST_F (ModuleTest, HostTextThatIsNotUtf8IsRefusedAndANameCutAtItsLimitKeepsWholeCharacters)
{
    auto& e = instance();
    e.setProgram (1);
    e.setProgramName ("Kept");

    const std::pair<const char*, std::string> malformed[] = {
        { "lone continuation bytes", "21\x80\x80 kHz" },
        { "an overlong NUL", "21\xc0\x80kHz" },
        { "a surrogate", "21\xed\xa0\x80" },
        { "a sequence cut short inside", "2\xc3 1" },
    };
    for (const auto& [what, text] : malformed)
    {
        SCOPED_TRACE (what);
        e.setProgramName (text);
        EXPECT_EQ (e.programName(), "Kept");
        EXPECT_EQ (e.canDo ("bypass" + text), 0);
    }

    // Hosts cut program names at 24 bytes, wherever a character ends.
    const std::pair<std::string, std::string> names[] = {
        { "Nuit \xc3\xa9toil\xc3\xa9\x65", "Nuit \xc3\xa9toil\xc3\xa9\x65" },
        { std::string (23, 'a') + "\xc3\xa9", std::string (23, 'a') },
        { std::string (22, 'a') + "\xe2\x82\xac", std::string (22, 'a') },
    };
    for (const auto& [given, kept] : names)
    {
        e.setProgramName (given);
        EXPECT_EQ (e.programName(), kept);
    }
}

TEST_F (ModuleTest, ChunksRoundTripWithinAndAcrossInstances)
{
    auto& a = instance();
    const std::vector<float> set { 0.2f, 0.6f, 0.4f };
    for (int32_t i = 0; i < 3; ++i)
        a.setParameter (i, set[(size_t) i]);
    void* data = nullptr;
    const auto size = a.dispatch (effGetChunk, 0, 0, &data);
    ASSERT_GT (size, 0);
    const std::vector<uint8_t> state (static_cast<uint8_t*> (data), static_cast<uint8_t*> (data) + size);

    // Changing the plug-in leaves the block the host holds alone, and it restores as handed out.
    a.setParameter (0, 0.9f);
    a.setParameter (1, 0.1f);
    EXPECT_EQ (std::memcmp (data, state.data(), state.size()), 0);
    EXPECT_EQ (a.dispatch (effSetChunk, 0, size, data), 1);
    const auto restored = parameters (a);
    // The state keeps values as the parameter model writes them (rounded to its decimals).
    for (int32_t i = 0; i < 3; ++i)
        EXPECT_NEAR (restored[(size_t) i], set[(size_t) i], 0.01f) << i;

    // Into another instance, then once more: a second round trip changes nothing any more.
    auto& b = instance();
    b.setProgram (1);
    EXPECT_EQ (b.setChunk (state) + b.setChunk (b.getChunk()), 2);
    EXPECT_EQ (std::make_pair (parameters (b), b.program()), std::make_pair (restored, a.program()));
}

TEST_F (ModuleTest, UnloadsAndLoadsAgain)
{
    for (int round = 0; round < 3; ++round)
    {
        instance().start (96000.0, 256);
        render (*instances[0], Channels (2, std::vector<float> (300, 0.5f)));
        instances.clear();
        module.reset();

        // Nothing keeps the module in memory: no thread of its own, no registered destructor.
        EXPECT_FALSE (moduleIsMapped()) << "round " << round;
        module = loadModule();
        ASSERT_NE (module, nullptr);
    }
}
} // namespace kelmora::tools::test
