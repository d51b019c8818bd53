#pragma once

#include <juce_core/juce_core.h>

#include <atomic>

namespace kelmora::core
{
/** One plug-in or settings value: a real value in its own unit, its normalised position 0..1,
    display text, text parsing and a mask of "changed" bits, one per consumer.

    This class has a linear range; BooleanParameter, DiscreteParameter and FrequencyParameter
    refine it. Parameters are created on the heap and owned by a ParamList.

    Threads: the value, the normalised position and the change mask are atomics, so the host,
    the editor and the audio thread may read and write them at any time (a reader may briefly
    see a new position with the previous value). Everything else (range, texts, snap points) is
    set while the parameter is being built, or by setRange/setRangeKeepingPosition while no other
    thread uses it. Nothing here locks; the text functions allocate and are not for the audio
    thread.

    Non-finite input (NaN, infinity) is ignored by every setter, and text that reads as "nan",
    "inf" or an overflowing number does not parse, so such values never reach the filter. */
class Parameter
{
public:
    /** Bits of getFlags(). */
    enum Flags : juce::uint32
    {
        noQuantise          = 1,   /**< quantise() and quantiseToDecimals() return their argument */
        notAutomatable      = 4,   /**< the processor reports the parameter as not automatable */
        sampleRateDependent = 8,   /**< marked changed when the sample rate changes */
        noUndo              = 16,  /**< edits are not recorded in the undo history */
        invertedRange       = 32,  /**< linear mapping runs from maximum (0) to minimum (1) */
        plainStep           = 128, /**< the UI step skips the 1-2-5 rounding */
        notInPresets        = 256  /**< left out when presets are applied */
    };

    /** Consumer bits of the change mask. */
    enum ChangeBits : juce::uint32
    {
        audioChanged  = 1,      /**< the audio side (the processor's parameter-changed hook) */
        editorChanged = 2,      /**< the editor's refresh */
        allChanged    = 0xFFFF  /**< what markChanged always sets */
    };

    /** Builds a parameter with a linear range.
        @param id           identifier, used as XML tag and attribute name; must not be empty
        @param name         display name; the id when null
        @param unit         unit text ("%", "Hz"); empty when null
        @param decimals     decimals of the display text and of quantising, clamped to 0..15
        @param choices      "|"-separated texts ('"' quotes); one token sets the minimum text,
                            two the minimum and maximum texts, three the minimum, centre and
                            maximum texts (in the order min, centre, max); null for none
        @param flags        a combination of Flags
        @param minimum      lower end of the range
        @param maximum      upper end; a range that is not finite or where minimum >= maximum is
                            refused and replaced by 0..1 (it would divide by zero)
        @param defaultValue default in real units (kept unclamped; the value starts clamped) */
    Parameter (const char* id, const char* name, const char* unit, int decimals, const char* choices,
               juce::uint32 flags, double minimum, double maximum, double defaultValue);

    virtual ~Parameter();

    Parameter (const Parameter&) = delete;
    Parameter& operator= (const Parameter&) = delete;

    //==============================================================================
    virtual juce::String getId() const;
    virtual juce::String getName() const;
    virtual juce::String getUnit() const;
    virtual juce::uint32 getFlags() const noexcept;

    /** The normalised position; not clamped, so it may lie outside 0..1. Any thread. */
    virtual float getNormalisedValue() const noexcept;

    /** Sets the position (not clamped) and the value normalisedToValue (n) (not quantised), then
        marks the parameter changed for every consumer. Ignores NaN and infinity. Any thread. */
    virtual void setNormalisedValue (float n) noexcept;

    /** The UI step (one slider click) as a fraction of the range: 10^decimals steps over the
        range, halved until there are at most 100, rounded to 1, 2 or 5 times a power of ten
        unless the flag plainStep is set. */
    virtual float getStepFraction() const;

    /** Changes the range and the decimals while keeping the normalised position (so the value
        moves); marks the parameter changed. A refused range leaves the range as it was. */
    virtual void setRangeKeepingPosition (double minimum, double maximum, int decimals);

    /** floor (v * 10^decimals + 0.5) / 10^decimals; v unchanged with the flag noQuantise. */
    virtual double quantise (double v) const noexcept;

    /** As quantise() with d decimals. */
    virtual double quantiseToDecimals (double v, int d) const noexcept;

    /** Always 0: hosts treat every parameter as continuous. */
    virtual int getNumSteps() const noexcept;

    /** Stores the range ends (the centre stays). Refuses, and leaves the range as it was, when
        the range is not finite or minimum >= maximum. Not thread-safe against readers. */
    virtual void setRange (double minimum, double maximum);

    /** The value rounded to the display decimals. */
    virtual double getQuantisedValue() const noexcept;

    /** floor (getQuantisedValue() + 0.5), saturating at the int range. */
    virtual int getIntValue() const noexcept;

    /** value >= 0.5 */
    virtual bool getBoolValue() const noexcept;

    /** The current real value. Any thread. */
    virtual double getValue() const noexcept;

    /** minimum >= value */
    virtual bool isAtMinimum() const noexcept;

    /** value >= maximum */
    virtual bool isAtMaximum() const noexcept;

    virtual double getMinimum() const noexcept;
    virtual double getMaximum() const noexcept;
    virtual double getDefaultValue() const noexcept;
    virtual int getMinimumInt() const noexcept;
    virtual int getMaximumInt() const noexcept;
    virtual int getDefaultInt() const noexcept;

    /** getText (getValue()) */
    virtual juce::String getValueText() const;

    /** getTextWithUnit (getValue()) */
    virtual juce::String getValueTextWithUnit() const;

    /** Real value of a normalised position: linear over the range (reversed with the flag
        invertedRange); positions at or beyond the ends give the ends. NaN gives NaN. */
    virtual double normalisedToValue (float n) const noexcept;

    /** Normalised position of a real value, which is first clamped to the range. NaN gives NaN. */
    virtual float valueToNormalised (double v) const noexcept;

    /** getText (normalisedToValue (n)) */
    virtual juce::String getTextForNormalised (float n) const;

    /** getTextWithUnit (normalisedToValue (n)) */
    virtual juce::String getTextWithUnitForNormalised (float n) const;

    /** Display text without unit, first rule that applies: the minimum text at or below the
        minimum, the maximum text at or above the maximum, the centre text exactly at the centre,
        else the quantised number with the parameter's decimals ("%d" rounding for 0 decimals).
        Numbers use '.' whatever the locale. */
    virtual juce::String getText (double v) const;

    /** getText (v), followed by " " and the unit unless the unit is empty or v is at a minimum
        or maximum text. */
    virtual juce::String getTextWithUnit (double v) const;

    /** Reads typed or stored text as a real value: a number (',' read as '.'), clamped to the
        range, or the minimum, maximum or centre text (ignoring case). When nothing parses, out
        receives the current value and the result is false.
        @param out may be null */
    virtual bool parseText (const juce::String& text, double* out) const;

    /** parseText, then out = valueToNormalised of the result whatever parseText returned.
        @param out may be null */
    virtual bool textToNormalised (const juce::String& text, float* out) const;

    /** True when any of the given change bits is set. Any thread. */
    virtual bool isChanged (juce::uint32 mask) const noexcept;

    /** Clears the given bits atomically; true when any of them was set. Any thread, lock-free. */
    virtual bool testAndClearChanged (juce::uint32 mask) noexcept;

    /** Sets all sixteen change bits (0xFFFF) whatever mask is given, so every consumer sees the
        change. Any thread, lock-free. */
    virtual void markChanged (juce::uint32 mask) noexcept;

    //==============================================================================
    /** The snap position nearest to n among 0, the snap points' positions (in the order added)
        and 1; ties keep the earlier candidate. Without snap points: 0 up to 0.5, else 1. */
    float snapNormalised (float n) const;

    /** Adds a real value that sliders may snap to. Only while the parameter is being set up. */
    void addSnapPoint (double realValue);

    /** Number of snap points added. */
    int getNumSnapPoints() const noexcept;

    /** (minimum + maximum) / 2 of the constructor's range. */
    double getCentre() const noexcept;

    /** Decimals of the display text and of quantising. */
    int getDecimals() const noexcept;

    /** The tokens of the constructor's choice string. */
    const juce::StringArray& getChoices() const noexcept;

    /** The shared fallback for a bad index: id "invalid", range 0..1, value 0. It never changes:
        setters, markChanged and addSnapPoint do nothing on it. Lives for the whole run. */
    static Parameter& getInvalid() noexcept;

protected:
    /** Clamps v to [minimum, maximum] (raised to the minimum, then lowered to the maximum). */
    double clampToRange (double v) const noexcept;

    /** True when this is the shared invalid parameter. */
    bool isInvalid() const noexcept;

    juce::String id, name, unit;
    double minimum = 0.0, maximum = 1.0, centre = 0.5, defaultValue = 0.0;
    int decimals = 0;
    juce::StringArray choices;
    juce::String minText, maxText, midText;
    juce::uint32 flags = 0;
    std::atomic<double> value { 0.0 };
    std::atomic<float> normalised { 0.0f };
    std::atomic<juce::uint32> changeMask { 0 };
    juce::Array<double> snapPoints;
};
} // namespace kelmora::core
