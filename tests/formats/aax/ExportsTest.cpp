#include "formats/aax/AAX_Exports.h"
#include "formats/aax/AAX_ICollection.h"
#include "formats/aax/AAX_VHostServices.h"
#include "formats/aax/CACFUnknown.h"

#include "formats/aax/fakehost/FakeHost.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

using namespace kelmora::aax;
using namespace quietline::test::aax;

namespace
{
std::function<AAX_Result (AAX_ICollection*)> describeAs;

AAX_Result describeThroughTest (AAX_ICollection* collection) { return describeAs (collection); }

/** Every case starts and ends with no host-services holder and the test's description routine,
    and proves that no reference is left behind. */
class ACFExports : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previousRoutine = SetEffectDescriptionRoutine (&describeThroughTest);
        describeAs = [] (AAX_ICollection*) { return kAAXSuccess; };
    }

    void TearDown() override
    {
        ACFShutdown (nullptr);
        SetEffectDescriptionRoutine (previousRoutine);
    }

    LiveCheck check;
    EffectDescriptionRoutine previousRoutine = nullptr;
    IACFUnknown* definition = reinterpret_cast<IACFUnknown*> (0x10);
};

class Plain : public CACFUnknown
{
};
} // namespace

TEST_F (ACFExports, FixedAnswersAndNullOutPointers)
{
    void* factory = definition;
    EXPECT_EQ (ACFGetClassFactory (nullptr, &kAAXID_EffectGUI, &kAAXID_IACFUnknown, &factory), kAAXNotSupported);
    EXPECT_EQ (factory, nullptr);
    EXPECT_EQ (ACFRegisterComponent (nullptr, &kAAXID_EffectGUI, &definition), kAAXSuccess);
    EXPECT_EQ (definition, nullptr);
    uint64_t version = 0;
    EXPECT_EQ (ACFGetSDKVersion (&version), kAAXSuccess);
    EXPECT_EQ (version, 0x2000061125Cull);

    EXPECT_EQ (ACFGetClassFactory (nullptr, &kAAXID_EffectGUI, &kAAXID_IACFUnknown, nullptr), kAAXNullObject);
    EXPECT_EQ (ACFRegisterComponent (nullptr, &kAAXID_EffectGUI, nullptr), kAAXNullObject);
    EXPECT_EQ (ACFGetSDKVersion (nullptr), kAAXNullObject);
    FakeHost host;
    bool described = false;
    describeAs = [&] (AAX_ICollection*) { described = true; return kAAXSuccess; };
    EXPECT_EQ (ACFRegisterPlugin (host.unknown(), nullptr), kAAXNullObject);
    EXPECT_FALSE (described) << "refused before describing anything";
}

TEST_F (ACFExports, CanUnloadNowCountsLivePluginObjects)
{
    ASSERT_EQ (ACFCanUnloadNow (nullptr), 0);
    auto* first = new Plain();
    auto* second = new Plain();
    first->InternalAddRef();
    second->InternalAddRef();
    EXPECT_EQ (ACFCanUnloadNow (nullptr), 2);
    first->InternalRelease();
    EXPECT_EQ (ACFCanUnloadNow (nullptr), 1);
    second->InternalRelease();
    EXPECT_EQ (ACFCanUnloadNow (nullptr), 0);
}

TEST_F (ACFExports, StartupKeepsTheFirstHolderAndShutdownReleasesIt)
{
    EXPECT_EQ (ACFStartup (nullptr), kAAXSuccess);
    EXPECT_EQ (GetHostServices(), nullptr);

    FakeHost first, second;
    EXPECT_EQ (ACFStartup (first.unknown()), kAAXSuccess);
    AAX_VHostServices* services = GetHostServices();
    ASSERT_NE (services, nullptr);
    EXPECT_EQ (ACFStartup (second.unknown()), kAAXSuccess);
    EXPECT_EQ (GetHostServices(), services);
    EXPECT_EQ (second.log().size(), 0u) << "the second host is never asked";

    EXPECT_EQ (services->Trace (2, "hello"), kAAXSuccess);
    EXPECT_EQ (services->HandleAssertFailure ("file.cpp", 12, "note"), kAAXSuccess);
    EXPECT_EQ (first.log().calls ("hostServices", 4).at (0).args, std::vector<std::string> ({ "2", "\"hello\"" }));
    EXPECT_EQ (first.log().calls ("hostServices", 3).at (0).args, std::vector<std::string> ({ "\"file.cpp\"", "12", "\"note\"" }));

    const int fakesBefore = liveFakeObjects();
    EXPECT_EQ (ACFShutdown (second.unknown()), kAAXSuccess);
    EXPECT_EQ (GetHostServices(), nullptr);
    EXPECT_EQ (liveFakeObjects(), fakesBefore - 1) << "the host-services object is given back";

    // Without the host's interface the holder still exists and answers -20004.
    first.options().hostServices = false;
    EXPECT_EQ (ACFStartup (first.unknown()), kAAXSuccess);
    ASSERT_NE (GetHostServices(), nullptr);
    EXPECT_EQ (GetHostServices()->Trace (1, "x"), kAAXNullObject);
    EXPECT_EQ (GetHostServices()->HandleAssertFailure ("f", 1, "n"), kAAXNullObject);
}

TEST_F (ACFExports, RegisterPluginPassesOnFailuresAndLeavesNoReference)
{
    FakeHost host;
    IACFUnknown* const untouched = definition;
    const std::function<AAX_Result (AAX_ICollection*)> failures[] = {
        [] (AAX_ICollection* c) { c->NewDescriptor()->NewComponentDescriptor()->NewPropertyMap(); return -12345; },
        [] (AAX_ICollection* c) -> AAX_Result { c->NewDescriptor()->NewPropertyMap(); throw std::runtime_error ("failed"); },
        [] (AAX_ICollection*) -> AAX_Result { throw 42; },
    };
    const ACFResult expected[] = { -12345, kACFUnexpected, kACFUnexpected };

    for (int i = 0; i < 3; ++i)
    {
        describeAs = failures[i];
        EXPECT_EQ (ACFRegisterPlugin (host.unknown(), &definition), expected[i]) << i;
    }
    EXPECT_EQ (definition, untouched) << "the out pointer stays untouched";
}

TEST_F (ACFExports, RegisterPluginAnswersTheCollectionsPluginDefinition)
{
    FakeHost host;
    describeAs = [] (AAX_ICollection* collection)
    {
        auto* effect = collection->NewDescriptor();
        effect->AddName ("Orvel Quietline");
        EXPECT_EQ (collection->AddEffect ("com.kelmora.quietline", effect), kAAXSuccess);
        return kAAXSuccess;
    };

    EXPECT_EQ (ACFRegisterPlugin (host.unknown(), &definition), kAAXSuccess);
    ASSERT_NE (definition, nullptr);
    void* asDefinition = nullptr;
    EXPECT_EQ (definition->QueryInterface (kAAXID_PluginDefinition, &asDefinition), kAAXSuccess);
    static_cast<IACFUnknown*> (asDefinition)->Release();
    EXPECT_EQ (definition->Release(), 0u);
    EXPECT_EQ (host.log().count ("collection", 7), 1u);
    EXPECT_EQ (host.log().count ("collection", 0), 1u) << "asked once for the plug-in definition";

    host.options().pluginDefinition = false;
    EXPECT_EQ (ACFRegisterPlugin (host.unknown(), &definition), kAAXNullObject);
    EXPECT_EQ (definition, nullptr);
}

TEST_F (ACFExports, RegisterPluginRefusesAMissingCollection)
{
    AAX_Result seenByDescription = kAAXSuccess;
    describeAs = [&] (AAX_ICollection* collection)
    {
        seenByDescription = collection->SetManufacturerName ("Kelmora Labs");
        return kAAXSuccess;
    };
    EXPECT_EQ (ACFRegisterPlugin (nullptr, &definition), kAAXNullObject);
    EXPECT_EQ (seenByDescription, kAAXNullObject);
    EXPECT_EQ (definition, nullptr);

    FakeHost host ({ .factory = false });
    EXPECT_EQ (ACFRegisterPlugin (host.unknown(), &definition), kAAXNullObject);
    SetEffectDescriptionRoutine (nullptr);
    host.options().factory = true;
    EXPECT_EQ (ACFRegisterPlugin (host.unknown(), &definition), kAAXNullObject);
}
