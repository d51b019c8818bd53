#pragma once

#include "editor/XYSlider.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace kelmora::editor
{
/** A magnitude curve owned elsewhere: frequencies (Hz) and levels (dB), count valid points out
    of capacity. The display only points at it; the owner keeps the arrays alive. */
struct MagnitudeCurve
{
    const double* frequencies = nullptr;
    const double* decibels = nullptr;
    int capacity = 0;
    int count = 0;
};

/** The response curve above 10 kHz, gradient-filled and stroked, with the dashed corner marker.
    The curve's points are spread evenly over the width, so logarithmically spaced points give a
    logarithmic axis. Takes no mouse clicks. */
class MagnitudePlot : public juce::Component
{
public:
    MagnitudePlot();

    void setFillBelowCurve (bool fill) { fillBelowCurve = fill; }
    void setRates (double sampleRate, float halfRate);
    void setCurve (const MagnitudeCurve& curve) { this->curve = curve; }
    void setCornerFrequency (double hz) { cornerFrequency = hz; }

    double getSampleRate() const noexcept { return sampleRate; }
    double getCornerFrequency() const noexcept { return cornerFrequency; }
    const MagnitudeCurve& getCurve() const noexcept { return curve; }

    void paint (juce::Graphics&) override;

private:
    juce::Colour curveColour { 0xFF3399FF };
    bool fillBelowCurve = false;
    float halfRate = 22050.0f;
    double sampleRate = 44000.0;
    double cornerFrequency = 30000.0;
    MagnitudeCurve curve;
};

/** The frequency and dB labels and the grid behind the plot; buffered, so they are drawn again
    only when the rate or the curve changes. Draws nothing before the first curve. */
class MagnitudeDisplayBackground : public juce::Component
{
public:
    MagnitudeDisplayBackground();

    void setRates (double sampleRate, float halfRate);
    void setCurve (const MagnitudeCurve& curve) { this->curve = curve; }
    double getSampleRate() const noexcept { return sampleRate; }

    void paint (juce::Graphics&) override;

private:
    double sampleRate = 44000.0;
    float halfRate = 22050.0f;
    MagnitudeCurve curve;
};

/** "The filter is bypassed at this rate", shown while the rate is too low to filter. */
class DisplayMessage : public juce::Component
{
public:
    DisplayMessage();
    void paint (juce::Graphics&) override;
};

/** The product's frequency-magnitude display, which is also its two-axis pad (frequency across,
    slope up): every click reaches the pad, since the background, plot and message take none.
    A setter repaints only when its value changes. Message thread only. */
class MagnitudeDisplay : public XYSlider
{
public:
    MagnitudeDisplay();
    ~MagnitudeDisplay() override;

    /** Moves the dashed corner marker (Hz). */
    void setCornerFrequency (double hz);
    /** Points the background and the plot at a curve (no copy). */
    void setCurve (const double* frequencies, const double* decibels, int capacity, int count);
    /** Below 88.2 kHz the curve and grid are dimmed and the message shows. */
    void setSampleRate (double sampleRate);
    /** Dims the whole display, titles included. */
    void setBypassed (bool bypassed);

    double getSampleRate() const noexcept { return sampleRate; }
    bool isBypassed() const noexcept { return bypassed; }
    const MagnitudePlot& getPlot() const noexcept { return plot; }
    const MagnitudeDisplayBackground& getBackground() const noexcept { return background; }
    const DisplayMessage& getMessage() const noexcept { return message; }

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    double sampleRate = 44000.0;
    float halfRate = 22050.0f;
    bool bypassed = false;

    MagnitudeDisplayBackground background;
    MagnitudePlot plot;
    DisplayMessage message;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MagnitudeDisplay)
};
} // namespace kelmora::editor
