#include "formats/aax/AAX_CEffectGUI.h"
#include "formats/aax/AAX_Exports.h"

#include "formats/aax/fakehost/FakeEffect.h"
#include "formats/aax/fakehost/FakeHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kelmora::aax;
using namespace quietline::test::aax;

namespace
{
/** The test effect, with one identifier it cannot answer. */
class PartlyAnsweringEffect : public FakeEffect
{
public:
    int32_t failingIndex = -1;

    AAX_Result GetParameterIDFromIndex (int32_t index, AAX_IString* id) const override
    {
        return index == failingIndex ? kAAXNoSuchParameter : FakeEffect::GetParameterIDFromIndex (index, id);
    }
};

/** A GUI that records what the base asks of it. */
class RecordingGUI : public AAX_CEffectGUI
{
public:
    int viewContents = 0, containersCreated = 0, containersDeleted = 0;
    std::vector<std::string> updated;

    AAX_Result ParameterUpdated (const char* id) override
    {
        updated.emplace_back (id);
        return kAAXSuccess;
    }

protected:
    void CreateViewContents() override { ++viewContents; }
    void CreateViewContainer() override { ++containersCreated; }
    void DeleteViewContainer() override { containersDeleted += GetViewContainer() == nullptr ? 1 : 100; }
};

/** Holds the GUI as a host does (one reference) and releases it at the end. */
class AAX_CEffectGUITest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gui->AddRef();
        effect->AddRef();
        ASSERT_EQ (effect->Initialize (host.unknown()), kAAXSuccess);
        host.setEffect (effect);
    }

    void TearDown() override
    {
        EXPECT_TRUE (gui == nullptr || gui->Release() == 0u);
        effect->Uninitialize();
        effect->Release();
    }

    LiveCheck check;
    FakeHost host;
    RecordingGUI* gui = new RecordingGUI();
    PartlyAnsweringEffect* effect = new PartlyAnsweringEffect();
    const std::vector<std::string> allIDs { "gain", "freq", "MasterBypassID" };
};
} // namespace

TEST_F (AAX_CEffectGUITest, InitializeWithoutAnUnknownAnswersMinus20011)
{
    EXPECT_EQ (gui->Initialize (nullptr), kAAXNoController);
    EXPECT_EQ (gui->viewContents, 0);
    EXPECT_EQ (gui->GetEffectParameters(), nullptr);
    gui->UpdateAllParameters();
    EXPECT_TRUE (gui->updated.empty());
}

TEST_F (AAX_CEffectGUITest, ASecondInitializeGivesBackTheFirst)
{
    const uint32_t controllerRefs = host.controller().refCount();
    const uint32_t effectRefs = effect->GetRefCount();

    for (int i = 0; i < 2; ++i)
    {
        EXPECT_EQ (gui->Initialize (host.unknown()), kAAXSuccess);
        EXPECT_EQ (gui->viewContents, i + 1);
        EXPECT_EQ (gui->GetEffectParameters(), static_cast<AAX_IACFEffectParameters*> (effect));
        EXPECT_EQ (effect->GetRefCount(), effectRefs + 1);
        EXPECT_EQ (host.controller().refCount(), controllerRefs + 2) << "first and second version";
    }

    EXPECT_EQ (gui->Uninitialize(), kAAXSuccess);
    EXPECT_EQ (gui->GetEffectParameters(), nullptr);
    EXPECT_EQ (effect->GetRefCount(), effectRefs);
    EXPECT_EQ (host.controller().refCount(), controllerRefs);
    EXPECT_EQ (host.transport().refCount(), controllerRefs);
}

TEST_F (AAX_CEffectGUITest, ViewContainerSetReplacedAndCleared)
{
    ASSERT_EQ (gui->Initialize (host.unknown()), kAAXSuccess);
    auto* first = new FakeViewContainer (host.state, 2);
    auto* second = new FakeViewContainer (host.state, 1);
    EXPECT_EQ (gui->GetViewContainerType(), 0);
    EXPECT_EQ (gui->GetViewContainerPtr(), nullptr);

    EXPECT_EQ (gui->SetViewContainer (first), kAAXSuccess);
    EXPECT_EQ (gui->updated, allIDs);
    EXPECT_EQ (gui->GetViewContainerType(), 2);
    EXPECT_NE (gui->GetViewContainerPtr(), nullptr);
    EXPECT_EQ (first->refCount(), 2u);

    EXPECT_EQ (gui->SetViewContainer (second), kAAXSuccess);
    EXPECT_EQ (first->refCount(), 1u) << "the old window is given back";
    EXPECT_EQ (gui->GetViewContainerType(), 1);
    EXPECT_EQ (gui->containersCreated, 2);

    EXPECT_EQ (gui->SetViewContainer (nullptr), kAAXSuccess);
    EXPECT_EQ (gui->containersDeleted, 1) << "deleted once, after the container was cleared";
    EXPECT_EQ (second->refCount(), 1u);
    first->Release();

    // A GUI destroyed with a window attached gives it back.
    gui->SetViewContainer (second);
    EXPECT_EQ (gui->Release(), 0u);
    gui = nullptr;
    EXPECT_EQ (second->refCount(), 1u);
    second->Release();
}

TEST_F (AAX_CEffectGUITest, UpdateAllParametersSkipsWhatTheEffectCannotAnswer)
{
    ASSERT_EQ (gui->Initialize (host.unknown()), kAAXSuccess);
    gui->UpdateAllParameters();
    EXPECT_EQ (gui->updated, allIDs);

    gui->updated.clear();
    effect->failingIndex = 1;
    gui->UpdateAllParameters();
    EXPECT_EQ (gui->updated, std::vector<std::string> ({ "gain", "MasterBypassID" }));
}

TEST_F (AAX_CEffectGUITest, AnswersItsInterfaceAndTheBaseDefaults)
{
    EXPECT_EQ (ACFCanUnloadNow (nullptr), 2) << "the GUI and the effect are live plug-in objects";
    void* answer = nullptr;
    EXPECT_EQ (gui->QueryInterface (kAAXID_EffectGUI, &answer), kAAXSuccess);
    EXPECT_EQ (answer, static_cast<AAX_IACFEffectGUI*> (gui));
    EXPECT_EQ (gui->GetRefCount(), 2u);
    static_cast<AAX_IACFEffectGUI*> (answer)->Release();
    EXPECT_EQ (gui->QueryInterface (kAAXID_EffectParameters, &answer), kACFNoInterface);
    EXPECT_EQ (answer, nullptr);

    AAX_CString label;
    EXPECT_EQ (gui->GetCustomLabel (0, &label), kAAXNullObject);
    EXPECT_EQ (gui->NotificationReceived (1, nullptr, 0), kAAXSuccess);
}
