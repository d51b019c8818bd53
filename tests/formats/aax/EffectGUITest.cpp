#include "formats/aax/AAX_CEffectGUI.h"

#include "formats/aax/fakehost/FakeEffect.h"
#include "formats/aax/fakehost/FakeHost.h"

#include <gtest/gtest.h>

using namespace quietline::test::aax;
using Strings = std::vector<std::string>;

namespace
{
/** A GUI that records what the base asks of it. */
struct RecordingGUI : AAX_CEffectGUI
{
    int viewContents = 0, containersCreated = 0, containersDeletedWhenCleared = 0;
    Strings updated;

    AAX_Result ParameterUpdated (const char* id) override { return updated.emplace_back (id), kAAXSuccess; }
    void CreateViewContents() override { ++viewContents; }
    void CreateViewContainer() override { ++containersCreated; }
    void DeleteViewContainer() override { containersDeletedWhenCleared += GetViewContainer() == nullptr ? 1 : 100; }
};

/** Holds the GUI as a host does (one reference) beside an initialised effect the host answers. */
class AAX_CEffectGUITest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gui->AddRef();
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
    FakeEffect* effect = FakeEffect::create();
    const Strings allIDs { "gain", "freq", "MasterBypassID" };
};
} // namespace

TEST_F (AAX_CEffectGUITest, InitializeFetchesTheEffectAndASecondOneGivesBackTheFirst)
{
    EXPECT_EQ (gui->Initialize (nullptr), kAAXNoController);
    EXPECT_EQ (gui->viewContents, 0);
    gui->UpdateAllParameters();
    EXPECT_TRUE (gui->updated.empty());
    const uint32_t controllerRefs = host.controller().refCount(), effectRefs = effect->GetRefCount();
    for (int i = 1; i <= 2; ++i)
    {
        EXPECT_EQ (gui->Initialize (host.unknown()), kAAXSuccess);
        EXPECT_EQ (gui->viewContents, i);
        EXPECT_EQ (gui->GetEffectParameters(), static_cast<AAX_IACFEffectParameters*> (effect));
        EXPECT_EQ (effect->GetRefCount(), effectRefs + 1);
        EXPECT_EQ (host.controller().refCount(), controllerRefs + 2) << "first and second version";
    }
    gui->UpdateAllParameters();
    EXPECT_EQ (gui->updated, allIDs);
    EXPECT_EQ (gui->Uninitialize(), kAAXSuccess);
    EXPECT_EQ (effect->GetRefCount(), effectRefs);
    EXPECT_EQ (host.controller().refCount(), controllerRefs);
    EXPECT_EQ (host.transport().refCount(), controllerRefs);

    void* answer = nullptr;
    EXPECT_EQ (gui->QueryInterface (kAAXID_EffectGUI, &answer), kAAXSuccess);
    EXPECT_EQ (answer, static_cast<AAX_IACFEffectGUI*> (gui));
    static_cast<AAX_IACFEffectGUI*> (answer)->Release();
}

TEST_F (AAX_CEffectGUITest, ViewContainerSetReplacedClearedAndGivenBackOnDestruction)
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
    EXPECT_EQ (gui->SetViewContainer (second), kAAXSuccess);
    EXPECT_EQ (first->refCount(), 1u) << "the old window is given back";
    EXPECT_EQ (second->refCount(), 2u);
    EXPECT_EQ (gui->containersCreated, 2);
    EXPECT_EQ (gui->SetViewContainer (nullptr), kAAXSuccess);
    EXPECT_EQ (gui->containersDeletedWhenCleared, 1);
    EXPECT_EQ (second->refCount(), 1u);

    gui->SetViewContainer (first);
    EXPECT_EQ (gui->Release(), 0u);
    gui = nullptr;
    EXPECT_EQ (first->refCount(), 1u) << "a GUI destroyed with a window attached gives it back";
    first->Release();
    second->Release();
}
