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
        describeAs = nullptr;
    }

    LiveCheck check;
    EffectDescriptionRoutine previousRoutine = nullptr;
};

class Plain : public CACFUnknown
{
};

IACFUnknown* const sentinel = reinterpret_cast<IACFUnknown*> (0x10);
} // namespace

TEST_F (ACFExports, FixedAnswersAndNullOutPointers)
{
    const acfUID someClass = kAAXID_EffectGUI;
    void* factory = sentinel;
    EXPECT_EQ (ACFGetClassFactory (nullptr, &someClass, &kAAXID_IACFUnknown, &factory), kAAXNotSupported);
    EXPECT_EQ (factory, nullptr);

    IACFUnknown* component = sentinel;
    EXPECT_EQ (ACFRegisterComponent (nullptr, &someClass, &component), kAAXSuccess);
    EXPECT_EQ (component, nullptr);

    uint64_t version = 0;
    EXPECT_EQ (ACFGetSDKVersion (&version), kAAXSuccess);
    EXPECT_EQ (version, 0x2000061125Cull);

    EXPECT_EQ (ACFGetClassFactory (nullptr, &someClass, &kAAXID_IACFUnknown, nullptr), kAAXNullObject);
    EXPECT_EQ (ACFRegisterComponent (nullptr, &someClass, nullptr), kAAXNullObject);
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
    EXPECT_EQ (ACFShutdown (nullptr), kAAXSuccess) << "nothing to shut down";

    FakeHost first, second;
    EXPECT_EQ (ACFStartup (first.unknown()), kAAXSuccess);
    AAX_VHostServices* services = GetHostServices();
    ASSERT_NE (services, nullptr);

    EXPECT_EQ (ACFStartup (second.unknown()), kAAXSuccess);
    EXPECT_EQ (GetHostServices(), services);
    EXPECT_EQ (second.log().size(), 0u) << "the second host is never asked";

    EXPECT_EQ (services->Trace (2, "hello"), kAAXSuccess);
    EXPECT_EQ (services->HandleAssertFailure ("file.cpp", 12, "note"), kAAXSuccess);
    ASSERT_EQ (first.log().count ("hostServices", 4), 1u);
    EXPECT_EQ (first.log().calls ("hostServices", 4)[0].args, std::vector<std::string> ({ "2", "\"hello\"" }));
    EXPECT_EQ (first.log().calls ("hostServices", 3)[0].args,
               std::vector<std::string> ({ "\"file.cpp\"", "12", "\"note\"" }));

    const int fakesBefore = liveFakeObjects();
    EXPECT_EQ (ACFShutdown (second.unknown()), kAAXSuccess);
    EXPECT_EQ (GetHostServices(), nullptr);
    EXPECT_EQ (liveFakeObjects(), fakesBefore - 1) << "the host-services object is given back";
}

TEST_F (ACFExports, HostServicesWithoutTheHostsInterfaceAnswerMinus20004)
{
    FakeHostOptions options;
    options.hostServices = false;
    FakeHost host (options);

    EXPECT_EQ (ACFStartup (host.unknown()), kAAXSuccess);
    ASSERT_NE (GetHostServices(), nullptr);
    EXPECT_EQ (GetHostServices()->Trace (1, "x"), kAAXNullObject);
    EXPECT_EQ (GetHostServices()->HandleAssertFailure ("f", 1, "n"), kAAXNullObject);
}

TEST_F (ACFExports, RegisterPluginPassesOnTheDescriptionsFailure)
{
    FakeHost host;
    IACFUnknown* definition = sentinel;
    describeAs = [] (AAX_ICollection* collection)
    {
        collection->NewDescriptor()->NewComponentDescriptor()->NewPropertyMap();
        return kAAXNullObject;
    };

    EXPECT_EQ (ACFRegisterPlugin (host.unknown(), &definition), kAAXNullObject);
    EXPECT_EQ (definition, sentinel) << "the out pointer stays untouched";

    describeAs = [] (AAX_ICollection*) { return -12345; };
    EXPECT_EQ (ACFRegisterPlugin (host.unknown(), &definition), -12345);
}

TEST_F (ACFExports, RegisterPluginTurnsAnEscapingExceptionIntoUnexpected)
{
    FakeHost host;
    IACFUnknown* definition = nullptr;
    describeAs = [] (AAX_ICollection* collection) -> AAX_Result
    {
        collection->NewDescriptor()->NewPropertyMap();
        collection->NewPropertyMap();
        throw std::runtime_error ("description failed");
    };
    EXPECT_EQ (ACFRegisterPlugin (host.unknown(), &definition), kACFUnexpected);

    describeAs = [] (AAX_ICollection*) -> AAX_Result { throw 42; };
    EXPECT_EQ (ACFRegisterPlugin (host.unknown(), &definition), kACFUnexpected);
    EXPECT_EQ (definition, nullptr);
}

TEST_F (ACFExports, RegisterPluginAnswersTheCollectionsPluginDefinition)
{
    FakeHost host;
    IACFUnknown* definition = nullptr;
    describeAs = [] (AAX_ICollection* collection)
    {
        auto* effect = collection->NewDescriptor();
        effect->AddName ("Orvel Quietline");
        EXPECT_EQ (collection->AddEffect ("com.kelmora.quietline", effect), kAAXSuccess);
        EXPECT_EQ (collection->SetManufacturerName ("Kelmora Labs"), kAAXSuccess);
        EXPECT_EQ (collection->SetPackageVersion (0x10000), kAAXSuccess);
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
    definition = sentinel;
    EXPECT_EQ (ACFRegisterPlugin (host.unknown(), &definition), kAAXNullObject);
    EXPECT_EQ (definition, nullptr);
}

TEST_F (ACFExports, RegisterPluginRefusesAMissingCollection)
{
    IACFUnknown* definition = sentinel;
    AAX_Result seenByDescription = kAAXSuccess;
    describeAs = [&] (AAX_ICollection* collection)
    {
        seenByDescription = collection->SetManufacturerName ("Kelmora Labs");
        return kAAXSuccess;
    };

    EXPECT_EQ (ACFRegisterPlugin (nullptr, &definition), kAAXNullObject);
    EXPECT_EQ (seenByDescription, kAAXNullObject);
    EXPECT_EQ (definition, nullptr);

    FakeHostOptions noFactory;
    noFactory.componentFactory = false;
    FakeHost host (noFactory);
    EXPECT_EQ (ACFRegisterPlugin (host.unknown(), &definition), kAAXNullObject);

    SetEffectDescriptionRoutine (nullptr);
    EXPECT_EQ (ACFRegisterPlugin (host.unknown(), &definition), kAAXNullObject);
}
