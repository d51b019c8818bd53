#pragma once

#include "formats/aax/AAX_CString.h"
#include "formats/aax/AAX_IAutomationDelegate.h"
#include "formats/aax/AAX_IDisplayDelegate.h"
#include "formats/aax/AAX_IParameter.h"
#include "formats/aax/AAX_ITaperDelegate.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <type_traits>

namespace kelmora::aax {

/** An AAX parameter holding a value of type T (float or bool) with its own copies of a taper and
    a display delegate.

    A float parameter answers only the float value kind, a bool parameter only the bool kind.
    Identifiers longer than 31 characters keep their first 31. No locking: the owning effect
    calls it from one host thread at a time. */
template <typename T>
class AAX_CParameter : public AAX_IParameter
{
    static_assert (std::is_same_v<T, float> || std::is_same_v<T, bool>, "float and bool parameters only");

public:
    static constexpr int32_t maxIdentifierLength = 31;

    AAX_CParameter (const char* identifier, const AAX_IString& name, T initialDefault,
                    const AAX_ITaperDelegate<T>& taper, const AAX_IDisplayDelegate<T>& display,
                    bool automatable)
        : parameterName (name),
          isAutomatable (automatable),
          taperDelegate (taper.Clone()),
          displayDelegate (display.Clone()),
          value (initialDefault),
          defaultValue (initialDefault)
    {
        if (identifier != nullptr)
            std::strncpy (parameterIdentifier, identifier, maxIdentifierLength);

        SetNumberOfSteps (128);
        SetToDefaultValue();
    }

    ~AAX_CParameter() override
    {
        if (automationDelegate != nullptr)
            automationDelegate->UnregisterParameter (parameterIdentifier);
    }

    AAX_CParameter (const AAX_CParameter&) = delete;
    AAX_CParameter& operator= (const AAX_CParameter&) = delete;

    const char* Identifier() const override { return parameterIdentifier; }
    void SetName (const AAX_CString& name) override { parameterName = name; }
    const AAX_CString& Name() const override { return parameterName; }

    void AddShortenedName (const AAX_CString& name) override { shortenedNames[name.Length()] = name; }
    void ClearShortenedNames() override { shortenedNames.clear(); }

    const AAX_CString& ShortenedName (int32_t maxNumChars) const override
    {
        if (shortenedNames.empty() || static_cast<int64_t> (parameterName.Length()) <= maxNumChars)
            return parameterName;

        const AAX_CString* best = &shortenedNames.begin()->second;
        for (const auto& [length, shortName] : shortenedNames)
            if (static_cast<int64_t> (length) <= maxNumChars)
                best = &shortName;

        return *best;
    }

    bool Automatable() const override { return isAutomatable; }

    void SetAutomationDelegate (AAX_IAutomationDelegate* newDelegate) override
    {
        if (automationDelegate != nullptr)
            automationDelegate->UnregisterParameter (parameterIdentifier);

        automationDelegate = newDelegate;

        if (automationDelegate != nullptr)
            automationDelegate->RegisterParameter (parameterIdentifier);
    }

    void Touch() override
    {
        if (automationDelegate != nullptr)
            automationDelegate->PostTouchRequest (parameterIdentifier);
    }

    void Release() override
    {
        if (automationDelegate != nullptr)
            automationDelegate->PostReleaseRequest (parameterIdentifier);
    }

    void SetNormalizedValue (double normalizedValue) override
    {
        setPath (taperDelegate->RealToNormalized (taperDelegate->NormalizedToReal (normalizedValue)));
    }

    double GetNormalizedValue() const override { return taperDelegate->RealToNormalized (value); }

    void SetNormalizedDefaultValue (double normalizedDefault) override
    {
        defaultValue = taperDelegate->ConstrainRealValue (taperDelegate->NormalizedToReal (normalizedDefault));
    }

    double GetNormalizedDefaultValue() const override { return taperDelegate->RealToNormalized (defaultValue); }

    void SetToDefaultValue() override { setPath (taperDelegate->RealToNormalized (defaultValue)); }

    void SetNumberOfSteps (uint32_t numSteps) override { numberOfSteps = numSteps; }
    uint32_t GetNumberOfSteps() const override { return numberOfSteps; }

    uint32_t GetStepValue() const override
    {
        if (numberOfSteps < 2)
            return 0;

        const double lastStep = static_cast<double> (numberOfSteps - 1);
        const double step = GetNormalizedValue() / (1.0 / lastStep) + 0.5;
        if (! (step > 0.0))
            return 0;
        return static_cast<uint32_t> (step < lastStep ? step : lastStep);
    }

    void SetStepValue (uint32_t step) override
    {
        if (numberOfSteps < 2)
            return;

        const double normalized = static_cast<double> (step) * (1.0 / static_cast<double> (numberOfSteps - 1));
        SetNormalizedValue (normalized < 1.0 ? normalized : 1.0);
    }

    bool GetValueString (AAX_CString* valueString) const override
    {
        return displayDelegate->ValueToString (value, valueString);
    }

    // The length limit is deliberately not applied here, only in GetStringFromNormalizedValue.
    bool GetValueString (int32_t, AAX_CString* valueString) const override
    {
        return displayDelegate->ValueToString (value, valueString);
    }

    bool GetNormalizedValueFromString (const AAX_CString& valueString, double* normalizedValue) const override
    {
        T parsed {};
        if (normalizedValue == nullptr || ! displayDelegate->StringToValue (valueString, &parsed))
            return false;

        *normalizedValue = taperDelegate->RealToNormalized (parsed);
        return isInRange (parsed);
    }

    bool GetStringFromNormalizedValue (double normalizedValue, AAX_CString& valueString) const override
    {
        const T real = taperDelegate->NormalizedToReal (normalizedValue);
        return displayDelegate->ValueToString (real, &valueString) && isInRange (real);
    }

    bool GetStringFromNormalizedValue (double normalizedValue, int32_t maxNumChars, AAX_CString& valueString) const override
    {
        const T real = taperDelegate->NormalizedToReal (normalizedValue);
        return displayDelegate->ValueToString (real, maxNumChars, &valueString) && isInRange (real);
    }

    bool SetValueFromString (const AAX_CString& valueString) override
    {
        T parsed {};
        if (! displayDelegate->StringToValue (valueString, &parsed))
            return false;

        setPath (taperDelegate->RealToNormalized (parsed));
        return true;
    }

    bool GetValueAsBool (bool* out) const override { return getValueAs (out); }
    bool GetValueAsInt32 (int32_t*) const override { return false; }
    bool GetValueAsFloat (float* out) const override { return getValueAs (out); }
    bool GetValueAsDouble (double*) const override { return false; }
    bool GetValueAsString (AAX_IString*) const override { return false; }

    bool SetValueWithBool (bool newValue) override { return setValueWith (newValue); }
    bool SetValueWithInt32 (int32_t) override { return false; }
    bool SetValueWithFloat (float newValue) override { return setValueWith (newValue); }
    bool SetValueWithDouble (double) override { return false; }
    bool SetValueWithString (const AAX_IString&) override { return false; }

    void SetType (int32_t newType) override { type = newType; }
    int32_t GetType() const override { return type; }
    void SetOrientation (int32_t newOrientation) override { orientation = newOrientation; }
    int32_t GetOrientation() const override { return orientation; }

    void SetTaperDelegate (AAX_ITaperDelegateBase& newTaper, bool preserveValue) override
    {
        auto* typedTaper = dynamic_cast<AAX_ITaperDelegate<T>*> (&newTaper);
        if (typedTaper == nullptr)
            return;

        const double oldNormalizedValue = GetNormalizedValue();
        taperDelegate.reset (typedTaper->Clone());
        pendingNotify = true;

        if (preserveValue)
            setPath (taperDelegate->RealToNormalized (value));
        else
            UpdateNormalizedValue (oldNormalizedValue);
    }

    void SetDisplayDelegate (AAX_IDisplayDelegateBase& newDisplay) override
    {
        auto* typedDisplay = dynamic_cast<AAX_IDisplayDelegate<T>*> (&newDisplay);
        if (typedDisplay == nullptr)
            return;

        displayDelegate.reset (typedDisplay->Clone());

        if (automationDelegate != nullptr)
            automationDelegate->PostCurrentValue (parameterIdentifier, GetNormalizedValue());
    }

    void UpdateNormalizedValue (double normalizedValue) override
    {
        const T real = taperDelegate->NormalizedToReal (normalizedValue);
        if (! pendingNotify && real == value)
            return;

        value = real;

        // A non-finite host value has landed on the minimum; tell the host where it ended up.
        if (automationDelegate != nullptr)
            automationDelegate->PostCurrentValue (parameterIdentifier, std::isfinite (normalizedValue)
                                                                           ? normalizedValue
                                                                           : GetNormalizedValue());
        pendingNotify = false;
    }

private:
    void setPath (double normalizedValue)
    {
        if (automationDelegate != nullptr)
        {
            Touch();
            automationDelegate->PostSetValueRequest (parameterIdentifier, normalizedValue);
            Release();
            return;
        }

        pendingNotify = true;
        UpdateNormalizedValue (normalizedValue);
    }

    bool isInRange (T real) const
    {
        return real >= taperDelegate->GetMinimumValue() && real <= taperDelegate->GetMaximumValue();
    }

    template <typename Kind>
    bool getValueAs (Kind* out) const
    {
        if constexpr (std::is_same_v<Kind, T>)
        {
            if (out == nullptr)
                return false;
            *out = value;
            return true;
        }
        return false;
    }

    template <typename Kind>
    bool setValueWith (Kind newValue)
    {
        if constexpr (std::is_same_v<Kind, T>)
        {
            setPath (taperDelegate->RealToNormalized (newValue));
            return true;
        }
        return false;
    }

    char parameterIdentifier[maxIdentifierLength + 1] = {};
    AAX_CString parameterName;
    std::map<uint32_t, AAX_CString> shortenedNames;
    bool isAutomatable;
    uint32_t numberOfSteps = 128;
    int32_t type = 1;
    int32_t orientation = 0;
    std::unique_ptr<AAX_ITaperDelegate<T>> taperDelegate;
    std::unique_ptr<AAX_IDisplayDelegate<T>> displayDelegate;
    AAX_IAutomationDelegate* automationDelegate = nullptr;
    bool pendingNotify = true;
    T value;
    T defaultValue;
};

extern template class AAX_CParameter<float>;
extern template class AAX_CParameter<bool>;

} // namespace kelmora::aax
