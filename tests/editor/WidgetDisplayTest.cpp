// Widgets and the editor base on a real desktop peer (needs an X server: runs under xvfb-run).
#include "editor/BetterSlider.h"
#include "editor/BetterTextEditor.h"
#include "editor/PresetComboBox.h"
#include "editor/VirtualKeyboard.h"
#include "editor/XYSlider.h"
#include "EditorFixture.h"

#include "skins/LookAndFeelCustom.h"

#include <X11/Xlib.h>
#undef KeyPress // X11 names an event type so

namespace
{
using namespace kelmora::editor;
constexpr auto mouse = juce::MouseInputSource::InputSourceType::mouse;

// A top-level window around the component under test. Like real hosts, it keeps X errors from
// ending the process (a server without a window manager lacks atoms that JUCE names).
struct Window : juce::Component
{
    explicit Window (juce::Component& content)
    {
        XSetErrorHandler ([] (::Display*, XErrorEvent*) { return 0; });
        setBounds (100, 100, 400, 300);
        addAndMakeVisible (content);
        addToDesktop (0);
        setVisible (true);
    }
    ~Window() override { removeFromDesktop(); }
    juce::ComponentPeer& peer() { return *getPeer(); }
};

void click (juce::ComponentPeer& peer, juce::Point<float> at, juce::int64 time)
{
    peer.handleMouseEvent (mouse, at, juce::ModifierKeys::leftButtonModifier, 1.0f, 0.0f, time);
    peer.handleMouseEvent (mouse, at, {}, 0.0f, 0.0f, time + 20);
}

TEST (WidgetsOnTheDesktop, DoubleClickOnThePadIsOneGestureOfItsOwn)
{
    quietline::test::PadLog listener;
    XYSlider pad;
    pad.setBounds (0, 0, 200, 100);
    pad.setDefaultValues (0.5f, 1.0f);
    pad.addListener (&listener);
    Window window (pad);
    const auto t = juce::Time::currentTimeMillis();
    click (window.peer(), { 50, 50 }, t);
    click (window.peer(), { 50, 50 }, t + 40);
    EXPECT_EQ (listener.log, juce::StringArray ({ "started", "ended", "started", "ended", "started", "0.5 1", "ended" }));
}

// The knob skin's text box is a plain label, which passes wheel events up; JUCE's own slider
// label swallows them. Either way one step per event.
TEST (WidgetsOnTheDesktop, WheelOverABarSlidersTextBoxStepsOncePerEvent)
{
    kelmora::skins::LookAndFeelCustom knobSkin;
    juce::LookAndFeel_V4 juceSkin;
    for (juce::LookAndFeel* skin : std::initializer_list<juce::LookAndFeel*> { &knobSkin, &juceSkin })
    {
        BetterSlider slider;
        slider.setLookAndFeel (skin);
        slider.setSliderStyle (juce::Slider::LinearBarVertical);
        slider.setTextBoxStyle (juce::Slider::TextBoxBelow, false, 50, 20);
        slider.setBounds (0, 0, 55, 21);
        slider.setValue (0.5, juce::dontSendNotification);
        Window window (slider);
        const auto t = juce::Time::currentTimeMillis();
        for (int event = 1; event <= 2; ++event)
        {
            window.peer().handleMouseWheel (mouse, { 27, 10 }, t + 100 * event, quietline::test::wheelOf (0.2f));
            EXPECT_NEAR (slider.getValue(), 0.5 + 0.05 * event, 1e-9) << (skin == &knobSkin ? "knob skin" : "JUCE's");
        }
        slider.setLookAndFeel (nullptr);
    }
}

TEST (WidgetsOnTheDesktop, RightClickOpensTheContextMenuOnAnEnabledBoxOnly)
{
    static std::vector<std::pair<int, juce::Component*>> results;
    PresetComboBox box;
    box.setBounds (10, 10, 136, 22);
    box.setMenuCallback ([] (int result, juce::Component* parent) { results.emplace_back (result, parent); });
    Window window (box);
    const auto rightClick = quietline::test::mouseAt (box, { 5, 5 }, juce::ModifierKeys::rightButtonModifier);
    box.setEnabled (false);
    box.mouseDown (rightClick);
    EXPECT_FALSE (juce::PopupMenu::dismissAllActiveMenus());
    box.setEnabled (true);
    box.mouseDown (rightClick);
    EXPECT_FALSE (box.isPopupActive()); // the list itself stays closed
    EXPECT_TRUE (juce::PopupMenu::dismissAllActiveMenus());
    quietline::test::deliverPostedMessages();
    EXPECT_EQ (results, (std::vector<std::pair<int, juce::Component*>> { { 0, &window } }));
}

// A key click gives the focus back to the name field; gaining it is handled as losing it, so a
// field set to select all on focus keeps the name the dialog filled in.
TEST (WidgetsOnTheDesktop, NameFieldTakesTheFocusBackWithoutSelectingItsText)
{
    juce::Component content;
    BetterTextEditor field;
    field.setSelectAllWhenFocused (true);
    field.setText ("Name", false);
    VirtualKeyboard keyboard (field, true);
    content.addAndMakeVisible (field);
    content.addAndMakeVisible (keyboard);
    field.setBounds (0, 0, 200, 24);
    keyboard.setBounds (0, 60, 302, 100);
    content.setBounds (0, 0, 400, 300);
    Window window (content);
    keyboard.buttonClicked (dynamic_cast<juce::Button*> (keyboard.getChildComponent (0))); // "Q"
    EXPECT_TRUE (field.hasKeyboardFocus (false));
    EXPECT_EQ (field.getText() + "|" + field.getHighlightedText(), "NameQ|");
}

TEST (WidgetsOnTheDesktop, EditorTakesTheFocusOnAClickAndCtrlCAndCtrlVGoThroughTheSystemClipboard)
{
    XSetErrorHandler ([] (::Display*, XErrorEvent*) { return 0; });
    quietline::test::TempHome home;
    quietline::test::Product processor;
    quietline::test::TestEditor editor (processor);
    editor.addToDesktop (0);
    editor.setVisible (true);
    auto& peer = *editor.getPeer();
    click (peer, { 200, 150 }, juce::Time::currentTimeMillis());
    ASSERT_TRUE (editor.hasKeyboardFocus (false));

    juce::SystemClipboard::copyTextToClipboard ("before");
    EXPECT_TRUE (peer.handleKeyPress (juce::KeyPress ('c', juce::ModifierKeys::ctrlModifier, 0)));
    const auto copied = juce::SystemClipboard::getTextFromClipboard();
    EXPECT_EQ (copied, editor.createStateText());
    processor.getPresetController().setParameterFromUi (0, 1.0f);
    EXPECT_TRUE (peer.handleKeyPress (juce::KeyPress ('v', juce::ModifierKeys::ctrlModifier, 0)));
    EXPECT_EQ (editor.createStateText(), copied);
    editor.removeFromDesktop();
}
} // namespace
