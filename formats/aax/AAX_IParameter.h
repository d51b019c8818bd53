#pragma once

#include <cstdint>

namespace kelmora::aax {

class AAX_CString;
class AAX_IAutomationDelegate;
class AAX_IDisplayDelegateBase;
class AAX_IString;
class AAX_ITaperDelegateBase;

/** One parameter of an effect as the AAX host sees it: identifier, names, a value with taper
    and display, steps, type, orientation and automation through the host's delegate.

    The set operations do not change the value while an automation delegate is attached: they
    ask the host, whose answer arrives through UpdateNormalizedValue(). */
class AAX_IParameter
{
public:
    virtual ~AAX_IParameter() = default;

    virtual const char* Identifier() const = 0;
    virtual void SetName (const AAX_CString& name) = 0;
    virtual const AAX_CString& Name() const = 0;
    virtual void AddShortenedName (const AAX_CString& name) = 0;
    virtual const AAX_CString& ShortenedName (int32_t maxNumChars) const = 0;
    virtual void ClearShortenedNames() = 0;
    virtual bool Automatable() const = 0;
    virtual void SetAutomationDelegate (AAX_IAutomationDelegate* automationDelegate) = 0;
    virtual void Touch() = 0;
    virtual void Release() = 0;
    virtual void SetNormalizedValue (double normalizedValue) = 0;
    virtual double GetNormalizedValue() const = 0;
    virtual void SetNormalizedDefaultValue (double normalizedDefault) = 0;
    virtual double GetNormalizedDefaultValue() const = 0;
    virtual void SetToDefaultValue() = 0;
    virtual void SetNumberOfSteps (uint32_t numSteps) = 0;
    virtual uint32_t GetNumberOfSteps() const = 0;
    virtual uint32_t GetStepValue() const = 0;
    virtual void SetStepValue (uint32_t step) = 0;
    virtual bool GetValueString (AAX_CString* valueString) const = 0;
    virtual bool GetValueString (int32_t maxNumChars, AAX_CString* valueString) const = 0;
    virtual bool GetNormalizedValueFromString (const AAX_CString& valueString, double* normalizedValue) const = 0;
    virtual bool GetStringFromNormalizedValue (double normalizedValue, AAX_CString& valueString) const = 0;
    virtual bool GetStringFromNormalizedValue (double normalizedValue, int32_t maxNumChars, AAX_CString& valueString) const = 0;
    virtual bool SetValueFromString (const AAX_CString& valueString) = 0;
    virtual bool GetValueAsBool (bool* value) const = 0;
    virtual bool GetValueAsInt32 (int32_t* value) const = 0;
    virtual bool GetValueAsFloat (float* value) const = 0;
    virtual bool GetValueAsDouble (double* value) const = 0;
    virtual bool GetValueAsString (AAX_IString* value) const = 0;
    virtual bool SetValueWithBool (bool value) = 0;
    virtual bool SetValueWithInt32 (int32_t value) = 0;
    virtual bool SetValueWithFloat (float value) = 0;
    virtual bool SetValueWithDouble (double value) = 0;
    virtual bool SetValueWithString (const AAX_IString& value) = 0;
    virtual void SetType (int32_t type) = 0;
    virtual int32_t GetType() const = 0;
    virtual void SetOrientation (int32_t orientation) = 0;
    virtual int32_t GetOrientation() const = 0;
    virtual void SetTaperDelegate (AAX_ITaperDelegateBase& taperDelegate, bool preserveValue) = 0;
    virtual void SetDisplayDelegate (AAX_IDisplayDelegateBase& displayDelegate) = 0;

    /** The host's value arriving (normalized 0..1): stored, and echoed to the delegate unless it
        equals the value held and no notification is pending. */
    virtual void UpdateNormalizedValue (double normalizedValue) = 0;
};

} // namespace kelmora::aax
