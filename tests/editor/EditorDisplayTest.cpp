// The editor base in a real desktop window (needs an X server: runs under xvfb-run).
#include "EditorFixture.h"

#include <X11/Xlib.h>
#undef KeyPress // X11 names an event type so

namespace
{
using namespace quietline::test;

TEST (EditorOnTheDesktop, ClickTakesTheFocusAndCtrlCAndCtrlVGoThroughTheSystemClipboard)
{
    XSetErrorHandler ([] (::Display*, XErrorEvent*) { return 0; });
    TempHome home;
    Product processor;
    TestEditor editor (processor);
    editor.addToDesktop (0);
    editor.setVisible (true);
    auto& peer = *editor.getPeer();
    constexpr auto mouse = juce::MouseInputSource::InputSourceType::mouse;

    const auto t = juce::Time::currentTimeMillis();
    peer.handleMouseEvent (mouse, { 200, 150 }, juce::ModifierKeys::leftButtonModifier, 1.0f, 0.0f, t);
    peer.handleMouseEvent (mouse, { 200, 150 }, {}, 0.0f, 0.0f, t + 20);
    ASSERT_TRUE (editor.hasKeyboardFocus (false));

    juce::SystemClipboard::copyTextToClipboard ("before");
    EXPECT_TRUE (peer.handleKeyPress (juce::KeyPress ('c', juce::ModifierKeys::ctrlModifier, 0)));
    const auto copied = juce::SystemClipboard::getTextFromClipboard();
    EXPECT_EQ (copied, editor.createStateText());

    auto& controller = processor.getPresetController();
    controller.setParameterFromUi (0, 1.0f);
    EXPECT_TRUE (peer.handleKeyPress (juce::KeyPress ('v', juce::ModifierKeys::ctrlModifier, 0)));
    EXPECT_EQ (editor.createStateText(), copied);
    editor.removeFromDesktop();
}
} // namespace
