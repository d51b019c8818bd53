// End-to-end checks of a built plug-in module through the reference host's loader: what any
// processor behind the VST 2.4 glue must do, whichever createPluginFilter the module carries.
#include "formats/module/ModuleTestSupport.h"

#include <dlfcn.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <fstream>
#include <future>
#include <thread>

namespace kelmora::tools::test
{
namespace
{
constexpr int32_t productId = vstFourCC ('O', 'q', '1', 'b');

bool isMapped (const std::string& path)
{
    std::ifstream maps ("/proc/self/maps");
    for (std::string line; std::getline (maps, line);)
        if (line.find (path) != std::string::npos)
            return true;
    return false;
}
} // namespace

TEST_F (ModuleTest, ExportsOnlyTheEntryPoints)
{
    EXPECT_NE (module->symbol ("VSTPluginMain"), nullptr);
    EXPECT_NE (module->symbol ("main_macho"), nullptr);
    EXPECT_EQ (module->symbol ("createPluginFilter"), nullptr);
    EXPECT_EQ (module->symbol ("_ZN4juce14MessageManager11getInstanceEv"), nullptr);

    // Both entry points give a working instance.
    auto* macho = reinterpret_cast<VstPluginMainProc> (module->symbol ("main_macho"));
    AEffect* e = macho (&HostedEffect::hostCallback);
    ASSERT_NE (e, nullptr);
    EXPECT_EQ (e->magic, kEffectMagic);
    EXPECT_EQ (e->dispatcher (e, effClose, 0, 0, nullptr, 0.0f), 1);
}

TEST_F (ModuleTest, RecordDescribesTheProduct)
{
    auto& e = instance();
    EXPECT_EQ (e.record().magic, kEffectMagic);
    EXPECT_EQ (e.numParameters(), 4);
    EXPECT_EQ (e.numPrograms(), QUIETLINE_EXPECTED_PROGRAMS);
    EXPECT_EQ (e.numInputs(), 2);
    EXPECT_EQ (e.numOutputs(), 2);
    EXPECT_EQ (e.uniqueId(), productId);
    EXPECT_EQ (e.version(), 100);
    EXPECT_EQ (e.record().flags & effFlagsCanReplacing, effFlagsCanReplacing);
    EXPECT_EQ (e.record().flags & effFlagsProgramChunks, effFlagsProgramChunks);
    EXPECT_EQ (e.record().flags & effFlagsNoSoundInStop, 0);
    EXPECT_EQ (e.effectName(), "Orvel Quietline");
    EXPECT_EQ (e.vendorString(), "Kelmora Labs");
    EXPECT_EQ (e.vendorVersion(), 100);
    EXPECT_EQ (e.category(), kPlugCategEffect);
}

TEST_F (ModuleTest, ScanSequenceWorksWithoutADisplay)
{
    ASSERT_EQ (std::getenv ("DISPLAY"), nullptr);

    // What a scanner does: create, ask everything, close, for a few rounds.
    for (int round = 0; round < 3; ++round)
    {
        std::string error;
        auto e = HostedEffect::create (*module, error);
        ASSERT_NE (e, nullptr) << error;
        e->open();
        EXPECT_FALSE (e->effectName().empty());
        EXPECT_FALSE (e->productString().empty());
        EXPECT_FALSE (e->vendorString().empty());
        for (int32_t i = 0; i < e->numParameters(); ++i)
        {
            EXPECT_FALSE (e->parameterName (i).empty()) << i;
            EXPECT_FALSE (e->parameterDisplay (i).empty()) << i;
        }
        for (int32_t i = 0; i < e->numPrograms(); ++i)
            EXPECT_FALSE (e->programNameIndexed (i).empty()) << i;
        EXPECT_EQ (e->canDo ("bypass"), 1);
        EXPECT_EQ (e->canDo ("receiveVstMidiEvent"), -1);
        EXPECT_EQ (e->reportedChannels(), std::make_pair (2, 2));
        EXPECT_GE (e->tailSize(), 0);
    }
}

TEST_F (ModuleTest, LatencyFollowsTheRateAfterResume)
{
    auto& e = instance();
    const std::pair<double, int32_t> expected[] = { { 44100, 0 }, { 96000, 45 }, { 192000, 90 }, { 384000, 180 }, { 48000, 0 } };

    for (auto [rate, latency] : expected)
    {
        e.clearRequests();
        e.start (rate, 512);
        EXPECT_EQ (e.latency(), latency) << rate;
        EXPECT_EQ (e.tailSize(), latency) << rate;
        e.suspend();
    }

    // Each change of latency came with one I/O-changed request at resume.
    e.clearRequests();
    e.start (96000, 512);
    e.suspend();
    e.start (96000, 512);
    size_t ioChanges = 0;
    for (const auto& r : e.requests())
        ioChanges += r.opcode == hostIoChanged ? 1 : 0;
    EXPECT_EQ (ioChanges, 1u);
}

TEST_F (ModuleTest, AnImpulseComesOutDelayedByTheLatency)
{
    for (double rate : { 96000.0, 192000.0, 384000.0 })
    {
        auto& e = instance();
        e.start (rate, 256);
        const auto latency = (size_t) e.latency();
        ASSERT_GT (latency, 0u);

        const auto x = impulseAt (4 * latency + 300, 100);
        const auto out = render (e, Channels { x, x });
        EXPECT_EQ (peakIndex (out[0]), 100 + latency) << rate;
        EXPECT_EQ (peakIndex (out[1]), 100 + latency) << rate;
        for (size_t i = 0; i < 100; ++i)
            ASSERT_EQ (out[0][i], 0.0f) << i;
    }
}

TEST_F (ModuleTest, HostBypassPassesTheSignalThroughTheDelay)
{
    auto& e = instance();
    e.start (192000.0, 128);
    ASSERT_TRUE (e.setBypass (true));

    const auto noise = sine (37000.0, 192000.0, 2000, 0.8f);
    const auto out = render (e, Channels { noise, noise });
    const auto latency = (size_t) e.latency();
    ASSERT_EQ (latency, 90u);

    for (size_t i = 0; i < noise.size(); ++i)
        ASSERT_EQ (out[0][i], i < latency ? 0.0f : noise[i - latency]) << i;
}

TEST_F (ModuleTest, ParametersRoundTripThroughTheRecord)
{
    auto& e = instance();
    for (int32_t i = 0; i < 3; ++i)
    {
        for (float v : { 0.0f, 0.3f, 1.0f })
        {
            e.setParameter (i, v);
            EXPECT_NEAR (e.getParameter (i), v, 1e-4f) << i;
        }
        EXPECT_TRUE (e.canBeAutomated (i));
    }
    EXPECT_FALSE (e.canBeAutomated (4));

    // Host automation is not sent back to the host.
    e.clearRequests();
    e.setParameter (1, 0.5f);
    for (const auto& r : e.requests())
        EXPECT_NE (r.opcode, hostAutomate);
}

TEST_F (ModuleTest, ChunksRoundTripWithinAndAcrossInstances)
{
    auto& a = instance();
    const std::vector<float> set { 0.2f, 0.6f, 0.4f };
    for (int32_t i = 0; i < 3; ++i)
        a.setParameter (i, set[(size_t) i]);
    const auto state = a.getChunk();
    ASSERT_FALSE (state.empty());

    a.setParameter (0, 0.9f);
    a.setParameter (1, 0.1f);
    EXPECT_EQ (a.setChunk (state), 1);
    const auto restored = parameters (a);
    // The state keeps values as the parameter model writes them (rounded to its decimals).
    for (int32_t i = 0; i < 3; ++i)
        EXPECT_NEAR (restored[(size_t) i], set[(size_t) i], 0.01f) << i;

    auto& b = instance();
    b.setProgram (1);
    EXPECT_EQ (b.setChunk (state), 1);
    EXPECT_EQ (parameters (b), restored);
    EXPECT_EQ (b.program(), a.program());

    // A second round trip changes nothing any more.
    EXPECT_EQ (b.setChunk (b.getChunk()), 1);
    EXPECT_EQ (parameters (b), restored);
}

TEST_F (ModuleTest, BrokenChunksResetWithoutACrash)
{
    auto& fresh = instance();
    const auto initial = parameters (fresh);
    const auto good = fresh.getChunk();
    ASSERT_GT (good.size(), 16u);

    std::vector<std::vector<uint8_t>> broken;
    broken.push_back (std::vector<uint8_t> (good.begin(), good.begin() + (std::ptrdiff_t) good.size() / 2));
    broken.push_back (std::vector<uint8_t> (good.begin(), good.begin() + 9));
    broken.push_back (std::vector<uint8_t> (3, 0x21));
    std::vector<uint8_t> garbage (4096);
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = (uint8_t) (i * 131 + 7);
    broken.push_back (garbage);
    // JUCE's binary XML around another root element, and with a length far past the data.
    const std::string foreign = "<SomethingElse freqParam=\"0.1\"/>";
    std::vector<uint8_t> wrapped = { 0x56, 0x43, 0x32, 0x21 };
    const auto length = (uint32_t) foreign.size() + 1;
    for (int shift = 0; shift < 32; shift += 8)
        wrapped.push_back ((uint8_t) (length >> shift));
    wrapped.insert (wrapped.end(), foreign.begin(), foreign.end());
    wrapped.push_back (0);
    broken.push_back (wrapped);
    auto lying = wrapped;
    lying[7] = 0x7f;
    broken.push_back (lying);

    auto& e = instance();
    for (const auto& chunk : broken)
    {
        e.setParameter (0, 0.77f);
        e.setParameter (2, 0.11f);
        e.setChunk (chunk);
        EXPECT_EQ (parameters (e), initial) << "chunk of " << chunk.size() << " bytes";
    }

    // An empty chunk is refused and leaves the state alone.
    e.setParameter (0, 0.77f);
    EXPECT_EQ (e.setChunk ({}), 0);
    EXPECT_NEAR (e.getParameter (0), 0.77f, 1e-4f);
}

TEST_F (ModuleTest, TwoInstancesLiveSideBySide)
{
    auto& a = instance();
    auto& b = instance();
    a.start (192000.0, 256);
    b.start (96000.0, 256);
    EXPECT_EQ (a.latency(), 90);
    EXPECT_EQ (b.latency(), 45);

    const float before = b.getParameter (2);
    a.setParameter (2, before > 0.5f ? 0.0f : 1.0f);
    EXPECT_EQ (b.getParameter (2), before);

    const auto x = impulseAt (600, 10);
    const auto outA = render (a, Channels { x, x });
    const auto outB = render (b, Channels { x, x });
    EXPECT_EQ (peakIndex (outA[0]), 100u);
    EXPECT_EQ (peakIndex (outB[0]), 55u);
}

TEST_F (ModuleTest, UnloadsAndLoadsAgain)
{
    for (int round = 0; round < 3; ++round)
    {
        {
            auto& e = instance();
            e.start (96000.0, 256);
            const auto x = impulseAt (300, 0);
            const auto out = render (e, Channels { x, x });
            EXPECT_EQ (peakIndex (out[0]), 45u);
        }
        instances.clear();
        module.reset();
        // Nothing keeps the module in memory: no thread of its own, no registered destructor.
        EXPECT_FALSE (isMapped (QUIETLINE_MODULE_PATH)) << "round " << round;

        std::string error;
        module = VstPluginModule::load (QUIETLINE_MODULE_PATH, error);
        ASSERT_NE (module, nullptr) << error;
    }
}

TEST_F (ModuleTest, ProcessingAndHostCallsFromTwoThreadsForTwoSeconds)
{
    auto& e = instance();
    e.start (192000.0, 512);
    const auto state = e.getChunk();

    std::atomic<bool> stop { false };
    std::atomic<bool> finite { true };
    std::atomic<long> blocks { 0 };
    std::thread::id audioThread;

    auto audio = std::async (std::launch::async, [&] {
        audioThread = std::this_thread::get_id();
        std::vector<float> l (512), r (512), outL (512), outR (512);
        float* in[] = { l.data(), r.data() };
        float* out[] = { outL.data(), outR.data() };
        uint32_t seed = 1;
        while (! stop)
        {
            for (size_t i = 0; i < 512; ++i)
            {
                seed = seed * 1664525u + 1013904223u;
                l[i] = r[i] = (float) (int32_t) seed / 2147483648.0f * 0.5f;
            }
            e.process (in, out, 512);
            for (size_t i = 0; i < 512; ++i)
                if (! std::isfinite (outL[i]) || ! std::isfinite (outR[i]))
                    finite = false;
            ++blocks;
        }
    });

    auto control = std::async (std::launch::async, [&] {
        int n = 0;
        while (! stop)
        {
            e.setParameter (n % 4, (float) ((n * 37) % 101) / 100.0f);
            e.parameterDisplay (n % 4);
            if (n % 7 == 0) e.setProgram (n % e.numPrograms());
            if (n % 11 == 0) e.setChunk (e.getChunk());
            if (n % 13 == 0) e.setChunk (state);
            if (n % 17 == 0) e.setBypass (n % 2 == 0);
            ++n;
        }
    });

    std::this_thread::sleep_for (std::chrono::seconds (2));
    stop = true;
    ASSERT_EQ (audio.wait_for (std::chrono::seconds (10)), std::future_status::ready) << "processing is stuck";
    ASSERT_EQ (control.wait_for (std::chrono::seconds (10)), std::future_status::ready) << "host calls are stuck";

    EXPECT_GT (blocks.load(), 0);
    EXPECT_TRUE (finite.load());
    EXPECT_EQ (e.requestsFrom (audioThread), 0u);
}
} // namespace kelmora::tools::test
