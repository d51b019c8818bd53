// The built module tells every format's host the same identity: the one the project declares.
#include "core/ProductIdentity.h"
#include "support/TempHome.h"
#include "tools/aaxhost/AaxModule.h"
#include "tools/auhost/AuHost.h"
#include "tools/vsthost/HostedEffect.h"

#include <gtest/gtest.h>

namespace
{
namespace id = kelmora::identity;
using namespace kelmora::tools;

TEST (ModuleIdentity, EveryFormatReportsTheDeclaredIdentity)
{
    ::unsetenv ("DISPLAY");
    quietline::test::TempHome home;

    std::string error;
    auto vst = VstPluginModule::load (QUIETLINE_MODULE_PATH, error);
    ASSERT_NE (vst, nullptr) << error;
    {
        auto effect = HostedEffect::create (*vst, error);
        ASSERT_NE (effect, nullptr) << error;
        effect->open();
        EXPECT_EQ (effect->effectName(), id::productName);
        EXPECT_EQ (effect->vendorString(), id::makerName);
        EXPECT_EQ (uint32_t (effect->uniqueId()), id::productCode);
        EXPECT_EQ (effect->version(), id::vstVersion);
        EXPECT_EQ (effect->vendorVersion(), id::vstVersion);
    }

    AuSystem::describeComponentsAs ({ id::auType, id::productCode, id::makerCode, 0, 0 });
    auto au = AuPluginModule::load (QUIETLINE_MODULE_PATH, "OrvelQuietlineAUFactory", "OrvelQuietlineAUEntry", error);
    ASSERT_NE (au, nullptr) << error;
    {
        OSStatus status = -1;
        auto unit = HostedAudioUnit::open (*au, HostedAudioUnit::Route::componentManager, status);
        ASSERT_NE (unit, nullptr) << status;
        EXPECT_EQ (unit->componentVersion(), id::versionNumber);
    }

    aaxhost::AaxHost host;
    aaxhost::AaxModule aax { QUIETLINE_MODULE_PATH };
    ASSERT_TRUE (aax.loaded());
    ASSERT_EQ (aax.describe (host), kAAXSuccess);
    const auto& d = host.state->description;
    EXPECT_EQ (d.manufacturer, id::makerName);
    EXPECT_EQ (d.version, uint32_t (id::versionNumber));
    ASSERT_EQ (d.effects.size(), 1u);
    EXPECT_EQ (d.effects[0].name, id::productName);
    for (const auto& component : d.effects[0].components)
    {
        EXPECT_EQ (uint32_t (component.properties.at (kAAXProperty_ManufacturerID)), id::makerCode);
        EXPECT_EQ (uint32_t (component.properties.at (kAAXProperty_ProductID)), id::productCode);
    }
    aax.shutdown (host.unknown());
}
} // namespace
