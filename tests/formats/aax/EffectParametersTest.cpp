#include "formats/aax/AAX_CBinaryDisplayDelegate.h"
#include "formats/aax/AAX_CBinaryTaperDelegate.h"
#include "formats/aax/AAX_CLinearTaperDelegate.h"
#include "formats/aax/AAX_CNumberDisplayDelegate.h"
#include "formats/aax/AAX_CParameter.h"
#include "formats/aax/fakehost/ChunkBuffer.h"
#include "formats/aax/fakehost/FakeEffect.h"
#include "formats/aax/fakehost/FakeInstance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

using namespace kelmora::aax;
using namespace quietline::test::aax;

namespace {

constexpr AAX_ChunkID elck = 0x656C636Bu;
constexpr AAX_ChunkID otherChunk = 0x61626364u;

class EffectParametersTest : public ::testing::Test
{
protected:
    LiveCheck liveCheck;
    FakeInstance instance;
    FakeEffect* effect = nullptr;

    void SetUp() override { start(); }

    void TearDown() override
    {
        if (effect != nullptr)
        {
            effect->Uninitialize();
            effect->Release();
        }
    }

    void start (FakeEffectOptions options = {})
    {
        effect = FakeEffect::create (options);
        ASSERT_EQ (effect->Initialize (instance.unknown()), options.effectInitResult);
    }

    /** Plays a host that applies every set request at once, as hosts do. */
    void echoSetRequests()
    {
        instance.automation().onSetValueRequest = [this] (const char* id, double value) {
            effect->UpdateParameterNormalizedValue (id, value, 0);
        };
    }

    std::vector<double> setRequests (const char* id)
    {
        std::vector<double> values;
        for (const auto& call : instance.log().calls ("automation", 5))
            if (call.args.size() == 2 && call.args[0] == "\"" + std::string (id) + "\"")
                values.push_back (std::stod (call.args[1]));
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

    std::string text (AAX_Result (AAX_CEffectParameters::*query) (const char*, AAX_IString*) const, const char* id,
                      AAX_Result expected = kAAXSuccess)
    {
        AAX_CString out ("untouched");
        EXPECT_EQ ((effect->*query) (id, &out), expected) << id;
        return out.Get();
    }

    std::string masterBypass()
    {
        AAX_CString out ("untouched");
        EXPECT_EQ (effect->GetMasterBypassParameter (&out), kAAXSuccess);
        return out.Get();
    }

    std::string nameOfLength (const char* id, int32_t length)
    {
        AAX_CString out ("untouched");
        EXPECT_EQ (effect->GetParameterNameOfLength (id, &out, length), kAAXSuccess);
        return out.Get();
    }

    /** The effect's chunk as a host fetches it: size first, then the data. */
    std::vector<uint8_t> fetchChunk()
    {
        uint32_t size = 0;
        EXPECT_EQ (effect->GetChunkSize (elck, &size), kAAXSuccess);
        ChunkBuffer buffer (size);
        EXPECT_EQ (effect->GetChunk (elck, buffer.record()), kAAXSuccess);
        return buffer.data();
    }

    void addParameter (AAX_IParameter* parameter) { effect->manager().AddParameter (parameter); }

    static AAX_CParameter<float>* floatParameter (const char* id, const char* name)
    {
        return new AAX_CParameter<float> (id, AAX_CString (name), 0.0f, AAX_CLinearTaperDelegate<float, 0> (0.0f, 1.0f),
                                          AAX_CNumberDisplayDelegate<float, 3u, 0u>(), true);
    }
};

} // namespace

TEST_F (EffectParametersTest, LookupsOfMissingParameters)
{
    // A missing name is the empty text and success, while other lookups answer -20001.
    EXPECT_EQ (text (&AAX_CEffectParameters::GetParameterName, "freq"), "Frequency");
    EXPECT_EQ (text (&AAX_CEffectParameters::GetParameterName, "missing"), "");
    EXPECT_EQ (masterBypass(), "MasterBypassID");

    int32_t steps = -1, index = 7;
    EXPECT_EQ (effect->GetParameterNumberOfSteps ("missing", &steps), kAAXNoSuchParameter);
    EXPECT_EQ (effect->GetParameterNumberOfSteps ("MasterBypassID", &steps), kAAXSuccess);
    EXPECT_EQ (steps, 2);
    EXPECT_EQ (effect->GetParameterIndex ("freq", &index), kAAXSuccess);
    EXPECT_EQ (index, 1);
    EXPECT_EQ (effect->GetParameterIndex ("missing", &index), kAAXNoSuchParameter);
    EXPECT_EQ (index, -1);

    bool automatable = true;
    EXPECT_EQ (effect->GetParameterIsAutomatable ("missing", &automatable), kAAXNoSuchParameter);
    EXPECT_FALSE (automatable);

    AAX_IParameter* parameter = effect->parameter ("gain");
    EXPECT_EQ (effect->GetParameter ("missing", &parameter), kAAXNoSuchParameter);
    EXPECT_EQ (parameter, nullptr);

    AAX_CString id ("untouched");
    EXPECT_EQ (effect->GetParameterIDFromIndex (2, &id), kAAXSuccess);
    EXPECT_STREQ (id.Get(), "MasterBypassID");
    EXPECT_EQ (effect->GetParameterIDFromIndex (3, &id), kAAXNoSuchParameter);
    EXPECT_STREQ (id.Get(), "");

    int32_t info = 5;
    EXPECT_EQ (effect->GetParameterValueInfo ("gain", 0, &info), kAAXNotSupported);
    EXPECT_EQ (info, 0);

    // Null out-pointers are refused instead of written through.
    EXPECT_EQ (effect->GetNumberOfParameters (nullptr), kAAXNullObject);
    EXPECT_EQ (effect->GetParameterName ("gain", nullptr), kAAXNullObject);
}

TEST_F (EffectParametersTest, TextConversions)
{
    double value = -1.0;
    EXPECT_EQ (effect->GetParameterValueFromString ("gain", &value, AAX_CString ("2")), kAAXConversionFailed);
    EXPECT_EQ (value, 1.0);
    EXPECT_EQ (effect->GetParameterValueFromString ("gain", &value, AAX_CString ("0.25")), kAAXSuccess);
    EXPECT_EQ (value, 0.25);
    EXPECT_EQ (effect->GetParameterValueFromString ("missing", &value, AAX_CString ("1")), kAAXNoSuchParameter);

    AAX_CString out;
    EXPECT_EQ (effect->GetParameterStringFromValue ("gain", 0.5, &out, 3), kAAXSuccess);
    EXPECT_STREQ (out.Get(), "0.5");
    EXPECT_EQ (effect->GetParameterStringFromValue ("freq", 0.5, &out, 20), kAAXSuccess);
    EXPECT_STREQ (out.Get(), "22500.000");
    EXPECT_EQ (effect->GetParameterValueString ("gain", &out, 3), kAAXSuccess);
    EXPECT_STREQ (out.Get(), "0.500");
}

TEST_F (EffectParametersTest, SetsGoToTheHostAndUpdatesCountChanges)
{
    instance.log().clear();
    EXPECT_EQ (effect->SetParameterNormalizedValue ("gain", 0.8), kAAXSuccess);
    EXPECT_EQ (setRequests ("gain"), std::vector<double> { static_cast<double> (0.8f) });  // through the float taper
    EXPECT_EQ (instance.log().count ("automation", 7), 1u);
    EXPECT_EQ (instance.log().count ("automation", 8), 1u);
    EXPECT_EQ (floatValue ("gain"), 0.5f);

    int32_t changes = -1;
    EXPECT_EQ (effect->GetNumberOfChanges (&changes), kAAXSuccess);
    EXPECT_EQ (changes, 0);

    EXPECT_EQ (effect->UpdateParameterNormalizedValue ("missing", 0.8, 0), kAAXNoSuchParameter);
    EXPECT_EQ (effect->GetNumberOfChanges (&changes), kAAXSuccess);
    EXPECT_EQ (changes, 0);

    EXPECT_EQ (effect->UpdateParameterNormalizedValue ("gain", 0.8, 0), kAAXSuccess);
    EXPECT_EQ (floatValue ("gain"), 0.8f);
    EXPECT_EQ (effect->GetNumberOfChanges (&changes), kAAXSuccess);
    EXPECT_EQ (changes, 1);

    EXPECT_EQ (effect->TouchParameter ("gain"), kAAXSuccess);
    EXPECT_EQ (effect->ReleaseParameter ("gain"), kAAXSuccess);
    EXPECT_EQ (effect->TouchParameter ("missing"), kAAXNoSuchParameter);
    EXPECT_EQ (effect->UpdateParameterTouch ("missing", true), kAAXSuccess);
    EXPECT_EQ (effect->SetParameterNormalizedValue ("missing", 0.1), kAAXNoSuchParameter);
}

TEST_F (EffectParametersTest, RelativeChangesAreLimitedToTheRange)
{
    ASSERT_EQ (effect->UpdateParameterNormalizedValue ("gain", 0.9, 0), kAAXSuccess);
    instance.log().clear();

    EXPECT_EQ (effect->SetParameterNormalizedRelative ("gain", 0.3), kAAXSuccess);
    EXPECT_EQ (effect->SetParameterNormalizedRelative ("gain", -2.0), kAAXSuccess);
    EXPECT_EQ (effect->SetParameterNormalizedRelative ("gain", NAN), kAAXSuccess);
    EXPECT_EQ (setRequests ("gain"), (std::vector<double> { 1.0, 0.0, 0.0 }));
    EXPECT_EQ (effect->SetParameterNormalizedRelative ("missing", 0.1), kAAXNoSuchParameter);

    EXPECT_EQ (effect->UpdateParameterNormalizedRelative ("gain", 0.3), kAAXSuccess);
    EXPECT_EQ (floatValue ("gain"), 1.0f);
    EXPECT_EQ (effect->UpdateParameterNormalizedRelative ("gain", -2.0), kAAXSuccess);
    EXPECT_EQ (floatValue ("gain"), 0.0f);
    int32_t changes = 0;
    effect->GetNumberOfChanges (&changes);
    EXPECT_EQ (changes, 3);
}

TEST_F (EffectParametersTest, NonFiniteHostValuesLandOnTheMinimum)
{
    for (double bad : { static_cast<double> (NAN), HUGE_VAL, -HUGE_VAL })
    {
        ASSERT_EQ (effect->UpdateParameterNormalizedValue ("freq", 0.5, 0), kAAXSuccess);
        EXPECT_EQ (effect->UpdateParameterNormalizedValue ("freq", bad, 0), kAAXSuccess);
        EXPECT_EQ (floatValue ("freq"), 20000.0f) << bad;
        EXPECT_EQ (effect->UpdateParameterNormalizedValue ("MasterBypassID", bad, 0), kAAXSuccess);
        EXPECT_FALSE (boolValue ("MasterBypassID")) << bad;
    }

    // What the host is told back is a number, not the NaN it sent.
    double posted = -1.0;
    instance.automation().onCurrentValue = [&] (const char*, double value) { posted = value; };
    effect->UpdateParameterNormalizedValue ("gain", 0.5, 0);
    effect->UpdateParameterNormalizedValue ("gain", NAN, 0);
    EXPECT_EQ (posted, 0.0);
}

TEST_F (EffectParametersTest, NameOfLengthPicksTheLongestFittingLine)
{
    addParameter (floatParameter ("lines", "Frequency\nFreq\nF"));
    addParameter (floatParameter ("long", "Frequency"));
    addParameter (floatParameter ("empty", ""));

    EXPECT_EQ (nameOfLength ("lines", 5), "Freq");
    EXPECT_EQ (nameOfLength ("lines", 4), "Freq");
    EXPECT_EQ (nameOfLength ("lines", 3), "F");
    EXPECT_EQ (nameOfLength ("lines", 9), "Frequency");
    EXPECT_EQ (nameOfLength ("lines", 0), "Frequency\nFreq\nF");
    EXPECT_EQ (nameOfLength ("long", 4), "Frequency");
    EXPECT_EQ (nameOfLength ("empty", 4), "untouched");
    EXPECT_EQ (nameOfLength ("missing", 4), "");

    // Parameters with shortened names answer those first.
    EXPECT_EQ (nameOfLength ("freq", 4), "Freq");
    EXPECT_EQ (nameOfLength ("freq", 1), "F");
    EXPECT_EQ (nameOfLength ("freq", 9), "Frequency");
}

TEST_F (EffectParametersTest, PreviewNotificationNeedsItsParameterAndFourBytes)
{
    const int32_t on = 1, off = 0;
    instance.log().clear();
    EXPECT_EQ (effect->NotificationReceived (AAX_CEffectParameters::previewNotification, &on, 4), kAAXSuccess);
    EXPECT_EQ (instance.log().count ("automation", 5), 0u);

    effect->Uninitialize();
    effect->Release();
    effect = nullptr;
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
}

TEST_F (EffectParametersTest, FieldDataResetAndUnusedOperations)
{
    uint8_t field[6] = { 1, 2, 3, 4, 5, 6 };
    EXPECT_EQ (effect->ResetFieldData (0, field, 4), kAAXSuccess);
    EXPECT_EQ (std::vector<uint8_t> (field, field + 6), (std::vector<uint8_t> { 0, 0, 0, 0, 5, 6 }));
    EXPECT_EQ (effect->ResetFieldData (0, nullptr, 4), kAAXSuccess);

    int32_t value = 9;
    EXPECT_EQ (effect->EffectOperation42 (0, nullptr, 0, &value), kAAXSuccess);
    EXPECT_EQ (value, 0);
    EXPECT_EQ (effect->EffectOperation42 (0, nullptr, 0, nullptr), kAAXSuccess);
}

TEST_F (EffectParametersTest, InterfaceQueryAnswersThePrimaryInterface)
{
    IACFUnknown* unknown = effect;
    auto* primary = static_cast<AAX_IACFEffectParameters_V2*> (effect);

    for (const acfUID& id : { kAAXID_EffectParameters, kAAXID_EffectParameters_V2 })
    {
        void* out = nullptr;
        EXPECT_EQ (unknown->QueryInterface (id, &out), kAAXSuccess);
        EXPECT_EQ (out, static_cast<void*> (primary));
        EXPECT_EQ (effect->GetRefCount(), 2u);
        primary->Release();
    }

    void* out = reinterpret_cast<void*> (1);
    EXPECT_EQ (unknown->QueryInterface (kAAXID_EffectGUI, &out), kACFNoInterface);
    EXPECT_EQ (out, nullptr);

    EXPECT_EQ (unknown->QueryInterface (kAAXID_IACFUnknown, &out), kAAXSuccess);
    ASSERT_NE (out, nullptr);
    EXPECT_EQ (effect->GetRefCount(), 2u);
    static_cast<IACFUnknown*> (out)->Release();
    EXPECT_EQ (effect->GetRefCount(), 1u);
}

TEST_F (EffectParametersTest, InitializeFiltersTheMasterBypass)
{
    EXPECT_EQ (effect->filtered(), (std::set<std::string> { "MasterBypassID" }));
    EXPECT_NE (effect->Controller(), nullptr);
    EXPECT_NE (effect->Transport(), nullptr);
    EXPECT_EQ (instance.automation().registered, (std::set<std::string> { "gain", "freq", "MasterBypassID" }));

    effect->Uninitialize();
    effect->Release();
    start ({ .masterBypass = false });
    EXPECT_EQ (effect->filtered(), (std::set<std::string> { "" }));
    EXPECT_EQ (masterBypass(), "");

    effect->Uninitialize();
    effect->Release();
    start ({ .effectInitResult = -42 });
    EXPECT_TRUE (effect->filtered().empty());
}

TEST_F (EffectParametersTest, UninitializeUnregistersThenReleasesTheProxies)
{
    instance.log().clear();
    EXPECT_EQ (effect->Uninitialize(), kAAXSuccess);

    EXPECT_TRUE (instance.automation().registered.empty());
    EXPECT_EQ (instance.log().count ("automation", 4), 3u);
    EXPECT_EQ (effect->Controller(), nullptr);
    EXPECT_EQ (effect->Transport(), nullptr);

    // Nothing reaches a released proxy afterwards.
    instance.log().clear();
    EXPECT_EQ (effect->GenerateCoefficients(), kAAXNullObject);
    int32_t count = -1;
    EXPECT_EQ (effect->GetNumberOfParameters (&count), kAAXSuccess);
    EXPECT_EQ (count, 0);
    addParameter (floatParameter ("late", "Late"));
    EXPECT_EQ (effect->SetParameterNormalizedValue ("late", 0.5), kAAXSuccess);
    EXPECT_EQ (instance.log().size(), 0u);
}

TEST_F (EffectParametersTest, ReleaseWithoutUninitializeLeaksNothing)
{
    // The parameters unregister through the delegate before it goes (ASan would see a use after
    // free otherwise); LiveCheck and the leak checker see to the rest.
    effect->Release();
    effect = nullptr;

    EXPECT_TRUE (instance.automation().registered.empty());
    EXPECT_EQ (instance.log().count ("automation", 4), 3u);
}

TEST_F (EffectParametersTest, SecondInitializeMovesParametersToTheNewHost)
{
    FakeInstance second;
    ASSERT_EQ (effect->Initialize (second.unknown()), kAAXSuccess);
    EXPECT_TRUE (instance.automation().registered.empty());
    EXPECT_EQ (second.automation().registered.size(), 3u);

    instance.log().clear();
    effect->SetParameterNormalizedValue ("gain", 0.1);
    EXPECT_EQ (instance.log().size(), 0u);
    EXPECT_EQ (second.log().count ("automation", 5), 1u);

    effect->Uninitialize();
    effect->Release();
    effect = nullptr;
}

//==============================================================================
TEST_F (EffectParametersTest, ChunkIdentityAndSizeProtocol)
{
    int32_t chunks = 0;
    AAX_ChunkID id = 1;
    EXPECT_EQ (effect->GetNumberOfChunks (&chunks), kAAXSuccess);
    EXPECT_EQ (chunks, 1);
    EXPECT_EQ (effect->GetChunkIDFromIndex (0, &id), kAAXSuccess);
    EXPECT_EQ (id, elck);
    EXPECT_EQ (effect->GetChunkIDFromIndex (1, &id), kAAXChunkIndexOutOfRange);
    EXPECT_EQ (id, 0u);

    uint32_t size = 9;
    EXPECT_EQ (effect->GetChunkSize (otherChunk, &size), kAAXUnknownChunk);
    EXPECT_EQ (size, 0u);

    // Without a reported size the host has no buffer of the right size.
    ChunkBuffer untouched (std::vector<uint8_t> (64, 0xAB), 0x11111111u);
    EXPECT_EQ (effect->GetChunk (elck, untouched.record()), kAAXChunkSizeChanged);
    EXPECT_EQ (untouched.record()->size, 64);
    EXPECT_EQ (untouched.data(), std::vector<uint8_t> (64, 0xAB));
    EXPECT_EQ (effect->GetChunk (otherChunk, untouched.record()), kAAXUnknownChunk);

    EXPECT_EQ (effect->GetChunkSize (elck, &size), kAAXSuccess);
    EXPECT_EQ (size, 4u + (8 + 8) + (8 + 8));  // gain and freq as doubles; the bypass is filtered
    ChunkBuffer buffer (size);
    buffer.record()->chunkID = 0x22222222u;
    EXPECT_EQ (effect->GetChunk (elck, buffer.record()), kAAXSuccess);
    EXPECT_EQ (buffer.record()->version, -1);
    EXPECT_EQ (std::string (buffer.record()->name), "Complete Controls State");
    EXPECT_EQ (buffer.record()->chunkID, 0x22222222u);
    EXPECT_EQ (buffer.data(), (std::vector<uint8_t> { 1, 1, 1, 1,
                                                      'd', '_', 'g', 'a', 'i', 'n', 0, 0, 0x3F, 0xE0, 0, 0, 0, 0, 0, 0,
                                                      'd', '_', 'f', 'r', 'e', 'q', 0, 0, 0x40, 0xD4, 0x82, 0, 0, 0, 0, 0 }));

    // The size changes with the parameters: the host must ask again.
    addParameter (floatParameter ("more", "More"));
    EXPECT_EQ (effect->GetChunk (elck, buffer.record()), kAAXChunkSizeChanged);
}

TEST_F (EffectParametersTest, ChunkRoundTripRestoresExactFloats)
{
    echoSetRequests();
    addParameter (new AAX_CParameter<bool> ("flag", AAX_CString ("Flag"), false, AAX_CBinaryTaperDelegate<bool>(),
                                            AAX_CBinaryDisplayDelegate<bool> ("no", "yes"), true));
    effect->SetParameterNormalizedValue ("gain", 0.1);
    effect->parameter ("gain")->SetValueWithFloat (0.1f);
    effect->parameter ("freq")->SetValueWithFloat (21234.567f);
    effect->parameter ("flag")->SetValueWithBool (true);
    effect->parameter ("MasterBypassID")->SetValueWithBool (true);
    const auto saved = fetchChunk();

    effect->parameter ("gain")->SetValueWithFloat (0.9f);
    effect->parameter ("freq")->SetValueWithFloat (24000.0f);
    effect->parameter ("flag")->SetValueWithBool (false);
    effect->parameter ("MasterBypassID")->SetValueWithBool (false);

    ChunkBuffer restore (saved, elck);
    EXPECT_EQ (effect->SetChunk (elck, restore.record()), kAAXSuccess);
    EXPECT_EQ (floatValue ("gain"), 0.1f);
    EXPECT_EQ (floatValue ("freq"), 21234.567f);
    EXPECT_TRUE (boolValue ("flag"));
    EXPECT_FALSE (boolValue ("MasterBypassID")) << "the master bypass is not part of the chunk";

    EXPECT_EQ (effect->SetChunk (otherChunk, restore.record()), kAAXUnknownChunk);
}

TEST_F (EffectParametersTest, SetChunkIgnoresEntriesOfTheWrongType)
{
    echoSetRequests();
    AAX_CChunkDataParser parser;
    parser.AddInt32 ("gain", 1);
    parser.AddDouble ("freq", 22000.0);
    ChunkBuffer buffer (static_cast<size_t> (parser.GetChunkDataSize()));
    parser.GetChunkData (buffer.record());
    buffer.record()->chunkID = elck;

    EXPECT_EQ (effect->SetChunk (elck, buffer.record()), kAAXSuccess);
    EXPECT_EQ (floatValue ("gain"), 0.5f);
    EXPECT_EQ (floatValue ("freq"), 22000.0f);

    ChunkBuffer garbage (std::vector<uint8_t> { 9, 9, 9, 9, 9 }, elck);
    EXPECT_EQ (effect->SetChunk (elck, garbage.record()), kAAXSuccess);
    EXPECT_EQ (floatValue ("freq"), 22000.0f);
    EXPECT_EQ (effect->SetChunk (elck, nullptr), kAAXSuccess);
}

TEST_F (EffectParametersTest, CompareActiveChunk)
{
    echoSetRequests();
    bool equal = false;
    ChunkBuffer current (fetchChunk(), elck);
    EXPECT_EQ (effect->CompareActiveChunk (current.record(), &equal), kAAXSuccess);
    EXPECT_TRUE (equal);

    // The master bypass is filtered, so it makes no difference.
    effect->parameter ("MasterBypassID")->SetValueWithBool (true);
    EXPECT_EQ (effect->CompareActiveChunk (current.record(), &equal), kAAXSuccess);
    EXPECT_TRUE (equal);

    effect->parameter ("gain")->SetValueWithFloat (0.75f);
    EXPECT_EQ (effect->CompareActiveChunk (current.record(), &equal), kAAXSuccess);
    EXPECT_FALSE (equal);

    ChunkBuffer otherID (current.data(), otherChunk);
    EXPECT_EQ (effect->CompareActiveChunk (otherID.record(), &equal), kAAXSuccess);
    EXPECT_TRUE (equal);

    // An entry missing for one parameter is a difference.
    AAX_CChunkDataParser parser;
    parser.AddDouble ("gain", 0.75);
    ChunkBuffer partial (static_cast<size_t> (parser.GetChunkDataSize()));
    parser.GetChunkData (partial.record());
    partial.record()->chunkID = elck;
    EXPECT_EQ (effect->CompareActiveChunk (partial.record(), &equal), kAAXSuccess);
    EXPECT_FALSE (equal);

    EXPECT_EQ (effect->CompareActiveChunk (nullptr, &equal), kAAXNullObject);

    // Without parameters every 'elck' chunk is equal, and the own chunk is the marker alone.
    effect->Uninitialize();
    EXPECT_EQ (effect->CompareActiveChunk (partial.record(), &equal), kAAXSuccess);
    EXPECT_TRUE (equal);
    EXPECT_EQ (fetchChunk(), (std::vector<uint8_t> { 1, 1, 1, 1 }));
}

TEST_F (EffectParametersTest, EveryTruncationAndCorruptionOfAChunkIsHandledSafely)
{
    echoSetRequests();
    addParameter (new AAX_CParameter<bool> ("flag", AAX_CString ("Flag"), true, AAX_CBinaryTaperDelegate<bool>(),
                                            AAX_CBinaryDisplayDelegate<bool> ("no", "yes"), true));
    const auto saved = fetchChunk();

    auto apply = [this] (const std::vector<uint8_t>& data) {
        ChunkBuffer buffer (data, elck);
        bool equal = false;
        EXPECT_EQ (effect->CompareActiveChunk (buffer.record(), &equal), kAAXSuccess);
        EXPECT_EQ (effect->SetChunk (elck, buffer.record()), kAAXSuccess);
        instance.log().clear();
        for (const char* id : { "gain", "freq" })
        {
            const float value = floatValue (id);
            ASSERT_TRUE (std::isfinite (value)) << id;
            ASSERT_GE (effect->parameter (id)->GetNormalizedValue(), 0.0) << id;
            ASSERT_LE (effect->parameter (id)->GetNormalizedValue(), 1.0) << id;
        }
    };

    for (size_t length = 0; length <= saved.size(); ++length)
        apply (std::vector<uint8_t> (saved.begin(), saved.begin() + static_cast<std::ptrdiff_t> (length)));

    for (size_t position = 0; position < saved.size(); ++position)
        for (int value = 0; value < 256; ++value)
        {
            auto corrupted = saved;
            corrupted[position] = static_cast<uint8_t> (value);
            apply (corrupted);
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
        {
            uint32_t size = 0;
            effect->GetChunkSize (elck, &size);
            ChunkBuffer buffer (size);
            EXPECT_EQ (effect->GetChunk (elck, buffer.record()), kAAXSuccess);
            EXPECT_EQ (buffer.data(), saved);
        }
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
