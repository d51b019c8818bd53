#include "editor/MagnitudeDisplay.h"

#include "editor/MagnitudeAxis.h"
#include "skins/SharedFonts.h"

#include <cmath>

namespace kelmora::editor
{
namespace
{
constexpr double lowestFilteringRate = 88200.0;
const juce::Colour titleColour (0xFF3399FF);

/** Below the filter's range, or no rate at all: the processor passes audio through. */
bool isLowRate (double sampleRate) noexcept { return ! (sampleRate >= lowestFilteringRate); }

void drawDisplayText (juce::Graphics& g, const juce::String& text, juce::Rectangle<int> area, bool bold,
                      float height, juce::Colour colour, juce::Justification justification)
{
    const auto fonts = skins::SharedFonts::getInstance();
    g.setFont (bold ? fonts->makeBoldFont (height) : fonts->makePlainFont (height));
    g.setColour (colour);
    g.drawText (text, area, justification, true);
}

bool hasCurve (const MagnitudeCurve& curve) noexcept { return curve.decibels != nullptr; }
} // namespace

//==============================================================================
MagnitudePlot::MagnitudePlot()
{
    setWantsKeyboardFocus (false);
    setPaintingIsUnclipped (false);
    setInterceptsMouseClicks (false, false);
}

void MagnitudePlot::setRates (double fs, float half)
{
    sampleRate = fs;
    halfRate = half;
}

void MagnitudePlot::paint (juce::Graphics& g)
{
    // Fewer than three points make no segment; without an axis nothing has a place.
    if (! hasCurve (curve) || curve.count < 3 || ! magnitude::isAxisUsable (halfRate))
        return;

    const float w = (float) getWidth(), h = (float) getHeight();

    if (std::isfinite (cornerFrequency))
    {
        const float x = magnitude::frequencyToX (cornerFrequency, halfRate, w);
        const float dashes[] = { 2.0f, 2.0f };
        g.setColour (juce::Colour (0xAAFFFFFF));
        g.drawDashedLine ({ x, 6.0f, x, h + 5.0f }, dashes, 2, 1.0f);
    }

    const int steps = (int) w + 2;
    const float step = (float) (curve.count - 2) / (float) steps;
    const float scale = h / 90.0f;

    juce::Path path;
    bool started = fillBelowCurve;
    if (started)
        path.startNewSubPath (-2.0f, 5.0f);

    float lastY = 5.0f;
    for (int i = 0; i < steps; ++i)
    {
        const float t = step * (float) i;
        if ((int) t + 2 >= curve.count)
            break;

        lastY = 5.0f - magnitude::catmullRomAt (curve.decibels, curve.count, t) * scale;
        if (started)
            path.lineTo ((float) i + 0.5f, lastY);
        else
            path.startNewSubPath ((float) i + 0.5f, lastY);
        started = true;
    }
    path.lineTo (w + 2.0f, lastY);

    const juce::ColourGradient gradient (curveColour.withAlpha (0.4f), 0.0f, 5.0f, curveColour.withAlpha (0.1f), 0.0f,
                                         h + 5.0f, false);
    if (fillBelowCurve)
    {
        path.lineTo (w + 2.0f, h + 5.0f);
        path.lineTo (-2.0f, h + 5.0f);
        path.lineTo (-2.0f, 5.0f);
        path.closeSubPath();
        g.setGradientFill (gradient);
        g.fillPath (path);
        g.setColour (curveColour);
    }
    else
    {
        g.setGradientFill (gradient);
    }
    g.strokePath (path, juce::PathStrokeType (2.0f));
}

//==============================================================================
MagnitudeDisplayBackground::MagnitudeDisplayBackground()
{
    setWantsKeyboardFocus (false);
    setInterceptsMouseClicks (false, false);
    setBufferedToImage (true);
}

void MagnitudeDisplayBackground::setRates (double fs, float half)
{
    sampleRate = fs;
    halfRate = half;
}

void MagnitudeDisplayBackground::paint (juce::Graphics& g)
{
    if (! hasCurve (curve) || ! magnitude::isAxisUsable (halfRate))
        return;

    const float hf = (float) getHeight() - 40.0f;
    const float w = (float) getWidth() - 22.0f;

    const auto labels = magnitude::frequencyLabelsFor (halfRate);
    for (int i = 0; i < labels.count; ++i)
    {
        const double f = labels.hz[(size_t) i];
        const int x = (int) magnitude::frequencyToX (f, halfRate, w) + 2;
        drawDisplayText (g, juce::String ((int) (f / 1000.0 + 0.5)) + "k", { x, (int) (hf + 24.0f), 40, 20 }, false,
                         12.0f, juce::Colours::white, juce::Justification::centred);
    }

    for (int v = 0; v <= 80; v += 20)
        drawDisplayText (g, juce::String (-v), { -8, (int) ((float) v * hf / 90.0f) + 14, 27, 20 }, false, 13.0f,
                         juce::Colours::white, juce::Justification::centredRight);

    g.setColour (juce::Colour (0xFF222222));
    for (const double f : { 20e3, 30e3, 40e3, 50e3, 60e3, 70e3, 80e3, 90e3, 100e3, 200e3 })
    {
        const float x = magnitude::frequencyToX (f, halfRate, w + 22.0f);
        g.drawLine (x, 25.0f, x, hf + 24.0f, 1.0f);
    }
}

//==============================================================================
DisplayMessage::DisplayMessage()
{
    setWantsKeyboardFocus (false);
    setInterceptsMouseClicks (false, false);
}

void DisplayMessage::paint (juce::Graphics& g)
{
    const int middle = getHeight() / 2;
    drawDisplayText (g, "System bandwidth close to audible bandwidth", { 0, middle - 20, getWidth(), 20 }, true, 13.0f,
                     juce::Colours::white, juce::Justification::centred);
    drawDisplayText (g, "Filter bypassed", { 0, middle, getWidth(), 20 }, true, 13.0f, juce::Colours::white,
                     juce::Justification::centred);
}

//==============================================================================
MagnitudeDisplay::MagnitudeDisplay()
{
    plot.setFillBelowCurve (true);
    addAndMakeVisible (background);
    addAndMakeVisible (plot);
    addAndMakeVisible (message);
    setBufferedToImage (true);
}

MagnitudeDisplay::~MagnitudeDisplay() = default;

void MagnitudeDisplay::setCornerFrequency (double hz)
{
    if (hz == plot.getCornerFrequency())
        return;

    plot.setCornerFrequency (hz);
    plot.repaint();
}

void MagnitudeDisplay::setCurve (const double* frequencies, const double* decibels, int capacity, int count)
{
    const MagnitudeCurve curve { frequencies, decibels, capacity, juce::jlimit (0, juce::jmax (0, capacity), count) };
    background.setCurve (curve);
    background.repaint();
    plot.setCurve (curve);
    plot.repaint();
}

void MagnitudeDisplay::setSampleRate (double fs)
{
    if (fs == sampleRate)
        return;

    // Bounded before the conversion to float (NaN stays NaN and means no axis).
    const auto half = (float) juce::jlimit (-1.0e30, 1.0e30, fs * 0.5);
    if (background.getSampleRate() != fs)
    {
        background.setRates (fs, half);
        background.repaint();
    }
    if (plot.getSampleRate() != fs)
    {
        plot.setRates (fs, half);
        plot.repaint();
    }
    sampleRate = fs;
    halfRate = half;

    const bool low = isLowRate (fs);
    message.setVisible (low);
    background.setAlpha (low ? 0.3f : 1.0f);
    plot.setAlpha (low ? 0.3f : 1.0f);
}

void MagnitudeDisplay::setBypassed (bool shouldBeBypassed)
{
    if (shouldBeBypassed == bypassed)
        return;

    bypassed = shouldBeBypassed;
    setAlpha (bypassed ? 0.3f : 1.0f);
    repaint();
}

void MagnitudeDisplay::paint (juce::Graphics& g)
{
    const float alpha = bypassed || isLowRate (sampleRate) ? 0.3f : 1.0f;
    drawDisplayText (g, "dB", { 0, 0, 19, 18 }, false, 13.0f, juce::Colours::white.withAlpha (alpha),
                     juce::Justification::centredRight);
    drawDisplayText (g, "Frequency response", { 27, 0, getWidth() - 27, 18 }, true, 13.0f,
                     titleColour.withAlpha (alpha), juce::Justification::centredLeft);
}

void MagnitudeDisplay::resized()
{
    background.setBounds (0, 0, getWidth(), getHeight());
    plot.setBounds (22, 19, getWidth() - 22, getHeight() - 35);
    message.setBounds (0, 0, getWidth(), getHeight());
}
} // namespace kelmora::editor
