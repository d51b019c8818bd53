#include "editor/XYSlider.h"
#include "MouseEvents.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
using kelmora::editor::XYSlider;
using quietline::test::mouseAt;

// Writes each notification with the values the listener reads at that moment.
struct Recorder : XYSlider::Listener
{
    juce::StringArray log;
    std::function<void()> onChange;

    void xySliderValueChanged (XYSlider* s) override
    {
        log.add ("changed " + juce::String (s->getValueX()) + " " + juce::String (s->getValueY()));
        if (onChange)
            onChange();
    }
    void xySliderDragStarted (XYSlider*) override { log.add ("started"); }
    void xySliderDragEnded (XYSlider*) override { log.add ("ended"); }
};

class XYSliderTest : public ::testing::Test
{
protected:
    XYSliderTest()
    {
        pad->setBounds (0, 0, 400, 200);
        pad->addListener (&recorder);
        pad->setDefaultValues (0.5f, 0.75f);
    }

    void press (float x, float y, juce::ModifierKeys mods = {}) { pad->mouseDown (mouseAt (*pad, { x, y }, mods)); }
    void drag (float x, float y) { pad->mouseDrag (mouseAt (*pad, { x, y })); }
    void release() { pad->mouseUp (mouseAt (*pad, {})); }

    std::unique_ptr<XYSlider> pad = std::make_unique<XYSlider>();
    Recorder recorder;
};

TEST_F (XYSliderTest, DragsCountFromTheMouseDownPointClampAndRetrace)
{
    struct Row { float startX, startY; std::vector<juce::Point<float>> path; float x, y; };
    const Row rows[] = {
        { 0.25f, 0.5f, { { 200, 100 } }, 0.75f, 0.5f },                     // 100 px right
        { 0.25f, 0.5f, { { 400, 100 }, { 200, 100 } }, 0.75f, 0.5f },       // past the end and back
        { 0.25f, 0.5f, { { 400, 100 } }, 1.0f, 0.5f },
        { 0.25f, 0.5f, { { 100, 300 } }, 0.25f, 0.0f },                     // 200 px down clamps
        { 0.25f, 0.25f, { { 100, 50 } }, 0.25f, 0.5f },                     // up raises y
        { 1.5f, -2.0f, { { 100, 100 } }, 1.0f, 0.0f },                      // unclamped setters clamp on drag
    };

    for (const auto& row : rows)
    {
        pad->setValueX (row.startX);
        pad->setValueY (row.startY);
        EXPECT_EQ (pad->getValueX(), row.startX);
        press (100, 100);
        for (auto p : row.path)
            drag (p.x, p.y);
        EXPECT_FLOAT_EQ (pad->getValueX(), row.x) << row.startX << " " << row.path.size();
        EXPECT_FLOAT_EQ (pad->getValueY(), row.y) << row.startY << " " << row.path.size();
        release();
    }
}

TEST_F (XYSliderTest, DisabledAxisKeepsItsValue)
{
    pad->setAxesEnabled (false, true);
    pad->setValueX (0.25f);
    press (0, 100);
    drag (200, 0);
    EXPECT_EQ (pad->getValueX(), 0.25f);
    EXPECT_FLOAT_EQ (pad->getValueY(), 0.5f);
}

TEST_F (XYSliderTest, NotificationOrderOfEachGesture)
{
    pad->setValueX (0.25f);
    pad->setValueY (0.25f);

    struct Row { const char* name; std::function<void()> act; juce::StringArray expected; };
    const Row rows[] = {
        { "drag", [&] { press (100, 100); drag (120, 100); drag (100, 300); release(); },
          { "started", "changed 0.35 0.25", "changed 0.25 0", "ended" } },
        { "alt-click resets before the drag starts", [&] { press (0, 0, juce::ModifierKeys::altModifier); release(); },
          { "changed 0.5 0.75", "started", "ended" } },
        { "double-click is a gesture of its own", [&] { pad->setValueX (0.1f); pad->mouseDoubleClick (mouseAt (*pad, {})); },
          { "started", "changed 0.5 0.75", "ended" } },
    };

    for (const auto& row : rows)
    {
        recorder.log.clear();
        row.act();
        EXPECT_EQ (recorder.log, row.expected) << row.name << ": " << recorder.log.joinIntoString (", ");
    }
}

TEST_F (XYSliderTest, ListenersHearTheLastAddedFirstAndStopWhenOneDeletesThePad)
{
    Recorder deleter;
    pad->addListener (&deleter);
    pad->addListener (&deleter); // added once only
    deleter.onChange = [&] { pad.reset(); };

    XYSlider* const raw = pad.get();
    raw->mouseDown (mouseAt (*raw, {}));
    EXPECT_EQ (recorder.log, juce::StringArray ("started"));
    EXPECT_EQ (deleter.log, juce::StringArray ("started"));

    raw->mouseDrag (mouseAt (*raw, { 10, 0 })); // the deleter runs first and deletes the pad
    EXPECT_EQ (pad, nullptr);
    EXPECT_EQ (deleter.log.size(), 2);
    EXPECT_EQ (recorder.log.size(), 1);
}
} // namespace
