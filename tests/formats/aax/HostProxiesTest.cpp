#include "formats/aax/AAX_CString.h"
#include "formats/aax/AAX_VAutomationDelegate.h"
#include "formats/aax/AAX_VCollection.h"
#include "formats/aax/AAX_VController.h"
#include "formats/aax/AAX_VTransport.h"

#include "formats/aax/LiveCheck.h"
#include "tools/aaxhost/AaxHost.h"

#include <gtest/gtest.h>

using namespace kelmora::aax;
using namespace quietline::test::aax;
using namespace kelmora::tools::aaxhost;

// Without a host, or without its factory, every description call answers a null object; a host
// without the second versions of the interfaces answers "not supported" for what they add.
TEST (AAXHostProxies, CallsFallBackWithoutTheirHostInterfaceAndPassTheHostsAnswerOn)
{
    LiveCheck check;
    AaxHost full, factoryless ({ .factory = false });
    AaxHost reduced ({ .effectDescriptorV2 = false, .componentDescriptorV2 = false, .propertyMapV2 = false, .controllerV2 = false, .automation = false });
    for (AaxHost* host : { &full, &reduced, &factoryless, static_cast<AaxHost*> (nullptr) })
    {
        AAX_VCollection c (host != nullptr ? host->unknown() : nullptr);
        auto* e = c.NewDescriptor();
        auto* d = e->NewComponentDescriptor();
        auto* m = c.NewPropertyMap();
        const AAX_Result first = host == &full || host == &reduced ? kAAXSuccess : kAAXNullObject, second = host == &full ? kAAXSuccess : kAAXNotSupported;
        EXPECT_EQ ((std::vector<AAX_Result> { c.SetManufacturerName ("Kelmora Labs"), e->AddName ("Quietline"), d->AddAudioIn (0), m->AddProperty (10, 1),
                                              e->AddControlMIDINode (1, 2, "MIDI", 0xFFFF), d->AddTemporaryData (9, 16) }),
                   (std::vector<AAX_Result> { first, first, first, first, second, second }));
    }

    AAX_CString name;
    EXPECT_EQ (AAX_VController (reduced.unknown()).GetHostName (&name), kAAXNotSupported) << "no second controller version";
    EXPECT_EQ (AAX_VController (reduced.unknown()).SetSignalLatency (45), kAAXSuccess);
    EXPECT_EQ (AAX_VAutomationDelegate (reduced.unknown()).PostTouchRequest ("0"), kAAXNullObject) << "no automation delegate";
    EXPECT_EQ (AAX_VTransport (nullptr).GetCurrentTempo (nullptr), kAAXNullObject);
    int64_t timestamp = 77;
    AAX_VController orphan (nullptr);
    EXPECT_EQ (orphan.GetCurrentAutomationTimestamp (&timestamp) + orphan.GetCurrentAutomationTimestamp (nullptr), 2 * kAAXNotSupported);
    EXPECT_EQ (timestamp, 0) << "cleared without a host";

    AAX_VCollection collection (full.unknown());
    EXPECT_EQ (collection.AddEffect ("x", nullptr), kAAXNullObject) << "a null descriptor never reaches the host";
    full.options().result = -7;
    EXPECT_EQ (collection.AddPackageName ("again"), -7) << "the host's answer comes back unchanged";
}

TEST (AAX_VPropertyMap, ReadsOnlyTheLowByteOfTheHostsAnswer)
{
    LiveCheck check;
    AaxHost host;
    AAX_VPropertyMap map (host.unknown());
    int32_t value = -1;
    EXPECT_FALSE (map.GetProperty (20, &value)) << "the host's 0x7F00 means false";
    map.AddProperty (20, 5);
    EXPECT_TRUE (map.GetProperty (20, &value) && value == 5);
}

