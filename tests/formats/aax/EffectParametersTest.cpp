#include "formats/aax/AAX_CEffectGUI.h"
#include "formats/aax/FakeEffect.h"
#include "formats/aax/LiveCheck.h"
#include "tools/aaxhost/AaxHost.h"
#include "support/Concurrency.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quietline::test::aax;
using namespace kelmora::tools::aaxhost;
using Bytes = std::vector<uint8_t>;
using Strings = std::vector<std::string>;

namespace
{
constexpr AAX_ChunkID elck = AAX_CEffectParameters::controlsChunkID, otherChunk = 0x61626364u;

/** A GUI that records what the base asks of it. */
struct RecordingGUI : AAX_CEffectGUI
{
    int viewContents = 0, containersDeletedWhenCleared = 0;
    Strings updated;

    AAX_Result ParameterUpdated (const char* id) override { return updated.emplace_back (id), kAAXSuccess; }
    void CreateViewContents() override { ++viewContents; }
    void CreateViewContainer() override {}
    void DeleteViewContainer() override { containersDeletedWhenCleared += GetViewContainer() == nullptr ? 1 : 100; }
};

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
        // A host applies every set request at once.
        host.automation().onSetValueRequest = [this] (const char* id, double value) { effect->UpdateParameterNormalizedValue (id, value, 0); };
    }

    void stop()
    {
        if (effect != nullptr)
            effect->Uninitialize(), effect->Release();
        effect = nullptr;
    }

    Strings setRequests()
    {
        Strings values;
        for (const auto& call : host.log().calls ("automation", 5))
            values.push_back (call.args[0] + " " + call.args[1]);
        return values;
    }

    float value (const char* id)
    {
        float result = NAN;
        bool on = false;
        return effect->parameter (id)->GetValueAsFloat (&result) ? result : effect->parameter (id)->GetValueAsBool (&on) ? on : NAN;
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

    LiveCheck check;
    AaxHost host;
    FakeEffect* effect = nullptr;
};
} // namespace

TEST_F (EffectParametersTest, LookupsAndTextConversions)
{
    auto text = [] (AAX_Result result, AAX_CString& out) { return std::to_string (result) + " " + out.Get(); };
    AAX_CString a ("x"), b ("x"), c ("x"), d ("x");
    EXPECT_EQ ((Strings { text (effect->GetParameterName ("missing", &a), a), text (effect->GetMasterBypassParameter (&b), b),
                          text (effect->GetParameterIDFromIndex (3, &c), c), text (effect->GetParameterStringFromValue ("freq", 0.5, &d, 20), d) }),
               (Strings { "0 ", "0 MasterBypassID", "-20001 ", "0 22500.000" })) << "a missing name is the empty text";
    int32_t index = 7;
    double number = -1.0;
    EXPECT_EQ ((std::vector<AAX_Result> { effect->GetParameterIndex ("missing", &index), effect->GetParameterValueFromString ("gain", &number, AAX_CString ("2")),
                                          effect->GetParameterName ("gain", nullptr) }),
               (std::vector<AAX_Result> { kAAXNoSuchParameter, kAAXConversionFailed, kAAXNullObject }));
    EXPECT_TRUE (index == -1 && number == 1.0) << "out values written";

    uint8_t field[6] = { 1, 2, 3, 4, 5, 6 };
    EXPECT_EQ (effect->ResetFieldData (0, field, 4) + effect->ResetFieldData (0, nullptr, 4), kAAXSuccess);
    EXPECT_EQ (Bytes (field, field + 6), (Bytes { 0, 0, 0, 0, 5, 6 }));
}

TEST_F (EffectParametersTest, SetsGoToTheHostAndUpdatesCountChanges)
{
    host.automation().onSetValueRequest = [] (const char*, double) {};   // a host that does not answer
    EXPECT_EQ ((std::vector<AAX_Result> { effect->UpdateParameterNormalizedValue ("missing", 0.8, 0), effect->TouchParameter ("missing"),
                                          effect->SetParameterNormalizedValue ("missing", 0.1), effect->UpdateParameterNormalizedValue ("gain", 0.9, 0) }),
               (std::vector<AAX_Result> { kAAXNoSuchParameter, kAAXNoSuchParameter, kAAXNoSuchParameter, kAAXSuccess }));
    EXPECT_EQ (value ("gain"), 0.9f);

    // Relative changes stay inside the range.
    for (double delta : { 0.3, -2.0, static_cast<double> (NAN) })
        EXPECT_EQ (effect->SetParameterNormalizedRelative ("gain", delta), kAAXSuccess);
    EXPECT_EQ (setRequests(), (Strings { "\"gain\" 1", "\"gain\" 0", "\"gain\" 0" }));
    EXPECT_EQ (effect->UpdateParameterNormalizedRelative ("gain", 0.3), kAAXSuccess);
    EXPECT_EQ (value ("gain"), 1.0f);
    int32_t changes = -1;
    EXPECT_EQ (effect->GetNumberOfChanges (&changes), kAAXSuccess);
    EXPECT_EQ (changes, 2);
}

TEST_F (EffectParametersTest, NonFiniteHostValuesLandOnTheMinimum)
{
    double posted = -1.0;
    host.automation().onCurrentValue = [&] (const char*, double number) { posted = number; };
    for (double bad : { static_cast<double> (NAN), HUGE_VAL, -HUGE_VAL })
    {
        effect->UpdateParameterNormalizedValue ("freq", 0.5, 0);
        EXPECT_EQ (effect->SetParameterNormalizedValue ("freq", bad), kAAXSuccess);
        EXPECT_EQ (value ("freq"), 20000.0f) << bad;
        effect->UpdateParameterNormalizedValue ("freq", 0.5, 0);
        EXPECT_EQ (effect->UpdateParameterNormalizedValue ("freq", bad, 0) + effect->UpdateParameterNormalizedValue ("MasterBypassID", bad, 0), kAAXSuccess);
        EXPECT_TRUE (value ("freq") == 20000.0f && value ("MasterBypassID") == 0.0f) << bad;
        EXPECT_EQ (posted, 0.0) << "the host is told a number, not what it sent";
    }
}

TEST_F (EffectParametersTest, NameOfLengthPicksTheLongestFittingLine)
{
    effect->manager().AddParameter (floatParameter ("lines", "Frequency\nFreq\nF"));
    effect->manager().AddParameter (floatParameter ("empty", ""));
    for (const auto& [id, length, expected] : { std::tuple { "lines", 5, "Freq" }, { "lines", 3, "F" }, { "lines", 0, "Frequency\nFreq\nF" },
                                                { "gain", 3, "Gain" }, { "empty", 4, "untouched" }, { "missing", 4, "" }, { "freq", 4, "Freq" } })
    {
        AAX_CString out ("untouched");
        EXPECT_EQ (effect->GetParameterNameOfLength (id, &out, length), kAAXSuccess);
        EXPECT_STREQ (out.Get(), expected) << id << " " << length;
    }
}

TEST_F (EffectParametersTest, InitializeFiltersTheMasterBypassAndASecondOneMovesTheParameters)
{
    EXPECT_EQ (effect->filtered(), (std::set<std::string> { "MasterBypassID" }));
    AaxHost second;
    ASSERT_EQ (effect->Initialize (second.unknown()), kAAXSuccess);
    EXPECT_TRUE (host.automation().registered.empty() && second.automation().registered.size() == 3);
    effect->SetParameterNormalizedValue ("gain", 0.1);
    EXPECT_TRUE (host.log().count ("automation", 5) == 0 && second.log().count ("automation", 5) == 1);

    stop(), start ({ .masterBypass = false });
    EXPECT_EQ (effect->filtered(), (std::set<std::string> { "" }));
    stop(), start ({ .effectInitResult = -42 });
    EXPECT_TRUE (effect->filtered().empty());
}

TEST_F (EffectParametersTest, UninitializeUnregistersThenNoReleasedProxyIsUsed)
{
    EXPECT_EQ (effect->Uninitialize(), kAAXSuccess);
    EXPECT_TRUE (host.automation().registered.empty() && effect->Controller() == nullptr && effect->Transport() == nullptr);
    EXPECT_EQ (host.log().count ("automation", 4), 3u);
    host.log().clear();
    effect->manager().AddParameter (floatParameter ("late", "Late"));
    EXPECT_EQ (effect->SetParameterNormalizedValue ("late", 0.5) + effect->GenerateCoefficients(), kAAXNullObject);
    EXPECT_EQ (host.log().size(), 0u);

    // Released without Uninitialize, the parameters unregister through the delegate before it goes
    // (ASan would see a use after free otherwise); LiveCheck and the leak checker see to the rest.
    stop();
    start();
    effect->Release();
    effect = nullptr;
    EXPECT_TRUE (host.automation().registered.empty() && host.log().count ("automation", 4) == 3);
}

TEST_F (EffectParametersTest, ChunkIdentitySizeAndBytes)
{
    int32_t chunks = 0;
    AAX_ChunkID id = 1, firstID = 1;
    uint32_t size = 9;
    ChunkBuffer untouched (Bytes (64, 0xAB));
    EXPECT_EQ ((std::vector<AAX_Result> { effect->GetNumberOfChunks (&chunks), effect->GetChunkIDFromIndex (0, &firstID), effect->GetChunkIDFromIndex (1, &id),
                                          effect->GetChunkSize (otherChunk, &size), effect->GetChunk (otherChunk, untouched.record()),
                                          effect->GetChunk (elck, untouched.record()) }),
               (std::vector<AAX_Result> { kAAXSuccess, kAAXSuccess, kAAXChunkIndexOutOfRange, kAAXUnknownChunk, kAAXUnknownChunk, kAAXChunkSizeChanged }))
        << "without a reported size the host has no buffer of the right size";
    EXPECT_TRUE (chunks == 1 && firstID == elck && id == 0 && size == 0);
    EXPECT_EQ (untouched.data(), Bytes (64, 0xAB));

    EXPECT_EQ (effect->GetChunkSize (elck, &size), kAAXSuccess);
    ChunkBuffer buffer (Bytes (size), 0x22222222u);
    EXPECT_EQ (effect->GetChunk (elck, buffer.record()), kAAXSuccess);
    EXPECT_TRUE (buffer.record()->version == -1 && buffer.record()->chunkID == 0x22222222u && std::string (buffer.record()->name) == "Complete Controls State");
    // gain and freq as doubles; the master bypass is filtered out.
    EXPECT_EQ (buffer.data(), (Bytes { 1, 1, 1, 1, 'd', '_', 'g', 'a', 'i', 'n', 0, 0, 0x3F, 0xE0, 0, 0, 0, 0, 0, 0,
                                       'd', '_', 'f', 'r', 'e', 'q', 0, 0, 0x40, 0xD4, 0x82, 0, 0, 0, 0, 0 }));
    effect->manager().AddParameter (floatParameter ("more", "More"));
    EXPECT_EQ (effect->GetChunk (elck, buffer.record()), kAAXChunkSizeChanged) << "the host must ask for the size again";
}

TEST_F (EffectParametersTest, ChunkRestoreSkipsWrongTypesAndForeignIdentifiers)
{
    AAX_CChunkDataParser parser;
    parser.AddInt32 ("gain", 1), parser.AddDouble ("freq", 22000.0);
    ChunkBuffer mixed (ChunkBuffer::of (parser), elck);
    EXPECT_EQ (effect->SetChunk (otherChunk, mixed.record()), kAAXUnknownChunk);
    EXPECT_EQ (value ("freq"), 21000.0f);
    EXPECT_EQ (effect->SetChunk (elck, mixed.record()) + effect->SetChunk (elck, nullptr), kAAXSuccess);
    EXPECT_TRUE (value ("gain") == 0.5f && value ("freq") == 22000.0f) << "a float parameter ignores an integer entry";
}

TEST_F (EffectParametersTest, CompareActiveChunk)
{
    const Bytes current = fetchChunk();
    AAX_CChunkDataParser parser;
    parser.AddDouble ("gain", 0.75);
    auto equal = [&] (const Bytes& data, AAX_ChunkID id) {
        ChunkBuffer buffer (data, id);
        bool result = false;
        return effect->CompareActiveChunk (buffer.record(), &result) == kAAXSuccess && result;
    };

    EXPECT_TRUE (equal (current, elck));
    effect->parameter ("MasterBypassID")->SetValueWithBool (true);
    EXPECT_TRUE (equal (current, elck)) << "the filtered master bypass makes no difference";
    effect->parameter ("gain")->SetValueWithFloat (0.75f);
    EXPECT_TRUE (! equal (current, elck) && equal (current, otherChunk));
    EXPECT_FALSE (equal (ChunkBuffer::of (parser), elck)) << "an entry missing for one parameter is a difference";
    EXPECT_EQ (effect->CompareActiveChunk (nullptr, nullptr), kAAXNullObject);

    // Without parameters every chunk is equal, and the own chunk is the marker alone.
    effect->Uninitialize();
    EXPECT_TRUE (equal (ChunkBuffer::of (parser), elck) && fetchChunk() == (Bytes { 1, 1, 1, 1 }));
}

TEST_F (EffectParametersTest, ChunkOperationsFromSeveralThreadsShareOneParser)
{
    host.automation().onSetValueRequest = [] (const char*, double) {};   // the parameters stay as they are: only the parser is shared
    const auto saved = fetchChunk();
    ChunkBuffer other (saved, elck);
    quietline::test::runTogether ({
        [&] { for (int i = 0; i < 200; ++i) EXPECT_EQ (fetchChunk(), saved); },
        [&] {
            bool equal = false;
            for (int i = 0; i < 200; ++i)
                EXPECT_TRUE (effect->CompareActiveChunk (other.record(), &equal) == kAAXSuccess && equal);
        },
        [&] { for (int i = 0; i < 200; ++i) EXPECT_EQ (effect->SetChunk (elck, other.record()), kAAXSuccess); },
    });
}

TEST_F (EffectParametersTest, GUIHoldsTheEffectAndItsWindowOnlyWhileItNeedsThem)
{
    host.setEffect (effect);
    auto* gui = new RecordingGUI();
    gui->AddRef();
    EXPECT_EQ (gui->Initialize (nullptr), kAAXNoController);
    const uint32_t controllerRefs = host.controller().refCount(), effectRefs = effect->GetRefCount();
    for (int i = 1; i <= 2; ++i)
        EXPECT_TRUE (gui->Initialize (host.unknown()) == kAAXSuccess && gui->viewContents == i && effect->GetRefCount() == effectRefs + 1
                     && host.controller().refCount() == controllerRefs + 2) << "a second Initialize gives back the first one's proxies";

    auto *first = new HostViewContainer (host.state, 2), *second = new HostViewContainer (host.state, 1);
    EXPECT_EQ (gui->SetViewContainer (first), kAAXSuccess);
    EXPECT_EQ (gui->updated, (Strings { "gain", "freq", "MasterBypassID" }));
    EXPECT_TRUE (gui->GetViewContainerType() == 2 && gui->GetViewContainerPtr() != nullptr);
    EXPECT_EQ (gui->SetViewContainer (second), kAAXSuccess);
    EXPECT_TRUE (first->refCount() == 1 && second->refCount() == 2) << "the old window is given back";
    EXPECT_EQ (gui->SetViewContainer (nullptr), kAAXSuccess);
    EXPECT_TRUE (gui->containersDeletedWhenCleared == 1 && second->refCount() == 1);

    gui->SetViewContainer (first);
    EXPECT_EQ (gui->Uninitialize(), kAAXSuccess);
    EXPECT_TRUE (effect->GetRefCount() == effectRefs && host.controller().refCount() == controllerRefs);
    EXPECT_EQ (gui->Release(), 0u);
    EXPECT_EQ (first->refCount(), 1u) << "a GUI destroyed with a window attached gives it back";
    first->Release(), second->Release();
}
