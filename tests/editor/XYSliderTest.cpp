#include "editor/XYSlider.h"
#include "EditorTestSupport.h"

namespace
{
using kelmora::editor::XYSlider;
using quietline::test::mouseAt;

struct XYSliderTest : ::testing::Test
{
    XYSliderTest()
    {
        pad->addListener (&log);
        pad->setDefaultValues (0.5f, 0.75f);
    }
    void press (float x, float y, int mods = 0) { pad->mouseDown (mouseAt (*pad, { x, y }, mods)); }
    void drag (float x, float y) { pad->mouseDrag (mouseAt (*pad, { x, y })); }
    void release() { pad->mouseUp (mouseAt (*pad, {})); }

    std::unique_ptr<XYSlider> pad = std::make_unique<XYSlider>();
    quietline::test::PadLog log;
};

TEST_F (XYSliderTest, DragsCountFromTheMouseDownPointClampAndRetrace)
{
    struct Row { float x0, y0; std::vector<juce::Point<float>> path; float x, y; };
    const Row rows[] = {
        { 0.25f, 0.5f, { { 200, 100 } }, 0.75f, 0.5f },               // 100 px right
        { 0.25f, 0.5f, { { 400, 100 }, { 200, 100 } }, 0.75f, 0.5f }, // past the end and back
        { 0.25f, 0.5f, { { 100, 300 } }, 0.25f, 0.0f },               // 200 px down clamps
        { 0.25f, 0.25f, { { 100, 50 } }, 0.25f, 0.5f },               // up raises y
        { 1.5f, -2.0f, { { 100, 100 } }, 1.0f, 0.0f },                // setters store unclamped
    };
    for (const auto& row : rows)
    {
        pad->setValueX (row.x0);
        pad->setValueY (row.y0);
        EXPECT_EQ (pad->getValueX(), row.x0);
        press (100, 100);
        for (auto p : row.path)
            drag (p.x, p.y);
        release();
        EXPECT_EQ (juce::Point<float> (pad->getValueX(), pad->getValueY()), juce::Point<float> (row.x, row.y)) << &row - rows;
    }
}

TEST_F (XYSliderTest, NotificationOrderOfEachGestureAndBailOutWhenAListenerDeletesThePad)
{
    pad->setValueX (0.25f);
    press (100, 100);
    drag (120, 100);
    drag (100, 300);
    release();
    press (0, 0, juce::ModifierKeys::altModifier); // resets before the drag starts
    release();
    EXPECT_EQ (log.log, juce::StringArray ({ "started", "0.35 0", "0.25 0", "ended", "0.5 0.75", "started", "ended" }));

    quietline::test::PadLog deleter; // added last, so it hears first
    pad->addListener (&deleter);
    pad->addListener (&deleter);
    deleter.onChange = [&] { pad.reset(); };
    auto* raw = pad.get();
    raw->mouseDrag (mouseAt (*raw, { 10, 0 }));
    EXPECT_EQ (pad, nullptr);
    EXPECT_EQ (deleter.log.size(), 1);
    EXPECT_EQ (log.log.size(), 7);
}
} // namespace
