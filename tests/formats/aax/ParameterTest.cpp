#include "formats/aax/AAX_CParameterManager.h"
#include "formats/aax/AAX_VAutomationDelegate.h"

#include "formats/aax/FakeEffect.h"
#include "formats/aax/LiveCheck.h"
#include "tools/aaxhost/AaxHost.h"

#include <gtest/gtest.h>

using namespace quietline::test::aax;
using namespace kelmora::tools::aaxhost;
using Strings = std::vector<std::string>;

namespace
{
/** Parameters talking to the reference host's automation delegate; posts() reads and clears what they sent. */
class AAXParameterTest : public ::testing::Test
{
protected:
    Strings posts()
    {
        static const char* const verbs[] = { "", "", "", "register", "unregister", "set", "current", "touch", "release" };
        Strings result;
        for (const auto& call : host.log().calls ("automation"))
            result.push_back (verbs[call.method] + (" " + call.args[0].substr (1, call.args[0].size() - 2)) + (call.args.size() > 1 ? " " + call.args[1] : ""));
        host.log().clear();
        return result;
    }

    float value (const AAX_IParameter& parameter)
    {
        float result = NAN;
        return parameter.GetValueAsFloat (&result) ? result : NAN;
    }

    LiveCheck check;
    AaxHost host;
    AAX_VAutomationDelegate delegate { host.unknown() };
    std::unique_ptr<AAX_CParameter<float>> gain { floatParameter ("gain", "Gain", 0.25f) };
    std::unique_ptr<AAX_CParameter<bool>> bypass { boolParameter ("MasterBypassID", "bypass", "on") };
};
} // namespace

TEST_F (AAXParameterTest, IdentifierIsCutAndValuesKeepToTheirKindAndRange)
{
    const std::string longId = "abcdefghijklmnopqrstuvwxyz0123456789ABCD";
    std::unique_ptr<AAX_IParameter> cut (floatParameter (longId.c_str(), "Cut", 7.0f));
    EXPECT_TRUE (std::string (cut->Identifier()) == longId.substr (0, 31) && value (*cut) == 1.0f) << "a default outside the taper is brought to its maximum";

    bool b = false;
    double d = 0.0;
    EXPECT_FALSE (gain->GetValueAsBool (&b) || gain->GetValueAsDouble (&d) || gain->SetValueWithBool (true) || gain->SetValueWithInt32 (1));
    EXPECT_FALSE (bypass->SetValueWithFloat (1.0f) || bypass->SetValueWithDouble (0.5));
    EXPECT_TRUE (bypass->SetValueWithBool (true) && bypass->GetValueAsBool (&b) && b);
    for (const auto& [set, expectFloat, expectBool] : { std::tuple { 1.7, 1.0, 1.0 }, { -3.0, 0.0, 0.0 }, { 0.25, 0.25, 1.0 }, { 0.0, 0.0, 0.0 } })
    {
        gain->SetNormalizedValue (set);
        bypass->SetNormalizedValue (set);
        EXPECT_EQ (gain->GetNormalizedValue(), expectFloat) << set;
        EXPECT_EQ (bypass->GetNormalizedValue(), expectBool) << set;
    }
}

TEST_F (AAXParameterTest, SetPathAsksTheHostAndUpdatePathNotifiesWhenPending)
{
    gain->SetAutomationDelegate (&delegate);
    gain->SetNormalizedValue (1.7);
    EXPECT_EQ (posts(), (Strings { "register gain", "touch gain", "set gain 1", "release gain" }));
    EXPECT_EQ (gain->GetNormalizedValue(), 0.25) << "the value changes only when the host answers";

    // Nothing pending after construction: an unchanged value is not reported again.
    for (const auto& [update, expected] : { std::pair { 0.25, Strings {} }, { 0.5, Strings { "current gain 0.5" } }, { 0.5, Strings {} } })
    {
        gain->UpdateNormalizedValue (update);
        EXPECT_EQ (posts(), expected);
    }
    gain->SetAutomationDelegate (nullptr);
    gain->Touch();
    EXPECT_EQ (posts(), Strings { "unregister gain" });
}

TEST_F (AAXParameterTest, DefaultStepsAndTexts)
{
    gain->SetNormalizedDefaultValue (0.75);
    gain->SetToDefaultValue();
    EXPECT_EQ (gain->GetNormalizedValue(), 0.75);
    gain->SetNumberOfSteps (2);
    EXPECT_EQ ((gain->SetNormalizedValue (0.49), gain->GetStepValue()), 0u);

    // The length limit applies to conversions of a given value, not to the value string.
    AAX_CString out, limited;
    gain->SetNormalizedValue (0.5);
    EXPECT_TRUE (gain->GetValueString (3, &out) && gain->GetStringFromNormalizedValue (0.5, 3, limited));
    EXPECT_TRUE (out == AAX_CString ("0.500") && limited == AAX_CString ("0.5")) << out.Get() << " " << limited.Get();
    for (const auto& [input, parses, expected] : { std::tuple { "2", false, 1.0 }, { "  0.5 dB", true, 0.5 }, { "x", false, -1.0 } })
    {
        double normalized = -1.0;
        EXPECT_EQ (gain->GetNormalizedValueFromString (AAX_CString (input), &normalized), parses) << input;
        EXPECT_EQ (normalized, expected) << input;
    }
    EXPECT_TRUE (bypass->GetValueString (&out) && out == AAX_CString ("bypass"));
    EXPECT_TRUE (bypass->SetValueFromString (AAX_CString ("on")) && ! bypass->SetValueFromString (AAX_CString ("On")) && bypass->GetNormalizedValue() == 1.0);
}

TEST_F (AAXParameterTest, ManagerKeepsTheFirstOfDuplicatesAndUnregistersOnRemoval)
{
    AAX_CParameterManager manager;
    manager.AddParameter (floatParameter ("early", "Early"));
    manager.Initialize (&delegate);
    manager.AddParameter (gain.release());
    manager.AddParameter (bypass.release());
    std::unique_ptr<AAX_IParameter> duplicate (floatParameter ("gain", "Gain"));
    manager.AddParameter (duplicate.get());
    manager.AddParameter (nullptr);

    EXPECT_TRUE (manager.NumParameters() == 3 && manager.GetParameterByID ("gain") != duplicate.get() && manager.GetParameterIndex ("MasterBypassID") == 2);
    EXPECT_TRUE (manager.GetParameterIndex (nullptr) == -1 && manager.GetParameterByIndex (3) == nullptr);
    EXPECT_EQ (posts(), (Strings { "register gain", "register MasterBypassID" }));
    manager.RemoveAllParameters();
    EXPECT_EQ (manager.GetParameterByID ("gain"), nullptr);
    EXPECT_EQ (posts(), (Strings { "unregister gain", "unregister MasterBypassID" }));
}
