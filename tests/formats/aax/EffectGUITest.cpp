#include "formats/aax/AAX_CEffectGUI.h"
#include "formats/aax/AAX_CString.h"
#include "formats/aax/AAX_Exports.h"

#include "formats/aax/fakehost/FakeInstance.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kelmora::aax;
using namespace quietline::test::aax;

namespace
{
/** The plug-in's effect as far as the GUI asks it: a parameter count and identifiers. */
class FakeEffectParameters : public FakeUnknown<AAX_IACFEffectParameters_V2>
{
public:
    FakeEffectParameters() : FakeUnknown ("effectParameters") {}

    std::vector<std::string> ids { "freqParam", "slopeParam", "mixParam", "bypassParam" };
    AAX_Result countResult = kAAXSuccess;
    int32_t countOverride = -2;   // used instead of the list's size when not -2
    int32_t failingIndex = -1;

    AAX_Result GetNumberOfParameters (int32_t* count) const override
    {
        *count = countOverride != -2 ? countOverride : static_cast<int32_t> (ids.size());
        return countResult;
    }

    AAX_Result GetParameterIDFromIndex (int32_t index, AAX_IString* id) const override
    {
        if (index == failingIndex || index < 0 || index >= static_cast<int32_t> (ids.size()))
            return kAAXNoSuchParameter;

        id->Set (ids[static_cast<size_t> (index)].c_str());
        return kAAXSuccess;
    }

    // Nothing else is asked of the effect here.
    AAX_Result Initialize (IACFUnknown*) override { return kAAXNotSupported; }
    AAX_Result Uninitialize() override { return kAAXNotSupported; }
    AAX_Result NotificationReceived (uint32_t, const void*, uint32_t) override { return kAAXNotSupported; }
    AAX_Result GetMasterBypassParameter (AAX_IString*) const override { return kAAXNotSupported; }
    AAX_Result GetParameterIsAutomatable (const char*, bool*) const override { return kAAXNotSupported; }
    AAX_Result GetParameterNumberOfSteps (const char*, int32_t*) const override { return kAAXNotSupported; }
    AAX_Result GetParameterName (const char*, AAX_IString*) const override { return kAAXNotSupported; }
    AAX_Result GetParameterNameOfLength (const char*, AAX_IString*, int32_t) const override { return kAAXNotSupported; }
    AAX_Result GetParameterDefaultNormalizedValue (const char*, double*) const override { return kAAXNotSupported; }
    AAX_Result SetParameterDefaultNormalizedValue (const char*, double) override { return kAAXNotSupported; }
    AAX_Result GetParameterType (const char*, int32_t*) const override { return kAAXNotSupported; }
    AAX_Result GetParameterOrientation (const char*, int32_t*) const override { return kAAXNotSupported; }
    AAX_Result GetParameter (const char*, AAX_IParameter**) override { return kAAXNotSupported; }
    AAX_Result GetParameterIndex (const char*, int32_t*) const override { return kAAXNotSupported; }
    AAX_Result GetParameterValueInfo (const char*, int32_t, int32_t*) const override { return kAAXNotSupported; }
    AAX_Result GetParameterValueFromString (const char*, double*, const AAX_IString&) const override { return kAAXNotSupported; }
    AAX_Result GetParameterStringFromValue (const char*, double, AAX_IString*, int32_t) const override { return kAAXNotSupported; }
    AAX_Result GetParameterValueString (const char*, AAX_IString*, int32_t) const override { return kAAXNotSupported; }
    AAX_Result GetParameterNormalizedValue (const char*, double*) const override { return kAAXNotSupported; }
    AAX_Result SetParameterNormalizedValue (const char*, double) override { return kAAXNotSupported; }
    AAX_Result SetParameterNormalizedRelative (const char*, double) override { return kAAXNotSupported; }
    AAX_Result TouchParameter (const char*) override { return kAAXNotSupported; }
    AAX_Result ReleaseParameter (const char*) override { return kAAXNotSupported; }
    AAX_Result UpdateParameterTouch (const char*, bool) override { return kAAXNotSupported; }
    AAX_Result UpdateParameterNormalizedValue (const char*, double, int32_t) override { return kAAXNotSupported; }
    AAX_Result UpdateParameterNormalizedRelative (const char*, double) override { return kAAXNotSupported; }
    AAX_Result GenerateCoefficients() override { return kAAXNotSupported; }
    AAX_Result ResetFieldData (uint32_t, void*, uint32_t) const override { return kAAXNotSupported; }
    AAX_Result GetNumberOfChunks (int32_t*) const override { return kAAXNotSupported; }
    AAX_Result GetChunkIDFromIndex (int32_t, AAX_ChunkID*) const override { return kAAXNotSupported; }
    AAX_Result GetChunkSize (AAX_ChunkID, uint32_t*) const override { return kAAXNotSupported; }
    AAX_Result GetChunk (AAX_ChunkID, ChunkRecord*) const override { return kAAXNotSupported; }
    AAX_Result SetChunk (AAX_ChunkID, const ChunkRecord*) override { return kAAXNotSupported; }
    AAX_Result CompareActiveChunk (const ChunkRecord*, bool*) const override { return kAAXNotSupported; }
    AAX_Result GetNumberOfChanges (int32_t*) const override { return kAAXNotSupported; }
    AAX_Result EffectOperation40 (uint32_t, const void*, uint32_t, int32_t*) override { return kAAXNotSupported; }
    AAX_Result EffectOperation41 (uint32_t, const void*, uint32_t, int32_t*) override { return kAAXNotSupported; }
    AAX_Result EffectOperation42 (uint32_t, const void*, uint32_t, int32_t*) override { return kAAXNotSupported; }
    AAX_Result EffectOperation43 (uint32_t, const void*, uint32_t, int32_t*) override { return kAAXNotSupported; }
    AAX_Result EffectOperation44 (uint32_t, const void*, uint32_t, int32_t*) override { return kAAXNotSupported; }
    AAX_Result EffectOperation45 (uint32_t, const void*, uint32_t, int32_t*) override { return kAAXNotSupported; }
    AAX_Result EffectOperation46 (uint32_t, const void*, uint32_t, int32_t*) override { return kAAXNotSupported; }
    AAX_Result EffectOperation47 (uint32_t, const void*, uint32_t, int32_t*) override { return kAAXNotSupported; }

protected:
    void* answer (const acfUID& interfaceID) override
    {
        if (interfaceID == kAAXID_EffectParameters)
            return static_cast<AAX_IACFEffectParameters*> (this);

        return FakeUnknown::answer (interfaceID);
    }
};

/** A GUI that records what the base asks of it. */
class RecordingGUI : public AAX_CEffectGUI
{
public:
    int viewContents = 0, containersCreated = 0, containersDeleted = 0;
    bool containerFieldClearedOnDelete = false;
    std::vector<std::string> updated;

    AAX_Result ParameterUpdated (const char* parameterID) override
    {
        updated.emplace_back (parameterID);
        return kAAXSuccess;
    }

protected:
    void CreateViewContents() override { ++viewContents; }
    void CreateViewContainer() override { ++containersCreated; }

    void DeleteViewContainer() override
    {
        ++containersDeleted;
        containerFieldClearedOnDelete = GetViewContainer() == nullptr;
    }
};

/** Makes a GUI the way a host holds it (one reference) and releases it at the end. */
class AAX_CEffectGUITest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gui = new RecordingGUI();
        gui->AddRef();
        effect = new FakeEffectParameters();
        instance.setEffect (effect);
    }

    void TearDown() override
    {
        if (gui != nullptr)
        {
            EXPECT_EQ (gui->Release(), 0u);
        }

        effect->Release();
    }

    LiveCheck check;
    FakeInstance instance;
    RecordingGUI* gui = nullptr;
    FakeEffectParameters* effect = nullptr;
};
} // namespace

TEST_F (AAX_CEffectGUITest, InitializeWithoutAnUnknownAnswersMinus20011)
{
    EXPECT_EQ (gui->Initialize (nullptr), kAAXNoController);
    EXPECT_EQ (gui->viewContents, 0);
    EXPECT_EQ (gui->GetEffectParameters(), nullptr);
    gui->UpdateAllParameters();
    EXPECT_TRUE (gui->updated.empty());
    EXPECT_EQ (gui->Uninitialize(), kAAXSuccess);
}

TEST_F (AAX_CEffectGUITest, InitializeFetchesTheEffectAndASecondOneGivesBackTheFirst)
{
    const uint32_t effectRefs = effect->refCount();
    const uint32_t controllerRefs = instance.controller().refCount();

    EXPECT_EQ (gui->Initialize (instance.unknown()), kAAXSuccess);
    EXPECT_EQ (gui->viewContents, 1);
    EXPECT_EQ (gui->GetEffectParameters(), static_cast<AAX_IACFEffectParameters*> (effect));
    EXPECT_EQ (effect->refCount(), effectRefs + 1);
    EXPECT_EQ (instance.controller().refCount(), controllerRefs + 2) << "first and second version";

    EXPECT_EQ (gui->Initialize (instance.unknown()), kAAXSuccess);
    EXPECT_EQ (effect->refCount(), effectRefs + 1);
    EXPECT_EQ (instance.controller().refCount(), controllerRefs + 2);

    EXPECT_EQ (gui->Uninitialize(), kAAXSuccess);
    EXPECT_EQ (gui->GetEffectParameters(), nullptr);
    EXPECT_EQ (effect->refCount(), effectRefs);
    EXPECT_EQ (instance.controller().refCount(), controllerRefs);
    EXPECT_EQ (instance.transport().refCount(), instance.controller().refCount());
}

TEST_F (AAX_CEffectGUITest, ViewContainerSetReplacedAndCleared)
{
    ASSERT_EQ (gui->Initialize (instance.unknown()), kAAXSuccess);
    auto* first = new FakeViewContainer (std::make_shared<CallLog>(), 2);
    auto* second = new FakeViewContainer (std::make_shared<CallLog>(), 1);

    EXPECT_EQ (gui->GetViewContainerType(), 0);
    EXPECT_EQ (gui->GetViewContainerPtr(), nullptr);

    EXPECT_EQ (gui->SetViewContainer (first), kAAXSuccess);
    EXPECT_EQ (gui->containersCreated, 1);
    EXPECT_EQ (gui->updated, std::vector<std::string> ({ "freqParam", "slopeParam", "mixParam", "bypassParam" }));
    EXPECT_EQ (gui->GetViewContainerType(), 2);
    EXPECT_NE (gui->GetViewContainerPtr(), nullptr);
    EXPECT_EQ (first->refCount(), 2u);

    EXPECT_EQ (gui->SetViewContainer (second), kAAXSuccess);
    EXPECT_EQ (first->refCount(), 1u) << "the old window is given back";
    EXPECT_EQ (gui->GetViewContainerType(), 1);
    EXPECT_EQ (gui->containersCreated, 2);

    EXPECT_EQ (gui->SetViewContainer (nullptr), kAAXSuccess);
    EXPECT_EQ (gui->containersDeleted, 1);
    EXPECT_TRUE (gui->containerFieldClearedOnDelete);
    EXPECT_EQ (second->refCount(), 1u);
    EXPECT_EQ (gui->GetViewContainer(), nullptr);

    first->Release();
    second->Release();
}

TEST_F (AAX_CEffectGUITest, DestroyedWithAWindowAttachedGivesItBack)
{
    ASSERT_EQ (gui->Initialize (instance.unknown()), kAAXSuccess);
    auto* window = new FakeViewContainer (std::make_shared<CallLog>());
    gui->SetViewContainer (window);
    EXPECT_EQ (window->refCount(), 2u);

    EXPECT_EQ (gui->Release(), 0u);
    gui = nullptr;
    EXPECT_EQ (window->refCount(), 1u);
    window->Release();
}

TEST_F (AAX_CEffectGUITest, UpdateAllParametersSkipsWhatTheEffectCannotAnswer)
{
    ASSERT_EQ (gui->Initialize (instance.unknown()), kAAXSuccess);

    effect->failingIndex = 1;
    gui->UpdateAllParameters();
    EXPECT_EQ (gui->updated, std::vector<std::string> ({ "freqParam", "mixParam", "bypassParam" }));

    for (auto [count, result] : { std::pair<int32_t, AAX_Result> { 0, kAAXSuccess }, { -1, kAAXSuccess }, { 4, -1 } })
    {
        gui->updated.clear();
        effect->countOverride = count;
        effect->countResult = result;
        gui->UpdateAllParameters();
        EXPECT_TRUE (gui->updated.empty()) << count << " " << result;
    }
}

TEST_F (AAX_CEffectGUITest, AnswersItsInterfaceAndTheBaseDefaults)
{
    EXPECT_EQ (ACFCanUnloadNow (nullptr), 1) << "the GUI is a live plug-in object";

    void* answer = nullptr;
    EXPECT_EQ (gui->QueryInterface (kAAXID_EffectGUI, &answer), kAAXSuccess);
    EXPECT_EQ (answer, static_cast<AAX_IACFEffectGUI*> (gui));
    EXPECT_EQ (gui->GetRefCount(), 2u);
    static_cast<AAX_IACFEffectGUI*> (answer)->Release();

    EXPECT_EQ (gui->QueryInterface (kAAXID_EffectParameters, &answer), kACFNoInterface);
    EXPECT_EQ (answer, nullptr);
    EXPECT_EQ (gui->QueryInterface (kAAXID_IACFUnknown, &answer), kAAXSuccess);
    static_cast<IACFUnknown*> (answer)->Release();

    AAX_CString label;
    AAX_Point size { 0, 0 };
    EXPECT_EQ (gui->GetCustomLabel (0, &label), kAAXNullObject);
    EXPECT_EQ (gui->NotificationReceived (1, nullptr, 0), kAAXSuccess);
    EXPECT_EQ (gui->GetViewSize (&size), kAAXSuccess);
    EXPECT_EQ (gui->Draw (nullptr), kAAXSuccess);
    EXPECT_EQ (gui->TimerWakeup(), kAAXSuccess);
    EXPECT_EQ (gui->SetControlHighlightInfo ("mixParam", true, 0), kAAXSuccess);
    EXPECT_EQ (gui->GUIOperation13(), kAAXSuccess);
    EXPECT_EQ (gui->GUIOperation14(), kAAXSuccess);
}
