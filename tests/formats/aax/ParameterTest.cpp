#include "formats/aax/AAX_CBinaryDisplayDelegate.h"
#include "formats/aax/AAX_CBinaryTaperDelegate.h"
#include "formats/aax/AAX_CLinearTaperDelegate.h"
#include "formats/aax/AAX_CNumberDisplayDelegate.h"
#include "formats/aax/AAX_CParameter.h"
#include "formats/aax/AAX_CParameterManager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace kelmora::aax;

namespace {

/** Records every automation call as "verb id [value]". */
class RecordingDelegate : public AAX_IAutomationDelegate
{
public:
    AAX_Result RegisterParameter (const char* id) const override { return record ("register", id); }
    AAX_Result UnregisterParameter (const char* id) const override { return record ("unregister", id); }
    AAX_Result PostSetValueRequest (const char* id, double value) const override { return record ("set", id, value); }
    AAX_Result PostCurrentValue (const char* id, double value) const override { return record ("current", id, value); }
    AAX_Result PostTouchRequest (const char* id) const override { return record ("touch", id); }
    AAX_Result PostReleaseRequest (const char* id) const override { return record ("release", id); }
    AAX_Result GetTouchState (const char*, bool* touched) const override
    {
        *touched = false;
        return kAAXSuccess;
    }

    mutable std::vector<std::string> calls;

private:
    AAX_Result record (const char* verb, const char* id) const
    {
        calls.push_back (std::string (verb) + " " + id);
        return kAAXSuccess;
    }

    AAX_Result record (const char* verb, const char* id, double value) const
    {
        char number[32];
        std::snprintf (number, sizeof (number), "%g", value);
        calls.push_back (std::string (verb) + " " + id + " " + number);
        return kAAXSuccess;
    }
};

using FloatParameter = AAX_CParameter<float>;
using BoolParameter = AAX_CParameter<bool>;
using NumberDisplay = AAX_CNumberDisplayDelegate<float, 3u, 0u>;
using UnitTaper = AAX_CLinearTaperDelegate<float, 0>;

std::unique_ptr<FloatParameter> makeFloat (const char* id = "gain", float defaultValue = 0.25f,
                                           float minimum = 0.0f, float maximum = 1.0f)
{
    return std::make_unique<FloatParameter> (id, AAX_CString ("Gain"), defaultValue,
                                             UnitTaper (minimum, maximum), NumberDisplay(), true);
}

std::unique_ptr<BoolParameter> makeBool (const char* id = "MasterBypassID")
{
    auto parameter = std::make_unique<BoolParameter> (id, AAX_CString ("Master Bypass"), false,
                                                      AAX_CBinaryTaperDelegate<bool>(),
                                                      AAX_CBinaryDisplayDelegate<bool> ("bypass", "on"), true);
    parameter->SetNumberOfSteps (2);
    parameter->SetType (0);
    return parameter;
}

std::string text (const AAX_CString& s) { return s.Get(); }

} // namespace

TEST (AAXParameter, ConstructionCutsIdentifierAndSetsDefaults)
{
    const std::string longId = "abcdefghijklmnopqrstuvwxyz0123456789ABCD";
    ASSERT_EQ (longId.size(), 40u);
    auto parameter = makeFloat (longId.c_str(), 7.0f);

    EXPECT_EQ (std::string (parameter->Identifier()), longId.substr (0, 31));
    EXPECT_EQ (parameter->GetNumberOfSteps(), 128u);
    EXPECT_EQ (parameter->GetType(), 1);
    EXPECT_EQ (parameter->GetOrientation(), 0);
    EXPECT_TRUE (parameter->Automatable());

    // The default 7 lies outside the taper and is brought to its maximum.
    float value = 0.0f;
    ASSERT_TRUE (parameter->GetValueAsFloat (&value));
    EXPECT_EQ (value, 1.0f);

    auto bypass = makeBool();
    EXPECT_EQ (bypass->GetNumberOfSteps(), 2u);
    EXPECT_EQ (bypass->GetType(), 0);
}

TEST (AAXParameter, ValueKindsAnswerOnlyTheirOwnType)
{
    auto gain = makeFloat();
    auto bypass = makeBool();
    bool b = false;
    float f = 0.0f;
    double d = 0.0;

    EXPECT_FALSE (gain->GetValueAsBool (&b) || gain->GetValueAsDouble (&d) || gain->SetValueWithBool (true)
                  || gain->SetValueWithDouble (0.5) || gain->SetValueWithInt32 (1));
    EXPECT_TRUE (gain->SetValueWithFloat (0.75f));
    EXPECT_TRUE (gain->GetValueAsFloat (&f));
    EXPECT_EQ (f, 0.75f);

    EXPECT_FALSE (bypass->GetValueAsFloat (&f) || bypass->SetValueWithFloat (1.0f));
    EXPECT_TRUE (bypass->SetValueWithBool (true));
    EXPECT_TRUE (bypass->GetValueAsBool (&b));
    EXPECT_TRUE (b);
}

TEST (AAXParameter, SetPathWithoutDelegateChangesValueAndConstrains)
{
    auto gain = makeFloat();
    gain->SetNormalizedValue (1.7);
    EXPECT_DOUBLE_EQ (gain->GetNormalizedValue(), 1.0);
    gain->SetNormalizedValue (-3.0);
    EXPECT_DOUBLE_EQ (gain->GetNormalizedValue(), 0.0);

    // A Boolean lands on 0 or 1.
    auto bypass = makeBool();
    bypass->SetNormalizedValue (0.3);
    EXPECT_DOUBLE_EQ (bypass->GetNormalizedValue(), 1.0);
    bypass->SetNormalizedValue (0.0);
    EXPECT_DOUBLE_EQ (bypass->GetNormalizedValue(), 0.0);
}

TEST (AAXParameter, NonFiniteHostValuesLandOnTheMinimum)
{
    auto gain = makeFloat ("gain", 0.5f, -2.0f, 2.0f);
    for (double bad : { std::nan (""), HUGE_VAL, -HUGE_VAL })
    {
        gain->SetNormalizedValue (0.75);
        gain->UpdateNormalizedValue (bad);
        float value = 1.0f;
        ASSERT_TRUE (gain->GetValueAsFloat (&value));
        EXPECT_EQ (value, -2.0f) << bad;

        gain->SetNormalizedValue (0.75);
        gain->SetNormalizedValue (bad);
        ASSERT_TRUE (gain->GetValueAsFloat (&value));
        EXPECT_EQ (value, -2.0f) << bad;
    }

    EXPECT_TRUE (gain->SetValueWithFloat (NAN));
    EXPECT_DOUBLE_EQ (gain->GetNormalizedValue(), 0.0);

    auto bypass = makeBool();
    bypass->UpdateNormalizedValue (HUGE_VAL);
    EXPECT_DOUBLE_EQ (bypass->GetNormalizedValue(), 0.0);
}

TEST (AAXParameter, SetPathWithDelegateAsksTheHostAndKeepsTheValue)
{
    RecordingDelegate host;
    auto gain = makeFloat();
    gain->SetAutomationDelegate (&host);
    EXPECT_EQ (host.calls, (std::vector<std::string> { "register gain" }));
    host.calls.clear();

    gain->SetNormalizedValue (1.7);
    EXPECT_EQ (host.calls, (std::vector<std::string> { "touch gain", "set gain 1", "release gain" }));
    EXPECT_DOUBLE_EQ (gain->GetNormalizedValue(), 0.25);

    // The host's answer changes the value and is echoed back.
    host.calls.clear();
    gain->UpdateNormalizedValue (1.0);
    EXPECT_DOUBLE_EQ (gain->GetNormalizedValue(), 1.0);
    EXPECT_EQ (host.calls, (std::vector<std::string> { "current gain 1" }));

    gain->Touch();
    gain->Release();
    gain->SetAutomationDelegate (nullptr);
    EXPECT_EQ (host.calls.back(), "unregister gain");
    gain->Touch();
    EXPECT_EQ (host.calls.back(), "unregister gain");
}

TEST (AAXParameter, PendingNotifyDecidesWhetherAnUnchangedValueIsReported)
{
    RecordingDelegate host;
    auto gain = makeFloat();
    gain->SetAutomationDelegate (&host);
    host.calls.clear();

    // Nothing pending after construction: the current value is not reported again.
    gain->UpdateNormalizedValue (0.25);
    EXPECT_TRUE (host.calls.empty());

    gain->UpdateNormalizedValue (0.5);
    EXPECT_EQ (host.calls, (std::vector<std::string> { "current gain 0.5" }));
    host.calls.clear();
    gain->UpdateNormalizedValue (0.5);
    EXPECT_TRUE (host.calls.empty());

    // A new taper leaves a notification pending even for the same value.
    gain->SetTaperDelegate (*std::make_unique<UnitTaper> (0.0f, 1.0f), true);
    EXPECT_EQ (host.calls, (std::vector<std::string> { "touch gain", "set gain 0.5", "release gain" }));
    host.calls.clear();
    gain->UpdateNormalizedValue (0.5);
    EXPECT_EQ (host.calls, (std::vector<std::string> { "current gain 0.5" }));
    host.calls.clear();
    gain->UpdateNormalizedValue (0.5);
    EXPECT_TRUE (host.calls.empty());

    // Without preserving, the old normalized value is re-applied under the new range.
    gain->SetTaperDelegate (*std::make_unique<UnitTaper> (0.0f, 10.0f), false);
    EXPECT_EQ (host.calls, (std::vector<std::string> { "current gain 0.5" }));
    float value = 0.0f;
    ASSERT_TRUE (gain->GetValueAsFloat (&value));
    EXPECT_EQ (value, 5.0f);

    // A new display reports the current value.
    host.calls.clear();
    gain->SetDisplayDelegate (*std::make_unique<NumberDisplay>());
    EXPECT_EQ (host.calls, (std::vector<std::string> { "current gain 0.5" }));
}

TEST (AAXParameter, DefaultValueAndSteps)
{
    auto gain = makeFloat();
    gain->SetNormalizedDefaultValue (0.75);
    EXPECT_DOUBLE_EQ (gain->GetNormalizedDefaultValue(), 0.75);
    EXPECT_DOUBLE_EQ (gain->GetNormalizedValue(), 0.25);
    gain->SetToDefaultValue();
    EXPECT_DOUBLE_EQ (gain->GetNormalizedValue(), 0.75);

    gain->SetNumberOfSteps (2);
    gain->SetNormalizedValue (0.49);
    EXPECT_EQ (gain->GetStepValue(), 0u);
    gain->SetNormalizedValue (0.5);
    EXPECT_EQ (gain->GetStepValue(), 1u);
    gain->SetNormalizedValue (1.0);
    EXPECT_EQ (gain->GetStepValue(), 1u);

    gain->SetNumberOfSteps (5);
    gain->SetStepValue (3);
    EXPECT_DOUBLE_EQ (gain->GetNormalizedValue(), 0.75);
    EXPECT_EQ (gain->GetStepValue(), 3u);
    gain->SetStepValue (9);
    EXPECT_DOUBLE_EQ (gain->GetNormalizedValue(), 1.0);

    gain->SetNumberOfSteps (1);
    EXPECT_EQ (gain->GetStepValue(), 0u);
    gain->SetStepValue (0);
    EXPECT_DOUBLE_EQ (gain->GetNormalizedValue(), 1.0);
}

TEST (AAXParameter, NumberDisplayTexts)
{
    NumberDisplay display;
    AAX_CString out;
    ASSERT_TRUE (display.ValueToString (21000.0f, &out));
    EXPECT_EQ (text (out), "21000.000");

    const std::vector<std::pair<int32_t, std::string>> cuts {
        { 5, "21000" }, { 6, "21000" }, { 8, "21000.00" }, { 9, "21000.000" }, { 12, "21000.000" }, { 0, "" }, { -1, "" }
    };
    for (const auto& [limit, expected] : cuts)
    {
        ASSERT_TRUE (display.ValueToString (21000.0f, limit, &out));
        EXPECT_EQ (text (out), expected) << limit;
    }

    // The length limit applies to conversions of a given value, not to the value string.
    auto gain = makeFloat ("gain", 0.5f);
    ASSERT_TRUE (gain->GetValueString (3, &out));
    EXPECT_EQ (text (out), "0.500");
    ASSERT_TRUE (gain->GetValueString (&out));
    EXPECT_EQ (text (out), "0.500");
    ASSERT_TRUE (gain->GetStringFromNormalizedValue (0.5, 3, out));
    EXPECT_EQ (text (out), "0.5");
    ASSERT_TRUE (gain->GetStringFromNormalizedValue (0.5, out));
    EXPECT_EQ (text (out), "0.500");
}

TEST (AAXParameter, BinaryDisplayTexts)
{
    auto bypass = makeBool();
    AAX_CString out;
    ASSERT_TRUE (bypass->GetValueString (&out));
    EXPECT_EQ (text (out), "bypass");
    ASSERT_TRUE (bypass->GetStringFromNormalizedValue (1.0, 1, out));
    EXPECT_EQ (text (out), "on");

    double normalized = -1.0;
    EXPECT_TRUE (bypass->GetNormalizedValueFromString (AAX_CString ("on"), &normalized));
    EXPECT_EQ (normalized, 1.0);
    EXPECT_TRUE (bypass->GetNormalizedValueFromString (AAX_CString ("bypass"), &normalized));
    EXPECT_EQ (normalized, 0.0);
    normalized = -1.0;
    EXPECT_FALSE (bypass->GetNormalizedValueFromString (AAX_CString ("On"), &normalized));
    EXPECT_EQ (normalized, -1.0);

    EXPECT_TRUE (bypass->SetValueFromString (AAX_CString ("on")));
    EXPECT_EQ (bypass->GetNormalizedValue(), 1.0);
    EXPECT_FALSE (bypass->SetValueFromString (AAX_CString ("off")));
    EXPECT_EQ (bypass->GetNormalizedValue(), 1.0);
}

TEST (AAXParameter, ParsesLeadingNumbers)
{
    auto gain = makeFloat();
    double normalized = -1.0;

    EXPECT_FALSE (gain->GetNormalizedValueFromString (AAX_CString ("2"), &normalized));
    EXPECT_EQ (normalized, 1.0);
    EXPECT_TRUE (gain->GetNormalizedValueFromString (AAX_CString ("0.25"), &normalized));
    EXPECT_EQ (normalized, 0.25);
    EXPECT_TRUE (gain->GetNormalizedValueFromString (AAX_CString ("  0.5 dB"), &normalized));
    EXPECT_EQ (normalized, 0.5);
    normalized = -1.0;
    EXPECT_FALSE (gain->GetNormalizedValueFromString (AAX_CString ("x"), &normalized));
    EXPECT_EQ (normalized, -1.0);

    EXPECT_TRUE (gain->SetValueFromString (AAX_CString ("0.75")));
    EXPECT_DOUBLE_EQ (gain->GetNormalizedValue(), 0.75);
    EXPECT_FALSE (gain->SetValueFromString (AAX_CString ("x")));
    EXPECT_DOUBLE_EQ (gain->GetNormalizedValue(), 0.75);
}

TEST (AAXParameter, ShortenedNamesByLength)
{
    auto frequency = std::make_unique<FloatParameter> ("freq", AAX_CString ("Frequency"), 0.5f, UnitTaper (0.0f, 1.0f),
                                                       NumberDisplay(), true);
    EXPECT_EQ (text (frequency->ShortenedName (1)), "Frequency");

    frequency->AddShortenedName (AAX_CString ("Freq"));
    frequency->AddShortenedName (AAX_CString ("Fr"));
    EXPECT_EQ (text (frequency->ShortenedName (4)), "Freq");
    EXPECT_EQ (text (frequency->ShortenedName (3)), "Fr");
    EXPECT_EQ (text (frequency->ShortenedName (1)), "Fr");
    EXPECT_EQ (text (frequency->ShortenedName (9)), "Frequency");
    EXPECT_EQ (text (frequency->ShortenedName (40)), "Frequency");

    frequency->AddShortenedName (AAX_CString ("Fq"));
    EXPECT_EQ (text (frequency->ShortenedName (2)), "Fq");

    frequency->ClearShortenedNames();
    EXPECT_EQ (text (frequency->ShortenedName (4)), "Frequency");
}

TEST (AAXParameterManager, KeepsFirstOfDuplicatesAndUnregistersOnRemoval)
{
    RecordingDelegate host;
    AAX_CParameterManager manager;
    manager.AddParameter (makeFloat ("early").release());
    manager.Initialize (&host);
    manager.AddParameter (makeFloat ("gain").release());
    manager.AddParameter (makeBool().release());

    auto duplicate = makeFloat ("gain", 0.9f);
    manager.AddParameter (duplicate.get());
    manager.AddParameter (nullptr);

    EXPECT_EQ (manager.NumParameters(), 3);
    EXPECT_NE (manager.GetParameterByID ("gain"), duplicate.get());
    EXPECT_EQ (manager.GetParameterIndex ("gain"), 1);
    EXPECT_EQ (manager.GetParameterIndex ("MasterBypassID"), 2);
    EXPECT_EQ (manager.GetParameterIndex ("missing"), -1);
    EXPECT_EQ (manager.GetParameterIndex (nullptr), -1);
    EXPECT_EQ (manager.GetParameterByID (nullptr), nullptr);
    EXPECT_EQ (manager.GetParameterByIndex (-1), nullptr);
    EXPECT_EQ (manager.GetParameterByIndex (3), nullptr);
    EXPECT_EQ (std::string (manager.GetParameterByIndex (0)->Identifier()), "early");
    EXPECT_EQ (host.calls, (std::vector<std::string> { "register gain", "register MasterBypassID" }));

    host.calls.clear();
    manager.RemoveAllParameters();
    EXPECT_EQ (manager.NumParameters(), 0);
    EXPECT_EQ (manager.GetParameterByID ("gain"), nullptr);
    EXPECT_EQ (host.calls, (std::vector<std::string> { "unregister gain", "unregister MasterBypassID" }));
}
