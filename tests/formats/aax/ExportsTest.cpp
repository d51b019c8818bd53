#include "formats/aax/AAX_Exports.h"
#include "formats/aax/AAX_ICollection.h"
#include "formats/aax/AAX_VHostServices.h"

#include "formats/aax/LiveCheck.h"
#include "tools/aaxhost/AaxHost.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace kelmora::aax;
using namespace quietline::test::aax;
using namespace kelmora::tools::aaxhost;

namespace
{
std::function<AAX_Result (AAX_ICollection*)> describeAs;

/** Every case starts and ends with no host-services holder and a description routine the test
    replaces, and proves that no reference is left behind. */
class ACFExports : public ::testing::Test
{
protected:
    void SetUp() override { previousRoutine = SetEffectDescriptionRoutine ([] (AAX_ICollection* c) { return describeAs (c); }); }

    void TearDown() override
    {
        ACFShutdown (nullptr);
        SetEffectDescriptionRoutine (previousRoutine);
    }

    LiveCheck check;
    AaxHost host;
    EffectDescriptionRoutine previousRoutine = nullptr;
    IACFUnknown* definition = reinterpret_cast<IACFUnknown*> (0x10);
};
} // namespace

TEST_F (ACFExports, NullOutPointersAreRefusedAndUnsupportedOnesCleared)
{
    void* factory = definition;
    EXPECT_EQ (ACFGetClassFactory (nullptr, &kAAXID_EffectGUI, &kAAXID_IACFUnknown, &factory), kAAXNotSupported);
    EXPECT_EQ (ACFRegisterComponent (nullptr, &kAAXID_EffectGUI, &definition), kAAXSuccess);
    EXPECT_TRUE (factory == nullptr && definition == nullptr);

    bool described = false;
    describeAs = [&] (AAX_ICollection*) { return described = true, kAAXSuccess; };
    EXPECT_EQ ((std::vector<ACFResult> { ACFGetClassFactory (nullptr, &kAAXID_EffectGUI, &kAAXID_IACFUnknown, nullptr), ACFRegisterComponent (nullptr, &kAAXID_EffectGUI, nullptr),
                                         ACFGetSDKVersion (nullptr), ACFRegisterPlugin (host.unknown(), nullptr) }),
               std::vector<ACFResult> (4, kAAXNullObject));
    EXPECT_FALSE (described) << "refused before describing anything";
}

TEST_F (ACFExports, StartupKeepsTheFirstHolderAndShutdownReleasesIt)
{
    AaxHost second;
    EXPECT_EQ (ACFStartup (host.unknown()), kAAXSuccess);
    AAX_VHostServices* services = GetHostServices();
    EXPECT_EQ (ACFStartup (second.unknown()), kAAXSuccess);
    EXPECT_TRUE (GetHostServices() == services && second.log().size() == 0) << "the second host is never asked";
    EXPECT_EQ (services->Trace (2, "hello"), kAAXSuccess);
    EXPECT_EQ (host.log().calls ("hostServices").at (0).args, std::vector<std::string> ({ "2", "\"hello\"" }));

    const size_t fakesBefore = CountedObject::liveCount();
    EXPECT_TRUE (ACFShutdown (second.unknown()) == kAAXSuccess && GetHostServices() == nullptr);
    EXPECT_EQ (CountedObject::liveCount(), fakesBefore - 1) << "the host-services object is given back";

    // Without the host's interface the holder still exists and answers a null object.
    host.options().hostServices = false;
    EXPECT_EQ (ACFStartup (host.unknown()), kAAXSuccess);
    EXPECT_EQ (GetHostServices()->Trace (1, "x"), kAAXNullObject);
}

TEST_F (ACFExports, RegisterPluginPassesOnFailuresAndLeavesNoReference)
{
    IACFUnknown* const untouched = definition;
    const std::pair<std::function<AAX_Result (AAX_ICollection*)>, ACFResult> failures[] = {
        { [] (AAX_ICollection* c) { c->NewDescriptor()->NewComponentDescriptor()->NewPropertyMap(); return -12345; }, -12345 },
        { [] (AAX_ICollection* c) -> AAX_Result { c->NewDescriptor()->NewPropertyMap(); throw std::runtime_error ("failed"); }, kACFUnexpected },
        { [] (AAX_ICollection*) -> AAX_Result { throw 42; }, kACFUnexpected },
    };
    for (const auto& [routine, expected] : failures)
    {
        describeAs = routine;
        EXPECT_EQ (ACFRegisterPlugin (host.unknown(), &definition), expected);
    }
    EXPECT_EQ (definition, untouched) << "the out pointer stays untouched";

    // No host, no factory, no plug-in definition, no routine: refused with a null definition.
    AAX_Result seenByDescription = kAAXSuccess;
    describeAs = [&] (AAX_ICollection* c) { return seenByDescription = c->SetManufacturerName ("Kelmora Labs"), kAAXSuccess; };
    EXPECT_TRUE (ACFRegisterPlugin (nullptr, &definition) == kAAXNullObject && definition == nullptr && seenByDescription == kAAXNullObject);
    for (bool HostOptions::*missing : { &HostOptions::factory, &HostOptions::pluginDefinition })
    {
        host.options().*missing = false;
        EXPECT_EQ (ACFRegisterPlugin (host.unknown(), &definition), kAAXNullObject);
        host.options().*missing = true;
    }
    SetEffectDescriptionRoutine (nullptr);
    EXPECT_EQ (ACFRegisterPlugin (host.unknown(), &definition), kAAXNullObject);
}
