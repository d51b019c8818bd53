#include "formats/aax/fakehost/ChunkBuffer.h"
#include "formats/aax/fakehost/FakeEffect.h"
#include "formats/aax/fakehost/FakeHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <thread>
#include <vector>

using namespace kelmora::aax;
using namespace quietline::test::aax;
using Bytes = std::vector<uint8_t>;

namespace
{
constexpr AAX_ChunkID elck = 0x656C636Bu;
constexpr AAX_ChunkID otherChunk = 0x61626364u;

class EffectParametersTest : public ::testing::Test
{
protected:
    void SetUp() override { start(); }

    void TearDown() override { stop(); }

    void start (FakeEffectOptions options = {})
    {
        effect = FakeEffect::create (options);
        ASSERT_EQ (effect->Initialize (host.unknown()), options.effectInitResult);
        host.log().clear();
    }

    void stop()
    {
        if (effect != nullptr)
        {
            effect->Uninitialize();
            effect->Release();
            effect = nullptr;
        }
    }

    /** Plays a host that applies every set request at once, as hosts do. */
    void echoSetRequests()
    {
        host.automation().onSetValueRequest = [this] (const char* id, double value) { effect->UpdateParameterNormalizedValue (id, value, 0); };
    }

    std::vector<std::string> setRequests()
    {
        std::vector<std::string> values;
        for (const auto& call : host.log().calls ("automation", 5))
            values.push_back (call.args[0] + " " + call.args[1]);
        return values;
    }

    float floatValue (const char* id)
    {
        float value = NAN;
        EXPECT_TRUE (effect->parameter (id)->GetValueAsFloat (&value));
        return value;
    }

    bool boolValue (const char* id)
    {
        bool value = false;
        EXPECT_TRUE (effect->parameter (id)->GetValueAsBool (&value));
        return value;
    }

    int32_t changes()
    {
        int32_t count = -1;
        EXPECT_EQ (effect->GetNumberOfChanges (&count), kAAXSuccess);
        return count;
    }

    std::string nameOfLength (const char* id, int32_t length)
    {
        AAX_CString out ("untouched");
        EXPECT_EQ (effect->GetParameterNameOfLength (id, &out, length), kAAXSuccess);
        return out.Get();
    }

    /** The effect's chunk as a host fetches it: size first, then the data. */
    Bytes fetchChunk()
    {
        uint32_t size = 0;
        EXPECT_EQ (effect->GetChunkSize (elck, &size), kAAXSuccess);
        ChunkBuffer buffer { Bytes (size) };
        EXPECT_EQ (effect->GetChunk (elck, buffer.record()), kAAXSuccess);
        return buffer.data();
    }

    static Bytes chunkOf (const AAX_CChunkDataParser& parser)
    {
        ChunkBuffer buffer (Bytes (static_cast<size_t> (parser.GetChunkDataSize())));
        parser.GetChunkData (buffer.record());
        return buffer.data();
    }

    void addParameter (AAX_IParameter* parameter) { effect->manager().AddParameter (parameter); }

    LiveCheck check;
    FakeHost host;
    FakeEffect* effect = nullptr;
};
} // namespace

TEST_F (EffectParametersTest, LookupsAndTextConversions)
{
    AAX_CString text ("untouched");
    EXPECT_EQ (effect->GetParameterName ("missing", &text), kAAXSuccess) << "a missing name is the empty text";
    EXPECT_STREQ (text.Get(), "");
    EXPECT_EQ (effect->GetMasterBypassParameter (&text), kAAXSuccess);
    EXPECT_STREQ (text.Get(), "MasterBypassID");
    EXPECT_EQ (effect->GetParameterIDFromIndex (3, &text), kAAXNoSuchParameter);
    EXPECT_STREQ (text.Get(), "");

    int32_t steps = -1, index = 7, info = 5;
    bool automatable = true;
    AAX_IParameter* parameter = effect->parameter ("gain");
    EXPECT_EQ (effect->GetParameterNumberOfSteps ("MasterBypassID", &steps), kAAXSuccess);
    EXPECT_EQ (steps, 2);
    EXPECT_EQ (effect->GetParameterIndex ("freq", &index), kAAXSuccess);
    EXPECT_EQ (index, 1);
    EXPECT_EQ (effect->GetParameterIndex ("missing", &index), kAAXNoSuchParameter);
    EXPECT_EQ (effect->GetParameterIsAutomatable ("missing", &automatable), kAAXNoSuchParameter);
    EXPECT_EQ (effect->GetParameter ("missing", &parameter), kAAXNoSuchParameter);
    EXPECT_EQ (effect->GetParameterValueInfo ("gain", 0, &info), kAAXNotSupported);
    EXPECT_TRUE (index == -1 && ! automatable && parameter == nullptr && info == 0) << "out values cleared";
    EXPECT_EQ (effect->GetNumberOfParameters (nullptr), kAAXNullObject);
    EXPECT_EQ (effect->GetParameterName ("gain", nullptr), kAAXNullObject);

    double value = -1.0;
    EXPECT_EQ (effect->GetParameterValueFromString ("gain", &value, AAX_CString ("2")), kAAXConversionFailed);
    EXPECT_EQ (value, 1.0);
    EXPECT_EQ (effect->GetParameterValueFromString ("missing", &value, AAX_CString ("1")), kAAXNoSuchParameter);
    EXPECT_EQ (effect->GetParameterStringFromValue ("freq", 0.5, &text, 20), kAAXSuccess);
    EXPECT_STREQ (text.Get(), "22500.000");
    EXPECT_EQ (effect->GetParameterValueString ("gain", &text, 3), kAAXSuccess);
    EXPECT_STREQ (text.Get(), "0.500");
}

TEST_F (EffectParametersTest, SetsGoToTheHostAndUpdatesCountChanges)
{
    EXPECT_EQ (effect->SetParameterNormalizedValue ("gain", 0.8), kAAXSuccess);
    EXPECT_EQ (setRequests(), std::vector<std::string> { "\"gain\" " + str (static_cast<double> (0.8f)) }) << "through the float taper";
    EXPECT_EQ (host.log().methods ("automation"), (std::vector<int> { 7, 5, 8 }));
    EXPECT_EQ (floatValue ("gain"), 0.5f);
    EXPECT_EQ (effect->UpdateParameterNormalizedValue ("missing", 0.8, 0), kAAXNoSuchParameter);
    EXPECT_EQ (changes(), 0);
    EXPECT_EQ (effect->UpdateParameterNormalizedValue ("gain", 0.8, 0), kAAXSuccess);
    EXPECT_EQ (floatValue ("gain"), 0.8f);
    EXPECT_EQ (changes(), 1);
    EXPECT_EQ (effect->TouchParameter ("missing"), kAAXNoSuchParameter);
    EXPECT_EQ (effect->SetParameterNormalizedValue ("missing", 0.1), kAAXNoSuchParameter);

    // Relative changes stay inside the range.
    ASSERT_EQ (effect->UpdateParameterNormalizedValue ("gain", 0.9, 0), kAAXSuccess);
    host.log().clear();
    for (double delta : { 0.3, -2.0, static_cast<double> (NAN) })
        EXPECT_EQ (effect->SetParameterNormalizedRelative ("gain", delta), kAAXSuccess);
    EXPECT_EQ (setRequests(), (std::vector<std::string> { "\"gain\" 1", "\"gain\" 0", "\"gain\" 0" }));
    EXPECT_EQ (effect->UpdateParameterNormalizedRelative ("gain", 0.3), kAAXSuccess);
    EXPECT_EQ (floatValue ("gain"), 1.0f);
    EXPECT_EQ (effect->UpdateParameterNormalizedRelative ("gain", -2.0), kAAXSuccess);
    EXPECT_EQ (floatValue ("gain"), 0.0f);
    EXPECT_EQ (changes(), 4);
}

TEST_F (EffectParametersTest, NonFiniteHostValuesLandOnTheMinimum)
{
    double posted = -1.0;
    host.automation().onCurrentValue = [&] (const char*, double value) { posted = value; };
    for (double bad : { static_cast<double> (NAN), HUGE_VAL, -HUGE_VAL })
    {
        ASSERT_EQ (effect->UpdateParameterNormalizedValue ("freq", 0.5, 0), kAAXSuccess);
        EXPECT_EQ (effect->UpdateParameterNormalizedValue ("freq", bad, 0), kAAXSuccess);
        EXPECT_EQ (floatValue ("freq"), 20000.0f) << bad;
        EXPECT_EQ (posted, 0.0) << "the host is told a number, not what it sent";
        EXPECT_EQ (effect->UpdateParameterNormalizedValue ("MasterBypassID", bad, 0), kAAXSuccess);
        EXPECT_FALSE (boolValue ("MasterBypassID")) << bad;
    }
}

TEST_F (EffectParametersTest, NameOfLengthPicksTheLongestFittingLine)
{
    addParameter (floatParameter ("lines", "Frequency\nFreq\nF"));
    addParameter (floatParameter ("empty", ""));
    const std::tuple<const char*, int32_t, const char*> cases[] = {
        { "lines", 5, "Freq" }, { "lines", 4, "Freq" }, { "lines", 3, "F" }, { "lines", 9, "Frequency" },
        { "lines", 0, "Frequency\nFreq\nF" }, { "gain", 3, "Gain" }, { "empty", 4, "untouched" }, { "missing", 4, "" },
        { "freq", 4, "Freq" }, { "freq", 1, "F" }, { "freq", 9, "Frequency" },   // shortened names first
    };
    for (const auto& [id, length, expected] : cases)
        EXPECT_EQ (nameOfLength (id, length), expected) << id << " " << length;
}

TEST_F (EffectParametersTest, PreviewNotificationAndFieldDataNeedTheirData)
{
    const int32_t on = 1, off = 0;
    EXPECT_EQ (effect->NotificationReceived (AAX_CEffectParameters::previewNotification, &on, 4), kAAXSuccess);
    EXPECT_EQ (host.log().count ("automation", 5), 0u) << "no preview parameter";

    stop();
    start ({ .preview = true });
    echoSetRequests();
    EXPECT_EQ (effect->NotificationReceived (AAX_CEffectParameters::previewNotification, &on, 4), kAAXSuccess);
    EXPECT_TRUE (boolValue ("PreviewID"));
    EXPECT_EQ (effect->NotificationReceived (AAX_CEffectParameters::previewNotification, nullptr, 4), kAAXSuccess);
    EXPECT_EQ (effect->NotificationReceived (AAX_CEffectParameters::previewNotification, &off, 3), kAAXSuccess);
    EXPECT_EQ (effect->NotificationReceived (0x12345678u, &off, 4), kAAXSuccess);
    EXPECT_TRUE (boolValue ("PreviewID"));
    EXPECT_EQ (effect->NotificationReceived (AAX_CEffectParameters::previewNotification, &off, 4), kAAXSuccess);
    EXPECT_FALSE (boolValue ("PreviewID"));

    uint8_t field[6] = { 1, 2, 3, 4, 5, 6 };
    EXPECT_EQ (effect->ResetFieldData (0, field, 4), kAAXSuccess);
    EXPECT_EQ (Bytes (field, field + 6), (Bytes { 0, 0, 0, 0, 5, 6 }));
    EXPECT_EQ (effect->ResetFieldData (0, nullptr, 4), kAAXSuccess);
    int32_t value = 9;
    EXPECT_EQ (effect->EffectOperation42 (0, nullptr, 0, &value), kAAXSuccess);
    EXPECT_EQ (value, 0);
}

TEST_F (EffectParametersTest, InterfaceQueryAnswersThePrimaryInterface)
{
    IACFUnknown* unknown = effect;
    const void* primary = static_cast<AAX_IACFEffectParameters_V2*> (effect);
    for (const acfUID& id : { kAAXID_EffectParameters, kAAXID_EffectParameters_V2, kAAXID_IACFUnknown })
    {
        void* out = nullptr;
        EXPECT_EQ (unknown->QueryInterface (id, &out), kAAXSuccess);
        EXPECT_TRUE (id == kAAXID_IACFUnknown ? out != nullptr : out == primary);
        EXPECT_EQ (effect->GetRefCount(), 2u);
        static_cast<IACFUnknown*> (out)->Release();
    }
    void* out = reinterpret_cast<void*> (1);
    EXPECT_EQ (unknown->QueryInterface (kAAXID_EffectGUI, &out), kACFNoInterface);
    EXPECT_EQ (out, nullptr);
}

TEST_F (EffectParametersTest, InitializeFiltersTheMasterBypass)
{
    EXPECT_EQ (effect->filtered(), (std::set<std::string> { "MasterBypassID" }));
    EXPECT_EQ (host.automation().registered, (std::set<std::string> { "gain", "freq", "MasterBypassID" }));
    stop();
    start ({ .masterBypass = false });
    EXPECT_EQ (effect->filtered(), (std::set<std::string> { "" }));
    stop();
    start ({ .effectInitResult = -42 });
    EXPECT_TRUE (effect->filtered().empty());
}

TEST_F (EffectParametersTest, UninitializeUnregistersThenNoReleasedProxyIsUsed)
{
    host.log().clear();
    EXPECT_EQ (effect->Uninitialize(), kAAXSuccess);
    EXPECT_TRUE (host.automation().registered.empty());
    EXPECT_EQ (host.log().count ("automation", 4), 3u);
    EXPECT_TRUE (effect->Controller() == nullptr && effect->Transport() == nullptr);

    host.log().clear();
    EXPECT_EQ (effect->GenerateCoefficients(), kAAXNullObject);
    addParameter (floatParameter ("late", "Late"));
    EXPECT_EQ (effect->SetParameterNormalizedValue ("late", 0.5), kAAXSuccess);
    EXPECT_EQ (host.log().size(), 0u);
}

TEST_F (EffectParametersTest, ReleaseWithoutUninitializeLeaksNothing)
{
    // The parameters unregister through the delegate before it goes (ASan would see a use after
    // free otherwise); LiveCheck and the leak checker see to the rest.
    effect->Release();
    effect = nullptr;
    EXPECT_TRUE (host.automation().registered.empty());
    EXPECT_EQ (host.log().count ("automation", 4), 3u);
}

TEST_F (EffectParametersTest, SecondInitializeMovesParametersToTheNewHost)
{
    FakeHost second;
    ASSERT_EQ (effect->Initialize (second.unknown()), kAAXSuccess);
    EXPECT_TRUE (host.automation().registered.empty());
    EXPECT_EQ (second.automation().registered.size(), 3u);
    host.log().clear();
    effect->SetParameterNormalizedValue ("gain", 0.1);
    EXPECT_EQ (host.log().size(), 0u);
    EXPECT_EQ (second.log().count ("automation", 5), 1u);
    stop();
}

TEST_F (EffectParametersTest, ChunkIdentitySizeAndBytes)
{
    int32_t chunks = 0;
    AAX_ChunkID id = 1;
    uint32_t size = 9;
    EXPECT_EQ (effect->GetNumberOfChunks (&chunks), kAAXSuccess);
    EXPECT_EQ (chunks, 1);
    EXPECT_EQ (effect->GetChunkIDFromIndex (0, &id), kAAXSuccess);
    EXPECT_EQ (id, elck);
    EXPECT_EQ (effect->GetChunkIDFromIndex (1, &id), kAAXChunkIndexOutOfRange);
    EXPECT_EQ (effect->GetChunkSize (otherChunk, &size), kAAXUnknownChunk);
    EXPECT_TRUE (id == 0 && size == 0);

    // Without a reported size the host has no buffer of the right size.
    ChunkBuffer untouched (Bytes (64, 0xAB), 0x11111111u);
    EXPECT_EQ (effect->GetChunk (elck, untouched.record()), kAAXChunkSizeChanged);
    EXPECT_EQ (untouched.data(), Bytes (64, 0xAB));
    EXPECT_EQ (effect->GetChunk (otherChunk, untouched.record()), kAAXUnknownChunk);

    EXPECT_EQ (effect->GetChunkSize (elck, &size), kAAXSuccess);
    ChunkBuffer buffer (Bytes (size), 0x22222222u);
    EXPECT_EQ (effect->GetChunk (elck, buffer.record()), kAAXSuccess);
    EXPECT_EQ (buffer.record()->version, -1);
    EXPECT_EQ (std::string (buffer.record()->name), "Complete Controls State");
    EXPECT_EQ (buffer.record()->chunkID, 0x22222222u);
    // gain and freq as doubles; the master bypass is filtered out.
    EXPECT_EQ (buffer.data(), (Bytes { 1, 1, 1, 1, 'd', '_', 'g', 'a', 'i', 'n', 0, 0, 0x3F, 0xE0, 0, 0, 0, 0, 0, 0,
                                       'd', '_', 'f', 'r', 'e', 'q', 0, 0, 0x40, 0xD4, 0x82, 0, 0, 0, 0, 0 }));

    addParameter (floatParameter ("more", "More"));
    EXPECT_EQ (effect->GetChunk (elck, buffer.record()), kAAXChunkSizeChanged) << "the host must ask for the size again";
}

TEST_F (EffectParametersTest, ChunkRoundTripRestoresExactFloatsAndSkipsWrongTypes)
{
    echoSetRequests();
    addParameter (boolParameter ("flag", "no", "yes"));
    effect->parameter ("gain")->SetValueWithFloat (0.1f);
    effect->parameter ("freq")->SetValueWithFloat (21234.567f);
    effect->parameter ("flag")->SetValueWithBool (true);
    effect->parameter ("MasterBypassID")->SetValueWithBool (true);
    ChunkBuffer saved (fetchChunk(), elck);

    effect->parameter ("gain")->SetValueWithFloat (0.9f);
    effect->parameter ("freq")->SetValueWithFloat (24000.0f);
    effect->parameter ("flag")->SetValueWithBool (false);
    effect->parameter ("MasterBypassID")->SetValueWithBool (false);
    EXPECT_EQ (effect->SetChunk (elck, saved.record()), kAAXSuccess);
    EXPECT_EQ (floatValue ("gain"), 0.1f);
    EXPECT_EQ (floatValue ("freq"), 21234.567f);
    EXPECT_TRUE (boolValue ("flag"));
    EXPECT_FALSE (boolValue ("MasterBypassID")) << "the master bypass is not part of the chunk";
    EXPECT_EQ (effect->SetChunk (otherChunk, saved.record()), kAAXUnknownChunk);

    AAX_CChunkDataParser parser;
    parser.AddInt32 ("gain", 1);
    parser.AddDouble ("freq", 22000.0);
    ChunkBuffer mixed (chunkOf (parser), elck);
    EXPECT_EQ (effect->SetChunk (elck, mixed.record()), kAAXSuccess);
    EXPECT_EQ (floatValue ("gain"), 0.1f) << "a float parameter ignores an integer entry";
    EXPECT_EQ (floatValue ("freq"), 22000.0f);
    EXPECT_EQ (effect->SetChunk (elck, nullptr), kAAXSuccess);
}

TEST_F (EffectParametersTest, CompareActiveChunk)
{
    echoSetRequests();
    bool equal = false;
    const Bytes current = fetchChunk();
    auto compare = [&] (const Bytes& data, AAX_ChunkID id) {
        ChunkBuffer buffer (data, id);
        equal = ! equal;
        EXPECT_EQ (effect->CompareActiveChunk (buffer.record(), &equal), kAAXSuccess);
        return equal;
    };

    EXPECT_TRUE (compare (current, elck));
    effect->parameter ("MasterBypassID")->SetValueWithBool (true);
    EXPECT_TRUE (compare (current, elck)) << "the filtered master bypass makes no difference";
    effect->parameter ("gain")->SetValueWithFloat (0.75f);
    EXPECT_FALSE (compare (current, elck));
    EXPECT_TRUE (compare (current, otherChunk));

    AAX_CChunkDataParser parser;
    parser.AddDouble ("gain", 0.75);
    EXPECT_FALSE (compare (chunkOf (parser), elck)) << "an entry missing for one parameter is a difference";
    EXPECT_EQ (effect->CompareActiveChunk (nullptr, &equal), kAAXNullObject);

    // Without parameters every chunk is equal, and the own chunk is the marker alone.
    effect->Uninitialize();
    EXPECT_TRUE (compare (chunkOf (parser), elck));
    EXPECT_EQ (fetchChunk(), (Bytes { 1, 1, 1, 1 }));
}

TEST_F (EffectParametersTest, EveryTruncationAndCorruptionOfAChunkIsHandledSafely)
{
    echoSetRequests();
    addParameter (boolParameter ("flag", "no", "yes", true));
    const auto saved = fetchChunk();

    auto apply = [this] (const Bytes& data) {
        ChunkBuffer buffer (data, elck);
        bool equal = false;
        EXPECT_EQ (effect->CompareActiveChunk (buffer.record(), &equal), kAAXSuccess);
        EXPECT_EQ (effect->SetChunk (elck, buffer.record()), kAAXSuccess);
        host.log().clear();
        for (const char* id : { "gain", "freq" })
        {
            const double normalized = effect->parameter (id)->GetNormalizedValue();
            ASSERT_TRUE (std::isfinite (floatValue (id)) && normalized >= 0.0 && normalized <= 1.0) << id;
        }
    };

    for (size_t length = 0; length <= saved.size(); ++length)
        apply (Bytes (saved.begin(), saved.begin() + static_cast<std::ptrdiff_t> (length)));
    for (size_t position = 0; position < saved.size(); ++position)
    {
        for (int value = 0; value < 256; ++value)
        {
            auto corrupted = saved;
            corrupted[position] = static_cast<uint8_t> (value);
            apply (corrupted);
        }
    }
}

TEST_F (EffectParametersTest, ChunkOperationsFromSeveralThreadsShareOneParser)
{
    // No host echo here: the parameters stay as they are and only the parser is shared.
    const auto saved = fetchChunk();
    ChunkBuffer other (saved, elck);
    std::vector<std::thread> threads;
    threads.emplace_back ([&] {
        for (int i = 0; i < 200; ++i)
            EXPECT_EQ (fetchChunk(), saved);
    });
    threads.emplace_back ([&] {
        for (int i = 0; i < 200; ++i)
        {
            bool equal = false;
            EXPECT_EQ (effect->CompareActiveChunk (other.record(), &equal), kAAXSuccess);
            EXPECT_TRUE (equal);
        }
    });
    threads.emplace_back ([&] {
        for (int i = 0; i < 200; ++i)
            EXPECT_EQ (effect->SetChunk (elck, other.record()), kAAXSuccess);
    });
    for (auto& thread : threads)
        thread.join();
}
